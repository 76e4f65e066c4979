#pragma once
// The state of the whole panel: the link's part and one block per device, kept by the device it
// describes (two switchers on one LAN each keep their own lamps and values), owned by the main
// window and kept across any number of pages. A device page is handed the link state and its own
// device's block; Qt-free code takes the part it needs by reference.
#include <cstdint>
#include <optional>
#include <string>

#include "link/device_blocks.h"
#include "link/device_id.h"
#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "multiviewer/core/multiviewer_state.h"
#include "quadview/core/quadview_state.h"
#include "shell/device_page_choice.h"
#include "switcher/core/switcher_state.h"

namespace panoptix {

// The serial port and baud rate the operator opened last; kept in the user's settings file and
// preselected in the "Configure" window's lists.
struct SerialChoice {
    std::string port;  // "" = none
    uint32_t baud_rate = 9600;
};

struct PanoptixState {
    DeviceLink link;
    SerialChoice serial_choice;
    DeviceBlocks<MultiviewerState> multiviewers;
    DeviceBlocks<SwitcherState> switchers;
    DeviceBlocks<MatrixState> routers;
    DeviceBlocks<QuadviewState> quadviews;
};

// The selected device (see SelectedDeviceId), its serial port the open one or the one chosen
// last.
std::optional<DeviceId> SelectedDevice(const PanoptixState& state);

// Before a device's page opens, its block is put back to a page's opening values: a
// multiviewer's page data starts again, a router's lock is cleared.
void ResetPageState(PanoptixState& state, DevicePageKind kind, const DeviceId& device);

// The port and rate to offer: the open port's, else the ones chosen last.
SerialChoice CurrentSerialChoice(const PanoptixState& state);

}  // namespace panoptix
