// Runs a fuzz target once over every file given on the command line (directories are walked),
// for builds without libFuzzer. A finding aborts, so the CTest test fails.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int ReplayFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return 1;
    }
    // An exact-size heap copy, as libFuzzer hands it, so a read past the end is reported.
    std::vector<uint8_t> input((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(input.empty() ? nullptr : input.data(), input.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path root(argv[i]);
        if (std::filesystem::is_directory(root)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
                if (entry.is_regular_file()) {
                    failures += ReplayFile(entry.path());
                    ++inputs;
                }
            }
        } else {
            failures += ReplayFile(root);
            ++inputs;
        }
    }
    std::printf("replay: %d inputs\n", inputs);
    if (inputs == 0) {
        std::fprintf(stderr, "replay: no inputs\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
