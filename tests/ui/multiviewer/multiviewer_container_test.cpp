// The multiviewer container and its layout page offscreen, against a fake multiviewer on
// loopback: the opening query, layout and source commands, page switching, the preview as
// drawn, the keys, and the page as the main window opens it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTest>

#include <memory>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/multiviewer_control_page.h"
#include "multiviewer/pages/multiviewer_page.h"
#include "multiviewer/pages/multiviewer_preview_painter.h"
#include "multiviewer/status_reply_builder.h"
#include "page_test_support.h"
#include "shell/main_window.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing::RichReply;
using testing::StatusReplyBuilder;
using testing_support::CommandOf;
using testing_support::ConnectTo;
using testing_support::FreePanelPort;
using testing_support::kPreviewAt;
using testing_support::MessageRecorder;
using testing_support::MultiviewerScript;
using testing_support::PayloadOf;
using testing_support::Pick;
using testing_support::PixelAt;
using testing_support::Shot;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;

const QColor kBorder{89, 187, 255};
const QColor kInside{55, 55, 55};
const QColor kGround{152, 152, 152};

// A reply naming a layout; everything else as RichReply has it.
std::vector<uint8_t> ReplyWithLayout(uint8_t layout_code) {
    return RichReply().Set(status_reply::kLayoutCode, layout_code).Frame();
}

class ContainerTest : public ::testing::Test {
  protected:
    // Opens the container against a device answering with reply (or silent without one).
    MultiviewerPage& Open(std::optional<std::vector<uint8_t>> reply) {
        device_ = std::make_unique<UdpPeer>(MultiviewerScript(std::move(reply)));
        ConnectTo(state_, *device_);
        container_ = std::make_unique<MultiviewerPage>(state_.link, state_.multiviewer, nullptr);
        container_->show();
        return *container_;
    }

    MultiviewerControlPage& LayoutPage() const {
        auto* page = qobject_cast<MultiviewerControlPage*>(container_->SubPage());
        EXPECT_NE(page, nullptr);
        return *page;
    }
    CButtonST* Control(int id) const { return FindControlAs<CButtonST>(container_.get(), id); }
    QComboBox* List(int id) const { return FindControlAs<QComboBox>(container_.get(), id); }
    int FaceOf(int id) const { return Control(id)->PictureId(); }

    std::vector<int> EnabledWindows() const {
        std::vector<int> windows;
        for (int k = 1; k <= 16; ++k) {
            const QWidget* label = FindControl(container_.get(), mv_id::kFirstSourceLabel + k - 1);
            const QWidget* list = List(mv_id::kFirstSourceList + k - 1);
            EXPECT_EQ(label->isEnabled(), list->isEnabled()) << "row " << k;
            if (list->isEnabled()) {
                windows.push_back(k);
            }
        }
        return windows;
    }

    // The pixel of the preview at (x, y) of its 720 x 480 picture, as the container shows it.
    static QColor PreviewPixel(const QImage& shot, int x, int y) {
        return PixelAt(shot, kPreviewAt.x() + x, kPreviewAt.y() + y);
    }

    MessageRecorder messages_;
    testing_support::MultiviewerPageState state_;
    std::unique_ptr<UdpPeer> device_;
    std::unique_ptr<MultiviewerPage> container_;
};

