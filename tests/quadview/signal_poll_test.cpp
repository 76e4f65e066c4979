// The periodic signal poll, which never blocks: it sends 0xAA and leaves the socket under a
// link hold while the page waits on its event loop (here: poll on the socket, as a notifier
// would). Any other open or close of the socket ends it unanswered.
#include <netinet/in.h>
#include <poll.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "link/socket_hold.h"
#include "link/udp_transport.h"
#include "quadview_loopback.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::QuadLoopbackTest;
using testing::SignalReply;
using testing::StatusReply;
using testing_support::TraceRecorder;

// What the page's notifier and timer do: wait for the socket or the deadline, then continue.
PollProgress WaitAndContinue(QuadviewPanel& panel) {
    pollfd watched{panel.SignalPollSocket(), POLLIN, 0};
    ::poll(&watched, 1, static_cast<int>(panel.SignalPollRemainingMs()) + 5);
    return panel.ContinueSignalPoll();
}

class SignalPollTest : public QuadLoopbackTest {
  protected:
    void SetUp() override {
        QuadLoopbackTest::SetUp();
        panel_.ResetLamps();
    }
    // Starts a poll and checks that its request reached the device.
    void Start() {
        ASSERT_EQ(panel_.StartSignalPoll(), PollStart::Started);
        ASSERT_TRUE(panel_.SignalPollPending());
        EXPECT_TRUE(SocketHeld(link_));
        EXPECT_GE(panel_.SignalPollSocket(), 0);
        const auto request = device_.Receive(1000);
        ASSERT_TRUE(request.has_value());
        EXPECT_EQ(request->bytes.at(16), 0xAA);
    }
};

TEST_F(SignalPollTest, AnswerAfterAForeignDatagramLightsTheLampsAndFreesTheSocket) {
    ASSERT_NO_FATAL_FAILURE(Start());
    TraceRecorder traces;
    device_.Reply(StatusReply({}));  // another command's reply first
    device_.Reply(SignalReply({1, 0, 2, 1}));

    PollProgress progress = PollProgress::Pending;
    for (int wakeups = 0; progress == PollProgress::Pending && wakeups < 10; ++wakeups) {
        progress = WaitAndContinue(panel_);
    }
    EXPECT_EQ(progress, PollProgress::Answered);
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{1, 0, 2, 1}));
    EXPECT_EQ(traces.Count("the cmd is not right \n"), 1u);
    EXPECT_EQ(traces.Count("recv len is 29 \n"), 1u);
    EXPECT_EQ(view_.poll_ended, 1);
    EXPECT_FALSE(panel_.SignalPollPending());
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
    EXPECT_EQ(panel_.ContinueSignalPoll(), PollProgress::NotPending);
}

TEST_F(SignalPollTest, ATickWhileOneIsPendingStartsNone) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(panel_.StartSignalPoll(), PollStart::AlreadyPending);
    EXPECT_FALSE(device_.Receive(100).has_value());
}

TEST_F(SignalPollTest, SilentDeviceTimesOutAfterTheWindowLeavingTheLamps) {
    ASSERT_NO_FATAL_FAILURE(Start());
    TraceRecorder traces;
    PollProgress progress = PollProgress::Pending;
    for (int wakeups = 0; progress == PollProgress::Pending && wakeups < 10; ++wakeups) {
        progress = WaitAndContinue(panel_);
    }
    EXPECT_EQ(progress, PollProgress::TimedOut);
    EXPECT_THAT(traces.lines(), ElementsAre("wait time over \n"));
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(view_.poll_ended, 1);
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(SignalPollTest, AnyOtherUseOfTheSocketEndsThePollUnanswered) {
    const std::pair<const char*, std::function<void(DeviceLink&, QuadviewPanel&)>> uses[] = {
        {"a page command", [](DeviceLink&, QuadviewPanel& p) { p.LoopClicked(); }},
        {"a search's open", [](DeviceLink& l, QuadviewPanel&) { OpenSearchSocket(l); }},
        {"a page change's close", [](DeviceLink& l, QuadviewPanel&) { CloseCommandSocket(l); }},
    };
    for (const auto& [name, use] : uses) {
        SCOPED_TRACE(name);
        view_.poll_ended = 0;
        ASSERT_NO_FATAL_FAILURE(Start());
        TraceRecorder traces;
        use(link_, panel_);

        EXPECT_EQ(view_.poll_ended, 1);
        EXPECT_FALSE(panel_.SignalPollPending());
        EXPECT_FALSE(SocketHeld(link_));
        // The other use got a socket of its own, not the poll's.
        EXPECT_EQ(traces.Count("m_udpSockfd have on live \n"), 0u);
        if (link_.m_udpSockfd >= 0) {
            EXPECT_EQ(link_.peer_address.address, htonl(INADDR_BROADCAST));
            CloseCommandSocket(link_);
        }
        // A late answer finds nobody listening; the lamps stay.
        device_.Reply(SignalReply({1, 1, 1, 1}));
        EXPECT_EQ(panel_.ContinueSignalPoll(), PollProgress::NotPending);
        EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{0, 0, 0, 0}));
        Received();  // whatever the other use sent
    }
}

TEST_F(SignalPollTest, ACommandDuringThePollStillReachesTheDevice) {
    ASSERT_NO_FATAL_FAILURE(Start());
    panel_.ApplyShowMode(8);  // opens the socket on the same local port the poll held
    const auto sent = Received();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][16], 0x94);
    EXPECT_EQ(panel_.StartSignalPoll(), PollStart::Started);  // the next tick starts afresh
    panel_.EndSignalPoll();
}

TEST_F(SignalPollTest, DeletingThePanelEndsThePollWithoutCallingTheView) {
    auto panel = std::make_unique<QuadviewPanel>(link_, quad_, view_);
    ASSERT_EQ(panel->StartSignalPoll(), PollStart::Started);
    ASSERT_TRUE(SocketHeld(link_));
    panel.reset();
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
    EXPECT_EQ(view_.poll_ended, 0);
}

TEST_F(SignalPollTest, WithoutASelectedDeviceNothingIsPending) {
    link_.m_device_index = -1;
    testing_support::MessageRecorder messages;
    TraceRecorder traces;
    EXPECT_EQ(panel_.StartSignalPoll(), PollStart::NotSent);
    EXPECT_THAT(messages.texts, ElementsAre("Please choose a device"));
    EXPECT_THAT(traces.lines(), ElementsAre("wait time over \n"));
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

}  // namespace
}  // namespace panoptix
