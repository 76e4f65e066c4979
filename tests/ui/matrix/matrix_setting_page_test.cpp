// The matrix page's setting sub page offscreen: the mode list, Connect and Disconnect on a
// pseudo-terminal, the texts then travelling on the serial line, and a port that cannot be
// opened.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetrics>
#include <QTest>

#include "controls/ip_address_field.h"
#include "matrix/pages/matrix_setting_page.h"
#include "matrix_page_test_support.h"
#include "resources/skin.h"
#include "support/recorders.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing_support::MatrixPageTest;
using testing_support::Pick;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
namespace id = matrix_id;

constexpr QPoint kLampCentre{268 + 16, 274 + 16};

class MatrixSettingPage : public MatrixPageTest {
  protected:
    // Opens the page on its SETTING tab.
    panoptix::MatrixSettingPage& OpenSetting() {
        Open();
        ShowTab(id::kSettingTab);
        return Setting();
    }
    panoptix::MatrixSettingPage& Setting() const {
        auto* setting = qobject_cast<panoptix::MatrixSettingPage*>(page_->SubPage());
        EXPECT_NE(setting, nullptr);
        return *setting;
    }
    QComboBox* Mode() const { return SubPageControl<QComboBox>(id::kModeList); }
    QComboBox* Ports() const { return SubPageControl<QComboBox>(id::kPortList); }
    QComboBox* Bauds() const { return SubPageControl<QComboBox>(id::kBaudList); }
    IpAddressField* Address() const { return SubPageControl<IpAddressField>(id::kIpAddress); }
    CButtonST* ConnectButton() const { return SubPageControl(id::kConnect); }

    // Port list, baud list, Connect, address field.
    std::vector<bool> Enabled() const {
        return {Ports()->isEnabled(), Bauds()->isEnabled(), ConnectButton()->isEnabled(),
                Address()->isEnabled()};
    }
    // Makes a port name selectable, as the port list would offer it.
    void OfferPort(const std::string& name) const {
        Ports()->addItem(QString::fromStdString(name));
        Ports()->setCurrentIndex(Ports()->count() - 1);
    }
    // The lamp as drawn: true when it shows the connected icon.
    bool LampLit() const {
        const QImage shot = Setting().grab().toImage();
        const auto centre_of = [](int icon_id) {
            return skin::Icon(icon_id).pixmap(32).toImage().pixelColor(16, 16);
        };
        const QColor seen = shot.pixelColor(kLampCentre);
        EXPECT_TRUE(seen == centre_of(211) || seen == centre_of(212)) << "no lamp drawn";
        return seen == centre_of(212);
    }
    void Connect() const { Click(ConnectButton()); }
};

TEST_F(MatrixSettingPage, OpensLikeTheConfigureWindowWithTheSerialControlsDisabled) {
    OpenSetting();
    const auto entries = [](const QComboBox* list) {
        std::vector<std::string> texts;
        for (int i = 0; i < list->count(); ++i) {
            texts.push_back(list->itemText(i).toStdString());
        }
        return texts;
    };
    EXPECT_THAT(entries(Mode()), ElementsAre("LAN Port", "Serial Port"));
    EXPECT_EQ(Mode()->currentIndex(), 0);
    EXPECT_THAT(entries(Bauds()), ElementsAre("9600", "19200", "38400", "57600", "115200"));
    EXPECT_EQ(Bauds()->currentIndex(), 0);
    EXPECT_THAT(Address()->Octets(), ElementsAre(127, 0, 0, 1));
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(Setting().PortConnected(), 0);
    EXPECT_FALSE(LampLit());

    const struct {
        int id;
        QPoint at;
    } places[] = {{id::kModeList, {177, 42}},  {id::kIpAddress, {177, 118}},
                  {id::kPortList, {177, 201}}, {id::kBaudList, {177, 242}},
                  {id::kConnect, {177, 279}},  {id::kLamp, {268, 274}}};
    for (const auto& place : places) {
        EXPECT_EQ(SubPageControl<QWidget>(place.id)->pos(), place.at) << place.id;
    }
    EXPECT_EQ(ConnectButton()->size(), QSize(75, 22));

    // In serial mode, and with no device selected: the list shows the mode, the serial
    // controls stay disabled until the operator chooses it again.
    link_.SetMode(ConnectionMode::Serial);
    link_.m_device_index = -1;
    OpenSetting();
    EXPECT_EQ(Mode()->currentIndex(), 1);
    EXPECT_TRUE(Address()->IsBlank());
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(link_.mode(), ConnectionMode::Serial);
}