TEST_F(ContainerTest, OpeningQueriesTheDeviceLightsItsLayoutAndSendsNothingElse) {
    MultiviewerPage& container = Open(ReplyWithLayout(9));

    EXPECT_EQ(container.size(), QSize(1240, 580));
    EXPECT_EQ(container.current_page(), 2);
    ASSERT_NE(container.SubPage(), nullptr);
    EXPECT_EQ(container.SubPage()->geometry(), QRect(750, 105, 490, 420));
    EXPECT_EQ(LayoutPage().current_layout(), 5);

    // Page buttons: the layout page's selected, the others normal, two never shown.
    EXPECT_EQ(FaceOf(mv_id::kControlPageButton), 193);
    EXPECT_EQ(FaceOf(mv_id::kUmdPageButton), 204);
    EXPECT_EQ(FaceOf(mv_id::kColorPageButton), 189);
    EXPECT_EQ(FaceOf(mv_id::kSetPageButton), 200);
    EXPECT_FALSE(Control(mv_id::kStatusPageButton)->isVisible());
    EXPECT_FALSE(Control(mv_id::kAudioPageButton)->isVisible());
    EXPECT_EQ(Control(mv_id::kControlPageButton)->geometry(), QRect(748, 25, 80, 75));
    EXPECT_EQ(Control(mv_id::kSetPageButton)->geometry(), QRect(1012, 25, 92, 75));

    // Layout button 5 (nine windows) lit, the others normal; rows 1-9 usable.
    const int normal_faces[] = {171, 173, 175, 177, 180, 181, 183};
    for (int t = 1; t <= 7; ++t) {
        EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + t - 1), normal_faces[t - 1]) << t;
    }
    EXPECT_THAT(EnabledWindows(), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9));

    // The sources the device reported (window k shows input 17 - k).
    for (int k = 1; k <= 16; ++k) {
        const QComboBox* list = List(mv_id::kFirstSourceList + k - 1);
        EXPECT_EQ(list->count(), 16);
        EXPECT_EQ(list->currentText(), QStringLiteral("SDI %1").arg(17 - k)) << k;
    }
    EXPECT_EQ(FindControlAs<QLabel>(&container, mv_id::kFirstSourceLabel)->text(), "WIN   1");
    EXPECT_EQ(FindControlAs<QLabel>(&container, mv_id::kFirstSourceLabel + 15)->text(), "WIN  16");

    // One status query, nothing else, and the preview shows the 3 x 3 layout.
    device_->WaitForFrames(1, 1000);
    EXPECT_EQ(device_->WaitForFrames(2, 150).size(), 1u);
    EXPECT_THAT(device_->Commands(), ElementsAre(0x32));
    EXPECT_EQ(state_.multiviewer.preview_window[8].x, 480);
    EXPECT_EQ(state_.multiviewer.preview_window[8].y, 320);
}

TEST_F(ContainerTest, AWindowWithoutReportedSourceShowsAnEmptyList) {
    Open(StatusReplyBuilder().Set(status_reply::kLayoutCode, 16).Frame());
    EXPECT_EQ(List(mv_id::kFirstSourceList)->currentIndex(), -1);
    EXPECT_EQ(List(mv_id::kFirstSourceList)->count(), 16);
}

TEST_F(ContainerTest, LayoutButtonSendsTheLayoutAndThePreviewRedrawsAsTwoByTwo) {
    MultiviewerPage& container = Open(ReplyWithLayout(9));
    device_->WaitForFrames(1, 1000);
    device_->Forget();

    QTest::mouseClick(Control(mv_id::kFirstLayoutButton + 1), Qt::LeftButton);

    const std::vector<uint8_t> frame = device_->WaitForFrame(1);
    ASSERT_EQ(frame.size(), 21u);
    EXPECT_EQ(CommandOf(frame), 0x33);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(4));
    EXPECT_EQ(frame[6], 0x01);  // the LAN link byte
    EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + 1), 174);
    EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + 4), 179);
    EXPECT_EQ(LayoutPage().current_layout(), 2);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.view_mode_type, 1);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, 4);
    EXPECT_THAT(EnabledWindows(), ElementsAre(1, 2, 3, 4));

    // The preview as drawn: four 360 x 240 windows. Where a 3 x 3 grid had borders (x 240,
    // y 160) the windows are now dark inside; the borders run at x 360 and y 240.
    const QImage shot = Shot(container);
    for (const QPoint corner : {QPoint(0, 0), QPoint(360, 0), QPoint(0, 240), QPoint(360, 240)}) {
        EXPECT_EQ(PreviewPixel(shot, corner.x() + 20, corner.y() + 20), kInside) << corner.x();
        EXPECT_EQ(PreviewPixel(shot, corner.x(), corner.y() + 20), kBorder) << corner.x();
        EXPECT_EQ(PreviewPixel(shot, corner.x() + 20, corner.y() + 1), kBorder) << corner.x();
    }
    EXPECT_EQ(PreviewPixel(shot, 240, 20), kInside);
    EXPECT_EQ(PreviewPixel(shot, 20, 160), kInside);
    EXPECT_EQ(PreviewPixel(shot, 359, 20), kBorder);
    EXPECT_EQ(PreviewPixel(shot, 719, 479), kBorder);
}

TEST_F(ContainerTest, PressingTheLitLayoutOrTheShownPageSendsNothing) {
    MultiviewerPage& container = Open(ReplyWithLayout(9));
    device_->WaitForFrames(1, 1000);
    device_->Forget();
    const QWidget* page = container.SubPage();

    QTest::mouseClick(Control(mv_id::kFirstLayoutButton + 4), Qt::LeftButton);
    container.ShowPage(2);
    QTest::mouseClick(Control(mv_id::kControlPageButton), Qt::LeftButton);

    EXPECT_EQ(container.SubPage(), page);
    EXPECT_EQ(container.current_page(), 2);
    EXPECT_TRUE(device_->WaitForFrames(1, 150).empty());
}

