// The main window offscreen: start-up, page switching, keys, settings.
#include "main_window_fixture.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing_support::FreeLoopbackPort;
using testing_support::kPageRect;
using testing_support::MainWindowTest;
using testing_support::StandInPage;
using testing_support::TraceRecorder;

TEST_F(MainWindowTest, StartsIdleWithTheSkinInPlace) {
    TraceRecorder traces;
    MainWindow dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("kora_multiview"));
    EXPECT_EQ(dialog.geometry(), QRect(0, 0, 1280, 720));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dialog.PageRect(), kPageRect);
    EXPECT_EQ(dialog.DeviceCombo()->count(), 0);
    EXPECT_EQ(dialog.CurrentPage(), nullptr);
    EXPECT_EQ(dialog.State().link.m_device_index, -1);
    EXPECT_EQ(dialog.State().link.m_udpSockfd, -1);
    EXPECT_EQ(dialog.PageAreaText(), QStringLiteral("Press SCAN to search for devices"));
    // The last line: the user's settings file is not there yet (each test starts without one).
    EXPECT_THAT(traces.lines(),
                ElementsAre("L = 0 \n", "T = 0 \n", "R = 1280 \n", "B = 720 \n", "W = 1280 \n",
                            "H = 720 \n", ::testing::StartsWith("user settings: no file ")));

    struct Placement {
        int id;
        QRect rect;
        int bitmap;
    };
    const Placement buttons[] = {
        {main_dialog_id::kMinimise, {1150, 0, 47, 35}, 198},
        {main_dialog_id::kMaximise, {1200, 0, 34, 35}, 197},
        {main_dialog_id::kClose, {1236, 0, 42, 35}, 188},
        {main_dialog_id::kSettings, {2, 690, 25, 30}, 199},
        {main_dialog_id::kScan, {560, 55, 138, 50}, 196},
    };
    for (const Placement& placement : buttons) {
        auto* button = FindControlAs<CShadeButtonST>(&dialog, placement.id);
        ASSERT_NE(button, nullptr) << placement.id;
        EXPECT_EQ(button->geometry(), placement.rect) << placement.id;
        EXPECT_EQ(button->PictureId(), placement.bitmap) << placement.id;
        EXPECT_TRUE(button->IsTransparent()) << placement.id;
        EXPECT_FALSE(button->HasBorder()) << placement.id;
        // The pictures of the wider buttons sit at x = 3: they carry a caption.
        EXPECT_EQ(button->text().isEmpty(), placement.id == main_dialog_id::kSettings);
    }
    const QWidget* combo = FindControl(&dialog, main_dialog_id::kDeviceCombo);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->geometry().topLeft(), QPoint(80, 68));
    EXPECT_EQ(combo->width(), 480);
}

TEST_F(MainWindowTest, PagesFollowTheTypeByteAndTheConnectionMode) {
    RegisterStandInPages({DevicePageKind::QuadView, DevicePageKind::Matrix});
    // Without its page, the multiviewer stands for a kind not built into the panel.
    dialog_->DevicePages().Register(DevicePageKind::Multiviewer, {});
    ListDevices({0x81, 0x82, 0x00, 0xA1, 0x60});
    struct Case {
        ConnectionMode mode;
        int index;
        std::vector<std::string> traces;
        std::optional<DevicePageKind> page;
    };
    const Case cases[] = {
        // 0x82 opens the same page as 0x81.
        {ConnectionMode::Lan, 0, {"m_device_index = 0 \n "}, DevicePageKind::Matrix},
        {ConnectionMode::Lan, 1, {"m_device_index = 1 \n "}, DevicePageKind::Matrix},
        // An unknown type still opens the quad-view panel.
        {ConnectionMode::Lan,
         2,
         {"m_device_index = 2 \n ", "the device 's type is wrong \n"},
         DevicePageKind::QuadView},
        // A kind whose page is not built into the panel opens nothing.
        {ConnectionMode::Lan,
         3,
         {"m_device_index = 3 \n ", "m_p_mian_show_dlg is null \n"},
         std::nullopt},
        {ConnectionMode::Lan, 4, {"m_device_index = 4 \n "}, DevicePageKind::QuadView},
        // On the serial link the parser's last type byte decides, not the row.
        {ConnectionMode::Serial,
         3,
         {"m_device_index = 3 \n ", " only com \n"},
         DevicePageKind::Matrix},
    };
    dialog_->State().link.m_main_com_dev_type = 0x82;
    for (const Case& c : cases) {
        if (dialog_->State().link.mode() != c.mode) {
            dialog_->State().link.SetMode(c.mode);  // the list goes with the old mode
            ListDevices({0x81, 0x82, 0x00, 0xA1, 0x60});
        }
        {
            const QSignalBlocker block(dialog_->DeviceCombo());
            dialog_->DeviceCombo()->setCurrentIndex(-1);
        }
        TraceRecorder traces;
        dialog_->DeviceCombo()->setCurrentIndex(c.index);
        EXPECT_EQ(traces.lines(), c.traces)
            << "mode " << ConnectionModeNumber(c.mode) << " index " << c.index;
        EXPECT_EQ(dialog_->State().link.m_device_index, c.index);
        if (c.page) {
            ASSERT_NE(Page(), nullptr) << "index " << c.index;
            EXPECT_EQ(Page()->kind(), *c.page) << "index " << c.index;
            EXPECT_EQ(Page()->geometry(), kPageRect);
        } else {
            EXPECT_EQ(dialog_->CurrentPage(), nullptr) << "index " << c.index;
        }
    }
}

