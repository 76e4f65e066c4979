#include "link/transmit.h"

namespace panoptix {

bool TransmitCommand(DeviceLink& link, CommandRoute route, std::span<const uint8_t> bytes,
                     uint32_t lan_pause_ms) {
    if (route == CommandRoute::Lan) {
        SendOneShot(link, bytes, lan_pause_ms);
        return true;
    }
    if (!link.serial_port.IsOpen()) {
        return false;
    }
    link.serial_port.WritePort(bytes.data(), static_cast<int>(bytes.size()));
    return true;
}

void SendAddressChange(DeviceLink& link, const NetworkAddress& address) {
    SendOneShot(link, MakeAddressFrame(link.FrameEntry(), address));
}

}  // namespace panoptix
