// panoptix-cli against the scripted UDP peer: every invocation in the tables sends exactly the
// frames the panel's core sends for the same operator action (the panel side runs the core
// in-process against a second peer, starting from a fresh panel and doing what an operator does
// to get there); bad arguments exit 2 with nothing sent; device bytes come from a search answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli_process.h"
#include "link/clock.h"
#include "link/trace.h"
#include "matrix/core/matrix_crosspoint.h"
#include "matrix/core/matrix_function.h"
#include "multiviewer/core/multiviewer_actions.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "quadview/core/quadview_panel.h"
#include "quiet_views.h"
#include "support/recorders.h"
#include "support/udp_peer.h"
#include "switcher/core/switcher_panel.h"

namespace panoptix {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing_support::UdpPeer;
using Frames = std::vector<std::vector<uint8_t>>;

// The panel's side: a fresh main window's link and blocks, pointed at its own peer.
struct Panel {
    UdpPeer& device;
    DeviceLink link;
    MultiviewerState mv;
    SwitcherState sw;
    MatrixState mx;
    QuadviewState qv;
    // What the operator did to get the panel ready is not compared.
    void Forget() {
        SleepMs(30);
        device.Forget();
    }
};

struct FrameCase {
    std::string name;
    std::vector<std::string> cli;  // after "send KIND --ip ... --type ... --address ..."
    std::function<void(Panel&)> operate;
};

// Waits until the datagrams stop coming.
Frames Settled(const UdpPeer& device) {
    size_t seen = 0;
    for (;;) {
        const Frames frames = device.WaitForFrames(seen + 1, 60);
        if (frames.size() == seen) {
            return frames;
        }
        seen = frames.size();
    }
}

class CliFramesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTraceSink([](std::string_view) {});
    }
    void TearDown() override { SetTraceSink(nullptr); }

    std::vector<std::string> Target(const std::string& kind, const UdpPeer& device, uint8_t type,
                                    uint8_t address) const {
        return {"send",         kind,
                "--ip",         "127.0.0.1",
                "--port",       std::to_string(device.port()),
                "--local-port", std::to_string(testing_support::FreeLoopbackPort()),
                "--type",       std::to_string(type),
                "--address",    std::to_string(address)};
    }

    // Runs every case: the CLI's frames against the panel core's.
    void ExpectSameFrames(const std::string& kind, uint8_t type, uint8_t address,
                          const std::vector<FrameCase>& cases) {
        for (const FrameCase& c : cases) {
            SCOPED_TRACE(kind + " " + c.name);
            UdpPeer cli_device;
            cli_device.Play(testing_support::PeerScript::Silent());
            std::vector<std::string> args = Target(kind, cli_device, type, address);
            args.insert(args.end(), c.cli.begin(), c.cli.end());
            const CliRun run = RunCli(args);
            EXPECT_EQ(run.exit_code, 0) << run.err;
            const Frames from_cli = Settled(cli_device);

            UdpPeer panel_device;
            panel_device.Play(testing_support::PeerScript::Silent());
            Panel panel{panel_device, {}, {}, {}, {}, {}};
            testing_support::SelectPeer(panel.link, panel_device, type, address);
            c.operate(panel);
            const Frames from_panel = Settled(panel_device);

            EXPECT_FALSE(from_panel.empty());
            EXPECT_EQ(from_cli, from_panel);
        }
    }
};

constexpr CommandRoute kLan = CommandRoute::Lan;

// The Configure window's "Change  IP" with 10.0.0.7 typed in: every kind has it.
FrameCase ConfigureAddressChange() {
    return {"set-ip (the Configure window's)", {"set-ip", "10.0.0.7"}, [](Panel& p) {
                const uint8_t typed[4] = {10, 0, 0, 7};
                p.mv.new_network_address = AddressOnOwnSubnet(typed);
                SendNetworkAddress(p.link, p.mv);
            }};
}

