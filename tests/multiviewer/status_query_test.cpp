#include "multiviewer/core/status_query.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "link/command_frame.h"
#include "state_compare.h"
#include "status_reply_builder.h"
#include "support/pty_peer.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using testing::RichReply;
using testing::SameState;
using testing::StatusReplyBuilder;
using testing_support::MessageRecorder;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;
using Bytes = std::vector<uint8_t>;

constexpr const char* kForeignTrace = "the cmd is not right，continue \n";

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A state the rich reply visibly changes.
MultiviewerState StaleState() {
    MultiviewerState mv;
    mv.m_all_16_view_page_data.view_mode_type = 1;
    mv.m_cur_window_count = 4;
    mv.umd_name.fill(u"old");
    return mv;
}

// A frame with another command from the same device.
Bytes LayoutCommandFrame() {
    DeviceEntry row;
    row.device_type = 0xA1;
    row.device_address = 0x07;
    const uint8_t layout = 4;
    return MakeCommandFrame(row, LinkByte::Udp, 0x33, {&layout, 1});
}

// What a multiviewer of type A1, address 07 expects as the status query.
Bytes QueryFrame(LinkByte link) {
    DeviceEntry row;
    row.device_type = 0xA1;
    row.device_address = 0x07;
    return MakeCommandFrame(row, link, 0x32);
}

void ExpectRichReplyDecoded(const MultiviewerState& mv) {
    EXPECT_EQ(mv.m_cur_window_count, 9);
    EXPECT_EQ(mv.m_all_16_view_page_data.view_mode_type, 4);
    EXPECT_EQ(mv.umd_name[0], u"W1");
    EXPECT_EQ(mv.window_source[15], 1);
    EXPECT_EQ(mv.m_all_16_view_page_data.resolution_back_color[15], 15);
}

class LanStatusQueryTest : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::SelectPeer(link_, device_, 0xA1, 0x07); }

    // The device answers the query with `datagrams`, in order. Returns what the query said.
    bool RunQueryAnsweredWith(const std::vector<Bytes>& datagrams) {
        Bytes request;
        std::thread peer([&] {
            if (const auto received = device_.Receive(2000)) {
                request = received->bytes;
                for (const Bytes& datagram : datagrams) {
                    device_.Reply(datagram);
                }
            }
        });
        const bool answered = QueryStatusOverLan(link_, mv_);
        peer.join();
        EXPECT_THAT(request, ::testing::ElementsAreArray(QueryFrame(LinkByte::Udp)));
        return answered;
    }

    UdpPeer device_;
    DeviceLink link_;
    MultiviewerState mv_ = StaleState();
};

