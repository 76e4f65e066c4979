#pragma once
// The two devices that report their state: the multiviewer's status block and the quad-view's
// status and signal replies, asked for as their pages ask and decoded by their cores.
#include "cli_session.h"

namespace panoptix::cli {

// Over the LAN (200 ms) or the serial port (5000 ms), as the session is connected.
Outcome QueryMultiviewerStatus(Session& session);

struct QuadviewStatus {
    bool answered = false;         // the status reply (0x90)
    bool signal_answered = false;  // the signal reply (0xAA)
};
// By the LAN: the status query, then the signal query (1000 ms each).
Outcome QueryQuadviewStatus(Session& session, QuadviewStatus& status);

}  // namespace panoptix::cli