TEST_F(CliFramesTest, MultiviewerActionsSendThePanelsFrames) {
    ExpectSameFrames(
        "multiviewer", 0xA1, 0x03,
        {
            {"layout", {"layout", "4"}, [](Panel& p) { SendLayout(p.link, p.mv, kLan, 4); }},
            {"source",
             {"source", "3", "5"},
             [](Panel& p) { SendWindowSource(p.link, p.mv, kLan, 5, 3); }},
            {"label",
             {"label", "3", "CAM 3"},
             [](Panel& p) { ChooseUmdLabel(p.link, p.mv, kLan, 3, u"CAM 3"); }},
            {"label (not ASCII)",
             {"label", "16", "Régie ②"},
             [](Panel& p) { ChooseUmdLabel(p.link, p.mv, kLan, 16, u"Régie ②"); }},
            {"umd off", {"umd", "off"}, [](Panel& p) { ChooseUmdLabels(p.link, p.mv, kLan, 0); }},
            {"audio on",
             {"audio", "ON"},
             [](Panel& p) { ChooseAudioMeters(p.link, p.mv, kLan, 1); }},
            {"audio-source",
             {"audio-source", "5"},
             [](Panel& p) { SendAudioSource(p.link, p.mv, kLan, 5); }},
            {"resolution-labels",
             {"resolution-labels", "on"},
             [](Panel& p) { ChooseResolutionLabels(p.link, p.mv, kLan, 1); }},
            {"resolution",
             {"resolution", "1080p50"},
             [](Panel& p) { ChooseResolutionType(p.link, p.mv, kLan, 1); }},
            {"border", {"border", "on"}, [](Panel& p) { ChooseBorder(p.link, p.mv, kLan, 1); }},
            {"lock", {"lock", "off"}, [](Panel& p) { ChooseLock(p.link, p.mv, kLan, 0); }},
            {"umd-back-colour all",
             {"umd-back-colour", "all", "red"},
             [](Panel& p) {
                 p.mv.m_all_16_view_page_data.umd_color_channel = 0;
                 ChooseColour(p.link, p.mv, kLan, ColourField::UmdBack, 0, 2);
             }},
            {"umd-text-colour window",
             {"umd-text-colour", "3", "White"},
             [](Panel& p) {
                 p.mv.m_all_16_view_page_data.umd_color_channel = 3;
                 ChooseColour(p.link, p.mv, kLan, ColourField::UmdText, 3, 7);
             }},
            {"resolution-text-colour by code",
             {"resolution-text-colour", "7", "14"},
             [](Panel& p) {
                 p.mv.m_all_16_view_page_data.resolution_color_channel = 7;
                 ChooseColour(p.link, p.mv, kLan, ColourField::ResolutionText, 7, 14);
             }},
            {"resolution-back-colour",
             {"resolution-back-colour", "16", "Gray"},
             [](Panel& p) {
                 p.mv.m_all_16_view_page_data.resolution_color_channel = 16;
                 ChooseColour(p.link, p.mv, kLan, ColourField::ResolutionBack, 16, 8);
             }},
            {"set-default", {"set-default"}, [](Panel& p) { RestoreDefaults(p.link, p.mv, kLan); }},
            {"set-ip",
             {"set-ip", "192.0.2.50", "--mask", "255.255.0.0", "--gateway", "192.0.2.1"},
             [](Panel& p) {
                 p.mv.new_network_address = {{192, 0, 2, 50}, {255, 255, 0, 0}, {192, 0, 2, 1}};
                 SendNetworkAddress(p.link, p.mv);
             }},
            ConfigureAddressChange(),
        });
}

TEST_F(CliFramesTest, MultiviewerLayoutFrameFieldByField) {
    UdpPeer device;
    device.Play(testing_support::PeerScript::Silent());
    std::vector<std::string> args = Target("multiviewer", device, 0xA1, 0x03);
    args.insert(args.end(), {"layout", "4"});
    ASSERT_EQ(RunCli(args).exit_code, 0);
    constexpr int kSum = 0xA5 + 0x6C + 21 + 0xA1 + 0x03 + 0x01 + 0x33 + 0x04;
    EXPECT_THAT(device.WaitForFrame(1),
                ::testing::ElementsAreArray<uint8_t>({
                    0xA5,        0x6C,      21,   0,                 // markers, length 21
                    0xA1,        0x03,      0x01,                    // type, address, link byte
                    0,           0,         0,    0, 0, 0, 0, 0, 0,  // reserved
                    0x33,        0x04,                               // layout, 4 windows
                    kSum & 0xFF, kSum >> 8, 0xAE,                    // checksum, end
                }));
}

