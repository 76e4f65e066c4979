#include "multiviewer/core/multiviewer_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "multiviewer/core/preview_geometry.h"
#include "state_compare.h"
#include "support/pty_peer.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using testing::SameState;
using testing_support::MessageRecorder;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;
using Bytes = std::vector<uint8_t>;

Bytes Hex(const std::string& text) {
    std::istringstream in(text);
    Bytes bytes;
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

// The serial form of a LAN frame: link byte 0, so the checksum is one less.
Bytes SerialForm(Bytes frame) {
    frame[6] = 0x00;
    const size_t at = frame.size() - 3;
    const uint16_t checksum = static_cast<uint16_t>((frame[at] | frame[at + 1] << 8) - 1);
    frame[at] = static_cast<uint8_t>(checksum & 0xFF);
    frame[at + 1] = static_cast<uint8_t>(checksum >> 8);
    return frame;
}

using Sender = std::function<void(DeviceLink&, MultiviewerState&, CommandRoute)>;

struct CommandCase {
    const char* name;
    Sender send;
    // Frame sent by UDP to a device whose row holds type A1, address 07.
    const char* lan_frame;
    // Preview computations (each marks the preview once) after a frame went out.
    int marks;
};

// Every command of the set with the frame it must produce. The state the senders read from is
// prepared by PrepareState (UMD channel 0, resolution channel 3, window 3 labelled "AB").
const std::vector<CommandCase>& CommandCases() {
    using L = DeviceLink;
    using M = MultiviewerState;
    using V = CommandRoute;
    static const std::vector<CommandCase> cases = {
        {"layout 4", [](L& l, M& m, V v) { SendLayout(l, m, v, 4); },
         //  markers len   dev   link reserved (9 bytes)          cmd payload checksum end
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  33  04  06 02  AE", 4},
        {"resolution type 720p50", [](L& l, M& m, V v) { SendResolutionType(l, m, v, 6); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  19  00 06  EF 01  AE", 0},
        {"resolution labels on", [](L& l, M& m, V v) { SendResolutionEnable(l, m, v, 1); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  3A  01  0A 02  AE", 1},
        {"UMD labels on", [](L& l, M& m, V v) { SendUmdEnable(l, m, v, 1); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  36  01  06 02  AE", 1},
        {"label AB for window 3", [](L& l, M& m, V v) { SendUmdLabel(l, m, v, 3); },
         "A5 6C 20 00  A1 07  01   00 00 00 00 00 00 00 00 00  1E  "
         "03  01 00  01 00  01 00  01  41 00 42 00  82 02  AE",
         0},
        {"audio meters off", [](L& l, M& m, V v) { SendAudioEnable(l, m, v, 0); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  37  00  06 02  AE", 1},
        {"audio source 3", [](L& l, M& m, V v) { SendAudioSource(l, m, v, 3); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  39  03  0B 02  AE", 0},
        {"UMD text red, all windows", [](L& l, M& m, V v) { SendUmdTextColor(l, m, v, 2); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  3B  00 02  0D 02  AE", 0},
        {"UMD background red, all windows", [](L& l, M& m, V v) { SendUmdBackColor(l, m, v, 2); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  3C  00 02  0E 02  AE", 1},
        {"resolution text yellow, window 3",
         [](L& l, M& m, V v) { SendResolutionTextColor(l, m, v, 6); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  3D  03 06  16 02  AE", 0},
        {"resolution background violet red, window 3",
         [](L& l, M& m, V v) { SendResolutionBackColor(l, m, v, 9); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  3E  03 09  1A 02  AE", 1},
        {"set default", [](L& l, M& m, V v) { SendSetDefault(l, m, v); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  38  00  07 02  AE", 4},
        {"borders on", [](L& l, M& m, V v) { SendBorderEnable(l, m, v, 1); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  3F  01  0F 02  AE", 0},
        {"lock on", [](L& l, M& m, V v) { SendLockState(l, m, v, 1); },
         "A5 6C 15 00  A1 07  01   00 00 00 00 00 00 00 00 00  50  01  20 02  AE", 0},
        {"input 5 to window 3", [](L& l, M& m, V v) { SendWindowSource(l, m, v, 5, 3); },
         "A5 6C 16 00  A1 07  01   00 00 00 00 00 00 00 00 00  34  05 03  0C 02  AE", 0},
    };
    return cases;
}

// Puts a multiviewer at 127.0.0.1 (type A1, address 07) on a loopback port, and a serial
// device at the far end of a pseudo-terminal.
class MultiviewerCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::SelectPeer(link_, device_, 0xA1, 0x07);
        PrepareState(mv_);
    }
    void TearDown() override { link_.serial_port.ClosePort(); }

    static void PrepareState(MultiviewerState& mv) {
        mv.m_all_16_view_page_data.umd_color_channel = 0;
        mv.m_all_16_view_page_data.resolution_color_channel = 3;
        mv.umd_name[2] = u"AB";
        mv.m_all_16_view_page_data.view_mode_type = 1;
        RecomputePreview(mv);
    }

    void OpenSerial() {
        ASSERT_TRUE(link_.serial_port.OpenPort(pty_.PortName(), 115200))
            << "the serial engine cannot open " << pty_.PortName();
    }

    // Counts the preview marks from here on.
    int& CountMarks() {
        marks_ = 0;
        mv_.mark_preview_area = [this] { ++marks_; };
        return marks_;
    }

    UdpPeer device_;
    PtyPeer pty_{PtyPeer::Line::HeldOpen};
    DeviceLink link_;
    MultiviewerState mv_;
    int marks_ = 0;
};

TEST_F(MultiviewerCommandsTest, LanFramesAndPreviewUpdates) {
    for (const CommandCase& c : CommandCases()) {
        SCOPED_TRACE(c.name);
        mv_ = MultiviewerState{};
        PrepareState(mv_);
        const int& marks = CountMarks();
        c.send(link_, mv_, CommandRoute::Lan);
        const auto datagram = device_.Receive(1000);
        ASSERT_TRUE(datagram.has_value());
        EXPECT_THAT(datagram->bytes, ::testing::ElementsAreArray(Hex(c.lan_frame)));
        EXPECT_EQ(marks, c.marks);
        EXPECT_EQ(link_.m_udpSockfd, -1);  // one shot: the socket is closed again
    }
    EXPECT_FALSE(device_.Receive(50).has_value());
}

TEST_F(MultiviewerCommandsTest, SerialFramesAndPreviewUpdates) {
    ASSERT_NO_FATAL_FAILURE(OpenSerial());
    for (const CommandCase& c : CommandCases()) {
        SCOPED_TRACE(c.name);
        mv_ = MultiviewerState{};
        PrepareState(mv_);
        const int& marks = CountMarks();
        c.send(link_, mv_, CommandRoute::Serial);
        const Bytes expected = SerialForm(Hex(c.lan_frame));
        EXPECT_THAT(pty_.Read(expected.size(), 1000), ::testing::ElementsAreArray(expected));
        EXPECT_EQ(marks, c.marks);
    }
    EXPECT_TRUE(pty_.ReadUntilQuiet(50).empty());
    EXPECT_FALSE(device_.Receive(0).has_value());  // nothing went by UDP
}

TEST_F(MultiviewerCommandsTest, ClosedSerialPortChangesNothingButTheUmdBackgroundBars) {
    for (const CommandCase& c : CommandCases()) {
        SCOPED_TRACE(c.name);
        mv_ = MultiviewerState{};
        PrepareState(mv_);
        mv_.m_all_16_view_page_data.umd_back_color.fill(4);  // not yet in the bar colours
        const MultiviewerState before = mv_;
        const int& marks = CountMarks();
        c.send(link_, mv_, CommandRoute::Serial);

        const bool umd_background = std::string(c.name).starts_with("UMD background");
        EXPECT_EQ(marks, umd_background ? 1 : 0);
        if (umd_background) {
            // Recomputed before the port was even looked at: the bars turned green.
            EXPECT_EQ(mv_.umd_bar_color[0], (RgbColor{0, 255, 0}));
            mv_.umd_bar_color = before.umd_bar_color;
        }
        EXPECT_TRUE(SameState(mv_, before));
    }
    EXPECT_FALSE(device_.Receive(50).has_value());
}

TEST_F(MultiviewerCommandsTest, LanWithoutASelectedDeviceSendsNothingButUpdatesThePreview) {
    link_.m_device_index = -1;
    MessageRecorder messages;
    for (const CommandCase& c : CommandCases()) {
        SCOPED_TRACE(c.name);
        const int& marks = CountMarks();
        c.send(link_, mv_, CommandRoute::Lan);
        EXPECT_EQ(marks, c.marks);
    }
    EXPECT_EQ(messages.texts.size(), CommandCases().size());
    EXPECT_THAT(messages.texts, ::testing::Each(std::string("Please choose a device")));
    EXPECT_FALSE(device_.Receive(50).has_value());
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(MultiviewerCommandsTest, SerialFrameWithoutASelectedRowCarriesZeroDeviceBytes) {
    ASSERT_NO_FATAL_FAILURE(OpenSerial());
    link_.m_device_index = -1;
    SendBorderEnable(link_, mv_, CommandRoute::Serial, 1);
    const Bytes frame = pty_.Read(21, 1000);
    ASSERT_EQ(frame.size(), 21u);
    EXPECT_EQ(frame[4], 0x00);
    EXPECT_EQ(frame[5], 0x00);
    EXPECT_EQ(frame[6], 0x00);
}

TEST_F(MultiviewerCommandsTest, AddressSettingsAlwaysGoByUdp) {
    mv_.new_network_address = {{10, 0, 0, 2}, {255, 0, 0, 0}, {10, 0, 0, 1}};
    link_.SetMode(ConnectionMode::Serial);
    ASSERT_NO_FATAL_FAILURE(OpenSerial());
    SendNetworkAddress(link_, mv_);
    const auto datagram = device_.Receive(1000);
    ASSERT_TRUE(datagram.has_value());
    EXPECT_THAT(datagram->bytes, ::testing::ElementsAreArray(
                                     Hex("A5 6C 20 00  A1 07  01  00 00 00 00 00 00 00 00 00  05  "
                                         "0A 00 00 02  FF 00 00 00  0A 00 00 01  F5 02  AE")));
    EXPECT_TRUE(pty_.ReadUntilQuiet(50).empty());
}

TEST_F(MultiviewerCommandsTest, LabelFrameLengthFollowsTheTextUpTo64Characters) {
    struct Case {
        std::u16string name;
        size_t sent_chars;
    };
    const Case cases[] = {
        {u"", 0},
        {u"CAM 1", 5},
        {u"\u4E2D\u6587", 2},
        {std::u16string(64, u'x'), 64},
        {std::u16string(100, u'y'), 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.size());
        mv_.umd_name[15] = c.name;
        TraceRecorder traces;
        SendUmdLabel(link_, mv_, CommandRoute::Lan, 16);
        const auto datagram = device_.Receive(1000);
        ASSERT_TRUE(datagram.has_value());
        const size_t length = 28 + 2 * c.sent_chars;
        ASSERT_EQ(datagram->bytes.size(), length);
        EXPECT_EQ(datagram->bytes[2], length);
        EXPECT_EQ(datagram->bytes[17], 16);
        for (size_t i = 0; i < c.sent_chars; ++i) {
            EXPECT_EQ(datagram->bytes[25 + 2 * i], c.name[i] & 0xFF);
            EXPECT_EQ(datagram->bytes[26 + 2 * i], c.name[i] >> 8);
        }
        EXPECT_EQ(traces.Count("sendLen = " + std::to_string(length) + " \n "), 1u);
    }
}

TEST_F(MultiviewerCommandsTest, LabelOfAWindowOutsideOneToSixteenSendsNothing) {
    for (uint8_t window : {0, 17, 255}) {
        SendUmdLabel(link_, mv_, CommandRoute::Lan, window);
    }
    EXPECT_FALSE(device_.Receive(50).has_value());
}

// After Set Default the state holds the factory settings the device takes; colours, names,
// sources, border and lock are left alone.
void ExpectDefaultSettings(const MultiviewerState& mv, const MultiviewerState& before) {
    const auto& block = mv.m_all_16_view_page_data;
    EXPECT_EQ(mv.audio_meter_shown, 1);
    EXPECT_EQ(block.audio_enable, 1);
    EXPECT_EQ(block.audio_source, 0);
    EXPECT_EQ(block.view_mode_type, 6);
    EXPECT_EQ(mv.resolution_shown, 0);
    EXPECT_EQ(block.resolution_type, 0);
    EXPECT_EQ(block.resolution_enable, 0);
    EXPECT_EQ(block.umd_enable, 1);
    EXPECT_EQ(mv.umd_shown, 1);
    EXPECT_EQ(mv.m_cur_window_count, 16);
    const auto& old = before.m_all_16_view_page_data;
    EXPECT_EQ(block.umd_text_color, old.umd_text_color);
    EXPECT_EQ(block.umd_back_color, old.umd_back_color);
    EXPECT_EQ(block.resolution_text_color, old.resolution_text_color);
    EXPECT_EQ(block.resolution_back_color, old.resolution_back_color);
    EXPECT_EQ(block.border_enable, old.border_enable);
    EXPECT_EQ(block.lock_state, old.lock_state);
    EXPECT_EQ(mv.umd_name, before.umd_name);
    EXPECT_EQ(mv.window_source, before.window_source);
    // The preview shows the sixteen-window layout.
    EXPECT_EQ(mv.preview_window[15], (PreviewWindow{540, 360, 180, 120, 16}));
}

MultiviewerState NonDefaultState() {
    MultiviewerState mv;
    auto& block = mv.m_all_16_view_page_data;
    block.view_mode_type = 2;
    block.resolution_type = 4;
    block.resolution_enable = 1;
    block.audio_enable = 0;
    block.audio_source = 7;
    block.umd_enable = 0;
    block.border_enable = 1;
    block.lock_state = 1;
    block.umd_back_color.fill(3);
    block.resolution_text_color.fill(9);
    mv.m_cur_window_count = 6;
    mv.resolution_shown = 1;
    mv.window_source.fill(2);
    mv.umd_name[4] = u"PGM";
    RecomputePreview(mv);
    return mv;
}

TEST_F(MultiviewerCommandsTest, SetDefaultResetsTheStateAfterSendingOnEitherLink) {
    for (CommandRoute via : {CommandRoute::Lan, CommandRoute::Serial}) {
        SCOPED_TRACE(via == CommandRoute::Lan ? "LAN" : "serial");
        if (via == CommandRoute::Serial) {
            ASSERT_NO_FATAL_FAILURE(OpenSerial());
        }
        mv_ = NonDefaultState();
        const MultiviewerState before = mv_;
        SendSetDefault(link_, mv_, via);
        ExpectDefaultSettings(mv_, before);
    }
}

TEST_F(MultiviewerCommandsTest, SetDefaultWithoutADeviceStillResetsOnTheLan) {
    // A send that reaches no device leaves the state changed.
    link_.m_device_index = -1;
    MessageRecorder messages;
    mv_ = NonDefaultState();
    const MultiviewerState before = mv_;
    SendSetDefault(link_, mv_, CommandRoute::Lan);
    ExpectDefaultSettings(mv_, before);
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST(MultiviewerLinkChoice, ModeZeroIsTheLanAndEveryOtherModeTheSerialPort) {
    EXPECT_EQ(RouteForMode(ConnectionMode::Lan), CommandRoute::Lan);
    EXPECT_EQ(RouteForMode(ConnectionMode::Serial), CommandRoute::Serial);
}

}  // namespace
}  // namespace panoptix
