// The matrix page and its function sub page offscreen, against a router on loopback UDP: the
// pictures at opening (also of a page reopened on an earlier record), the crosspoint clicks and
// the four function buttons as texts on the wire, the tabs, the lock and the keys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>

#include "matrix/pages/matrix_function_page.h"
#include "matrix/pages/matrix_setting_page.h"
#include "matrix_page_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using ::testing::Each;
using ::testing::Eq;
using testing_support::MatrixPageTest;
using testing_support::TraceRecorder;
namespace id = matrix_id;

constexpr int kControlNormal = 192;
constexpr int kControlShown = 193;
constexpr int kSettingNormal = 200;
constexpr int kSettingShown = 201;
constexpr int kLockOpen = 231;
constexpr int kLockShut = 232;

using MatrixPage = MatrixPageTest;

TEST_F(MatrixPage, OpensWithEveryButtonInPlaceAndTheFunctionSubPage) {
    Open();
    EXPECT_EQ(Screen(), "in -------- out --------");
    for (int k = 1; k <= kMatrixPorts; ++k) {
        EXPECT_EQ(PageButton(id::InputId(k))->geometry(), QRect(80 + 68 * (k - 1), 180, 60, 65));
        EXPECT_EQ(PageButton(id::OutputId(k))->geometry(), QRect(80 + 68 * (k - 1), 380, 60, 65));
    }
    EXPECT_EQ(PageButton(id::kControlTab)->geometry(), QRect(748, 25, 80, 75));
    EXPECT_EQ(PageButton(id::kSettingTab)->geometry(), QRect(840, 25, 90, 75));
    EXPECT_EQ(PageButton(id::kControlTab)->PictureId(), kControlShown);
    EXPECT_EQ(PageButton(id::kSettingTab)->PictureId(), kSettingNormal);

    ASSERT_NE(qobject_cast<MatrixFunctionPage*>(page_->SubPage()), nullptr);
    EXPECT_EQ(page_->current_sub_page(), 1);
    EXPECT_EQ(page_->SubPage()->geometry(), QRect(750, 105, 490, 420));
    const struct {
        int id;
        QRect rect;
        int picture;
    } buttons[] = {
        {id::kOneToAll, {200, 100, 220, 60}, 233},
        {id::kOneToOne, {200, 195, 220, 65}, 234},
        {id::kLock, {272, 300, 140, 65}, kLockOpen},
        {id::kApply, {100, 300, 140, 65}, 235},
    };
    for (const auto& button : buttons) {
        CButtonST* control = SubPageControl(button.id);
        ASSERT_NE(control, nullptr) << button.id;
        EXPECT_EQ(control->geometry(), button.rect) << button.id;
        EXPECT_EQ(control->PictureId(), button.picture) << button.id;
    }
    EXPECT_TRUE(router_.Receive(kQuietMs) == std::nullopt) << "opening sends nothing";
}

// The record outlives the page: a page opened on it lights the selected input and the outputs
// that carry it, and acts on the selection as shown.
TEST_F(MatrixPage, AReopenedPageShowsItsRecord) {
    const struct {
        uint8_t input;
        MatrixRoutes routes;
        const char* screen;
    } cases[] = {
        {3, {3, 0, 3, 1, 0, 0, 0, 3}, "in --+----- out +-+----+"},
        {8, {8, 8, 8, 8, 8, 8, 8, 8}, "in -------+ out ++++++++"},
        {1, {0, 0, 0, 0, 0, 0, 0, 0}, "in +------- out --------"},
        // Nothing selected: nothing lit, not even the outputs that carry no input.
        {0, {0, 0, 2, 0, 0, 0, 0, 0}, "in -------- out --------"},
        // After ONE TO ONE the block holds no selection either.
        {0, {1, 2, 3, 4, 5, 6, 7, 8}, "in -------- out --------"},
    };
    for (const auto& c : cases) {
        matrix_ = MatrixState{};
        matrix_.m_eMatrixState = 1;
        matrix_.m_matrix_input = c.input;
        matrix_.m_matrix_route = c.routes;
        Open();
        EXPECT_EQ(Screen(), c.screen) << int{c.input};
    }

    // The input shown lit is the selected one: clicking it does nothing, an output click adds
    // to it, and APPLY sends what is shown.
    matrix_ = MatrixState{};
    ClickInput(3);
    ClickOutput(1);
    ClickOutput(3);
    Open();
    EXPECT_EQ(Screen(), "in --+----- out +-+-----");
    {
        TraceRecorder traces;
        ClickInput(3);
        EXPECT_TRUE(traces.lines().empty());
    }
    ClickOutput(8);
    EXPECT_EQ(Screen(), "in --+----- out +-+----+");
    ClickFunction(id::kApply);
    EXPECT_EQ(TakeDatagram(), "3V1,3,8.");
    ClickInput(5);
    EXPECT_EQ(Screen(), "in ----+--- out --------");
}