// A press repeated from a fresh panel: the frames of the last press only.
std::function<void(Panel&)> Switcher(std::function<void(SwitcherPanel&)> prepare,
                                     std::function<void(SwitcherPanel&)> press) {
    return [prepare, press](Panel& p) {
        SwitcherPanel panel(p.link, p.sw);
        if (prepare) {
            prepare(panel);
            p.Forget();
        }
        press(panel);
    };
}

// A slow hand drag: every position from the thumb to the release, then the release.
void Drag(SwitcherPanel& panel, int from, int to) {
    const int step = to < from ? -1 : 1;
    for (int position = from + step; position != to + step; position += step) {
        panel.LeverMoving(position);
    }
    panel.LeverMoved(to);
}

void RunAuto(SwitcherPanel& panel) {
    LeverEffects effects = panel.PressAuto();
    std::optional<AutoTimer> timer = effects.start_timer;
    while (timer) {
        effects = panel.AutoTimerTick(timer->id);
        if (effects.stop_timer) {
            timer.reset();
        }
    }
}

TEST_F(CliFramesTest, SwitcherActionsSendThePanelsFrames) {
    using P = SwitcherPanel;
    const auto key1 = [](P& s) { s.PressLayer(SwitcherLayer::Key1); };
    const auto pip = [](P& s) { s.PressLayer(SwitcherLayer::Pip); };
    ExpectSameFrames(
        "switcher", 0xA5, 0x02,
        {
            {"program", {"program", "3"}, Switcher({}, [](P& s) { s.PressProgramSource(3); })},
            {"preview", {"preview", "12"}, Switcher({}, [](P& s) { s.PressPreviewSource(12); })},
            {"cut", {"cut"}, Switcher({}, [](P& s) { s.PressCut(); })},
            {"auto", {"auto"}, Switcher({}, RunAuto)},
            {"auto at r3",
             {"auto", "--rate", "3"},
             Switcher({},
                      [](P& s) {
                          s.PressTransitionRate(2);
                          RunAuto(s);
                      })},
            {"lever up", {"lever", "up"}, Switcher({}, [](P& s) { Drag(s, 129, 0); })},
            {"lever down",
             {"lever", "down"},
             Switcher([](P& s) { Drag(s, 129, 0); }, [](P& s) { Drag(s, 0, 129); })},
            {"lever up released half way",
             {"lever", "up", "--to", "64", "--step-ms", "1"},
             Switcher({}, [](P& s) { Drag(s, 129, 64); })},
            {"lever up resumed after its last step",
             {"lever", "up", "--from", "1"},
             Switcher([](P& s) { Drag(s, 129, 1); }, [](P& s) { Drag(s, 1, 0); })},
            {"lever down from 100 to 125",
             {"lever", "down", "--from", "100", "--to", "125"},
             Switcher(
                 [](P& s) {
                     Drag(s, 129, 0);
                     Drag(s, 0, 100);
                 },
                 [](P& s) { Drag(s, 100, 125); })},
            {"ftb", {"ftb"}, Switcher({}, [](P& s) { s.PressFadeToBlack(); })},
            {"key1 on", {"key1", "on"}, Switcher({}, key1)},
            {"key1 off", {"key1", "off"}, Switcher(key1, key1)},
            {"key2 on",
             {"key2", "on"},
             Switcher({}, [](P& s) { s.PressLayer(SwitcherLayer::Key2); })},
            {"pip on", {"pip", "on"}, Switcher({}, pip)},
            {"pip off", {"pip", "off"}, Switcher(pip, pip)},
            {"bkgd off", {"bkgd", "off"}, Switcher(key1, [](P& s) { s.PressBackground(); })},
            {"bkgd on",
             {"bkgd", "on"},
             Switcher(
                 [](P& s) {
                     s.PressLayer(SwitcherLayer::Key1);
                     s.PressBackground();
                 },
                 [](P& s) { s.PressBackground(); })},
            {"on-air on", {"on-air", "on"}, Switcher({}, [](P& s) { s.PressOnAir(); })},
            {"on-air off",
             {"on-air", "off"},
             Switcher([](P& s) { s.PressOnAir(); }, [](P& s) { s.PressOnAir(); })},
            {"transition mix",
             {"transition", "mix"},
             Switcher({}, [](P& s) { s.PressTransitionType(1); })},
            {"transition wipe",
             {"transition", "wipe"},
             Switcher({}, [](P& s) { s.PressTransitionType(3); })},
            {"wipe-pattern 1",
             {"wipe-pattern", "1"},
             Switcher([](P& s) { s.PressWipePattern(1); }, [](P& s) { s.PressWipePattern(0); })},
            {"wipe-pattern 9",
             {"wipe-pattern", "9"},
             Switcher({}, [](P& s) { s.PressWipePattern(8); })},
            {"dip-source", {"dip-source", "2"}, Switcher({}, [](P& s) { s.PickDipSource(2); })},
            {"wipe-source", {"wipe-source", "3"}, Switcher({}, [](P& s) { s.PickWipeSource(3); })},
            {"key1-source", {"key1-source", "4"}, Switcher({}, [](P& s) { s.PickKey1Source(3); })},
            {"key2-source mp",
             {"key2-source", "mp"},
             Switcher({}, [](P& s) { s.PickKey2Source(10); })},
            {"pip-source", {"pip-source", "1"}, Switcher({}, [](P& s) { s.PickPipSource(0); })},
            {"key1-colour",
             {"key1-colour", "16", "200", "16"},
             Switcher({},
                      [](P& s) {
                          s.ReleaseKey1Sliders({16, 200, 16});
                      })},
            {"chroma green", {"chroma", "green"}, Switcher({}, [](P& s) { s.PickChromaType(1); })},
            {"key2-colour",
             {"key2-colour", "32", "220", "255"},
             Switcher({},
                      [](P& s) {
                          s.ReleaseKey2Sliders({32, 220, 255});
                      })},
            {"pip-border on",
             {"pip-border", "on"},
             Switcher({}, [](P& s) { s.PickPipBorderEnable(1); })},
            {"pip-border-colour",
             {"pip-border-colour", "blue"},
             Switcher({}, [](P& s) { s.PickPipBorderColour(3); })},
            {"pip-border-width",
             {"pip-border-width", "7"},
             Switcher({}, [](P& s) { s.PickPipBorderWidth(6); })},
            {"pip-x",
             {"pip-x", "60"},
             Switcher({}, [](P& s) { s.ReleasePipSlider(PipSlider::X, 60); })},
            {"pip-y",
             {"pip-y", "120"},
             Switcher({}, [](P& s) { s.ReleasePipSlider(PipSlider::Y, 120); })},
            {"pip-width",
             {"pip-width", "0"},
             Switcher({}, [](P& s) { s.ReleasePipSlider(PipSlider::Width, 0); })},
            ConfigureAddressChange(),
        });
}

