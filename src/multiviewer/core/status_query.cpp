#include "multiviewer/core/status_query.h"

#include "link/clock.h"
#include "link/command_frame.h"
#include "link/reply_parser.h"
#include "link/udp_transport.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/status_decoder.h"

namespace panoptix {

bool QueryStatusOverLan(DeviceLink& link, MultiviewerState& mv) {
    const uint32_t start_ms = TickMs();
    const auto request =
        MakeCommandFrame(link.FrameEntry(), LinkByte::Udp, command::kMultiviewerStatus);
    ReplyWait wait;
    wait.command = command::kMultiviewerStatus;
    wait.window_ms = kLanStatusWindowMs;
    wait.start_ms = start_ms;
    wait.foreign_trace = "the cmd is not right，continue \n";
    wait.timeout_trace = "wait time over \n";
    const auto reply = QueryWithReply(link, request, wait);
    if (!reply.empty()) {
        DecodeStatusReply(mv, reply, DecodeTraces::On);
    }
    mv.m_status_query_done = 1;
    return !reply.empty();
}

bool QueryStatusOverSerial(DeviceLink& link, MultiviewerState& mv) {
    const uint32_t start_ms = TickMs();
    const auto request =
        MakeCommandFrame(link.FrameEntry(), LinkByte::Serial, command::kMultiviewerStatus);
    if (!link.SerialPort().IsOpen()) {
        return false;
    }
    link.SerialPort().DrainInput();
    ClearReceivedBytes(link);
    link.SerialPort().WritePort(request.data(), static_cast<int>(request.size()));
    SleepMs(10);
    bool decoded = false;
    AwaitSerialReply(
        link, start_ms, kSerialStatusWindowMs,
        [&mv, &decoded](std::span<const uint8_t> frame) {
            DecodeStatusReply(mv, frame, DecodeTraces::Off);
            decoded = true;
        },
        CountTrace::Off);
    mv.m_status_query_done = 1;
    return decoded;
}

}  // namespace panoptix
