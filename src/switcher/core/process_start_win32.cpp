// Starting a program detached on Windows: CreateProcessW of the file itself (no shell, no
// arguments, no inherited handles), as a process of its own without this program's console.
#include <windows.h>

#include <string>

#include "switcher/core/stream_viewer.h"

namespace panoptix {

bool StartDetached(const std::string& path) {
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                            static_cast<int>(path.size()), nullptr, 0);
    if (units <= 0) {
        return false;
    }
    std::wstring program(static_cast<size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                          program.data(), units);
    // The command line is the quoted program name alone; CreateProcessW may write into it.
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                          DETACHED_PROCESS | CREATE_NEW_PROCESS_GROUP, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

}  // namespace panoptix
