#include "link/device_id.h"

namespace panoptix {

DeviceId LanDeviceId(const DeviceEntry& row) {
    return {ConnectionMode::Lan, row.IpText(), row.device_address, row.device_type};
}

DeviceId SerialDeviceId(std::string_view port_path, uint8_t device_type) {
    return {ConnectionMode::Serial, std::string(port_path), 0, device_type};
}

}  // namespace panoptix
