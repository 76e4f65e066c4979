#include "shell/panoptix_state.h"

namespace panoptix {

std::optional<DeviceId> SelectedDevice(const PanoptixState& state) {
    return SelectedDeviceId(state.link, state.serial_choice.port);
}

void ResetPageState(PanoptixState& state, DevicePageKind kind, const DeviceId& device) {
    // Nothing of the link is reset when a page changes.
    switch (kind) {
        case DevicePageKind::Multiviewer:
            state.multiviewers.For(device).m_all_16_view_page_data.ResetForNewPage();
            break;
        case DevicePageKind::Matrix:
            ResetMatrixPageState(state.routers.For(device));
            break;
        case DevicePageKind::QuadView:
        case DevicePageKind::Switcher:
            break;
    }
}

SerialChoice CurrentSerialChoice(const PanoptixState& state) {
    const CnComm& port = state.link.SerialPort();
    if (port.IsOpen()) {
        return {port.PortName(), port.BaudRate()};
    }
    return state.serial_choice;
}

}  // namespace panoptix
