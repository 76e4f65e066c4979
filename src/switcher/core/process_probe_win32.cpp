// Whether a program runs, on Windows: every process's image file is compared with the path,
// both made full, with one kind of separator, and without regard to case. Processes whose image
// cannot be read do not count.
#include <windows.h>
// windows.h first.
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "switcher/core/stream_viewer.h"

namespace panoptix {
namespace {

std::wstring Comparable(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    full.resize(length == 0 || length > full.size() ? 0 : length);
    if (full.empty()) {
        full = path;
    }
    std::replace(full.begin(), full.end(), L'/', L'\\');
    std::transform(full.begin(), full.end(), full.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return full;
}

std::wstring Wide(const std::string& text) {
    const int units =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(units, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                          units);
    return out;
}

std::wstring ImageOf(DWORD process_id) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (process == nullptr) {
        return {};
    }
    std::wstring image(32768, L'\0');
    DWORD length = static_cast<DWORD>(image.size());
    const bool read = ::QueryFullProcessImageNameW(process, 0, image.data(), &length) != FALSE;
    ::CloseHandle(process);
    image.resize(read ? length : 0);
    return image;
}

}  // namespace

bool IsProgramRunning(const std::string& path) {
    const std::wstring wanted = Comparable(Wide(path));
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found;
         more = ::Process32NextW(snapshot, &entry)) {
        const std::wstring image = ImageOf(entry.th32ProcessID);
        found = !image.empty() && Comparable(image) == wanted;
    }
    ::CloseHandle(snapshot);
    return found;
}

}  // namespace panoptix
