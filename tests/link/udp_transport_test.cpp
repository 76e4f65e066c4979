// The UDP transport against a scripted fake device on 127.0.0.1, on ports other than 7000.
#include "link/udp_transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "link/clock.h"
#include "link/command_frame.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing_support::MessageRecorder;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;

constexpr char kLoopback[] = "127.0.0.1";

uint16_t FreeUdpPort() {
    const UdpPeer probe("0.0.0.0", 0);
    return probe.port();
}

std::vector<uint8_t> FrameWithCommand(uint8_t command, size_t total_length) {
    DeviceEntry device;
    device.device_type = device_type::kQuadView;
    const std::vector<uint8_t> payload(total_length - kFrameOverhead, 0x11);
    return MakeCommandFrame(device, LinkByte::Udp, command, payload);
}

class UdpTransportTest : public ::testing::Test {
  protected:
    UdpTransportTest() {
        state.endpoints.device_port = device.port();
        state.endpoints.local_port = FreeUdpPort();
        state.device_table[0].SetIpText(kLoopback);
        state.device_table[0].device_type = device_type::kQuadView;
        state.m_device_index = 0;
    }
    ~UdpTransportTest() override { CloseCommandSocket(state); }

    UdpPeer device{kLoopback, 0};
    DeviceLink state;
    TraceRecorder traces;
    MessageRecorder messages;
};

TEST_F(UdpTransportTest, SendOneShotDeliversTheFrameFromTheLocalPortAndCloses) {
    ASSERT_TRUE(device.valid());
    const auto frame = FrameWithCommand(0x94, 21);
    SendOneShot(state, frame);

    const auto got = device.Receive(1000);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->bytes, frame);
    EXPECT_EQ(got->sender_port, state.endpoints.local_port);
    EXPECT_EQ(state.m_udpSockfd, -1);
    EXPECT_THAT(messages.texts, IsEmpty());
    EXPECT_THAT(traces.lines(), IsEmpty());
}

// What the fake device answers to the query, and what the panel makes of it.
struct QueryCase {
    const char* name;
    std::vector<std::vector<uint8_t>> answers;  // sent in order once the request arrives
    int reply_index;                            // answer taken as the reply, -1 for none
    uint32_t window_ms;
    std::vector<std::string> expected_traces;

    friend void PrintTo(const QueryCase& scenario, std::ostream* out) { *out << scenario.name; }
};

