#include "multiviewer/core/status_decoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "state_compare.h"
#include "status_reply_builder.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::RichReply;
using testing::SameState;
using testing::StatusReplyBuilder;
using testing_support::TraceRecorder;

// A state that differs from every value RichReply() carries, so each stored field shows.
MultiviewerState StaleState() {
    MultiviewerState state;
    auto& block = state.m_all_16_view_page_data;
    block.view_mode_type = 3;
    block.resolution_type = 7;
    block.resolution_enable = 9;
    block.umd_enable = 9;
    block.audio_enable = 9;
    block.audio_source = 9;
    block.border_enable = 9;
    block.lock_state = 9;
    block.umd_text_color.fill(20);
    block.umd_back_color.fill(21);
    block.resolution_text_color.fill(22);
    block.resolution_back_color.fill(23);
    state.m_cur_window_count = 8;
    state.window_source.fill(99);
    state.umd_name.fill(u"old");
    state.audio_meter_shown = 7;
    state.umd_shown = 7;
    state.resolution_shown = 7;
    return state;
}

TEST(StatusDecoder, CompleteReplyFillsEveryField) {
    MultiviewerState state = StaleState();
    DecodeStatusReply(state, RichReply().Frame(), DecodeTraces::Off);

    const auto& block = state.m_all_16_view_page_data;
    EXPECT_EQ(state.m_cur_window_count, 9);
    EXPECT_EQ(block.view_mode_type, 4);
    EXPECT_EQ(block.resolution_type, 5);  // code 13: 1080p25
    EXPECT_EQ(block.umd_enable, 1);
    EXPECT_EQ(state.umd_shown, 1);
    EXPECT_EQ(block.audio_source, 5);
    EXPECT_EQ(block.resolution_enable, 1);
    EXPECT_EQ(state.resolution_shown, 1);
    EXPECT_EQ(state.umd_name[0], u"W1");
    EXPECT_EQ(state.umd_name[15], u"W16");
    EXPECT_EQ(state.window_source[0], 16);
    EXPECT_EQ(state.window_source[15], 1);
    EXPECT_EQ(block.border_enable, 1);
    EXPECT_EQ(block.lock_state, 1);
    for (size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(block.umd_text_color[i], i);
        EXPECT_EQ(block.umd_back_color[i], i);
        EXPECT_EQ(block.resolution_text_color[i], i);
        EXPECT_EQ(block.resolution_back_color[i], i);
    }
    // The colour-page channels and the preview are not part of the reply.
    EXPECT_EQ(block.umd_color_channel, 1);
    EXPECT_EQ(block.resolution_color_channel, 1);
}

TEST(StatusDecoder, AnEnableByteIsStoredAsItCameAndItsFlagIsOneOrZero) {
    MultiviewerState state = StaleState();
    DecodeStatusReply(state,
                      StatusReplyBuilder()
                          .Set(status_reply::kUmdEnable, 0)
                          .Set(status_reply::kAudioEnable, 2)
                          .Set(status_reply::kResolutionEnable, 255)
                          .Frame(),
                      DecodeTraces::Off);
    const auto& block = state.m_all_16_view_page_data;
    EXPECT_EQ(block.umd_enable, 0);
    EXPECT_EQ(state.umd_shown, 0);
    EXPECT_EQ(block.audio_enable, 2);
    EXPECT_EQ(state.audio_meter_shown, 1);
    EXPECT_EQ(block.resolution_enable, 255);
    EXPECT_EQ(state.resolution_shown, 1);
}

