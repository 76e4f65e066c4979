// Timer 1's signal poll on the page: the tick sends 0xAA and returns at once, the reply (or the
// deadline) is taken on the event loop, and anything else that needs the socket ends a pending
// poll unanswered.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "link/socket_hold.h"
#include "quadview_page_fixture.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing::QuadPageTest;
using testing::SignalReply;
using testing::StatusReply;
using testing_support::TraceRecorder;

class PagePollTest : public QuadPageTest {
  protected:
    // Opens against a device that answers both queries (lamps 1, 0, 1, 0), then forgets them.
    void SetUp() override {
        device_.SetStatusReply(StatusReply({}));
        device_.SetSignalReply(SignalReply({1, 0, 1, 0}));
        Open();
        ASSERT_THAT(Commands(2), ElementsAre(0x90, 0xAA));
        ASSERT_THAT(LampIcons(), ElementsAre(375, 376, 375, 376));
        device_.peer().Forget();
    }
    // A tick: the request has gone out when it returns, and the reply is not yet taken.
    void Tick() {
        page_->OnSignalTimer();
        ASSERT_TRUE(page_->SignalPollPending());
        ASSERT_TRUE(SocketHeld(link_));
        ASSERT_EQ(device_.peer().WaitForFrame(1).size(), 20u);
        EXPECT_EQ(device_.peer().Commands().front(), 0xAA);
    }
};

TEST_F(PagePollTest, TheReplyIsTakenOnTheEventLoopAndLightsTheLamps) {
    device_.SetSignalReply(SignalReply({0, 1, 1, 1}));
    ASSERT_NO_FATAL_FAILURE(Tick());
    QTRY_VERIFY_WITH_TIMEOUT(!page_->SignalPollPending(), 3000);
    EXPECT_THAT(LampIcons(), ElementsAre(376, 375, 375, 375));
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(PagePollTest, ASilentDeviceDoesNotHoldTheWindowAndTimesOutLeavingTheLamps) {
    device_.SetSignalReply(std::nullopt);
    TraceRecorder traces;
    ASSERT_NO_FATAL_FAILURE(Tick());
    // While the poll waits, the event loop runs: an event posted now is handled before the
    // deadline, with the poll still pending. A tick meanwhile starts no second poll.
    bool handled = false;
    QTimer::singleShot(0, page_.get(), [&handled] { handled = true; });
    QTRY_VERIFY_WITH_TIMEOUT(handled, 500);
    EXPECT_TRUE(page_->SignalPollPending());
    page_->OnSignalTimer();
    EXPECT_EQ(device_.peer().WaitForFrames(2, 150).size(), 1u);

    QTRY_VERIFY_WITH_TIMEOUT(!page_->SignalPollPending(), 3000);
    EXPECT_EQ(traces.Count("wait time over \n"), 1u);
    EXPECT_THAT(LampIcons(), ElementsAre(375, 376, 375, 376));
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(PagePollTest, APageCommandEndsAPendingPollUnanswered) {
    device_.SetSignalReply(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Tick());
    QTest::mouseClick(Button(qv_id::kLoopButton), Qt::LeftButton);

    EXPECT_FALSE(page_->SignalPollPending());
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
    EXPECT_THAT(Commands(2), ElementsAre(0xAA, 0xA6));
    // A late answer finds nobody waiting: the lamps stay, and the next tick polls afresh.
    device_.peer().SendTo(link_.endpoints.local_port, SignalReply({0, 0, 0, 0}));
    QTest::qWait(50);
    EXPECT_THAT(LampIcons(), ElementsAre(375, 376, 375, 376));
    device_.SetSignalReply(SignalReply({1, 1, 1, 1}));
    page_->OnSignalTimer();
    QTRY_VERIFY_WITH_TIMEOUT(!page_->SignalPollPending(), 3000);
    EXPECT_THAT(LampIcons(), ElementsAre(375, 375, 375, 375));
}

TEST_F(PagePollTest, HidingOrDeletingThePageEndsAPendingPoll) {
    device_.SetSignalReply(std::nullopt);
    ASSERT_NO_FATAL_FAILURE(Tick());
    page_->hide();  // as the main window does with a page it replaces
    EXPECT_FALSE(page_->SignalPollPending());
    EXPECT_FALSE(page_->SignalTimerActive());
    EXPECT_EQ(link_.m_udpSockfd, -1);

    page_->show();
    EXPECT_TRUE(page_->SignalTimerActive());
    device_.peer().Forget();
    ASSERT_NO_FATAL_FAILURE(Tick());
    page_.reset();
    EXPECT_FALSE(SocketHeld(link_));
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

}  // namespace
}  // namespace panoptix