class QueryWithReplyTest : public UdpTransportTest,
                           public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QueryWithReplyTest, TakesTheFirstDatagramWithTheExpectedCommand) {
    ASSERT_TRUE(device.valid());
    const QueryCase& scenario = GetParam();
    const auto request = MakeCommandFrame(state.device_table[0], LinkByte::Udp, 0x90);

    std::optional<testing_support::Request> request_seen;
    std::thread device_side([&] {
        request_seen = device.Receive(2000);
        for (const auto& answer : scenario.answers) {
            if (request_seen) {
                device.SendTo(request_seen->sender_ip, request_seen->sender_port, answer);
            }
        }
    });
    const ReplyWait wait{.command = 0x90,
                         .window_ms = scenario.window_ms,
                         .start_ms = TickMs(),
                         .foreign_trace = "the cmd is not right \n",
                         .timeout_trace = "wait time over \n",
                         .received_trace = "recv len is %d \n"};
    const auto reply = QueryWithReply(state, request, wait, kCommandPauseMs);
    const uint32_t elapsed_ms = TickMs() - wait.start_ms;
    device_side.join();

    ASSERT_TRUE(request_seen.has_value());
    EXPECT_EQ(request_seen->bytes, request);
    EXPECT_EQ(request_seen->sender_port, state.endpoints.local_port);
    if (scenario.reply_index >= 0) {
        EXPECT_EQ(reply, scenario.answers[static_cast<size_t>(scenario.reply_index)]);
        // The peer address now names the sender of the reply.
        EXPECT_EQ(state.peer_address.port, device.port());
    } else {
        EXPECT_THAT(reply, IsEmpty());
        EXPECT_GE(elapsed_ms, scenario.window_ms);  // the window is waited out, not cut short
    }
    EXPECT_THAT(traces.lines(), ElementsAreArray(scenario.expected_traces));
    EXPECT_EQ(state.m_udpSockfd, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, QueryWithReplyTest,
    ::testing::Values(QueryCase{"ForeignCommandsThenTheReply",
                                {FrameWithCommand(0x94, 21),
                                 {0xA5, 0x6C, 0x05, 0x00, 0xAE},
                                 FrameWithCommand(0x90, 40)},
                                2,
                                1000,
                                {"recv len is 21 \n", "the cmd is not right \n", "recv len is 5 \n",
                                 "the cmd is not right \n", "recv len is 40 \n"}},
                      QueryCase{"OverLongDatagramIsDroppedUntraced",
                                {FrameWithCommand(0x90, 1025), FrameWithCommand(0x90, 30)},
                                1,
                                1000,
                                {"recv len is 30 \n"}},
                      QueryCase{"ReplyOfExactly1024Bytes",
                                {FrameWithCommand(0x90, 1024)},
                                0,
                                1000,
                                {"recv len is 1024 \n"}},
                      QueryCase{"NoAnswer", {}, -1, 150, {"wait time over \n"}},
                      QueryCase{
                          "OnlyForeignAnswers",
                          {FrameWithCommand(0xAA, 26)},
                          -1,
                          150,
                          {"recv len is 26 \n", "the cmd is not right \n", "wait time over \n"}}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(UdpTransportTest, ReceiveDropsADatagramLongerThanTheBufferAndNamesTheSender) {
    ASSERT_EQ(OpenCommandSocket(state), 1);
    const UdpPeer other(kLoopback, 0);
    const std::vector<uint8_t> too_long(17, 0x2D);
    const std::vector<uint8_t> fits = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_TRUE(device.SendTo(kLoopback, state.endpoints.local_port, too_long));
    ASSERT_TRUE(other.SendTo(kLoopback, state.endpoints.local_port, fits));

    std::array<uint8_t, 16> buffer{};
    EXPECT_EQ(ReceiveFromPeer(state, buffer, 1000), -1);
    EXPECT_EQ(state.peer_address.port, device.port()) << "a dropped datagram names no sender";
    ASSERT_EQ(ReceiveFromPeer(state, buffer, 1000), 16);
    EXPECT_THAT(buffer, ElementsAreArray(fits));
    EXPECT_EQ(state.peer_address.port, other.port());
    EXPECT_EQ(ReceiveFromPeer(state, buffer, 20), -1);  // nothing more: the wait times out
}

TEST_F(UdpTransportTest, SecondOpenWithoutCloseReusesTheSocketAndItsPeer) {
    ASSERT_EQ(OpenCommandSocket(state), 1);
    const int first_socket = state.m_udpSockfd;
    ASSERT_GE(first_socket, 0);
    state.device_table[0].SetIpText("192.0.2.99");  // would change the peer if it were re-read

    EXPECT_EQ(OpenCommandSocket(state), 1);
    EXPECT_EQ(state.m_udpSockfd, first_socket);
    EXPECT_THAT(traces.lines(), ElementsAre("m_udpSockfd have on live \n"));
    EXPECT_EQ(state.peer_address.port, device.port());
    const auto frame = FrameWithCommand(0x33, 21);
    EXPECT_EQ(SendToPeer(state, frame), 21);
    const auto got = device.Receive(1000);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->bytes, frame);

    EXPECT_EQ(CloseCommandSocket(state), 1);
    EXPECT_EQ(state.m_udpSockfd, -1);
}

TEST_F(UdpTransportTest, NoDeviceSelectedShowsTheBoxAndLeavesNoSocket) {
    state.m_device_index = -1;
    EXPECT_EQ(OpenCommandSocket(state), 0);
    EXPECT_EQ(state.m_udpSockfd, -1);

    SendOneShot(state, FrameWithCommand(0x33, 21));
    EXPECT_EQ(state.m_udpSockfd, -1);
    EXPECT_FALSE(device.Receive(50).has_value());

    // A query sends nothing and still waits out its window.
    const ReplyWait wait{.command = 0x90,
                         .window_ms = 100,
                         .start_ms = TickMs(),
                         .timeout_trace = "wait time over \n"};
    EXPECT_THAT(QueryWithReply(state, FrameWithCommand(0x90, 20), wait), IsEmpty());
    EXPECT_GE(TickMs() - wait.start_ms, 100u);
    EXPECT_FALSE(device.Receive(0).has_value());

    EXPECT_THAT(messages.texts, ElementsAre("Please choose a device", "Please choose a device",
                                            "Please choose a device"));
    EXPECT_THAT(traces.lines(), ElementsAre("wait time over \n"));
}

// A selected row that holds no address one can send to (the serial search fills none) is no
// device to send to: before, the frame was handed to the all-ones address and failed only
// because the socket had no broadcast permission.
TEST_F(UdpTransportTest, ARowWithoutAUsableAddressIsNoDeviceToSendTo) {
    for (const char* text : {"", "not an address", "0.0.0.0", "255.255.255.255"}) {
        SCOPED_TRACE(text);
        messages.texts.clear();
        state.device_table[0].SetIpText(text);
        state.m_device_index = 0;
        SendOneShot(state, FrameWithCommand(0x05, 32));
        EXPECT_EQ(state.m_udpSockfd, -1);
        EXPECT_THAT(messages.texts, ElementsAre("Please choose a device"));
    }
    EXPECT_FALSE(device.Receive(50).has_value());
}

TEST_F(UdpTransportTest, FailedBindStillSendsFromAnotherPort) {
    const UdpPeer squatter("0.0.0.0", state.endpoints.local_port);
    ASSERT_TRUE(squatter.valid());

    EXPECT_EQ(OpenCommandSocket(state), 0);
    EXPECT_GE(state.m_udpSockfd, 0) << "the socket stays open for the caller's send";
    EXPECT_THAT(messages.texts, IsEmpty());
    CloseCommandSocket(state);

    const auto frame = FrameWithCommand(0x33, 21);
    SendOneShot(state, frame);
    const auto got = device.Receive(1000);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->bytes, frame);
    EXPECT_NE(got->sender_port, state.endpoints.local_port);
    EXPECT_EQ(state.m_udpSockfd, -1);
}

}  // namespace
}  // namespace panoptix
