#pragma once
// One exchange owns m_udpSockfd at a time. An exchange that waits for its reply on an event loop
// (instead of sleeping on the socket) keeps the socket open under a hold meanwhile. Any other
// open or close of the link's socket first cancels the hold: the holder is told while the
// socket is still open (so it can stop watching it), then the socket is closed and
// m_udpSockfd is -1 again. The holder ends its own exchange with ReleaseSocketHold and closes
// the socket itself. There is one hold in the whole program.
#include <functional>

#include "link/device_link.h"

namespace panoptix {

using SocketHoldCancelled = std::function<void()>;

// Holds state's open socket for the caller. False, and nothing held, when no socket is open or
// a hold is already placed.
bool PlaceSocketHold(DeviceLink& state, SocketHoldCancelled on_cancel);
// Whether state's socket is held.
bool SocketHeld(const DeviceLink& state);
// The holder's own end: the hold goes without a call back; the socket stays open.
void ReleaseSocketHold(DeviceLink& state);
// Every open and close of the link's socket calls this first. With a hold on state: the holder
// is called back, then the held socket is closed. Nothing otherwise.
void CancelSocketHold(DeviceLink& state);

}  // namespace panoptix
