// The main window's search offscreen: on loopback by LAN, on a pseudo-terminal by serial.
#include "main_window_fixture.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing_support::ComboTexts;
using testing_support::DeleteReplacedPages;
using testing_support::DiscoveryReply;
using testing_support::kPageRect;
using testing_support::MainWindowTest;
using testing_support::PeerScript;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
using testing_support::TracesFrom;
using testing_support::UdpPeer;

TEST_F(MainWindowTest, ScanListsEveryAnsweringDeviceAndOpensThePageOfTheFirst) {
    UdpPeer device(PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA1, 0x11, "ABC"),
                                                           DiscoveryReply(0x60, 0x22, "QL2293 "),
                                                           DiscoveryReply(0xA5, 0x33, "QL2293")}));
    dialog_->State().link.endpoints.device_port = device.port();
    RegisterStandInPages(
        {DevicePageKind::Multiviewer, DevicePageKind::QuadView, DevicePageKind::Switcher});
    TraceRecorder traces;

    QTest::mouseClick(FindControlAs<QAbstractButton>(dialog_.get(), main_dialog_id::kScan),
                      Qt::LeftButton);

    EXPECT_EQ(device.Answered(), 1);
    // Only "QL2293 " with its space is shown under the other name.
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()),
                ElementsAre("ABC_127.0.0.1", "ORV-MXP9120HD_127.0.0.1", "QL2293_127.0.0.1"));
    EXPECT_EQ(dialog_->DeviceCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog_->State().link.m_device_index, 0);
    EXPECT_EQ(dialog_->State().link.device_table[1].IpText(), "127.0.0.1");
    EXPECT_EQ(dialog_->State().link.device_table[1].device_type, 0x60);
    EXPECT_EQ(dialog_->State().link.device_table[1].device_address, 0x22);
    EXPECT_EQ(dialog_->State().link.m_udpSockfd, -1);

    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->kind(), DevicePageKind::Multiviewer);
    EXPECT_EQ(Page()->geometry(), kPageRect);
    EXPECT_FALSE(Page()->isHidden());
    EXPECT_TRUE(dialog_->PageAreaText().isEmpty());
    EXPECT_TRUE(waited_while_opening_);
    EXPECT_EQ(combo_text_while_opening_, "ABC_127.0.0.1");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const auto lines = traces.lines();
    EXPECT_EQ(lines.front(), "net search \n");
    EXPECT_EQ(lines.back(), "search  over \n");
    EXPECT_THAT(TracesFrom(traces, "time over \n"),
                ElementsAre("time over \n", "m_device_index = 0 \n", "m_device_index = 0 \n ",
                            "search  over \n"));

    // Choosing another entry replaces the page with the one of that row's type byte.
    QPointer<QWidget> first_page = dialog_->CurrentPage();
    dialog_->DeviceCombo()->setCurrentIndex(2);
    EXPECT_TRUE(first_page->isHidden());
    DeleteReplacedPages();
    EXPECT_TRUE(first_page.isNull());
    EXPECT_EQ(dialog_->State().link.m_device_index, 2);
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->kind(), DevicePageKind::Switcher);
    EXPECT_EQ(Page()->geometry(), kPageRect);
}

TEST_F(MainWindowTest, ScanWithoutAnswerListsNoDeviceFoundAndClosesTheOldPage) {
    UdpPeer silent(PeerScript::Reply(command::kDiscovery, {}));
    dialog_->State().link.endpoints.device_port = silent.port();
    RegisterStandInPages({DevicePageKind::Switcher});
    ListDevices({0xA5});
    dialog_->DeviceCombo()->setCurrentIndex(0);
    QPointer<QWidget> old_page = dialog_->CurrentPage();
    ASSERT_FALSE(old_page.isNull());
    TraceRecorder traces;

    dialog_->OnSearch();

    EXPECT_EQ(silent.Answered(), 1);
    DeleteReplacedPages();
    EXPECT_TRUE(old_page.isNull());
    EXPECT_EQ(dialog_->CurrentPage(), nullptr);
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("No Device Found"));
    EXPECT_EQ(dialog_->PageAreaText(),
              QStringLiteral("No devices found. Press SCAN to search again"));
    EXPECT_EQ(dialog_->DeviceCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog_->State().link.m_device_index, -1);
    // The combo box held an entry, so the table was cleared for the new result.
    EXPECT_EQ(dialog_->State().link.device_table[0].device_type, 0);
    EXPECT_EQ(dialog_->State().link.device_table[0].IpText(), "");
    const auto lines = traces.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "net search \n");
    EXPECT_EQ(lines[1], "Init my rect \n");
    EXPECT_THAT(TracesFrom(traces, "time over \n"),
                ElementsAre("time over \n", "m_device_index = -1 \n", "m_device_index = -1 \n ",
                            "search  over \n"));
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(MainWindowTest, SerialScanAsksTheDeviceOnTheOpenPort) {
    RegisterStandInPages({DevicePageKind::QuadView, DevicePageKind::Switcher});
    dialog_->State().link.SetMode(ConnectionMode::Serial);
    ListDevices({0xA5});
    dialog_->DeviceCombo()->setCurrentIndex(0);  // type 0 from the parser: the quad-view panel
    ASSERT_NE(Page(), nullptr);

    {
        // The port is not open: the old page and the list go, and nothing else happens.
        TraceRecorder traces;
        dialog_->OnSearch();
        EXPECT_THAT(messages_.texts, ElementsAre("Please open the serial port first!"));
        EXPECT_THAT(traces.lines(),
                    ElementsAre("com search \n", "Init my rect \n", "open com  fail \n"));
        EXPECT_EQ(dialog_->CurrentPage(), nullptr);
        EXPECT_EQ(dialog_->DeviceCombo()->count(), 0);
    }

    PtyPeer device(PtyPeer::Line::HeldOpen);
    ASSERT_TRUE(dialog_->State().link.serial_port.OpenPort(device.PortName(), 115200));
    {
        // The serial list shows the name as sent: no substitution there.
        std::vector<uint8_t> reply = DiscoveryReply(0xA5, 0x09, "QL2293 ");
        reply[6] = 0x00;
        device.Play(PeerScript::Reply(command::kDiscovery, {reply}));
        TraceRecorder traces;
        dialog_->OnSearch();
        EXPECT_EQ(device.Answered(), 1);
        EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("QL2293 "));
        EXPECT_EQ(dialog_->State().link.serial_reply_count, 1);  // the parser's count of names
        EXPECT_EQ(dialog_->State().link.m_device_index, 0);      // the list's one entry
        EXPECT_EQ(dialog_->State().link.m_main_com_dev_type, 0xA5);
        ASSERT_NE(Page(), nullptr);
        EXPECT_EQ(Page()->kind(), DevicePageKind::Switcher);
        EXPECT_TRUE(waited_while_opening_);
        EXPECT_THAT(TracesFrom(traces, "m_device_index = 0 \n "),
                    ElementsAre("m_device_index = 0 \n ", " only com \n"));
    }
    dialog_->State().link.serial_port.ClosePort(500);
}

}  // namespace
}  // namespace panoptix
