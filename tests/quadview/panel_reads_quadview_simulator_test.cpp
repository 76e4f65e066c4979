// The panel and the simulated quad-view processor agree: the panel's decoders read the
// simulator's own replies, and the simulator takes every frame the panel builds, on both links.
// The simulator encodes independently, so this checks both sides against each other.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "quadview/core/quadview_frames.h"
#include "quadview/core/quadview_panel.h"
#include "quadview_model.h"
#include "quadview_test_support.h"
#include "serial_accumulator.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::Bytes;
using ::testing::HasSubstr;
using ::testing::Not;
using testing::RecordingView;

class PanelAndQuadSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        link_.device_table[0].device_type = 0x60;
        link_.device_table[0].device_address = 0x01;
        link_.m_device_index = 0;
    }
    void Set(const char* key, const char* value) {
        std::string error;
        ASSERT_TRUE(model_.SetStateValue(key, value, error)) << key << ": " << error;
    }
    // The simulator's answer to the panel's own query frame.
    Bytes Ask(uint8_t command) {
        const devsim::Response response = model_.ReceiveDatagram(MakeQuadLanFrame(link_, command));
        EXPECT_THAT(response.account, Not(HasSubstr("ignored")));
        return response.reply;
    }
    std::string Tell(const Bytes& frame) { return model_.ReceiveDatagram(frame).account; }
    AllKv2718PageData& block() { return quad_.m_all_kv2718_page_data; }

    devsim::QuadViewModel model_{
        devsim::DeviceIdentity{devsim::DeviceKind::QuadView, "QUAD-VIEW 4", 0x60, 0x01}};
    testing_support::MessageRecorder messages_;  // a send from the panel here would be a fault
    DeviceLink link_;
    QuadviewState quad_;
    RecordingView view_;
    QuadviewPanel panel_{link_, quad_, view_};
};

TEST_F(PanelAndQuadSimulator, StatusReplyDecodesIntoTheSimulatorsState) {
    Set("show_mode", "16");
    Set("output_format", "4");
    Set("pip_child", "3");  // both children 3: the device may report them equal
    Set("loop_state", "1");
    Set("label.3", std::string(32, 'x').c_str());
    const Bytes reply = Ask(0x90);
    ASSERT_EQ(reply.size(), quad_reply::kStatusLength);

    testing_support::TraceRecorder traces;
    const QuadStatusReport report = DecodeQuadStatusReply(reply);
    EXPECT_EQ(report.text_length, 11u);  // "QUAD-VIEW 4"
    panel_.ApplyStatusReport(report);
    EXPECT_EQ(block().show_mode, 16);
    EXPECT_EQ(block().output_format, 4);
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{3, 3}));
    EXPECT_EQ(block().loop_state, 1);
    EXPECT_EQ(traces.Count("line 0 umdNameLen = 4 \n"), 1u);
    EXPECT_EQ(traces.Count("line 2 umdNameLen = 32 \n"), 1u);
    EXPECT_EQ(traces.CountStartingWith("line 2 umdNameLen is wrong"), 0u);
}

TEST_F(PanelAndQuadSimulator, SignalReplyLightsTheSimulatorsChannels) {
    Set("signal.2", "0");
    Set("signal.3", "2");
    const Bytes reply = Ask(0xAA);
    ASSERT_EQ(reply.size(), quad_reply::kSignalLength);
    panel_.ResetLamps();
    panel_.ApplySignalReport(DecodeQuadSignalReply(reply));
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{1, 0, 2, 1}));
}

TEST_F(PanelAndQuadSimulator, EveryPanelFrameIsTakenAndReadsBack) {
    const std::array<uint8_t, 1> format{10};
    const std::array<uint8_t, 2> children{4, 2};
    const std::array<uint8_t, 1> loop{1};
    const std::array<uint8_t, 2> seconds{0xFA, 0x00};
    EXPECT_EQ(Tell(MakeQuadLanFrame(link_, 0x92, format)), "output format 10 (1920x1080_60)");
    EXPECT_EQ(Tell(MakeQuadLanFrame(link_, 0xA5, children)), "PIP child channels 4 and 2");
    EXPECT_EQ(Tell(MakeQuadLanFrame(link_, 0xA6, loop)), "channel loop running");
    EXPECT_EQ(Tell(MakeQuadLanFrame(link_, 0xA7, seconds)), "loop time 250 s");
    EXPECT_EQ(model_.State().loop_time_s, 250);

    // The serial show-mode frame, cut from the simulator's serial stream.
    devsim::SerialAccumulator serial;
    serial.Append(MakeSerialShowModeFrame(3));
    EXPECT_EQ(model_.ReceiveSerial(*serial.Next()).account,
              "show mode 3 (windows 1 and 2, full height)");

    const QuadStatusReport report = DecodeQuadStatusReply(Ask(0x90));
    EXPECT_EQ(report.show_mode, 3);
    EXPECT_EQ(report.output_format, 10);
    EXPECT_EQ(report.pip_child[0], 4);
    EXPECT_EQ(report.pip_child[1], 2);
    EXPECT_EQ(report.loop_state, 1);
}

TEST_F(PanelAndQuadSimulator, PipModeFixUpIsTheSameOnBothSidesSoAReopenedPageReadsItBack) {
    for (uint8_t mode = 7; mode <= 10; ++mode) {
        SCOPED_TRACE(static_cast<int>(mode));
        Set("show_mode", "0");
        Set("pip_child", "1");
        block() = AllKv2718PageData{};
        block().kora_kv2718_pip_child_ch = {1, 1};
        // The operator's click: the panel fixes its children up and sends the mode only.
        // The serial port is closed: the click sends nothing; the frame goes by hand.
        link_.SetMode(ConnectionMode::Serial);
        panel_.ApplyShowMode(mode);
        const std::array<uint8_t, 1> payload{mode};
        Tell(MakeQuadLanFrame(link_, 0x94, payload));

        QuadviewState reopened;
        RecordingView view;
        QuadviewPanel page(link_, reopened, view);
        page.ApplyStatusReport(DecodeQuadStatusReply(Ask(0x90)));
        EXPECT_EQ(reopened.m_all_kv2718_page_data.show_mode, mode);
        EXPECT_EQ(reopened.m_all_kv2718_page_data.kora_kv2718_pip_child_ch,
                  block().kora_kv2718_pip_child_ch);
    }
    EXPECT_TRUE(messages_.texts.empty());
}

Bytes SeedFile(const std::string& name) {
    std::ifstream in(std::string(PANOPTIX_FUZZ_CORPUS) + "/" + name, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(QuadSimulatorSeeds, TheDecodersFuzzSeedsAreTheSimulatorsReplies) {
    devsim::QuadViewModel model{
        devsim::DeviceIdentity{devsim::DeviceKind::QuadView, "QV4", 0x60, 0x01}};
    const Bytes status_query = MakeCommandFrame(DeviceEntry{}, LinkByte::Udp, 0x90);
    const Bytes signal_query = MakeCommandFrame(DeviceEntry{}, LinkByte::Udp, 0xAA);
    EXPECT_EQ(SeedFile("quadview_status/status-reply"), model.ReceiveDatagram(status_query).reply);
    EXPECT_EQ(SeedFile("quadview_signal/signal-reply"), model.ReceiveDatagram(signal_query).reply);
}

}  // namespace
}  // namespace panoptix
