#pragma once
// The status query (command 0x32): asks the multiviewer for all of its settings and decodes
// the reply into MultiviewerState. A failed query leaves the state as it was; each query tells
// whether a reply was decoded (the pages do not look, a script does). The caller recomputes the
// preview afterwards.
#include <cstdint>

#include "link/device_link.h"
#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

inline constexpr uint32_t kLanStatusWindowMs = 200;
inline constexpr uint32_t kSerialStatusWindowMs = 5000;

// Over UDP to the selected device: waits up to 200 ms for a datagram whose command byte is
// 0x32 ("the cmd is not right，continue \n" for every other one, "wait time over \n" when the
// window passes) and decodes it with traces. Always sets m_status_query_done.
bool QueryStatusOverLan(DeviceLink& link, MultiviewerState& mv);

// Over the serial port: with the port closed nothing happens at all. Otherwise drains the
// port, empties the receive accumulator, writes the query, pauses 10 ms and collects the reply
// for up to 5000 ms through the reply parser, which decodes a multiviewer's 0x32 frame (no
// traces). Sets m_status_query_done when the port was open.
bool QueryStatusOverSerial(DeviceLink& link, MultiviewerState& mv);

}  // namespace panoptix