TEST_F(ContainerTest, SourceChoiceSendsInputAndWindow) {
    Open(ReplyWithLayout(16));
    device_->WaitForFrames(1, 1000);
    device_->Forget();

    Pick(List(mv_id::kFirstSourceList + 2), 4);

    const std::vector<uint8_t> frame = device_->WaitForFrame(1);
    ASSERT_EQ(frame.size(), 22u);
    EXPECT_EQ(CommandOf(frame), 0x34);
    EXPECT_THAT(PayloadOf(frame, 2), ElementsAre(5, 3));
    EXPECT_EQ(state_.multiviewer.window_source[2], 5);
    EXPECT_EQ(state_.multiviewer.source_window_index, 3);
}

TEST_F(ContainerTest, OnAClosedSerialPortALayoutPressChangesTheStateButSendsNothing) {
    state_.link.SetMode(ConnectionMode::Serial);
    MultiviewerPage& container = Open(ReplyWithLayout(9));
    // No query reached the device: the cleared block names layout 1 and the sources are empty.
    EXPECT_EQ(LayoutPage().current_layout(), 1);
    const auto geometry_before = state_.multiviewer.preview_window;

    QTest::mouseClick(Control(mv_id::kFirstLayoutButton + 6), Qt::LeftButton);

    EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + 6), 184);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.view_mode_type, 6);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, 16);
    EXPECT_EQ(EnabledWindows().size(), 16u);
    EXPECT_EQ(state_.multiviewer.preview_window, geometry_before);
    EXPECT_TRUE(device_->WaitForFrames(1, 150).empty());
    EXPECT_EQ(container.current_page(), 2);
}

// A device last reported locked refuses layout presses until a status query has ended.
TEST_F(ContainerTest, ALockedDeviceRefusesLayoutPressesUntilAQueryHasEnded) {
    // On the serial link with the port closed the opening query never ran.
    state_.link.SetMode(ConnectionMode::Serial);
    state_.multiviewer.m_all_16_view_page_data.lock_state = 1;
    MultiviewerPage& container = Open(ReplyWithLayout(9));
    ASSERT_EQ(state_.multiviewer.m_status_query_done, 0);
    EXPECT_EQ(LayoutPage().current_layout(), 1);

    QTest::mouseClick(Control(mv_id::kFirstLayoutButton + 6), Qt::LeftButton);

    EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + 6), 183);
    EXPECT_EQ(LayoutPage().current_layout(), 1);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.view_mode_type, 0);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, 1);
    EXPECT_THAT(EnabledWindows(), ElementsAre(1));

    // The status page asks over the LAN; once that query has ended the press goes ahead.
    container.ShowPage(1);
    container.ShowPage(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the pages replaced
    ASSERT_EQ(state_.multiviewer.m_status_query_done, 1);
    QTest::mouseClick(Control(mv_id::kFirstLayoutButton + 6), Qt::LeftButton);
    EXPECT_EQ(FaceOf(mv_id::kFirstLayoutButton + 6), 184);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.view_mode_type, 6);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, 16);
}

TEST_F(ContainerTest, EveryPageButtonShowsItsPageAndMovesTheSelectedFace) {
    MultiviewerPage& container = Open(ReplyWithLayout(4));
    struct PageCase {
        int page;
        int button;
        int selected_face;
        const char* page_class;
    };
    const PageCase cases[] = {
        {3, mv_id::kUmdPageButton, 205, "panoptix::MultiviewerUmdPage"},
        {5, mv_id::kColorPageButton, 190, "panoptix::MultiviewerColourPage"},
        {6, mv_id::kSetPageButton, 201, "panoptix::MultiviewerSettingsPage"},
        {1, mv_id::kStatusPageButton, 203, "panoptix::MultiviewerStatusPage"},
        {4, mv_id::kAudioPageButton, 186, "panoptix::MultiviewerAudioPage"},
        {2, mv_id::kControlPageButton, 193, "panoptix::MultiviewerControlPage"},
    };
    int previous_button = mv_id::kControlPageButton;
    int previous_normal_face = 192;
    const int normal_faces[] = {202, 192, 204, 185, 189, 200};
    for (const PageCase& c : cases) {
        if (Control(c.button)->isVisible()) {
            QTest::mouseClick(Control(c.button), Qt::LeftButton);
        } else {
            container.ShowPage(c.page);
        }
        EXPECT_EQ(container.current_page(), c.page);
        ASSERT_NE(container.SubPage(), nullptr);
        EXPECT_STREQ(container.SubPage()->metaObject()->className(), c.page_class);
        EXPECT_EQ(container.SubPage()->geometry(), QRect(750, 105, 490, 420));
        EXPECT_TRUE(container.SubPage()->isVisible());
        EXPECT_EQ(FaceOf(c.button), c.selected_face) << c.page;
        EXPECT_EQ(FaceOf(previous_button), previous_normal_face) << c.page;
        // The page replaced goes once the event loop deletes it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(container.findChildren<MultiviewerSubPage*>().size(), 1);
        previous_button = c.button;
        previous_normal_face = normal_faces[c.page - 1];
    }
}

