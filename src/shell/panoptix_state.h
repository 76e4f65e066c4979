#pragma once
// The shared state of the whole panel: one plain struct owned by the main window (which derives
// from it) and reached by every page through m_p_glo_main_set_or_get_dlg. The device link's part
// comes from LinkState; each device model adds its own block here (multiviewer, switcher,
// matrix, quad-view). Qt-free code takes the struct, or the part it needs, by reference.
#include "link/link_state.h"
#include "multiviewer/multiviewer_state.h"

namespace panoptix {

struct PanoptixState : LinkState, MultiviewerState {
    // The device blocks of the four models are added below by their own units.
};

// Before a new device page opens, the state the pages share is put back to its opening values
// (the matrix lock, the start of the multiviewer block). Each device block resets its part here.
void ResetSharedPageState(PanoptixState& state);

class CPanoptixDlg;
// The one main window; set during its initialisation and cleared when it goes.
extern CPanoptixDlg* m_p_glo_main_set_or_get_dlg;

}  // namespace panoptix
