// A multiviewer status reply cut short at every possible length, on each way it reaches the
// decoder: handed over directly, as a datagram to the LAN query, and as a frame the serial
// reply parser cuts out of its accumulator. Every frame is an exact-size heap copy, so a read
// past its end fails under ASan; and the state must show exactly the fields the frame holds,
// every other field keeping its value from before.
#include <gtest/gtest.h>

#include <span>
#include <thread>
#include <vector>

#include "fault_support.h"
#include "link/device_link.h"
#include "link/reply_parser.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/core/status_query.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using testing_support::UdpPeer;

constexpr size_t kFullLength = 669;

bool SameDecodedState(const MultiviewerState& a, const MultiviewerState& b) {
    return a.m_all_16_view_page_data == b.m_all_16_view_page_data &&
           a.m_cur_window_count == b.m_cur_window_count && a.window_source == b.window_source &&
           a.umd_name == b.umd_name && a.umd_shown == b.umd_shown &&
           a.audio_meter_shown == b.audio_meter_shown && a.resolution_shown == b.resolution_shown;
}

MultiviewerState Decoded(const std::vector<uint8_t>& frame) {
    MultiviewerState state;
    DecodeStatusReply(state, frame, DecodeTraces::Off);
    return state;
}

// What decoding a frame whose first `held` bytes are those of the full reply gives, on top of
// `before`: a field is taken when its byte lies among them, a label when its length byte and
// all of its text do.
MultiviewerState ExpectedAfterCut(const MultiviewerState& before, const MultiviewerState& full,
                                  const std::vector<uint8_t>& reply, size_t held) {
    MultiviewerState expected = before;
    auto& block = expected.m_all_16_view_page_data;
    const auto& full_block = full.m_all_16_view_page_data;
    const auto holds = [held](size_t offset) { return offset < held; };
    if (holds(18)) {
        expected.m_cur_window_count = full.m_cur_window_count;
        block.view_mode_type = full_block.view_mode_type;
    }
    if (holds(19)) {
        block.resolution_type = full_block.resolution_type;
    }
    if (holds(20)) {
        block.umd_enable = full_block.umd_enable;
        expected.umd_shown = full.umd_shown;
    }
    if (holds(21)) {
        block.audio_enable = full_block.audio_enable;
        expected.audio_meter_shown = full.audio_meter_shown;
    }
    if (holds(22)) {
        block.audio_source = full_block.audio_source;
    }
    if (holds(23)) {
        block.resolution_enable = full_block.resolution_enable;
        expected.resolution_shown = full.resolution_shown;
    }
    for (size_t window = 0; window < 16; ++window) {
        const size_t slot = 24 + 33 * window;
        if (holds(slot) && slot + reply[slot] < held) {
            expected.umd_name[window] = full.umd_name[window];
        }
        if (holds(552 + window)) {
            expected.window_source[window] = full.window_source[window];
        }
    }
    if (holds(600)) {
        block.border_enable = full_block.border_enable;
    }
    if (holds(601)) {
        block.lock_state = full_block.lock_state;
    }
    for (size_t i = 0; i < 16; ++i) {
        if (holds(602 + i)) {
            block.umd_text_color[i] = full_block.umd_text_color[i];
        }
        if (holds(618 + i)) {
            block.umd_back_color[i] = full_block.umd_back_color[i];
        }
        if (holds(634 + i)) {
            block.resolution_text_color[i] = full_block.resolution_text_color[i];
        }
        if (holds(650 + i)) {
            block.resolution_back_color[i] = full_block.resolution_back_color[i];
        }
    }
    return expected;
}

class CutReplyTest : public ::testing::Test {
  protected:
    const std::vector<uint8_t> reply = fault::StatusReply(LinkByte::Udp, 0);
    const MultiviewerState before = Decoded(fault::StatusReply(LinkByte::Udp, 1));
    const MultiviewerState full = [this] {
        MultiviewerState state = before;
        DecodeStatusReply(state, reply, DecodeTraces::Off);
        return state;
    }();
    const fault::TraceCounter quiet{""};
};

