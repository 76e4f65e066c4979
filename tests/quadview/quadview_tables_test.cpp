// The quad-view tables: the preview layout of every show mode, which PIP lists a show mode
// enables, the output format list and the rows of stored PIP children.
#include "quadview/core/quadview_tables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace panoptix {
namespace {

using W = PreviewWindow;
using Windows = std::array<PreviewWindow, 4>;

constexpr W kNone{};
constexpr W Full(int32_t label) {
    return {0, 0, 720, 480, label};
}

struct LayoutCase {
    uint8_t show_mode;
    Windows windows;
};

const LayoutCase kLayoutCases[] = {
    {0,
     {W{0, 0, 360, 240, 1}, W{360, 0, 360, 240, 2}, W{0, 240, 360, 240, 3},
      W{360, 240, 360, 240, 4}}},
    {1, {W{0, 120, 360, 240, 1}, W{360, 120, 360, 240, 2}, kNone, kNone}},
    {2, {kNone, kNone, W{0, 120, 360, 240, 3}, W{360, 120, 360, 240, 4}}},
    {3, {W{0, 0, 360, 480, 1}, W{360, 0, 360, 480, 2}, kNone, kNone}},
    {4, {kNone, kNone, W{0, 0, 360, 480, 3}, W{360, 0, 360, 480, 4}}},
    {5, {kNone, kNone, kNone, Full(4)}},
    {6, {kNone, kNone, Full(3), kNone}},
    {7, {kNone, Full(2), kNone, kNone}},
    {8, {Full(1), kNone, kNone, kNone}},
    {9, {Full(1), W{40, 330, 180, 120, 2}, kNone, kNone}},
    {10, {Full(1), W{500, 330, 180, 120, 2}, kNone, kNone}},
    {11, {W{0, 0, 360, 480, 1}, W{360, 0, 360, 480, 2}, kNone, kNone}},
    {12, {kNone, kNone, kNone, Full(4)}},
    {13, {kNone, kNone, Full(3), kNone}},
    {14, {kNone, Full(2), kNone, kNone}},
    {15, {Full(1), kNone, kNone, kNone}},
    {16, {W{180, 0, 360, 240, 1}, W{180, 240, 360, 240, 2}, kNone, kNone}},
    {17, {kNone, kNone, kNone, kNone}},
    {255, {kNone, kNone, kNone, kNone}},
};

TEST(QuadLayoutTest, EveryShowModeGivesItsWindowsAndClearsTheRest) {
    for (const LayoutCase& c : kLayoutCases) {
        SCOPED_TRACE(static_cast<int>(c.show_mode));
        QuadviewState quad;
        // Left over from another layout: every window must be overwritten or cleared.
        quad.quad_preview_window.fill(W{1, 2, 3, 4, 9});
        quad.m_all_kv2718_page_data.show_mode = c.show_mode;
        ComputeQuadLayout(quad);
        EXPECT_EQ(quad.quad_preview_window, c.windows);
    }
}

TEST(PipListTest, ShowModeAndLoopDecideWhichListsAreEnabled) {
    constexpr auto K = ListChange::Keep;
    constexpr auto D = ListChange::Disable;
    constexpr auto E = ListChange::Enable;
    struct Case {
        std::vector<uint8_t> modes;
        PipListChanges loop_running;
        PipListChanges loop_stopped;
    };
    const Case cases[] = {
        {{0, 1, 2, 3, 4, 12, 13, 14, 15}, {D, D}, {D, D}},
        {{5, 6, 17, 255}, {K, K}, {K, K}},
        {{7, 8, 9, 10}, {D, D}, {D, E}},
        {{11, 16}, {D, D}, {E, E}},
    };
    for (const Case& c : cases) {
        for (uint8_t mode : c.modes) {
            SCOPED_TRACE(static_cast<int>(mode));
            EXPECT_EQ(PipListChangesFor(mode, 1), c.loop_running);
            EXPECT_EQ(PipListChangesFor(mode, 7), c.loop_running);  // any value but 0 runs
            EXPECT_EQ(PipListChangesFor(mode, 0), c.loop_stopped);
        }
    }
}

TEST(OutputFormatTest, RowsAndCodesMatchByCode) {
    EXPECT_EQ(OutputFormatCodeOfRow(0), 4);
    EXPECT_EQ(OutputFormatCodeOfRow(1), 10);
    EXPECT_EQ(OutputFormatCodeOfRow(2), std::nullopt);
    EXPECT_EQ(OutputFormatCodeOfRow(-1), std::nullopt);
    EXPECT_EQ(OutputFormatRowOfCode(4), 0);
    EXPECT_EQ(OutputFormatRowOfCode(10), 1);
    // Codes that happen to be row numbers are not rows.
    for (uint8_t code : {0, 1, 2, 255}) {
        EXPECT_EQ(OutputFormatRowOfCode(code), std::nullopt) << static_cast<int>(code);
    }
}

TEST(PipRowTest, OnlyChannelsOneToFourHaveARow) {
    EXPECT_EQ(PipRowOfChild(1), 0);
    EXPECT_EQ(PipRowOfChild(4), 3);
    for (uint8_t child : {0, 5, 255}) {
        EXPECT_EQ(PipRowOfChild(child), kNoRow) << static_cast<int>(child);
    }
}

}  // namespace
}  // namespace panoptix
