// The connection settings offscreen: mode rules, connecting a pseudo-terminal, "Change  IP".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "shell/configure_window.h"
#include "shell_test_support.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing_support::FreeLoopbackPort;
using testing_support::MessageRecorder;
using testing_support::Pick;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;
namespace id = configure_window_id;

// Types text as an operator would: every key goes to the box that has the focus.
void TypeAddress(IpAddressField& field, const QString& text) {
    field.OctetBox(0)->setFocus();
    for (const QChar c : text) {
        QWidget* target = field.focusWidget() != nullptr ? field.focusWidget() : field.OctetBox(0);
        QTest::keyClick(target, c.toLatin1());
    }
}

class ConfigureWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state_.link.endpoints.local_port = FreeLoopbackPort();
        state_.link.endpoints.device_port = device_.port();
        state_.link.device_table[0].SetIpText("127.0.0.1");
        state_.link.device_table[0].device_type = 0xA1;
        state_.link.device_table[0].device_address = 0x07;
        state_.link.m_device_index = 0;
    }
    void TearDown() override { state_.link.serial_port.ClosePort(500); }

    void Open() { dialog_ = std::make_unique<ConfigureWindow>(state_, nullptr); }
    template <class T>
    T* Control(int control_id) const {
        return FindControlAs<T>(dialog_.get(), control_id);
    }
    QComboBox* Mode() const { return Control<QComboBox>(id::kModeList); }
    QComboBox* Ports() const { return Control<QComboBox>(id::kPortList); }
    QComboBox* Bauds() const { return Control<QComboBox>(id::kBaudList); }
    CButtonST* ConnectButton() const { return Control<CButtonST>(id::kConnect); }
    CButtonST* ChangeIp() const { return Control<CButtonST>(id::kChangeIp); }
    IpAddressField* Address() const { return Control<IpAddressField>(id::kIpAddress); }

    // Enabled state of Connect, port list, baud list, address field, "Change  IP".
    std::vector<bool> Enabled() const {
        return {ConnectButton()->isEnabled(), Ports()->isEnabled(), Bauds()->isEnabled(),
                Address()->isEnabled(), ChangeIp()->isEnabled()};
    }

    // Makes a port name selectable in the port list.
    void OfferPort(const std::string& name) {
        Ports()->addItem(QString::fromStdString(name));
        Ports()->setCurrentIndex(Ports()->count() - 1);
    }

    MessageRecorder messages_;
    UdpPeer device_;
    PanoptixState state_;
    std::unique_ptr<ConfigureWindow> dialog_;
};

TEST_F(ConfigureWindowTest, OpensWithTheCurrentModeAndTheSerialControlsDisabled) {
    TraceRecorder traces;
    Open();
    std::vector<std::string> modes;
    for (int i = 0; i < Mode()->count(); ++i) {
        modes.push_back(Mode()->itemText(i).toStdString());
    }
    EXPECT_THAT(modes, ElementsAre("LAN Port", "Serial Port"));
    EXPECT_EQ(Mode()->currentIndex(), 0);
    std::vector<std::string> bauds;
    for (int i = 0; i < Bauds()->count(); ++i) {
        bauds.push_back(Bauds()->itemText(i).toStdString());
    }
    EXPECT_THAT(bauds, ElementsAre("9600", "19200", "38400", "57600", "115200"));
    EXPECT_EQ(Bauds()->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
    EXPECT_THAT(Address()->Octets(), ElementsAre(127, 0, 0, 1));
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(dialog_->ConnectedFlag(), 0);
    EXPECT_EQ(state_.link.mode(), ConnectionMode::Lan);  // opening is not a choice of the operator
    EXPECT_EQ(traces.CountStartingWith("com "), 0u);

    // In serial mode the list shows it, yet Connect stays disabled until the mode is chosen.
    state_.link.SetMode(ConnectionMode::Serial);
    state_.link.m_device_index = -1;
    Open();
    EXPECT_EQ(Mode()->currentIndex(), 1);
    EXPECT_TRUE(Address()->IsBlank());
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true, true}));
}

// The buttons wear the skin's grey look, not the platform's white buttons on the dark window.
TEST_F(ConfigureWindowTest, ButtonsWearTheSkinsGreyLook) {
    Open();
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    for (CButtonST* button : {ChangeIp(), ConnectButton()}) {
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Colour(CButtonST::kBackgroundNormal), QColor(64, 64, 64));
        EXPECT_EQ(button->Colour(CButtonST::kTextNormal), QColor(128, 128, 128));
        const QImage shot = button->grab().toImage();
        EXPECT_EQ(shot.pixelColor(3, 3), QColor(64, 64, 64)) << button->text().toStdString();
    }
}

