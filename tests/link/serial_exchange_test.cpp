// Serial exchanges against a scripted device on a pseudo-terminal: the search request on the
// wire, replies that trickle in, and the waiting loop that collects and parses them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/operator_messages.h"
#include "link/reply_parser.h"
#include "link/trace.h"
#include "support/pty_peer.h"

namespace panoptix {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using testing_support::PtyPeer;

using Bytes = std::vector<uint8_t>;

Bytes DiscoveryReply(uint8_t device_type, const std::string& text) {
    Bytes payload{0x00};
    payload.insert(payload.end(), text.begin(), text.end());
    Bytes frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(device_type, 0x07, LinkByte::Serial, command::kDiscovery, payload,
                              frame);
    return frame;
}

Bytes StatusReply(uint8_t device_type) {
    Bytes payload(669 - kFrameOverhead);
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<uint8_t>(i * 3);
    }
    Bytes frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(device_type, 0x07, LinkByte::Serial, command::kMultiviewerStatus,
                              payload, frame);
    return frame;
}

class MessageRecorder : public OperatorMessages {
  public:
    void ShowError(std::string_view text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

class SerialExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTraceSink([this](std::string_view line) {
            std::lock_guard lock(traces_mutex_);
            traces_.emplace_back(line);
        });
        SetOperatorMessages(&messages_);
    }
    void TearDown() override {
        SetTraceSink(nullptr);
        SetOperatorMessages(nullptr);
    }

    std::vector<std::string> Traces() {
        std::lock_guard lock(traces_mutex_);
        return traces_;
    }

    // Bytes the engine sees queued, waited for in small sleeps.
    bool WaitUntilQueued(int count) {
        const uint32_t start_ms = TickMs();
        while (state_.serial_port.InputCount() < count) {
            if (RemainingMs(start_ms, 2000) == 0) {
                return false;
            }
            SleepMs(2);
        }
        return true;
    }

    PtyPeer peer_;
    DeviceLink state_;
    MessageRecorder messages_;

  private:
    std::mutex traces_mutex_;
    std::vector<std::string> traces_;
};

TEST_F(SerialExchangeTest, SearchSendsTheRequestAndListsTheModelNameFromATricklingReply) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    // A reply left over from earlier is discarded before the request goes out.
    const Bytes stale = DiscoveryReply(device_type::kSwitcher, "OLD-1-");
    peer_.Write(stale);
    ASSERT_TRUE(WaitUntilQueued(static_cast<int>(stale.size())));

    Bytes request;
    std::thread device([&] {
        request = peer_.Read(kFrameOverhead, 2000);
        peer_.Trickle(DiscoveryReply(device_type::kMultiviewer, "PX9-1-"), 5, 15);
    });
    const DeviceSearchResult result = SearchSerial(state_, {}, 2000);
    device.join();

    EXPECT_THAT(request, ElementsAreArray(MakeDiscoveryRequest(LinkByte::Serial)));
    EXPECT_THAT(result.combo_entries, ElementsAre(u"PX9"));
    EXPECT_TRUE(result.open_page);
    EXPECT_EQ(state_.serial_reply_count, 1);
    EXPECT_EQ(state_.m_device_index, 0);  // the list's one entry
    EXPECT_EQ(state_.m_main_com_dev_type, device_type::kMultiviewer);
    EXPECT_THAT(messages_.texts, IsEmpty());
    const auto traces = Traces();
    EXPECT_THAT(traces, Contains("open com  success \n"));
    EXPECT_THAT(traces, Contains(HasSubstr("count  ")));
    EXPECT_THAT(traces, Contains("nameLength = 3  \n"));
    EXPECT_THAT(traces, Not(Contains("time over \n")));
}

TEST_F(SerialExchangeTest, SearchKeepsTheNameAsSentAndCountsEveryName) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 9600));
    std::thread device([&] {
        peer_.Read(kFrameOverhead, 2000);
        // The LAN list would show this name differently; the serial list does not.
        peer_.Write(DiscoveryReply(device_type::kQuadView, "QL2293 -1-2-"));
    });
    const DeviceSearchResult result = SearchSerial(state_, {}, 2000);
    device.join();
    EXPECT_THAT(result.combo_entries, ElementsAre(u"QL2293 -1"));
    EXPECT_EQ(state_.serial_reply_count, 2);
    EXPECT_EQ(state_.m_device_index, 0);  // the list's one entry
}