// The operator's sequence on the LAN: every text leaves as one datagram, and the buttons follow
// the record.
TEST_F(MatrixPage, CrosspointAndFunctionButtonsSendTheTexts) {
    Open();
    ClickOutput(2);  // no input selected yet: nothing
    EXPECT_EQ(Screen(), "in -------- out --------");
    ClickFunction(id::kApply);
    ClickFunction(id::kOneToAll);
    EXPECT_EQ(TakeDatagram(), "");

    ClickInput(3);
    EXPECT_EQ(Screen(), "in --+----- out --------");
    ClickFunction(id::kOneToAll);
    EXPECT_EQ(TakeDatagram(), "3All.");
    EXPECT_EQ(Screen(), "in --+----- out ++++++++");

    ClickInput(1);
    EXPECT_EQ(Screen(), "in +------- out --------");
    ClickFunction(id::kApply);  // no output carries input 1 yet
    EXPECT_EQ(TakeDatagram(), "");
    ClickOutput(2);
    ClickOutput(3);
    ClickOutput(5);
    ClickOutput(5);  // twice: added and taken away again
    EXPECT_EQ(Screen(), "in +------- out -++-----");
    EXPECT_EQ(TakeDatagram(), "") << "outputs are sent only with APPLY";
    ClickFunction(id::kApply);
    EXPECT_EQ(TakeDatagram(), "1V2,3.");
    EXPECT_EQ(Screen(), "in +------- out -++-----");

    // The outputs that still carry 3: output 5 moved to input 1 and was then taken away, so it
    // carries nothing in the record.
    ClickInput(3);
    EXPECT_EQ(Screen(), "in --+----- out +--+-+++");

    ClickFunction(id::kOneToOne);
    EXPECT_EQ(TakeDatagram(), "All#.");
    EXPECT_EQ(Screen(), "in -------- out --------");
    EXPECT_EQ(matrix_.m_matrix_input, 0);
    EXPECT_EQ(matrix_.m_matrix_route, (MatrixRoutes{1, 2, 3, 4, 5, 6, 7, 8}));
    ClickFunction(id::kApply);  // nothing selected any more
    ClickFunction(id::kOneToAll);
    EXPECT_EQ(TakeDatagram(), "");
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(MatrixPage, TabsSwapTheSubPages) {
    Open();
    QWidget* function_page = page_->SubPage();

    ShowTab(id::kSettingTab);
    ASSERT_NE(qobject_cast<MatrixSettingPage*>(page_->SubPage()), nullptr);
    EXPECT_EQ(page_->current_sub_page(), 2);
    EXPECT_EQ(page_->SubPage()->geometry(), QRect(750, 105, 490, 420));
    EXPECT_TRUE(page_->SubPage()->isVisible());
    EXPECT_FALSE(function_page->isVisible()) << "the old sub page is hidden at once";
    EXPECT_EQ(PageButton(id::kControlTab)->PictureId(), kControlNormal);
    EXPECT_EQ(PageButton(id::kSettingTab)->PictureId(), kSettingShown);
    // Removed once control is back in the event loop.
    QPointer<QWidget> old_page(function_page);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old_page.isNull());

    // The tab of the sub page shown changes nothing.
    QWidget* setting_page = page_->SubPage();
    ShowTab(id::kSettingTab);
    EXPECT_EQ(page_->SubPage(), setting_page);

    ShowTab(id::kControlTab);
    ASSERT_NE(qobject_cast<MatrixFunctionPage*>(page_->SubPage()), nullptr);
    EXPECT_EQ(PageButton(id::kControlTab)->PictureId(), kControlShown);
    EXPECT_EQ(PageButton(id::kSettingTab)->PictureId(), kSettingNormal);

    // The crosspoints stay as they were across the tabs.
    ClickInput(2);
    ShowTab(id::kSettingTab);
    EXPECT_EQ(Screen(), "in -+------ out --------");
}

TEST_F(MatrixPage, LockFreezesTheCrosspointsAndOutlivesTheSubPage) {
    Open();
    ClickInput(4);
    ClickOutput(6);

    ClickFunction(id::kLock);
    EXPECT_EQ(SubPageControl(id::kLock)->PictureId(), kLockShut);
    EXPECT_NE(matrix_.m_matrix_lock, 0);

    // The CONTROL tab reopens the function sub page with the LOCK picture of the block.
    ShowTab(id::kSettingTab);
    ShowTab(id::kControlTab);
    EXPECT_EQ(SubPageControl(id::kLock)->PictureId(), kLockShut);

    const MatrixState before = matrix_;
    ClickInput(7);
    ClickOutput(6);
    ClickOutput(1);
    ClickFunction(id::kOneToAll);
    ClickFunction(id::kOneToOne);
    ClickFunction(id::kApply);
    EXPECT_EQ(TakeDatagram(), "");
    EXPECT_EQ(Screen(), "in ---+---- out -----+--");
    EXPECT_EQ(matrix_.m_matrix_input, before.m_matrix_input);
    EXPECT_EQ(matrix_.m_matrix_route, before.m_matrix_route);

    // A page opened on a locked block shows LOCK locked too.
    Open();
    EXPECT_EQ(SubPageControl(id::kLock)->PictureId(), kLockShut);

    ClickFunction(id::kLock);
    EXPECT_EQ(SubPageControl(id::kLock)->PictureId(), kLockOpen);
    EXPECT_EQ(matrix_.m_matrix_lock, 0);
    ClickFunction(id::kApply);
    EXPECT_EQ(TakeDatagram(), "4V6.");
}

TEST_F(MatrixPage, EnterAndEscAreSwallowedOnThePageAndItsSubPages) {
    Open();
    const auto count_key_traces = [](QWidget* target) {
        TraceRecorder traces;
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
        }
        return traces.lines();
    };
    const std::vector<std::string> three(3, " mian  esc  \n");
    EXPECT_EQ(count_key_traces(page_.get()), three);
    EXPECT_EQ(count_key_traces(PageButton(id::InputId(1))), three);
    EXPECT_EQ(count_key_traces(SubPageControl(id::kOneToAll)), three);
    ShowTab(id::kSettingTab);
    EXPECT_EQ(count_key_traces(SubPageControl<QWidget>(id::kModeList)), three);
    EXPECT_EQ(count_key_traces(page_->SubPage()), three);
    EXPECT_TRUE(page_->isVisible());
    EXPECT_EQ(TakeDatagram(), "");
}

}  // namespace
}  // namespace panoptix