TEST(StatusDecoder, LayoutAndResolutionCodesOutsideTheirTables) {
    struct Case {
        uint8_t layout_code;
        uint8_t resolution_code;
        int8_t window_count;
        uint8_t view_mode_type;   // stale value 3 where the code is unknown
        uint8_t resolution_type;  // stale value 7 where the code is unknown
    };
    const Case cases[] = {
        {16, 1, 16, 6, 3},  // sixteen windows; code 1 is 1080i50
        {5, 2, 1, 3, 7},    // neither code known: one window, indices kept
        {1, 7, 1, 0, 0},    // single window; 1080p60
        {0, 0, 1, 3, 7},   {10, 6, 10, 5, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "layout " << int{c.layout_code} << " resolution "
                                          << int{c.resolution_code});
        MultiviewerState state = StaleState();
        DecodeStatusReply(state,
                          StatusReplyBuilder()
                              .Set(status_reply::kLayoutCode, c.layout_code)
                              .Set(status_reply::kResolutionCode, c.resolution_code)
                              .Frame(),
                          DecodeTraces::Off);
        EXPECT_EQ(state.m_cur_window_count, c.window_count);
        EXPECT_EQ(state.m_all_16_view_page_data.view_mode_type, c.view_mode_type);
        EXPECT_EQ(state.m_all_16_view_page_data.resolution_type, c.resolution_type);
    }
}

TEST(StatusDecoder, UmdSlots) {
    struct Case {
        const char* what;
        uint8_t length;
        std::vector<uint8_t> text;
        std::u16string expected;
    };
    const Case cases[] = {
        {"empty label", 0, {0x41, 0x00}, u""},
        {"four characters", 8, {'C', 0, 'A', 0, 'M', 0, '1', 0}, u"CAM1"},
        {"high bytes count", 4, {0x2D, 0x4E, 0x41, 0x00}, u"\u4E2DA"},
        {"ends at a zero unit", 8, {'A', 0, 0, 0, 'B', 0, 'C', 0}, u"A"},
        {"odd length: last byte alone", 3, {'A', 0, 'B', 0x77}, u"AB"},
        {"sixteen characters fill the slot", 32, std::vector<uint8_t>(32, 'x'),
         std::u16string(16, u'\u7878')},
        {"longer than a slot: old name kept", 33, {'N', 0}, u"old"},
        {"length 40: old name kept", 40, {'N', 0}, u"old"},
        {"length 255: old name kept", 255, {'N', 0}, u"old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (size_t slot : {size_t{0}, size_t{6}, size_t{15}}) {
            MultiviewerState state = StaleState();
            DecodeStatusReply(state, StatusReplyBuilder().Umd(slot, c.length, c.text).Frame(),
                              DecodeTraces::Off);
            EXPECT_EQ(state.umd_name[slot], c.expected) << "slot " << slot;
        }
    }
}

TEST(StatusDecoder, AnOverlongLabelDoesNotShiftTheFollowingFields) {
    MultiviewerState state = StaleState();
    auto reply = RichReply();
    reply.Umd(2, 40, std::vector<uint8_t>(32, 'Z'));
    DecodeStatusReply(state, reply.Frame(), DecodeTraces::Off);
    EXPECT_EQ(state.umd_name[1], u"W2");
    EXPECT_EQ(state.umd_name[2], u"old");
    EXPECT_EQ(state.umd_name[3], u"W4");
    EXPECT_EQ(state.window_source[0], 16);
    EXPECT_EQ(state.window_source[15], 1);
    EXPECT_EQ(state.m_all_16_view_page_data.border_enable, 1);
}

// Expected value of one field after decoding a prefix of `length` bytes: the complete reply's
// value when the field's byte is inside, the stale value otherwise.
template <typename T>
T Expect(size_t offset, size_t length, T decoded, T stale) {
    return offset < length ? decoded : stale;
}

