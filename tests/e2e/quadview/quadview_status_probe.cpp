// quadview-status-probe IP [LOCAL_PORT]: asks the quad-view processor at IP for its status
// (0x90) the way the panel does, decodes the reply with the panel's decoder and prints what it
// holds, one "key=value" line each. Exit 1 when no reply came. The end-to-end test reads a
// device's state back with it.
#include <cstdio>
#include <cstdlib>

#include "link/device_link.h"
#include "link/trace.h"
#include "link/udp_transport.h"
#include "quadview/core/quadview_decoder.h"
#include "quadview/core/quadview_frames.h"

int main(int argc, char** argv) {
    using namespace panoptix;
    if (argc < 2) {
        std::fprintf(stderr, "usage: quadview-status-probe IP [LOCAL_PORT]\n");
        return 2;
    }
    SetTraceSink([](std::string_view) {});  // the query's traces are not the output
    DeviceLink link;
    link.device_table[0].SetIpText(argv[1]);
    link.device_table[0].device_type = 0x60;
    link.m_device_index = 0;
    link.endpoints.local_port = static_cast<uint16_t>(argc > 2 ? std::atoi(argv[2]) : 7001);

    ReplyWait wait;
    wait.command = quad_command::kStatus;
    wait.window_ms = 1000;
    const auto request = MakeQuadLanFrame(link, quad_command::kStatus);
    const auto reply = QueryWithReply(link, request, wait, kCommandPauseMs);
    const QuadStatusReport report = DecodeQuadStatusReply(reply);
    if (!report.loop_state) {
        std::fprintf(stderr, "no whole status reply from %s (%zu bytes)\n", argv[1], reply.size());
        return 1;
    }
    std::printf("show_mode=%d\n", report.show_mode.value_or(0));
    std::printf("output_format=%d\n", report.output_format.value_or(0));
    std::printf("pip_child.1=%d\n", report.pip_child[0].value_or(0));
    std::printf("pip_child.2=%d\n", report.pip_child[1].value_or(0));
    std::printf("loop_state=%d\n", *report.loop_state);
    return 0;
}