TEST_F(CliFramesTest, MatrixActionsSendThePanelsTexts) {
    cli::QuietCrosspointView view;
    ExpectSameFrames("matrix", 0x81, 0x01,
                     {
                         {"route to all",
                          {"route", "3", "all"},
                          [&view](Panel& p) {
                              ClickInput(p.mx, view, 3);
                              ClickOneToAll(p.mx, p.link, view);
                          }},
                         {"route to a list",
                          {"route", "1", "3,2"},
                          [&view](Panel& p) {
                              ClickInput(p.mx, view, 1);
                              ToggleOutput(p.mx, view, 2);
                              ToggleOutput(p.mx, view, 3);
                              ClickApply(p.mx, p.link);
                          }},
                         {"one-to-one",
                          {"one-to-one"},
                          [&view](Panel& p) { ClickOneToOne(p.mx, p.link, view); }},
                         ConfigureAddressChange(),
                     });
    // The texts themselves, as the router reads them.
    UdpPeer device;
    device.Play(testing_support::PeerScript::Silent());
    std::vector<std::string> args = Target("matrix", device, 0x81, 0x01);
    args.insert(args.end(), {"route", "1", "2,3"});
    ASSERT_EQ(RunCli(args).exit_code, 0);
    const std::vector<uint8_t> text = device.WaitForFrame(1);
    EXPECT_EQ(std::string(text.begin(), text.end()), "1V2,3.");
}

std::function<void(Panel&)> Quad(std::function<void(QuadviewPanel&)> prepare,
                                 std::function<void(QuadviewPanel&)> act) {
    return [prepare, act](Panel& p) {
        cli::QuietQuadviewView view;
        QuadviewPanel panel(p.link, p.qv, view);
        if (prepare) {
            prepare(panel);
            p.Forget();
        }
        act(panel);
    };
}