TEST_F(MatrixSettingPage, EveryModeChoiceSetsTheLinkAndTheControls) {
    link_.SetMode(ConnectionMode::Serial);
    OpenSetting();
    Pick(Mode(), 1);  // the entry already shown counts too
    EXPECT_EQ(link_.mode(), ConnectionMode::Serial);
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false}));
    Pick(Mode(), 0);
    EXPECT_EQ(link_.mode(), ConnectionMode::Lan);
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true}));
    Pick(Mode(), -1);
    EXPECT_EQ(link_.mode(), ConnectionMode::Lan);
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, false, true}));
}

// The operator connects the router's serial line here; the matrix texts then go on it.
TEST_F(MatrixSettingPage, ConnectOpensThePortAndTheTextsTravelOnIt) {
    const PtyPeer line(PtyPeer::Line::HeldOpen);
    OpenSetting();
    Pick(Mode(), 1);
    OfferPort(line.PortName());
    Bauds()->setCurrentIndex(4);
    {
        TraceRecorder traces;
        Connect();
        EXPECT_THAT(traces.lines(), ElementsAre("com open success \n"));
    }
    EXPECT_TRUE(link_.serial_port.IsOpen());
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Disconnect"));
    EXPECT_LT(QFontMetrics(ConnectButton()->font()).horizontalAdvance(ConnectButton()->text()),
              ConnectButton()->width() - 4)
        << "the caption fits the button";
    EXPECT_EQ(Enabled(), (std::vector<bool>{false, false, true, false}));
    EXPECT_NE(Setting().PortConnected(), 0);
    EXPECT_TRUE(LampLit());

    ShowTab(id::kControlTab);
    ClickInput(2);
    ClickFunction(id::kOneToAll);
    ClickOutput(1);
    ClickFunction(id::kApply);
    const auto bytes = line.ReadUntilQuiet(kQuietMs);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "2All.2V2,3,4,5,6,7,8.");
    EXPECT_EQ(TakeDatagram(), "");
    EXPECT_EQ(Screen(), "in -+------ out -+++++++");

    // A new setting sub page has not opened the port, although it is open: its Connect closes
    // that port and opens the one chosen here.
    ShowTab(id::kSettingTab);
    EXPECT_EQ(Setting().PortConnected(), 0);
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
    EXPECT_FALSE(LampLit());
    Pick(Mode(), 1);
    OfferPort(line.PortName());
    {
        TraceRecorder traces;
        Connect();
        EXPECT_THAT(traces.lines(), ElementsAre("close the com \n", "com open success \n"));
    }
    EXPECT_TRUE(LampLit());

    // Disconnect closes it; the button reads "Connect" again and the lists are free.
    Connect();
    EXPECT_FALSE(link_.serial_port.IsOpen());
    EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
    EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(Setting().PortConnected(), 0);
    EXPECT_FALSE(LampLit());

    // Serial mode with the port closed: ONE TO ALL sends nothing and changes nothing.
    ShowTab(id::kControlTab);
    ClickInput(5);
    ClickFunction(id::kOneToAll);
    ClickFunction(id::kOneToOne);
    EXPECT_TRUE(line.ReadUntilQuiet(kQuietMs).empty());
    EXPECT_EQ(Screen(), "in ----+--- out --------");
    EXPECT_EQ(matrix_.m_matrix_route, (MatrixRoutes{0, 2, 2, 2, 2, 2, 2, 2}));
}

TEST_F(MatrixSettingPage, APortThatCannotBeOpenedChangesNothing) {
    OpenSetting();
    Pick(Mode(), 1);
    for (const std::string& port : {std::string("/dev/panoptix-no-such-port"), std::string()}) {
        OfferPort(port);
        TraceRecorder traces;
        Connect();
        EXPECT_THAT(traces.lines(), ElementsAre("com open failed \n")) << port;
        EXPECT_FALSE(link_.serial_port.IsOpen());
        EXPECT_EQ(ConnectButton()->text(), QStringLiteral("Connect"));
        EXPECT_EQ(Enabled(), (std::vector<bool>{true, true, true, false}));
        EXPECT_EQ(Setting().PortConnected(), 0);
        EXPECT_FALSE(LampLit());
    }

    // A port open elsewhere: the failing Connect closes it and leaves it closed.
    const PtyPeer line(PtyPeer::Line::HeldOpen);
    ASSERT_TRUE(link_.serial_port.OpenPort(line.PortName(), 9600));
    Connect();
    EXPECT_FALSE(link_.serial_port.IsOpen());
    EXPECT_EQ(Setting().PortConnected(), 0);
}

}  // namespace
}  // namespace panoptix
