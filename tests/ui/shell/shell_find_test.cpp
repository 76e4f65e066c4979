// "Find" of the connection settings offscreen: a device asked at its address alone, on
// loopback, joins the main window's device list as a search would list it, once.
#include "controls/button_st.h"
#include "controls/ip_address_field.h"
#include "main_window_fixture.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing_support::ComboTexts;
using testing_support::DeleteReplacedPages;
using testing_support::DiscoveryReply;
using testing_support::MainWindowTest;
using testing_support::PeerScript;
using testing_support::UdpPeer;

class FindTest : public MainWindowTest {
  protected:
    // Opens the settings as the operator does, types the four boxes and presses "Find".
    void FindAt(const std::array<const char*, 4>& octets) {
        dialog_->OnSettings();
        ConfigureWindow* settings = dialog_->ConfigureDialog();
        auto* address = FindControlAs<IpAddressField>(settings, configure_window_id::kIpAddress);
        for (int i = 0; i < 4; ++i) {
            address->OctetBox(i)->setText(QString::fromLatin1(octets[static_cast<size_t>(i)]));
        }
        auto* find = FindControlAs<CButtonST>(settings, configure_window_id::kFind);
        ASSERT_NE(find, nullptr);
        ASSERT_TRUE(find->isVisible());
        QTest::mouseClick(find, Qt::LeftButton);
    }
    void FindAt(UdpPeer& device) {
        dialog_->State().link.endpoints.device_port = device.port();
        FindAt({"127", "0", "0", "1"});
    }
};

TEST_F(FindTest, TheAnswerJoinsTheListOnceAndTheShownPageStays) {
    RegisterStandInPages({DevicePageKind::Multiviewer, DevicePageKind::Switcher});
    UdpPeer near(PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA1, 0x11, "MV1")}));
    UdpPeer far(PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA5, 0x22, "FAR1")}));

    // An empty list takes the device found, and its page opens as after a search.
    FindAt(near);
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("MV1_127.0.0.1"));
    EXPECT_EQ(dialog_->State().link.m_device_index, 0);
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->kind(), DevicePageKind::Multiviewer);
    EXPECT_TRUE(waited_while_opening_);
    const QPointer<QWidget> page = dialog_->CurrentPage();

    // A list of LAN devices grows by the one found; the entry shown and its page stay.
    FindAt(far);
    EXPECT_EQ(far.Answered(), 1);
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("MV1_127.0.0.1", "FAR1_127.0.0.1"));
    EXPECT_EQ(dialog_->DeviceCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog_->State().link.m_device_index, 0);
    EXPECT_EQ(dialog_->CurrentPage(), page.data());
    EXPECT_EQ(dialog_->State().link.device_table[1].IpText(), "127.0.0.1");
    EXPECT_EQ(dialog_->State().link.device_table[1].device_type, 0xA5);
    EXPECT_EQ(dialog_->State().link.device_table[1].device_address, 0x22);

    // Pressed again, the device answers again and is not listed twice.
    FindAt(far);
    EXPECT_EQ(far.Answered(), 2);
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("MV1_127.0.0.1", "FAR1_127.0.0.1"));
    EXPECT_THAT(messages_.texts, IsEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialog_->State().link.m_udpSockfd, -1);

    // The entry found is chosen like any other.
    dialog_->DeviceCombo()->setCurrentIndex(1);
    DeleteReplacedPages();
    ASSERT_NE(Page(), nullptr);
    EXPECT_EQ(Page()->kind(), DevicePageKind::Switcher);
}

TEST_F(FindTest, ABadAddressOrNoAnswerIsSaidInTheErrBoxAndTheListStays) {
    UdpPeer silent(PeerScript::Silent());
    dialog_->State().link.endpoints.device_port = silent.port();
    dialog_->OnSearch();
    silent.WaitForFrames(1, 1000);
    silent.Forget();
    ASSERT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("No Device Found"));

    FindAt({"", "", "", ""});
    FindAt({"192", "0", "2", ""});
    FindAt({"01", "2", "3", "4"});
    FindAt({"0", "0", "0", "0"});
    FindAt({"255", "255", "255", "255"});
    FindAt({"239", "1", "2", "3"});
    EXPECT_THAT(messages_.texts,
                ElementsAre("Find: type the device's IP address first",
                            "Find: \"192.0.2.\" is not an IP address (four numbers 0 to 255 with "
                            "dots between them)",
                            "Find: \"01.2.3.4\" is not an IP address (a number starts with 0)",
                            "Find: \"0.0.0.0\" is no device's address",
                            "Find: \"255.255.255.255\" is the broadcast address; SCAN searches "
                            "the whole network",
                            "Find: \"239.1.2.3\" is a multicast address, not one device's"));
    // Nothing was sent.
    EXPECT_THAT(silent.WaitForFrames(1, 100), IsEmpty());

    messages_.texts.clear();
    FindAt(silent);
    EXPECT_EQ(silent.WaitForFrames(1, 100).size(), 1u);
    EXPECT_THAT(messages_.texts, ElementsAre("Find: no device answered at 127.0.0.1"));
    EXPECT_THAT(ComboTexts(dialog_->DeviceCombo()), ElementsAre("No Device Found"));
    EXPECT_EQ(dialog_->State().link.m_device_index, -1);
    EXPECT_EQ(dialog_->CurrentPage(), nullptr);
}

}  // namespace
}  // namespace panoptix
