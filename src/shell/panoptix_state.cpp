#include "shell/panoptix_state.h"

namespace panoptix {

MainWindow* m_p_glo_main_set_or_get_dlg = nullptr;

void ResetSharedPageState(PanoptixState& state) {
    // Nothing of the link is reset when a page changes.
    state.multiviewer.m_all_16_view_page_data.ResetForNewPage();
    ResetMatrixPageState(state.matrix);
}

SerialChoice CurrentSerialChoice(const PanoptixState& state) {
    const CnComm& port = state.link.serial_port;
    if (port.IsOpen()) {
        return {port.PortName(), port.BaudRate()};
    }
    return state.serial_choice;
}

}  // namespace panoptix
