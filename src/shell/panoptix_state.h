#pragma once
// The shared state of the whole panel: the link's part and one block per device model, owned by
// the main window and kept across any number of pages. A device page is handed the link state
// and its own device's block; Qt-free code takes the part it needs by reference.
#include <cstdint>
#include <string>

#include "link/link_state.h"
#include "matrix/core/matrix_state.h"
#include "multiviewer/core/multiviewer_state.h"
#include "quadview/core/quadview_state.h"
#include "switcher/core/switcher_state.h"

namespace panoptix {

// The serial port and baud rate the operator opened last; kept in the user's settings file and
// preselected in the "Configure" window's lists.
struct SerialChoice {
    std::string port;  // "" = none
    uint32_t baud_rate = 9600;
};

struct PanoptixState {
    LinkState link;
    SerialChoice serial_choice;
    MultiviewerState multiviewer;
    SwitcherState switcher;
    MatrixState matrix;
    QuadviewState quadview;
};

// Before a new device page opens, the state the pages share is put back to its opening values
// (the matrix lock, the start of the multiviewer block).
void ResetSharedPageState(PanoptixState& state);

// The port and rate to offer: the open port's, else the ones chosen last.
SerialChoice CurrentSerialChoice(const PanoptixState& state);

class MainWindow;
// The one main window; set during its initialisation and cleared when it goes. Used by the
// shell only: pages are handed their state.
extern MainWindow* m_p_glo_main_set_or_get_dlg;

}  // namespace panoptix