TEST_F(ConfigureWindowTest, FindSitsBesideTheAddressInTheSkinAndWaitsForTheLanMode) {
    std::vector<std::string> asked;
    dialog_ = std::make_unique<ConfigureWindow>(
        state_, nullptr, [&](const std::string& address) { asked.push_back(address); });
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    auto* find = Control<CButtonST>(id::kFind);
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->text(), QStringLiteral("Find"));
    // On the address's line, right of it, inside the window.
    const QRect field = Address()->geometry();
    EXPECT_GT(find->geometry().left(), field.right());
    EXPECT_TRUE(find->geometry().contains(find->geometry().left(), field.center().y()));
    EXPECT_TRUE(dialog_->rect().contains(find->geometry()));
    EXPECT_EQ(find->font(), ChangeIp()->font());
    EXPECT_EQ(find->Colour(CButtonST::kBackgroundNormal), QColor(64, 64, 64));
    EXPECT_EQ(find->grab().toImage().pixelColor(3, 3), QColor(64, 64, 64));

    Address()->SetAddressText(QStringLiteral("192.0.2.140"));
    QTest::mouseClick(find, Qt::LeftButton);
    EXPECT_THAT(asked, ElementsAre("192.0.2.140"));

    // A find asks by UDP: off the LAN the button waits.
    Pick(Mode(), 1);
    EXPECT_FALSE(find->isEnabled());
    Pick(Mode(), 0);
    EXPECT_TRUE(find->isEnabled());
    state_.link.SetMode(ConnectionMode::Serial);
    dialog_ = std::make_unique<ConfigureWindow>(state_, nullptr, [](const std::string&) {});
    EXPECT_FALSE(Control<CButtonST>(id::kFind)->isEnabled());

    // A window with nobody to add devices to has no Find.
    Open();
    EXPECT_TRUE(Control<CButtonST>(id::kFind)->isHidden());
}

TEST_F(ConfigureWindowTest, ModeChoiceSetsTheLinkAndTheControls) {
    Open();
    Pick(Mode(), 1);
    EXPECT_EQ(state_.link.mode(), ConnectionMode::Serial);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false, false}));

    Pick(Mode(), 0);
    EXPECT_EQ(state_.link.mode(), ConnectionMode::Lan);
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true, true}));

    // No selection changes nothing.
    Pick(Mode(), -1);
    EXPECT_EQ(state_.link.mode(), ConnectionMode::Lan);
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true, true}));
}

TEST_F(ConfigureWindowTest, ConnectOpensAPseudoTerminalAndDisconnectClosesIt) {
    const PtyPeer device(PtyPeer::Line::HeldOpen);
    Open();
    Pick(Mode(), 1);
    OfferPort(device.PortName());
    Bauds()->setCurrentIndex(4);

    {
        TraceRecorder traces;
        QTest::mouseClick(ConnectButton(), Qt::LeftButton);
        EXPECT_THAT(traces.lines(), ElementsAre("com open success \n"));
    }
    EXPECT_TRUE(state_.link.serial_port.IsOpen());
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Disconnect"));
    EXPECT_NE(dialog_->ConnectedFlag(), 0);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, false, false, false, false}));

    QTest::mouseClick(ConnectButton(), Qt::LeftButton);
    EXPECT_FALSE(state_.link.serial_port.IsOpen());
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
    EXPECT_EQ(dialog_->ConnectedFlag(), 0);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false, false}));

    // Connected, then "LAN Port" and back: the port stays open and the button still reads
    // "Disconnect" while the flag is clear, so the next press reopens the port.
    QTest::mouseClick(ConnectButton(), Qt::LeftButton);
    Pick(Mode(), 0);
    EXPECT_TRUE(state_.link.serial_port.IsOpen());
    EXPECT_EQ(dialog_->ConnectedFlag(), 0);
    Pick(Mode(), 1);
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Disconnect"));
    {
        TraceRecorder traces;
        QTest::mouseClick(ConnectButton(), Qt::LeftButton);
        EXPECT_THAT(traces.lines(), ElementsAre("close the com \n", "com open success \n"));
    }
    EXPECT_TRUE(state_.link.serial_port.IsOpen());
    EXPECT_NE(dialog_->ConnectedFlag(), 0);
    state_.link.serial_port.ClosePort(500);
}

TEST_F(ConfigureWindowTest, APortThatCannotBeOpenedLeavesTheDialogAsItWas) {
    Open();
    Pick(Mode(), 1);
    for (const std::string& port : {std::string("/dev/panoptix-no-such-port"), std::string()}) {
        OfferPort(port);
        TraceRecorder traces;
        QTest::mouseClick(ConnectButton(), Qt::LeftButton);
        EXPECT_THAT(traces.lines(), ElementsAre("com open failed \n")) << port;
        EXPECT_FALSE(state_.link.serial_port.IsOpen());
        EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
        EXPECT_EQ(dialog_->ConnectedFlag(), 0);
        EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false, false}));
    }
}