TEST_F(CutReplyTest, DecoderTakesExactlyTheFieldsTheFrameHolds) {
    ASSERT_EQ(reply.size(), kFullLength);
    for (size_t held = 0; held <= kFullLength; ++held) {
        const std::vector<uint8_t> cut(reply.begin(), reply.begin() + held);
        MultiviewerState state = before;
        DecodeStatusReply(state, cut, DecodeTraces::On);
        ASSERT_TRUE(SameDecodedState(state, ExpectedAfterCut(before, full, reply, held)))
            << "cut at " << held << " bytes";
    }
}

TEST_F(CutReplyTest, LanQueryDecodesACutDatagramAsFarAsItGoes) {
    UdpPeer device;
    ASSERT_TRUE(device.valid());
    DeviceLink link;
    testing_support::SelectPeer(link, device, device_type::kMultiviewer, 0x00);

    // A datagram shorter than 17 bytes has no command byte and is not a reply at all.
    for (size_t held = kFrameCommandOffset + 1; held <= kFullLength; ++held) {
        const std::vector<uint8_t> cut(reply.begin(), reply.begin() + held);
        std::thread device_side([&] {
            if (device.Receive(1000)) {
                device.Reply(cut);
            }
        });
        MultiviewerState state = before;
        QueryStatusOverLan(link, state);
        device_side.join();
        ASSERT_TRUE(SameDecodedState(state, ExpectedAfterCut(before, full, reply, held)))
            << "cut at " << held << " bytes";
    }
}

// On the serial link a frame carries its own length: a device that sends a shorter 0x32 frame
// (length field, checksum and end marker all consistent) has exactly that frame handed to the
// decoder, not the bytes that follow it in the accumulator, and the decoder stays inside it.
TEST_F(CutReplyTest, SerialParserHandsOverShortFramesWhole) {
    const std::vector<uint8_t> serial_reply = fault::StatusReply(LinkByte::Serial, 0);
    const std::span<const uint8_t> payload =
        std::span(serial_reply).subspan(kFramePayloadOffset, kFullLength - kFrameOverhead);
    DeviceEntry multiviewer;
    multiviewer.device_type = device_type::kMultiviewer;
    multiviewer.device_address = 0x01;

    DeviceLink link;
    for (size_t length = kFrameOverhead; length <= kFullLength; ++length) {
        const auto frame =
            MakeCommandFrame(multiviewer, LinkByte::Serial, command::kMultiviewerStatus,
                             payload.first(length - kFrameOverhead));
        ClearReceivedBytes(link);
        AppendReceivedBytes(link, frame);
        AppendReceivedBytes(link, std::vector<uint8_t>(16, 0x5A));  // the start of something else

        MultiviewerState state = before;
        std::vector<std::vector<uint8_t>> handed_over;
        const int8_t result = ParseReply(link, [&](std::span<const uint8_t> got) {
            handed_over.emplace_back(got.begin(), got.end());
            DecodeStatusReply(state, handed_over.back(), DecodeTraces::Off);
        });
        ASSERT_EQ(result, 1) << "frame of " << length << " bytes";
        ASSERT_EQ(handed_over, std::vector<std::vector<uint8_t>>{frame})
            << "frame of " << length << " bytes";
    }
}

// Pieces of a reply that is still arriving are never handed over.
TEST_F(CutReplyTest, SerialParserWaitsForTheLastByte) {
    const std::vector<uint8_t> serial_reply = fault::StatusReply(LinkByte::Serial, 0);
    DeviceLink link;
    for (size_t held = 0; held < kFullLength; ++held) {
        ClearReceivedBytes(link);
        AppendReceivedBytes(link, std::span(serial_reply).first(held));
        int handed_over = 0;
        ASSERT_EQ(ParseReply(link, [&](std::span<const uint8_t>) { ++handed_over; }), 0)
            << "after " << held << " bytes";
        ASSERT_EQ(handed_over, 0);
    }
    ClearReceivedBytes(link);
    AppendReceivedBytes(link, serial_reply);
    MultiviewerState state = before;
    EXPECT_EQ(ParseReply(link,
                         [&](std::span<const uint8_t> frame) {
                             DecodeStatusReply(state, frame, DecodeTraces::Off);
                         }),
              1);
    EXPECT_TRUE(SameDecodedState(state, full));
}

}  // namespace
}  // namespace panoptix