// The empty page area tells the operator why it is empty, in the page well, as plain text.
TEST_F(MainWindowTest, AnEmptyPageAreaSaysWhichDeviceHasNoControlPage) {
    dialog_->DevicePages().Register(DevicePageKind::Switcher, {});
    RegisterStandInPages({DevicePageKind::Multiviewer});
    ListDevices({0xA1, 0xA5});
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    const QImage before = dialog_->grab(kPageRect).toImage();

    TraceRecorder traces;
    dialog_->DeviceCombo()->setCurrentIndex(1);

    EXPECT_EQ(dialog_->CurrentPage(), nullptr);
    EXPECT_EQ(dialog_->PageAreaText(), QStringLiteral("device 1 has no control page yet"));
    EXPECT_THAT(traces.lines(),
                ElementsAre("m_device_index = 1 \n ", "m_p_mian_show_dlg is null \n"));
    EXPECT_NE(dialog_->grab(kPageRect).toImage(), before);  // the new text is drawn

    dialog_->DeviceCombo()->setCurrentIndex(0);
    EXPECT_NE(Page(), nullptr);
    EXPECT_TRUE(dialog_->PageAreaText().isEmpty());
}

// No connection is held open: a page opens with the command socket closed.
TEST_F(MainWindowTest, OpeningAPageClosesAnOpenUdpSocket) {
    RegisterStandInPages({DevicePageKind::Multiviewer});
    ListDevices({0xA1});
    dialog_->State().link.m_device_index = 0;
    dialog_->State().link.endpoints.device_port = FreeLoopbackPort();
    OpenCommandSocket(dialog_->State().link);
    const int socket = dialog_->State().link.m_udpSockfd;
    ASSERT_GE(socket, 0);

    dialog_->OpenDevicePage();

    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(dialog_->State().link.m_udpSockfd, -1);
    errno = 0;
    EXPECT_EQ(::fcntl(socket, F_GETFD), -1);  // really closed, not just forgotten
    EXPECT_EQ(errno, EBADF);
}

TEST_F(MainWindowTest, NoSelectionKeepsTheCurrentPage) {
    RegisterStandInPages({DevicePageKind::Multiviewer});
    ListDevices({0xA1});
    dialog_->DeviceCombo()->setCurrentIndex(0);
    QPointer<QWidget> page = dialog_->CurrentPage();
    ASSERT_FALSE(page.isNull());
    TraceRecorder traces;

    dialog_->DeviceCombo()->setCurrentIndex(-1);

    EXPECT_EQ(dialog_->State().link.m_device_index, -1);
    EXPECT_EQ(dialog_->CurrentPage(), page.data());
    EXPECT_THAT(traces.lines(), ElementsAre("m_device_index = -1 \n "));
}

// A page with an edit field that lets Enter and Esc through to its parent.
TEST_F(MainWindowTest, EnterAndEscLeaveTheWindowOpen) {
    dialog_->DevicePages().Register(DevicePageKind::Switcher, [](PanoptixState&, const DeviceId&,
                                                                 QWidget* parent, const QRect& at) {
        auto* page = new StandInPage(DevicePageKind::Switcher, parent);
        page->setGeometry(at);
        new QLineEdit(page);
        return page;
    });
    ListDevices({0xA5});
    dialog_->DeviceCombo()->setCurrentIndex(0);
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    auto* page_edit = dialog_->CurrentPage()->findChild<QLineEdit*>();
    ASSERT_NE(page_edit, nullptr);

    TraceRecorder traces;
    QWidget* targets[] = {dialog_.get(), dialog_->DeviceCombo(), page_edit};
    for (QWidget* target : targets) {
        for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(target, key);
        }
    }
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_EQ(traces.CountStartingWith(" mian  esc  \n"), 9u);
    EXPECT_EQ(dialog_->DeviceCombo()->count(), 1);
    EXPECT_NE(dialog_->CurrentPage(), nullptr);
}

