#include "link/link_state.h"

namespace panoptix {

void ChangeConnectionMode(LinkState& link, ConnectionMode mode, ModeChangeSource source) {
    const int32_t number = ConnectionModeNumber(mode);
    if (link.m_eState == number) {
        return;
    }
    link.m_eState = number;
    if (link.mode_changed) {
        link.mode_changed(source);
    }
}

std::optional<DeviceId> SelectedDeviceId(const LinkState& link, std::string_view port_fallback) {
    if (link.m_device_index < 0) {
        return std::nullopt;
    }
    if (link.m_eState == kModeLan) {
        return LanDeviceId(*link.SelectedEntry());
    }
    const std::string port =
        link.serial_port.IsOpen() ? link.serial_port.PortName() : std::string(port_fallback);
    return SerialDeviceId(port, link.m_main_com_dev_type);
}

}  // namespace panoptix
