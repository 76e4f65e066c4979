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

DeviceKind DeviceKindOfType(uint8_t type_byte) {
    switch (type_byte) {
        case device_type::kMatrix:
        case device_type::kMatrixAlt:
            return DeviceKind::Matrix;
        case device_type::kMultiviewer:
            return DeviceKind::Multiviewer;
        case device_type::kSwitcher:
            return DeviceKind::Switcher;
        default:
            return DeviceKind::QuadView;
    }
}

bool IsKnownDeviceType(uint8_t type_byte) {
    return type_byte == device_type::kQuadView || type_byte == device_type::kMatrix ||
           type_byte == device_type::kMatrixAlt || type_byte == device_type::kMultiviewer ||
           type_byte == device_type::kSwitcher;
}

}  // namespace panoptix
