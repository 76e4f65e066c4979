// Whether a program runs, on Linux: every process in /proc is compared by its executable and,
// for a script, by the file its interpreter was started with (an argument of its command line).
// Zombies and processes that cannot be read do not count.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "switcher/core/stream_viewer.h"

namespace panoptix {
namespace {

namespace fs = std::filesystem;

// The first few arguments of a command line: the interpreter, its option, the script.
constexpr int kArgumentsLooked = 3;

bool CommandLineNames(const fs::path& process, const std::string& path, const std::string& real) {
    std::ifstream in(process / "cmdline", std::ios::binary);
    const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t start = 0;
    for (int argument = 0; argument < kArgumentsLooked && start < line.size(); ++argument) {
        size_t end = line.find('\0', start);
        if (end == std::string::npos) {
            end = line.size();
        }
        const std::string word = line.substr(start, end - start);
        if (!word.empty() && (word == path || word == real)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

bool IsProgramRunning(const std::string& path) {
    std::error_code error;
    const std::string real = fs::weakly_canonical(path, error).string();
    fs::directory_iterator process("/proc", error);
    for (; !error && process != fs::directory_iterator(); process.increment(error)) {
        const fs::path& entry = process->path();
        const std::string name = entry.filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code link_error;
        const fs::path executable = fs::read_symlink(entry / "exe", link_error);
        if (!link_error && (executable == real || executable == path)) {
            return true;
        }
        if (CommandLineNames(entry, path, real)) {
            return true;
        }
    }
    return false;
}

}  // namespace panoptix
