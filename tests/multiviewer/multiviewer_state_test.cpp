#include "multiviewer/core/multiviewer_state.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "link/device_link.h"
#include "multiviewer/core/multiviewer_tables.h"

namespace panoptix {
namespace {

// The main window's shared state combines the link's and the multiviewer's members; this only
// compiles while their names stay apart.
struct CombinedState : DeviceLink, MultiviewerState {};

std::array<uint8_t, 74> BlockBytes(const All16ViewPageData& block) {
    std::array<uint8_t, 74> bytes;
    std::memcpy(bytes.data(), &block, bytes.size());
    return bytes;
}

TEST(MultiviewerState, StartsWithTheSingleWindowLayoutLabelsOffAndChannelsOnWindowOne) {
    CombinedState state;
    std::array<uint8_t, 74> expected{};
    expected[70] = 1;  // umd_color_channel
    expected[71] = 1;  // resolution_color_channel
    EXPECT_EQ(BlockBytes(state.m_all_16_view_page_data), expected);
    EXPECT_EQ(state.m_cur_window_count, 1);
    EXPECT_EQ(state.umd_shown, 0);
    EXPECT_EQ(state.audio_meter_shown, 0);
    EXPECT_EQ(state.resolution_shown, 0);
    EXPECT_EQ(state.source_window_index, 0);
    EXPECT_EQ(state.m_status_query_done, 0);
    EXPECT_THAT(state.window_source, ::testing::Each(0));
    EXPECT_THAT(state.umd_name, ::testing::Each(std::u16string()));
    EXPECT_THAT(state.preview_window, ::testing::Each(PreviewWindow{}));
    EXPECT_THAT(state.umd_bar_color, ::testing::Each(RgbColor{}));
    EXPECT_FALSE(state.mark_preview_area);
    EXPECT_EQ(state.m_device_index, -1);  // the link's members are still there, unshadowed
}

TEST(MultiviewerState, OpeningADevicePageZeroesTheBlockButKeepsTheCompanions) {
    MultiviewerState state;
    std::memset(static_cast<void*>(&state.m_all_16_view_page_data), 0x5A,
                sizeof state.m_all_16_view_page_data);
    state.m_cur_window_count = 9;
    state.window_source[3] = 4;
    state.umd_name[2] = u"CAM";
    state.umd_shown = 1;

    state.m_all_16_view_page_data.ResetForNewPage();

    std::array<uint8_t, 74> expected{};
    expected[70] = 1;
    expected[71] = 1;
    EXPECT_EQ(BlockBytes(state.m_all_16_view_page_data), expected);
    EXPECT_EQ(state.m_cur_window_count, 9);
    EXPECT_EQ(state.window_source[3], 4);
    EXPECT_EQ(state.umd_name[2], u"CAM");
    EXPECT_EQ(state.umd_shown, 1);
}

TEST(MultiviewerState, LockHoldsLayoutSelectionOnlyUntilAStatusQueryHasEnded) {
    MultiviewerState state;
    EXPECT_TRUE(LayoutSelectionAllowed(state));
    state.m_all_16_view_page_data.lock_state = 1;
    EXPECT_FALSE(LayoutSelectionAllowed(state));
    state.m_status_query_done = 1;
    EXPECT_TRUE(LayoutSelectionAllowed(state));
}

TEST(MultiviewerTables, LayoutCodesIndicesAndNames) {
    struct Case {
        uint8_t code;
        uint8_t index;
        const char* text;
    };
    const Case cases[] = {
        {1, 0, "单画面"}, {4, 1, "四画面"},  {6, 2, "六画面"},    {8, 3, "八画面"},
        {9, 4, "九画面"}, {10, 5, "十画面"}, {16, 6, "十六画面"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LayoutIndexOfCode(c.code), c.index);
        EXPECT_EQ(LayoutCodeOfIndex(c.index), c.code);
        EXPECT_EQ(LayoutText(c.index), c.text);
    }
    for (uint8_t code : {0, 2, 3, 5, 7, 11, 15, 17, 255}) {
        EXPECT_EQ(LayoutIndexOfCode(code), std::nullopt) << "code " << int{code};
    }
    EXPECT_EQ(LayoutCodeOfIndex(7), std::nullopt);
    EXPECT_EQ(LayoutText(7), "");
}

TEST(MultiviewerTables, ResolutionCodesAreNotInIndexOrder) {
    struct Case {
        uint8_t code;
        uint8_t index;
        const char* text;
    };
    const Case cases[] = {
        {7, 0, "1080p60"}, {11, 1, "1080p50"}, {9, 2, "1080i60"},
        {1, 3, "1080i50"}, {3, 4, "1080p30"},  {13, 5, "1080p25"},
        {5, 6, "1080p24"}, {14, 7, "720p60"},  {6, 8, "720p50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ResolutionIndexOfCode(c.code), c.index);
        EXPECT_EQ(ResolutionCodeOfIndex(c.index), c.code);
        EXPECT_EQ(ResolutionText(c.index), c.text);
    }
    for (uint8_t code : {0, 2, 4, 8, 10, 12, 15, 255}) {
        EXPECT_EQ(ResolutionIndexOfCode(code), std::nullopt) << "code " << int{code};
    }
    EXPECT_EQ(ResolutionCodeOfIndex(9), std::nullopt);
    EXPECT_EQ(ResolutionText(9), "");
}

}  // namespace
}  // namespace panoptix