TEST_F(CliFramesTest, QuadviewActionsSendThePanelsFrames) {
    using Q = QuadviewPanel;
    ExpectSameFrames(
        "quadview", 0x60, 0x01,
        {
            {"mode 8", {"mode", "8"}, Quad({}, [](Q& q) { q.ApplyShowMode(8); })},
            {"mode 0",
             {"mode", "0"},
             Quad([](Q& q) { q.ApplyShowMode(3); }, [](Q& q) { q.ApplyShowMode(0); })},
            {"loop on", {"loop", "on"}, Quad({}, [](Q& q) { q.LoopClicked(); })},
            {"loop off",
             {"loop", "off"},
             Quad([](Q& q) { q.LoopClicked(); }, [](Q& q) { q.LoopClicked(); })},
            {"loop-time", {"loop-time", "30"}, Quad({}, [](Q& q) { q.SendLoopTime("30"); })},
            {"pip-children",
             {"pip-children", "2", "3"},
             Quad([](Q& q) { q.FirstPipChosen(1); }, [](Q& q) { q.SecondPipChosen(2); })},
            {"output-format",
             {"output-format", "1920x1080_60"},
             Quad({}, [](Q& q) { q.OutputFormatChosen(1); })},
            {"pip-children from the first list",
             {"pip-children", "4", "3"},
             Quad(
                 [](Q& q) {
                     q.FirstPipChosen(1);
                     q.SecondPipChosen(2);
                 },
                 [](Q& q) { q.FirstPipChosen(3); })},
            ConfigureAddressChange(),
        });
}

TEST_F(CliFramesTest, BadArgumentsExitTwoNamingTheRangeAndSendNothing) {
    struct BadCase {
        std::string kind;
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<BadCase> cases{
        {"multiviewer", {"source", "3", "17"}, "source must be 1..16"},
        {"multiviewer", {"source", "0", "5"}, "window must be 1..16"},
        {"multiviewer", {"layout", "5"}, "windows must be 1|4|6|8|9|10|16"},
        {"multiviewer", {"label", "3", "ELEVEN CHARS"}, "label must be at most 10 characters"},
        {"multiviewer", {"label", "3", "\xC3("}, "label must be UTF-8 text"},
        {"multiviewer", {"umd", "maybe"}, "state must be on|off"},
        {"multiviewer", {"umd-back-colour", "0", "red"}, "window must be all|1|2"},
        {"multiviewer", {"umd-back-colour", "all", "16"}, "colour must be Black|Blue"},
        {"multiviewer", {"set-ip", "192.0.2.300"}, "address must be an IPv4 address"},
        {"multiviewer", {"source", "3"}, "source is required"},
        {"switcher", {"program", "13"}, "source must be 1..12"},
        {"switcher", {"auto", "--rate", "4"}, "rate must be 1..3"},
        {"switcher", {"transition", "fade"}, "type must be mix|dip|wipe"},
        {"switcher", {"key1-colour", "1", "2", "256"}, "blue must be 0..255"},
        {"switcher", {"take"}, "take"},
        {"switcher", {"lever", "sideways"}, "direction must be up|down"},
        {"switcher", {"lever", "down", "--to", "130"}, "to must be 0..129"},
        {"switcher", {"lever", "up", "--from", "10", "--to", "20"}, "--to must be below --from"},
        {"switcher", {"lever", "down", "--from", "129"}, "--to must be above --from"},
        {"quadview", {"set-ip", "192.0.2.5", "--mask", "255.255.255"}, "mask must be an IPv4"},
        {"matrix", {"route", "9", "all"}, "input must be 1..8"},
        {"matrix", {"route", "1", "2,9"}, "outputs must be all or outputs 1..8"},
        {"matrix", {"route", "1", "2,,3"}, "outputs must be all or outputs 1..8"},
        {"quadview", {"mode", "17"}, "mode must be 0..16"},
        {"quadview", {"loop-time", "2"}, "seconds must be 3..999"},
        {"quadview", {"pip-children", "2", "2"}, "pip-children must be two different channels"},
    };
    UdpPeer device;
    device.Play(testing_support::PeerScript::Silent());
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.kind + " " + c.message);
        std::vector<std::string> args = Target(c.kind, device, 0xA1, 0x01);
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exit_code, 2);
        EXPECT_THAT(run.err, ::testing::HasSubstr(c.message));
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(device.WaitForFrames(1, 100).empty());
}

