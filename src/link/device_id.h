#pragma once
// Which device a piece of state belongs to. On the LAN a device is its address with the address
// and type bytes of its reply (two devices may answer from one address); on the serial link it
// is the port it hangs on with the type byte of its reply.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/connection_mode.h"
#include "link/device_entry.h"

namespace panoptix {

struct DeviceId {
    ConnectionMode mode = ConnectionMode::Lan;
    std::string place;           // LAN: the address as dotted text; serial: the port's path
    uint8_t device_address = 0;  // LAN only; 0 on the serial link
    uint8_t device_type = 0;

    auto operator<=>(const DeviceId&) const = default;
};

DeviceId LanDeviceId(const DeviceEntry& row);
DeviceId SerialDeviceId(std::string_view port_path, uint8_t device_type);

}  // namespace panoptix