TEST_F(ContainerTest, EnterAndEscAreSwallowedOnEveryPage) {
    MultiviewerPage& container = Open(ReplyWithLayout(16));
    TraceRecorder traces;
    for (int page = 1; page <= 6; ++page) {
        if (page == 3) {
            continue;  // the UMD page handles Enter itself (its own test)
        }
        container.ShowPage(page);
        QWidget* sub_page = container.SubPage();
        const auto controls = sub_page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* target : {sub_page, controls.front(), controls.back()}) {
            for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                EXPECT_TRUE(QApplication::sendEvent(target, &press)) << page;
            }
        }
        EXPECT_EQ(container.SubPage(), sub_page);
        EXPECT_TRUE(sub_page->isVisible());
    }
    QTest::keyClick(&container, Qt::Key_Escape);
    QTest::keyClick(&container, Qt::Key_Return);
    EXPECT_TRUE(container.isVisible());
    EXPECT_EQ(traces.CountStartingWith(" mian  esc  \n"), 5u * 3 * 3 + 2);
}

// The page as the operator gets it: the main window opens it for a device of type 0xA1.
TEST(MainWindowMultiviewerTest, OpensAtThePageRectWithAFreshBlockAndStaysOpenOnEsc) {
    MessageRecorder messages;
    UdpPeer device(MultiviewerScript(std::nullopt));  // silent: the opening query finds nothing
    MainWindow dialog;
    dialog.State().link.endpoints.device_port = device.port();
    dialog.State().link.endpoints.local_port = FreePanelPort();
    dialog.State().link.device_table[0].SetIpText("127.0.0.1");
    dialog.State().link.device_table[0].device_type = device_type::kMultiviewer;
    dialog.ListDevices({u"MV_127.0.0.1"});
    dialog.State().link.m_device_index = 0;
    MultiviewerState& block =
        dialog.State().multiviewers.For(LanDeviceId(dialog.State().link.device_table[0]));
    // What the page left behind when it was last open.
    block.m_all_16_view_page_data.lock_state = 1;
    block.m_all_16_view_page_data.umd_color_channel = 7;
    block.m_all_16_view_page_data.view_mode_type = 3;
    block.m_all_16_view_page_data.umd_back_color.fill(9);
    block.window_source[0] = 4;
    dialog.show();

    dialog.OpenDevicePage();

    auto* page = qobject_cast<MultiviewerPage*>(dialog.CurrentPage());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->geometry(), QRect(20, 110, 1240, 580));
    EXPECT_TRUE(page->isVisible());
    All16ViewPageData fresh;
    fresh.ResetForNewPage();
    EXPECT_EQ(block.m_all_16_view_page_data, fresh);
    EXPECT_EQ(block.window_source[0], 4);  // companions keep their values
    EXPECT_EQ(page->current_page(), 2);
    EXPECT_EQ(FindControlAs<CButtonST>(page, mv_id::kFirstLayoutButton)->PictureId(), 172);
    EXPECT_EQ(device.WaitForFrames(1, 1000).size(), 1u);

    // Enter and Esc anywhere in the page leave the window and the page as they are.
    page->ShowPage(3);
    auto* field = FindControlAs<QLineEdit>(page->SubPage(), mv_id::UmdFieldId(1));
    for (QWidget* target : {static_cast<QWidget*>(field), static_cast<QWidget*>(page)}) {
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.CurrentPage(), page);
    EXPECT_EQ(page->current_page(), 3);
    EXPECT_TRUE(page->SubPage()->isVisible());

    // Without a selected device the main window keeps the page.
    dialog.State().link.m_device_index = -1;
    dialog.OpenDevicePage();
    EXPECT_EQ(dialog.CurrentPage(), page);
}

}  // namespace
}  // namespace panoptix
