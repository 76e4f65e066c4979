#pragma once
// One 18-byte row of the device table: the IP address as dotted text (NUL-padded, byte 15
// always NUL), then the device address byte and the device type byte of the device's reply.
#include <array>
#include <cstdint>
#include <string>

namespace panoptix {

struct DeviceEntry {
    char ip_text[16] = {};
    uint8_t device_address = 0;  // byte 16: byte 5 of the device's reply
    uint8_t device_type = 0;     // byte 17: byte 4 of the device's reply

    std::string IpText() const;
    // Stores at most 15 characters and NUL-pads the rest.
    void SetIpText(const std::string& text);
};
static_assert(sizeof(DeviceEntry) == 18, "a device table row is 18 bytes");

inline constexpr int kDeviceTableRows = 128;
using DeviceTable = std::array<DeviceEntry, kDeviceTableRows>;

// Device type bytes that choose a page.
namespace device_type {
inline constexpr uint8_t kQuadView = 0x60;
inline constexpr uint8_t kMatrix = 0x81;
inline constexpr uint8_t kMatrixAlt = 0x82;
inline constexpr uint8_t kMultiviewer = 0xA1;
inline constexpr uint8_t kSwitcher = 0xA5;
}  // namespace device_type

// The kind of device a type byte names, which chooses its page: 0x60 quad-view, 0x81 and 0x82
// matrix, 0xA1 multiviewer, 0xA5 switcher; any other type byte gets the quad-view's page.
enum class DeviceKind : uint8_t { QuadView, Matrix, Multiviewer, Switcher };
DeviceKind DeviceKindOfType(uint8_t type_byte);
// Whether the type byte is one of the five listed above.
bool IsKnownDeviceType(uint8_t type_byte);

}  // namespace panoptix
