// The panel's own parsers read what the simulator sends: the serial reply parser takes the
// search answer and the status reply, the status decoder fills the multiviewer state. The
// simulator encodes its replies independently, so this checks both sides against each other.
#include <gtest/gtest.h>

#include "devsim_test_frames.h"
#include "link/reply_parser.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer_model.h"

namespace panoptix::devsim {
namespace {

using testing::PanelFrame;

// Feeds the reply in pieces into the panel's serial accumulator, running its parser after
// each piece as the serial polling loop does. Returns the parser's first positive result.
int8_t ParseInPieces(DeviceLink& link, const std::vector<uint8_t>& reply, size_t piece,
                     const StatusFrameDecoder& decode) {
    ClearReceivedBytes(link);
    for (size_t at = 0; at < reply.size(); at += piece) {
        const size_t size = std::min(piece, reply.size() - at);
        AppendReceivedBytes(link, std::span(reply).subspan(at, size));
        if (const int8_t result = ParseReply(link, decode); result > 0) {
            return result;
        }
    }
    return 0;
}

class PanelReadsSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::pair<const char*, const char*> settings[] = {
            {"layout", "9"},
            {"resolution", "14"},
            {"label.3", "Studio \xC3\x9C"},
            {"label.16", ""},
            {"source.2", "5"},
            {"umd_text_color.4", "7"},
            {"border_enable", "0"},
            {"lock_state", "1"},
            {"audio_source", "12"},
            {"umd_enable", "0"},
            {"resolution_back_color", "3"},
        };
        for (const auto& [key, value] : settings) {
            std::string error;
            ASSERT_TRUE(model_.SetStateValue(key, value, error)) << key << ": " << error;
        }
    }

    void ExpectDecoded(const panoptix::MultiviewerState& mv) {
        EXPECT_EQ(mv.m_cur_window_count, 9);
        EXPECT_EQ(mv.m_all_16_view_page_data.view_mode_type, 4);
        EXPECT_EQ(mv.m_all_16_view_page_data.resolution_type, 7);  // code 14: 720p60
        EXPECT_EQ(mv.m_all_16_view_page_data.umd_enable, 0);
        EXPECT_EQ(mv.umd_shown, 0);
        EXPECT_EQ(mv.m_all_16_view_page_data.audio_source, 12);
        EXPECT_EQ(mv.umd_name[0], u"CAM 1");
        EXPECT_EQ(mv.umd_name[2], u"Studio \u00DC");
        EXPECT_EQ(mv.umd_name[15], u"");
        EXPECT_EQ(mv.window_source[1], 5);
        EXPECT_EQ(mv.window_source[15], 16);
        EXPECT_EQ(mv.m_all_16_view_page_data.border_enable, 0);
        EXPECT_EQ(mv.m_all_16_view_page_data.lock_state, 1);
        EXPECT_EQ(mv.m_all_16_view_page_data.umd_text_color[3], 7);
        EXPECT_EQ(mv.m_all_16_view_page_data.umd_back_color[3], 1);
        EXPECT_EQ(mv.m_all_16_view_page_data.resolution_back_color[15], 3);
    }

    MultiviewerModel model_{testing::Identity(DeviceKind::Multiviewer, "ABC", 0xA1)};
};

TEST_F(PanelReadsSimulator, StatusReplyOverUdpDecodes) {
    const auto reply = model_.ReceiveDatagram(PanelFrame(0xA1, 0x32)).reply;
    panoptix::MultiviewerState mv;
    DecodeStatusReply(mv, reply, DecodeTraces::Off);
    ExpectDecoded(mv);
}

TEST_F(PanelReadsSimulator, SerialRepliesAreCutAndDecodedWhateverThePieces) {
    SerialAccumulator serial;
    serial.Append(PanelFrame(0, 0x32, {}, LinkByte::Serial, 0));
    const auto status = model_.ReceiveSerial(*serial.Next()).reply;
    serial.Append(MakeDiscoveryRequest(LinkByte::Serial));
    const auto answer = model_.ReceiveSerial(*serial.Next()).reply;

    for (size_t piece : {1u, 7u, 256u}) {
        SCOPED_TRACE(piece);
        DeviceLink link;
        panoptix::MultiviewerState mv;
        const auto decode = [&](std::span<const uint8_t> frame) {
            DecodeStatusReply(mv, frame, DecodeTraces::Off);
        };
        EXPECT_EQ(ParseInPieces(link, status, piece, decode), 1);
        ExpectDecoded(mv);

        EXPECT_EQ(ParseInPieces(link, answer, piece, decode), 1);
        EXPECT_EQ(link.model_name, u"ABC");
        EXPECT_EQ(link.m_main_com_dev_type, 0xA1);
    }
}

}  // namespace
}  // namespace panoptix::devsim
