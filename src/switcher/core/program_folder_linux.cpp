// The running program's folder on Linux: the link /proc/self/exe, read with a buffer that grows
// until the whole path fits.
#include <unistd.h>

#include <string>
#include <vector>

#include "switcher/core/stream_viewer.h"

namespace panoptix {

std::optional<std::string> ProgramFolder() {
    constexpr size_t kLongestPath = size_t{1} << 20;
    std::vector<char> buffer(256);
    std::string path;
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<size_t>(length) < buffer.size()) {
            path.assign(buffer.data(), static_cast<size_t>(length));
            break;
        }
        if (buffer.size() >= kLongestPath) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return std::nullopt;
    }
    return path.substr(0, slash);
}

}  // namespace panoptix