TEST_F(ConfigureWindowTest, ChangeIpSendsAddressMaskAndGatewayToTheSelectedDevice) {
    struct Case {
        const char* typed;
        std::vector<uint8_t> payload;
    };
    const Case cases[] = {
        {"10.0.0.7", {0x0A, 0, 0, 0x07, 0xFF, 0xFF, 0xFF, 0x00, 0x0A, 0, 0, 0x01}},
        {"", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x00, 0, 0, 0, 0x01}},  // blank boxes read 0
        {"192.168.1.20", {192, 168, 1, 20, 0xFF, 0xFF, 0xFF, 0x00, 192, 168, 1, 1}},
    };
    Open();
    for (const Case& c : cases) {
        Address()->Clear();
        TypeAddress(*Address(), QString::fromLatin1(c.typed));
        QTest::mouseClick(ChangeIp(), Qt::LeftButton);

        const auto datagram = device_.Receive(1000);
        ASSERT_TRUE(datagram.has_value()) << c.typed;
        const std::vector<uint8_t>& frame = datagram->bytes;
        ASSERT_EQ(frame.size(), 32u);
        EXPECT_EQ(frame[4], 0xA1);  // the selected row's type byte
        EXPECT_EQ(frame[5], 0x07);  // and its address byte
        EXPECT_EQ(frame[6], 0x01);  // by UDP
        EXPECT_EQ(frame[16], 0x05);
        EXPECT_THAT(std::vector<uint8_t>(frame.begin() + 17, frame.begin() + 29),
                    ElementsAreArray(c.payload))
            << c.typed;
        const uint16_t sum = FrameChecksum(std::span(frame).first(29));
        EXPECT_EQ(frame[29], sum & 0xFF);
        EXPECT_EQ(frame[30], sum >> 8);
        EXPECT_EQ(frame[31], 0xAE);
    }
    EXPECT_EQ(state_.link.m_udpSockfd, -1);
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ConfigureWindowTest, ChangeIpWithoutASelectedDeviceAsksForOneAndSendsNothing) {
    state_.link.m_device_index = -1;
    Open();
    Address()->SetAddressText(QStringLiteral("10.0.0.7"));
    QTest::mouseClick(ChangeIp(), Qt::LeftButton);
    EXPECT_THAT(messages_.texts, ElementsAre("Please choose a device"));
    EXPECT_FALSE(device_.Receive(100).has_value());
    EXPECT_EQ(state_.link.m_udpSockfd, -1);
}

TEST_F(ConfigureWindowTest, EscHidesWithTheCloseTraceAndEnterHidesQuietly) {
    Open();
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    {
        TraceRecorder traces;
        QTest::keyClick(Mode(), Qt::Key_Escape);
        EXPECT_FALSE(dialog_->isVisible());
        EXPECT_THAT(traces.lines(), ElementsAre(" close \n"));
    }
    dialog_->show();
    {
        TraceRecorder traces;
        QTest::keyClick(Mode(), Qt::Key_Return);
        EXPECT_FALSE(dialog_->isVisible());
        EXPECT_TRUE(traces.lines().empty());
    }
    // Shown again, it keeps what was chosen.
    Pick(Mode(), 1);
    dialog_->show();
    EXPECT_EQ(Mode()->currentIndex(), 1);
    EXPECT_EQ(state_.link.mode(), ConnectionMode::Serial);
}

TEST(IpAddressField, ReadsDottedTextAndTypedOctets) {
    IpAddressField field;
    field.SetAddressText(QStringLiteral("192.0.2.30"));
    EXPECT_THAT(field.Octets(), ElementsAre(192, 0, 2, 30));
    for (const char* bad : {"1.2.3", "1.2.3.256", "a.b.c.d", "", "1.2.3.4.5"}) {
        field.SetAddressText(QString::fromLatin1(bad));
        EXPECT_TRUE(field.IsBlank()) << bad;
    }
    // Three digits move on by themselves; a dot moves on after a shorter octet.
    TypeAddress(field, QStringLiteral("1721.16.9"));
    EXPECT_THAT(field.Octets(), ElementsAre(172, 1, 16, 9));
    // Values beyond 255 are not taken.
    field.Clear();
    TypeAddress(field, QStringLiteral("256"));
    EXPECT_EQ(field.OctetBox(0)->text(), QStringLiteral("25"));
    // Backspace in an empty box goes back to the one before.
    field.SetAddressText(QStringLiteral("10.0.0.7"));
    field.OctetBox(1)->clear();
    field.OctetBox(1)->setFocus();
    QTest::keyClick(field.OctetBox(1), Qt::Key_Backspace);
    EXPECT_EQ(field.focusWidget(), field.OctetBox(0));
}

}  // namespace
}  // namespace panoptix
