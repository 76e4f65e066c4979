// The setting sub page's rules: the mode list, Connect and Disconnect on a pseudo-terminal, and
// a failed Connect that changes nothing.
#include "matrix/core/matrix_setting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/serial_connection.h"
#include "matrix_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing_support::TraceRecorder;
using Events = std::vector<std::string>;

// Everything the rules draw, in order.
class RecordingSettingView : public MatrixSettingView {
  public:
    void ShowMode(int index) override { Add("mode " + std::to_string(index)); }
    void ShowIpAddress(std::string_view ip_text) override { Add("ip " + std::string(ip_text)); }
    void SetIpFieldEnabled(bool enabled) override { Add(On("ip field", enabled)); }
    void SetSerialControlsEnabled(bool enabled) override { Add(On("serial controls", enabled)); }
    void SetPortListsEnabled(bool enabled) override { Add(On("lists", enabled)); }
    void SetConnectCaption(std::string_view caption) override {
        Add("caption " + std::string(caption));
    }
    void ShowLamp(bool connected) override { Add(On("lamp", connected)); }

    Events Take() { return std::exchange(events_, {}); }

  private:
    static std::string On(const std::string& what, bool on) { return what + (on ? " on" : " off"); }
    void Add(std::string event) { events_.push_back(std::move(event)); }
    Events events_;
};

class MatrixSettingTest : public testing::MatrixLinkTest {
  protected:
    void Connect(std::string_view port_name, std::string_view baud_text = "9600") {
        ClickConnect(setting_, link_, view_, port_name, baud_text);
    }

    MatrixSetting setting_;
    RecordingSettingView view_;
};

TEST_F(MatrixSettingTest, OpeningShowsTheModeButLeavesTheSerialControlsDisabled) {
    struct Case {
        ConnectionMode mode;
        int8_t device_index;
        Events events;
    };
    const Case cases[] = {
        {ConnectionMode::Serial,
         0,
         {"ip 127.0.0.1", "caption Connect", "lamp off", "mode 1", "serial controls off",
          "ip field on"}},
        {ConnectionMode::Lan,
         -1,
         {"ip ", "caption Connect", "lamp off", "mode 0", "serial controls off", "ip field on"}},
    };
    for (const Case& c : cases) {
        link_.SetMode(c.mode);
        link_.m_device_index = c.device_index;
        OpenMatrixSetting(link_, MatrixSetting{}, view_);
        EXPECT_EQ(view_.Take(), c.events) << ConnectionModeNumber(c.mode);
    }
}

TEST_F(MatrixSettingTest, ModeChoiceSetsTheConnectionModeAndTheControls) {
    struct Case {
        int index;
        ConnectionMode mode_after;
        Events events;
    };
    const Case cases[] = {
        {1, ConnectionMode::Serial, {"serial controls on", "ip field off"}},
        {1,
         ConnectionMode::Serial,
         {"serial controls on", "ip field off"}},  // the shown entry again
        {-1, ConnectionMode::Serial, {}},
        {0, ConnectionMode::Lan, {"serial controls off", "ip field on"}},
        {2, ConnectionMode::Lan, {}},  // no such entry
    };
    for (const Case& c : cases) {
        ChooseConnectionMode(link_, view_, c.index);
        EXPECT_EQ(link_.mode(), c.mode_after) << c.index;
        EXPECT_EQ(view_.Take(), c.events) << c.index;
    }
}

TEST_F(MatrixSettingTest, ConnectDisconnectConnect) {
    TraceRecorder traces;
    Connect(line_.PortName(), "115200");
    EXPECT_TRUE(link_.serial_port.IsOpen());
    EXPECT_NE(setting_.port_connected, 0);
    EXPECT_EQ(view_.Take(), (Events{"caption Disconnect", "lists off", "lamp on"}));

    Connect("ignored while connected");
    EXPECT_FALSE(link_.serial_port.IsOpen());
    EXPECT_EQ(setting_.port_connected, 0);
    EXPECT_EQ(view_.Take(), (Events{"caption Connect", "lists on", "lamp off"}));

    Connect(line_.PortName());
    EXPECT_TRUE(link_.serial_port.IsOpen());
    EXPECT_EQ(view_.Take(), (Events{"caption Disconnect", "lists off", "lamp on"}));
    EXPECT_EQ(traces.Count("com open success \n"), 2u);

    // The port that is open now carries the matrix texts.
    link_.SetMode(ConnectionMode::Serial);
    const uint8_t probe[] = {'A'};
    link_.serial_port.WritePort(probe, 1);
    EXPECT_EQ(TakeSerialBytes(), "A");
}

TEST_F(MatrixSettingTest, FailedConnectChangesNothing) {
    const struct {
        const char* what;
        std::string port_name;
        const char* baud_text;
    } cases[] = {
        {"empty port list", "", "9600"},
        {"no such port", "/dev/panoptix-no-such-port", "9600"},
        {"baud rate not a number", line_.PortName(), "96k"},
    };
    for (const auto& c : cases) {
        TraceRecorder traces;
        Connect(c.port_name, c.baud_text);
        EXPECT_FALSE(link_.serial_port.IsOpen()) << c.what;
        EXPECT_EQ(setting_.port_connected, 0) << c.what;
        EXPECT_EQ(view_.Take(), Events{}) << c.what;
        EXPECT_EQ(traces.lines(), Events{"com open failed \n"}) << c.what;
    }
}

// The sub page starts unconnected whatever the port: Connect closes a port opened elsewhere, and
// when the chosen port cannot be opened it stays closed.
TEST_F(MatrixSettingTest, PortOpenedElsewhereIsClosedByConnect) {
    ASSERT_TRUE(link_.serial_port.OpenPort(line_.PortName(), 9600));
    TraceRecorder traces;
    Connect("");
    EXPECT_FALSE(link_.serial_port.IsOpen());
    EXPECT_EQ(setting_.port_connected, 0);
    EXPECT_EQ(view_.Take(), Events{});
    EXPECT_EQ(traces.lines(), (Events{"close the com \n", "com open failed \n"}));
}

TEST(SerialConnection, BaudRateTexts) {
    const std::pair<const char*, uint32_t> cases[] = {
        {"9600", 9600}, {"115200", 115200}, {"", 0}, {"96k", 0}, {"-9600", 0}, {"99999999999", 0},
    };
    for (const auto& [text, rate] : cases) {
        EXPECT_EQ(BaudRateFromText(text), rate) << text;
    }
    for (std::string_view text : kBaudRateTexts) {
        EXPECT_NE(BaudRateFromText(text), 0u) << text;
    }
}

}  // namespace
}  // namespace panoptix