TEST_F(LanStatusQueryTest, DecodesTheReplyThatFollowsForeignDatagrams) {
    TraceRecorder traces;
    EXPECT_TRUE(
        RunQueryAnsweredWith({LayoutCommandFrame(), Bytes{0xA5, 0x6C, 0x05}, RichReply().Frame()}));

    ExpectRichReplyDecoded(mv_);
    EXPECT_EQ(traces.Count(kForeignTrace), 2u);
    EXPECT_EQ(traces.Count("wait time over \n"), 0u);
    // Decoded with the LAN's traces.
    EXPECT_EQ(traces.Count("m_p_glo_main_set_or_get_dlg.m_cur_window_count = 9 \n"), 1u);
    EXPECT_EQ(mv_.m_status_query_done, 1);
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(LanStatusQueryTest, AShortReplyDecodesWhatItHolds) {
    const Bytes full = RichReply().Frame();
    RunQueryAnsweredWith({Bytes(full.begin(), full.begin() + 24)});
    EXPECT_EQ(mv_.m_cur_window_count, 9);
    EXPECT_EQ(mv_.m_all_16_view_page_data.umd_enable, 1);
    EXPECT_EQ(mv_.umd_name[0], u"old");  // the label slots were not in the datagram
    EXPECT_EQ(mv_.window_source[15], 0);
}

TEST_F(LanStatusQueryTest, OnlyForeignDatagramsTimeOutAndLeaveTheState) {
    TraceRecorder traces;
    const MultiviewerState before = mv_;
    EXPECT_FALSE(
        RunQueryAnsweredWith({LayoutCommandFrame(), LayoutCommandFrame(), LayoutCommandFrame()}));

    EXPECT_EQ(traces.Count(kForeignTrace), 3u);
    EXPECT_EQ(traces.Count("wait time over \n"), 1u);
    EXPECT_EQ(traces.lines().back(), "wait time over \n");
    MultiviewerState expected = before;
    expected.m_status_query_done = 1;  // set however the query ended
    EXPECT_TRUE(SameState(mv_, expected));
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(LanStatusQueryTest, WithoutASelectedDeviceTheWindowRunsOut) {
    link_.m_device_index = -1;
    MessageRecorder messages;
    TraceRecorder traces;
    const MultiviewerState before = mv_;
    QueryStatusOverLan(link_, mv_);

    EXPECT_THAT(messages.texts, ::testing::ElementsAre("Please choose a device"));
    EXPECT_EQ(traces.Count("wait time over \n"), 1u);
    EXPECT_FALSE(device_.Receive(0).has_value());
    MultiviewerState expected = before;
    expected.m_status_query_done = 1;
    EXPECT_TRUE(SameState(mv_, expected));
}

class SerialStatusQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeviceEntry& row = link_.device_table[0];
        row.device_type = 0xA1;
        row.device_address = 0x07;
        link_.m_device_index = 0;
        link_.SetMode(ConnectionMode::Serial);
    }
    void TearDown() override { link_.serial_port.ClosePort(); }

    void OpenSerial() {
        ASSERT_TRUE(link_.serial_port.OpenPort(pty_.PortName(), 115200))
            << "the serial engine cannot open " << pty_.PortName();
    }

    PtyPeer pty_{PtyPeer::Line::HeldOpen};
    DeviceLink link_;
    MultiviewerState mv_ = StaleState();
};

TEST_F(SerialStatusQueryTest, DecodesAReplyArrivingInPiecesAfterStaleBytes) {
    ASSERT_NO_FATAL_FAILURE(OpenSerial());
    // A stale reply already waiting on the line and one in the accumulator: the query
    // discards both before asking.
    const Bytes stale =
        StatusReplyBuilder().Set(status_reply::kLayoutCode, 16).Frame(0xA1, 0x07, LinkByte::Serial);
    pty_.Write(stale);
    std::copy(stale.begin(), stale.end(), link_.status_rx_buffer.begin());
    link_.status_rx_count = static_cast<int32_t>(stale.size());
    Pause(50);

    Bytes request;
    std::thread peer([&] {
        request = pty_.Read(20, 2000);
        const Bytes reply = RichReply().Frame(0xA1, 0x07, LinkByte::Serial);
        const Bytes noise = {0x00, 0x13, 0xA5};
        pty_.Write(noise);
        pty_.Write(LayoutCommandFrame());
        // The reply in three pieces, each a little after the last.
        const size_t cuts[] = {0, 100, 400, reply.size()};
        for (size_t piece = 0; piece < 3; ++piece) {
            Pause(30);
            pty_.Write(std::span(reply).subspan(cuts[piece], cuts[piece + 1] - cuts[piece]));
        }
    });
    TraceRecorder traces;
    EXPECT_TRUE(QueryStatusOverSerial(link_, mv_));
    peer.join();

    EXPECT_THAT(request, ::testing::ElementsAreArray(QueryFrame(LinkByte::Serial)));
    ExpectRichReplyDecoded(mv_);
    EXPECT_EQ(mv_.m_status_query_done, 1);
    EXPECT_EQ(traces.Count("time over \n"), 0u);
    // The serial path decodes without the LAN's traces.
    EXPECT_EQ(traces.Count("m_p_glo_main_set_or_get_dlg.m_cur_window_count = 9 \n"), 0u);
}

TEST_F(SerialStatusQueryTest, ClosedPortSendsNothingAndChangesNothing) {
    const MultiviewerState before = mv_;
    TraceRecorder traces;
    EXPECT_FALSE(QueryStatusOverSerial(link_, mv_));
    EXPECT_TRUE(SameState(mv_, before));  // not even the query-done flag
    EXPECT_TRUE(traces.lines().empty());
    EXPECT_TRUE(pty_.ReadUntilQuiet(50).empty());
}

}  // namespace
}  // namespace panoptix