TEST(StatusDecoder, AReplyCutShortAtEveryLengthDecodesOnlyWhatItHolds) {
    const std::vector<uint8_t> full = RichReply().Frame();
    MultiviewerState complete = StaleState();
    DecodeStatusReply(complete, full, DecodeTraces::Off);
    const MultiviewerState stale = StaleState();
    const auto& done = complete.m_all_16_view_page_data;
    const auto& old = stale.m_all_16_view_page_data;

    for (size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(::testing::Message() << "length " << length);
        // An exactly sized copy on the heap, so a read past the end is caught under ASan.
        const std::vector<uint8_t> cut(full.begin(), full.begin() + length);
        MultiviewerState state = StaleState();
        DecodeStatusReply(state, cut, DecodeTraces::On);

        const auto& block = state.m_all_16_view_page_data;
        using namespace status_reply;
        ASSERT_EQ(state.m_cur_window_count, Expect(kLayoutCode, length, complete.m_cur_window_count,
                                                   stale.m_cur_window_count));
        ASSERT_EQ(block.view_mode_type,
                  Expect(kLayoutCode, length, done.view_mode_type, old.view_mode_type));
        ASSERT_EQ(block.resolution_type,
                  Expect(kResolutionCode, length, done.resolution_type, old.resolution_type));
        ASSERT_EQ(block.umd_enable, Expect(kUmdEnable, length, done.umd_enable, old.umd_enable));
        ASSERT_EQ(state.umd_shown, Expect(kUmdEnable, length, complete.umd_shown, stale.umd_shown));
        ASSERT_EQ(block.audio_enable,
                  Expect(kAudioEnable, length, done.audio_enable, old.audio_enable));
        ASSERT_EQ(block.audio_source,
                  Expect(kAudioSource, length, done.audio_source, old.audio_source));
        ASSERT_EQ(block.resolution_enable,
                  Expect(kResolutionEnable, length, done.resolution_enable, old.resolution_enable));
        for (size_t slot = 0; slot < 16; ++slot) {
            // A slot is taken only with its length byte and all L text bytes.
            const size_t text_end =
                kUmdSlots + kUmdSlotSize * slot + 1 + full[kUmdSlots + kUmdSlotSize * slot];
            ASSERT_EQ(state.umd_name[slot],
                      text_end <= length ? complete.umd_name[slot] : stale.umd_name[slot])
                << "slot " << slot;
            ASSERT_EQ(state.window_source[slot],
                      Expect(kWindowSources + slot, length, complete.window_source[slot],
                             stale.window_source[slot]));
            ASSERT_EQ(block.umd_text_color[slot],
                      Expect(kColors + slot, length, done.umd_text_color[slot],
                             old.umd_text_color[slot]));
            ASSERT_EQ(block.resolution_back_color[slot],
                      Expect(kColors + 48 + slot, length, done.resolution_back_color[slot],
                             old.resolution_back_color[slot]));
        }
        ASSERT_EQ(block.border_enable,
                  Expect(kBorderEnable, length, done.border_enable, old.border_enable));
        ASSERT_EQ(block.lock_state, Expect(kLockState, length, done.lock_state, old.lock_state));
    }
}

TEST(StatusDecoder, LanTracesReportTheHeaderAndEverySlot) {
    auto reply = RichReply();
    reply.Umd(4, 40, {});
    TraceRecorder traces;
    MultiviewerState state = StaleState();
    DecodeStatusReply(state, reply.Frame(), DecodeTraces::On);

    const auto lines = traces.lines();
    ASSERT_EQ(lines.size(), 4u + 16u);
    EXPECT_EQ(lines[0], "m_p_glo_main_set_or_get_dlg.m_cur_window_count = 9 \n");
    EXPECT_EQ(lines[1], "audio source = 5 \n");
    EXPECT_EQ(lines[2], " mode = 4 ,reso = 5 \n");
    EXPECT_EQ(lines[3], "umd enable 1, audio enable 2 ,audio source 5,reso enable 1  \n");
    EXPECT_EQ(lines[4], "0 line  = 4 \n");
    EXPECT_EQ(lines[8], "4 line  = 40 \n");
    EXPECT_EQ(lines[19], "15 line  = 6 \n");
}

TEST(StatusDecoder, SerialDecodingWritesNoTraces) {
    TraceRecorder traces;
    MultiviewerState state;
    DecodeStatusReply(state, RichReply().Frame(), DecodeTraces::Off);
    EXPECT_TRUE(traces.lines().empty());
}

TEST(StatusDecoder, AFrameEndingBeforeTheFieldsChangesNothing) {
    const MultiviewerState stale = StaleState();
    for (size_t length : {0, 1, 17, 18}) {
        MultiviewerState state = StaleState();
        const auto full = RichReply().Frame();
        DecodeStatusReply(state, std::span(full).first(length), DecodeTraces::On);
        EXPECT_TRUE(SameState(state, stale)) << "length " << length;
    }
}

}  // namespace
}  // namespace panoptix