TEST_F(CliFramesTest, BadTargetsExitTwoAndLinkFailuresThree) {
    UdpPeer device;
    device.Play(testing_support::PeerScript::Silent());
    const std::string port = std::to_string(device.port());
    struct TargetCase {
        std::vector<std::string> args;
        int exit_code;
        std::string message;
    };
    const std::vector<TargetCase> cases{
        {{"send", "switcher", "--ip", "127.0.0.1.5", "--port", port, "cut"}, 2, "ip must be"},
        {{"send", "switcher", "--serial", "/dev/null", "cut"}, 2, "travels by the LAN only"},
        {{"send", "matrix", "one-to-one"}, 2, "give either --ip ADDR or --serial PORT"},
        {{"send", "matrix", "--ip", "127.0.0.1", "--type", "300", "--port", port, "one-to-one"},
         2,
         "type must be 0..255"},
        {{"status", "quadview", "--serial", "/dev/null"}, 2, "by the LAN only"},
        {{"send", "matrix", "--serial", "/nonexistent/tty", "--baud", "9600", "one-to-one"},
         3,
         "cannot open the serial port /nonexistent/tty"},
        {{"send", "matrix", "--serial", "/nonexistent/tty", "--baud", "1200", "one-to-one"},
         2,
         "baud must be"},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.message);
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exit_code, c.exit_code);
        EXPECT_THAT(run.err, ::testing::HasSubstr(c.message));
    }
    EXPECT_TRUE(device.WaitForFrames(1, 100).empty());
}

// A discovery reply naming one device "SW12" with the given bytes.
std::vector<uint8_t> SearchAnswer(uint8_t type, uint8_t address) {
    const std::string text = "SW12-1-";
    std::vector<uint8_t> payload(1 + text.size(), 0x00);
    std::copy(text.begin(), text.end(), payload.begin() + 1);
    DeviceEntry device;
    device.device_type = type;
    device.device_address = address;
    return MakeCommandFrame(device, LinkByte::Udp, command::kDiscovery, payload);
}

TEST_F(CliFramesTest, DeviceBytesComeFromTheDevicesSearchAnswer) {
    UdpPeer device;
    device.Play(
        testing_support::PeerScript::Reply(command::kDiscovery, {SearchAnswer(0xA5, 0x07)}));
    const std::string port = std::to_string(device.port());
    const CliRun run =
        RunCli({"send", "switcher", "--ip", "127.0.0.1", "--port", port, "--local-port",
                std::to_string(testing_support::FreeLoopbackPort()), "cut"});
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out,
              "{\"action\":\"cut\",\"address\":\"127.0.0.1\",\"kind\":\"switcher\","
              "\"sent\":true}\n");
    const Frames frames = Settled(device);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], MakeDiscoveryRequest(LinkByte::Udp));
    DeviceEntry answered;
    answered.device_type = 0xA5;
    answered.device_address = 0x07;
    EXPECT_EQ(frames[1], MakeCommandFrame(answered, LinkByte::Udp, 0x83));
}

TEST_F(CliFramesTest, ADeviceOfAnotherKindOrNoAnswerSendsNoCommand) {
    UdpPeer multiviewer;
    multiviewer.Play(
        testing_support::PeerScript::Reply(command::kDiscovery, {SearchAnswer(0xA1, 0x01)}));
    CliRun run = RunCli({"send", "switcher", "--ip", "127.0.0.1", "--port",
                         std::to_string(multiviewer.port()), "--local-port",
                         std::to_string(testing_support::FreeLoopbackPort()), "cut"});
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_THAT(run.err, ::testing::HasSubstr("is a multiviewer (type 0xA1), not a switcher"));
    EXPECT_EQ(Settled(multiviewer).size(), 1u);  // the search request only

    UdpPeer silent;
    silent.Play(testing_support::PeerScript::Silent());
    run = RunCli({"status", "multiviewer", "--ip", "127.0.0.1", "--port",
                  std::to_string(silent.port()), "--local-port",
                  std::to_string(testing_support::FreeLoopbackPort()), "--type", "0xA1",
                  "--address", "1"});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_THAT(run.err, ::testing::HasSubstr("no status reply from 127.0.0.1"));
    EXPECT_TRUE(run.out.empty());
}

}  // namespace
}  // namespace panoptix
