// Golden frames of every quad-view query and command, as the device receives them: over UDP
// from the row of a device of type 60, address 07, and the serial show-mode frame on a pty.
#include "quadview/core/quadview_frames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "link/udp_transport.h"
#include "quadview_loopback.h"
#include "support/pty_peer.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::Bytes;
using ::testing::ElementsAreArray;
using testing::QuadLoopbackTest;
using testing_support::PtyPeer;

// A5 6C | length | type 60, address 07 | link byte 1 | nine zeros | then command, payload,
// checksum (low, high) and AE.
Bytes Lan(uint8_t length, std::initializer_list<uint8_t> rest) {
    Bytes frame{0xA5, 0x6C, length, 0x00, 0x60, 0x07, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (uint8_t byte : rest) {
        frame.push_back(byte);
    }
    return frame;
}

using FramesTest = QuadLoopbackTest;

TEST_F(FramesTest, EveryCommandAndQueryReachesTheDeviceAsItsGoldenFrame) {
    struct Case {
        const char* name;
        std::function<void(DeviceLink&)> send;
        Bytes frame;
    };
    const Case cases[] = {
        {"status query", [](DeviceLink& l) { SendOneShot(l, MakeQuadLanFrame(l, 0x90)); },
         Lan(0x14, {0x90, 0x1D, 0x02, 0xAE})},
        {"signal query", [](DeviceLink& l) { SendOneShot(l, MakeQuadLanFrame(l, 0xAA)); },
         Lan(0x14, {0xAA, 0x37, 0x02, 0xAE})},
        {"show mode 8", [](DeviceLink& l) { SendShowMode(l, 8); },
         Lan(0x15, {0x94, 0x08, 0x2A, 0x02, 0xAE})},
        {"output format 4", [](DeviceLink& l) { SendOutputFormat(l, 4); },
         Lan(0x15, {0x92, 0x04, 0x24, 0x02, 0xAE})},
        {"PIP children 3 and 4", [](DeviceLink& l) { SendPipChildren(l, 3, 4); },
         Lan(0x16, {0xA5, 0x03, 0x04, 0x3B, 0x02, 0xAE})},
        {"loop running", [](DeviceLink& l) { SendLoopState(l, 1); },
         Lan(0x15, {0xA6, 0x01, 0x35, 0x02, 0xAE})},
        {"loop stopped", [](DeviceLink& l) { SendLoopState(l, 0); },
         Lan(0x15, {0xA6, 0x00, 0x34, 0x02, 0xAE})},
        {"loop time 3 s", [](DeviceLink& l) { SendLoopTimeFrame(l, 3); },
         Lan(0x16, {0xA7, 0x03, 0x00, 0x39, 0x02, 0xAE})},
        {"loop time 250 s", [](DeviceLink& l) { SendLoopTimeFrame(l, 250); },
         Lan(0x16, {0xA7, 0xFA, 0x00, 0x30, 0x03, 0xAE})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.send(link_);
        EXPECT_THAT(ReceivedOne(), ElementsAreArray(c.frame));
        EXPECT_EQ(link_.m_udpSockfd, -1);
    }
}

TEST_F(FramesTest, LoopTimeFieldIsSentAsThreeTo999Seconds) {
    testing_support::TraceRecorder traces;
    const std::pair<const char*, uint16_t> cases[] = {
        {"1", 3}, {"250", 250}, {"3", 3}, {"", 3}, {"-7", 3}, {"999", 999}, {"5000", 999},
    };
    for (const auto& [text, seconds] : cases) {
        SCOPED_TRACE(text);
        panel_.SendLoopTime(text);
        const Bytes frame = ReceivedOne();
        ASSERT_EQ(frame.size(), 22u);
        EXPECT_EQ(frame[16], 0xA7);
        EXPECT_EQ(frame[17] | (frame[18] << 8), seconds);
    }
    EXPECT_EQ(traces.Count("time is 1 \n"), 1u);
    EXPECT_EQ(traces.Count("time is -7 \n"), 1u);
    EXPECT_EQ(traces.Count("time is 0 \n"), 1u);
}

TEST(SerialShowModeTest, SerialFormCarriesA3FfAndGoesOnlyToAnOpenPort) {
    const PtyPeer pty(PtyPeer::Line::HeldOpen);
    DeviceLink link;
    link.SetMode(ConnectionMode::Serial);
    link.device_table[0].device_type = 0x60;
    link.m_device_index = 0;

    SendShowMode(link, 3);  // port closed: nothing, and no UDP either
    EXPECT_EQ(link.m_udpSockfd, -1);

    ASSERT_TRUE(link.serial_port.OpenPort(pty.PortName(), 115200));
    SendShowMode(link, 3);
    EXPECT_THAT(
        pty.Read(21, 2000),
        ElementsAreArray<uint8_t>({0xA5, 0x6C, 0x15, 0x00, 0xA3, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x00, 0x00, 0x00, 0x94, 0x03, 0x5F, 0x03, 0xAE}));
    link.serial_port.ClosePort();
}

}  // namespace
}  // namespace panoptix