TEST_F(MainWindowTest, SettingsAreCreatedOnceBesideTheWindowAndThenOnlyShown) {
    TraceRecorder traces;
    auto* settings_button =
        FindControlAs<QAbstractButton>(dialog_.get(), main_dialog_id::kSettings);
    QTest::mouseClick(settings_button, Qt::LeftButton);
    ConfigureWindow* settings = dialog_->ConfigureDialog();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->geometry(), QRect(340, 100, 480, 400));
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("Configure"));

    settings->hide();
    QTest::mouseClick(settings_button, Qt::LeftButton);
    EXPECT_EQ(dialog_->ConfigureDialog(), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(traces.CountStartingWith("m_pSetConfigure = null \n"), 1u);
}

// A page found on one link must not send by the other: after LAN -> serial -> LAN its frames
// would go to whichever device the LAN list has selected, maybe one of another kind. A change
// of mode closes the page and empties the list; choosing the mode already set changes nothing.
TEST_F(MainWindowTest, ChangingTheConnectionModeClosesThePageAndTheList) {
    RegisterStandInPages({DevicePageKind::Multiviewer, DevicePageKind::Matrix});
    ListDevices({0xA1, 0x81});
    dialog_->DeviceCombo()->setCurrentIndex(0);
    ASSERT_NE(Page(), nullptr);
    QTest::mouseClick(FindControlAs<QAbstractButton>(dialog_.get(), main_dialog_id::kSettings),
                      Qt::LeftButton);
    auto* mode =
        FindControlAs<QComboBox>(dialog_->ConfigureDialog(), configure_window_id::kModeList);
    ASSERT_NE(mode, nullptr);

    testing_support::Pick(mode, 0);  // LAN again: nothing changes
    EXPECT_NE(Page(), nullptr);
    EXPECT_EQ(dialog_->DeviceCombo()->count(), 2);
    EXPECT_EQ(dialog_->State().link.m_device_index, 0);

    testing_support::Pick(mode, 1);
    EXPECT_EQ(dialog_->State().link.mode(), ConnectionMode::Serial);
    EXPECT_EQ(dialog_->CurrentPage(), nullptr);
    EXPECT_EQ(dialog_->DeviceCombo()->count(), 0);
    EXPECT_EQ(dialog_->State().link.m_device_index, -1);
    EXPECT_EQ(dialog_->PageAreaText(), QStringLiteral("Press SCAN to search for devices"));
    // No stale LAN row is left for a serial page's UDP frames to reach.
    EXPECT_EQ(dialog_->State().link.device_table[0].IpText(), "");
    EXPECT_EQ(dialog_->State().link.device_table[1].device_type, 0);

    // Back on the LAN nothing is selected until a search: a send finds no device.
    testing_support::Pick(mode, 0);
    EXPECT_EQ(dialog_->State().link.mode(), ConnectionMode::Lan);
    EXPECT_EQ(dialog_->State().link.SelectedEntry(), nullptr);
}

TEST_F(MainWindowTest, CloseButtonClosesTheWindow) {
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    QTest::mouseClick(FindControlAs<QAbstractButton>(dialog_.get(), main_dialog_id::kClose),
                      Qt::LeftButton);
    EXPECT_FALSE(dialog_->isVisible());
}

}  // namespace
}  // namespace panoptix

namespace panoptix {
namespace {

TEST(MessageBoxSink, ShowsAnErrBoxWithOkAndCancelOwnedByNoWindow) {
    struct Seen {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        bool has_parent = true;
    } seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->standardButtons(),
                box->parentWidget() != nullptr};
        box->reject();  // the answer is not used
    });
    MessageBoxSink sink;
    sink.ShowError("Please choose a device");
    EXPECT_EQ(seen.title, QStringLiteral("Err"));
    EXPECT_EQ(seen.text, QStringLiteral("Please choose a device"));
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_FALSE(seen.has_parent);
}

}  // namespace
}  // namespace panoptix