TEST_F(SerialExchangeTest, SearchAnsweredWithAMultiviewerStatusReplyHandsItToTheDecoder) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    const Bytes reply = StatusReply(device_type::kMultiviewer);
    std::thread device([&] {
        peer_.Read(kFrameOverhead, 2000);
        peer_.Trickle(reply, 200, 5);
    });
    std::vector<Bytes> decoded;
    const DeviceSearchResult result = SearchSerial(
        state_,
        [&](std::span<const uint8_t> frame) { decoded.emplace_back(frame.begin(), frame.end()); },
        2000);
    device.join();

    ASSERT_EQ(decoded.size(), 1u) << "the status reply must be decoded exactly once";
    EXPECT_THAT(decoded[0], ElementsAreArray(reply));
    EXPECT_EQ(state_.serial_reply_count, 1);
    EXPECT_EQ(state_.m_device_index, 0);  // the list's one entry
    EXPECT_EQ(state_.m_main_com_dev_type, device_type::kMultiviewer);
    EXPECT_TRUE(result.open_page);
    EXPECT_THAT(Traces(), Not(Contains("time over \n")));
}

TEST_F(SerialExchangeTest, SearchWithoutAnswerListsNoDeviceAfterTheWindow) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    // Leftovers of an earlier exchange in the accumulator do not count.
    AppendReceivedBytes(state_, DiscoveryReply(device_type::kSwitcher, "OLD-1-"));

    const DeviceSearchResult result = SearchSerial(state_, {}, 150);
    EXPECT_THAT(peer_.Read(kFrameOverhead, 1000),
                ElementsAreArray(MakeDiscoveryRequest(LinkByte::Serial)));
    EXPECT_THAT(result.combo_entries, ElementsAre(kNoDeviceFound));
    EXPECT_TRUE(result.open_page);
    EXPECT_EQ(state_.serial_reply_count, 0);
    EXPECT_EQ(state_.m_device_index, 0);
    EXPECT_THAT(Traces(), Contains("time over \n"));
}

TEST_F(SerialExchangeTest, SearchOnAClosedPortAsksForTheSerialPort) {
    AppendReceivedBytes(state_, Bytes(40, 0x55));
    const DeviceSearchResult result = SearchSerial(state_, {}, 150);
    EXPECT_THAT(messages_.texts, ElementsAre("Please open the serial port first!"));
    EXPECT_THAT(Traces(), Contains("open com  fail \n"));
    EXPECT_THAT(result.combo_entries, IsEmpty());
    EXPECT_FALSE(result.open_page);
    EXPECT_EQ(state_.m_device_index, -1);
    EXPECT_EQ(state_.status_rx_count, 0);
}

TEST_F(SerialExchangeTest, LongStatusReplyInPiecesIsDecodedOnceComplete) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    const Bytes reply = StatusReply(device_type::kMultiviewer);
    std::thread device([&] {
        // More than one read's worth at once, then the rest in small pieces.
        peer_.Write(std::span(reply).first(600));
        peer_.Trickle(std::span(reply).subspan(600), 20, 10);
    });
    std::vector<Bytes> decoded;
    const int8_t result = AwaitSerialReply(
        state_, TickMs(), 5000,
        [&](std::span<const uint8_t> frame) { decoded.emplace_back(frame.begin(), frame.end()); },
        CountTrace::Off);
    device.join();

    EXPECT_EQ(result, 1);
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_THAT(decoded[0], ElementsAreArray(reply));
    EXPECT_EQ(state_.status_rx_count, static_cast<int32_t>(reply.size()));
    EXPECT_THAT(Traces(), Not(Contains(HasSubstr("count  "))));
}

TEST_F(SerialExchangeTest, StatusReplyOfAnotherDeviceKeepsTheCallerWaiting) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    peer_.Write(StatusReply(device_type::kQuadView));
    int decoded = 0;
    const int8_t result = AwaitSerialReply(
        state_, TickMs(), 200, [&](std::span<const uint8_t>) { ++decoded; }, CountTrace::Off);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(decoded, 0);
    EXPECT_EQ(state_.m_main_com_dev_type, device_type::kQuadView);
    EXPECT_THAT(Traces(), Contains("time over \n"));
}

TEST_F(SerialExchangeTest, WaitOnAHungUpLineEndsWithTheWindow) {
    ASSERT_TRUE(state_.serial_port.OpenPort(peer_.PortName(), 115200));
    peer_.Vanish();
    EXPECT_EQ(AwaitSerialReply(state_, TickMs(), 100, {}, CountTrace::On), 0);
    EXPECT_THAT(Traces(), Contains("time over \n"));
}

}  // namespace
}  // namespace panoptix
