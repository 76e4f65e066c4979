// The running program's folder on Windows: GetModuleFileNameW with a buffer that grows until
// the whole path fits, in UTF-8.
#include <windows.h>

#include <string>
#include <vector>

#include "switcher/core/stream_viewer.h"

namespace panoptix {

std::optional<std::string> ProgramFolder() {
    constexpr size_t kLongestPath = size_t{1} << 16;  // Windows paths end at 32767 units
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::nullopt;
        }
        if (length < buffer.size()) {
            break;
        }
        if (buffer.size() >= kLongestPath) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length),
                                            nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::nullopt;
    }
    std::string path(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, buffer.data(), static_cast<int>(length), path.data(), bytes,
                          nullptr, nullptr);
    const size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos) {
        return std::nullopt;
    }
    return path.substr(0, separator);
}

}  // namespace panoptix
