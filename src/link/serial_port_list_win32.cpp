// Serial port listing on Windows: the values of the registry key
// HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM, one per port the drivers have registered,
// each value's data a port name such as COM1.
#include <windows.h>

#include <algorithm>
#include <set>

#include "link/serial_port_list.h"

namespace panoptix {
namespace {

constexpr DWORD kNameUnits = 260;
constexpr DWORD kDataBytes = 20;

std::string Utf8(const wchar_t* text, size_t units) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), nullptr, 0,
                                            nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string out(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(units), out.data(), bytes, nullptr,
                          nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    const int units =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(units, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                          units);
    return out;
}

}  // namespace

std::vector<std::string> ListSerialPorts(const SerialPortRoots& roots) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(roots.windows_key).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
        return {};
    }
    std::set<std::string> ports;
    // Values from index 0 until the first one that cannot be read, a value whose data does not
    // fit in the 20-byte buffer included: the listing ends there.
    for (DWORD index = 0;; ++index) {
        wchar_t name[kNameUnits];
        DWORD name_units = kNameUnits;
        wchar_t data[kDataBytes / sizeof(wchar_t)];
        DWORD data_bytes = kDataBytes;
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &name_units, nullptr, &type,
                            reinterpret_cast<BYTE*>(data), &data_bytes) != ERROR_SUCCESS) {
            break;
        }
        // The data need not end in a NUL: the port name is what comes before the first one.
        size_t units = 0;
        while (units < data_bytes / sizeof(wchar_t) && data[units] != L'\0') {
            ++units;
        }
        if (name_units == 0 || units == 0) {
            continue;
        }
        ports.insert(Utf8(data, units));
    }
    ::RegCloseKey(key);
    return {ports.begin(), ports.end()};
}

}  // namespace panoptix
