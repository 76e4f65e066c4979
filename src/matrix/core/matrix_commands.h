#pragma once
// The matrix sends: each text goes as one UDP datagram to the selected device (m_eState 0) or is
// written to the serial port (m_eState 1). The router never answers, so the record must not
// claim a route that never left the panel: an operation whose text cannot go (serial port
// closed) changes no route, selection or picture. On the LAN
// with no device selected the send shows "Please choose a device" and the record changes as if
// it had been sent.
#include <string_view>

#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

namespace panoptix {

// True when a text can leave the panel now: on the LAN, or on the serial line with the port open.
bool MatrixTextCanGo(const DeviceLink& link);

// Traces "m_eState = %d \n". LAN: open the command socket, one datagram of exactly the text's
// bytes, 20 ms pause, close (the results are not looked at). Serial with the port open: one
// WritePort, no pause. Returns false, having sent nothing, when the text cannot go or is empty.
bool SendMatrixText(DeviceLink& link, std::string_view text);

// The selected input n to every output: "nAll.", all eight routes become n, every output lights,
// "send data ok \n". Nothing with no input selected; nothing more in m_eMatrixState 2 or 3;
// "click the null All\n" in any other state but 1. The caller tests the lock.
void SendOneToAll(MatrixState& matrix, DeviceLink& link, CrosspointView& view);

// "All#.": output k carries input k for every k; afterwards no input is selected and all sixteen
// buttons are normal. It does not look at the selection. The caller tests the lock.
void SendOneToOne(MatrixState& matrix, DeviceLink& link, CrosspointView& view);

// The outputs routed from the selected input ("nVk,k."); nothing when m_eMatrixState is not 1 or
// no output carries the input. No picture changes. The caller makes sure an input is selected
// and the panel is not locked.
void SendApply(MatrixState& matrix, DeviceLink& link);

}  // namespace panoptix
