#include "link/device_entry.h"

#include <cstring>

namespace panoptix {

std::string DeviceEntry::IpText() const {
    return std::string(ip_text, strnlen(ip_text, 15));
}

void DeviceEntry::SetIpText(const std::string& text) {
    std::memset(ip_text, 0, sizeof ip_text);
    std::memcpy(ip_text, text.data(), std::min<size_t>(text.size(), sizeof ip_text - 1));
}

}  // namespace panoptix
