#include "link/device_link.h"

namespace panoptix {

void DeviceLink::SetMode(ConnectionMode mode, ModeChangeSource source) {
    if (mode_ == mode) {
        return;
    }
    mode_ = mode;
    if (mode_changed_) {
        mode_changed_(source);
    }
}

std::optional<DeviceId> SelectedDeviceId(const DeviceLink& link, std::string_view port_fallback) {
    if (link.m_device_index < 0) {
        return std::nullopt;
    }
    if (link.mode() == ConnectionMode::Lan) {
        return LanDeviceId(*link.SelectedEntry());
    }
    const std::string port =
        link.serial_port.IsOpen() ? link.serial_port.PortName() : std::string(port_fallback);
    return SerialDeviceId(port, link.m_main_com_dev_type);
}

}  // namespace panoptix
