#include "multiviewer/core/preview_geometry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "multiviewer/core/color_table.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing_support::TraceRecorder;

struct Rect {
    int32_t x, y, width, height;
};

MultiviewerState StateWithLayout(uint8_t view_mode_type) {
    MultiviewerState state;
    state.m_all_16_view_page_data.view_mode_type = view_mode_type;
    return state;
}

TEST(PreviewGeometry, EveryLayoutPlacesItsWindowsAndClearsTheRest) {
    struct Case {
        uint8_t view_mode_type;
        std::vector<Rect> windows;
    };
    const std::vector<Case> cases = {
        {0, {{0, 0, 720, 480}}},
        {1, {{0, 0, 360, 240}, {360, 0, 360, 240}, {0, 240, 360, 240}, {360, 240, 360, 240}}},
        {2,
         {{0, 0, 480, 320},
          {480, 0, 240, 160},
          {480, 160, 240, 160},
          {0, 320, 240, 160},
          {240, 320, 240, 160},
          {480, 320, 240, 160}}},
        {3,
         {{0, 120, 180, 120},
          {180, 120, 180, 120},
          {360, 120, 180, 120},
          {540, 120, 180, 120},
          {0, 240, 180, 120},
          {180, 240, 180, 120},
          {360, 240, 180, 120},
          {540, 240, 180, 120}}},
        {4,
         {{0, 0, 240, 160},
          {240, 0, 240, 160},
          {480, 0, 240, 160},
          {0, 160, 240, 160},
          {240, 160, 240, 160},
          {480, 160, 240, 160},
          {0, 320, 240, 160},
          {240, 320, 240, 160},
          {480, 320, 240, 160}}},
        {5,
         {{0, 0, 360, 240},
          {360, 0, 360, 240},
          {0, 240, 180, 120},
          {180, 240, 180, 120},
          {360, 240, 180, 120},
          {540, 240, 180, 120},
          {0, 360, 180, 120},
          {180, 360, 180, 120},
          {360, 360, 180, 120},
          {540, 360, 180, 120}}},
        {6, {}},  // the 4 x 4 grid, checked below
        {7, {}},  // not a layout index: nothing
        {255, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "view_mode_type " << int{c.view_mode_type});
        std::vector<Rect> windows = c.windows;
        if (c.view_mode_type == 6) {
            for (int32_t row = 0; row < 4; ++row) {
                for (int32_t column = 0; column < 4; ++column) {
                    windows.push_back({180 * column, 120 * row, 180, 120});
                }
            }
        }
        MultiviewerState state = StateWithLayout(c.view_mode_type);
        state.preview_window.fill({1, 2, 3, 4, 5});  // a previous layout's leftovers
        ComputeLayoutGeometry(state);
        for (size_t k = 0; k < 16; ++k) {
            const PreviewWindow expected =
                k < windows.size() ? PreviewWindow{windows[k].x, windows[k].y, windows[k].width,
                                                   windows[k].height, static_cast<int32_t>(k + 1)}
                                   : PreviewWindow{};
            EXPECT_EQ(state.preview_window[k], expected) << "window " << k + 1;
        }
    }
}

TEST(PreviewGeometry, EightWindowLayoutLeavesTheTopAndBottomBandsEmpty) {
    MultiviewerState state = StateWithLayout(3);
    RecomputePreview(state);
    for (const PreviewWindow& w : state.preview_window) {
        if (w.width > 0 && w.height > 0) {
            EXPECT_GE(w.y, 120);
            EXPECT_LE(w.y + w.height, 360);
        }
    }
}

TEST(PreviewGeometry, BarsOfWindowSixteenInTheSixteenWindowLayout) {
    MultiviewerState state = StateWithLayout(6);
    RecomputePreview(state);
    EXPECT_EQ(state.preview_window[15], (PreviewWindow{540, 360, 180, 120, 16}));
    EXPECT_EQ(state.audio_bar[15], (PreviewBar{558, 432, 18, 30}));
    EXPECT_EQ(state.umd_bar[15], (PreviewBar{607, 456, 45, 12}));
    EXPECT_EQ(state.resolution_bar[15], (PreviewBar{684, 372, 30, 12}));
}

TEST(PreviewGeometry, BarsMultiplyBeforeDividing) {
    // The small windows of the ten-window layout (180 x 120) are where the order shows:
    // 3 * 180 / 8 = 67, while 3 * (180 / 8) would be 66.
    MultiviewerState state = StateWithLayout(5);
    RecomputePreview(state);
    EXPECT_EQ(state.umd_bar[2], (PreviewBar{67, 336, 45, 12}));
    EXPECT_EQ(state.audio_bar[0], (PreviewBar{36, 144, 36, 60}));
    EXPECT_EQ(state.resolution_bar[1], (PreviewBar{648, 24, 60, 24}));
}

TEST(PreviewGeometry, WindowsBeyondTheLayoutGiveZeroSizedBars) {
    MultiviewerState state = StateWithLayout(0);
    state.audio_bar.fill({9, 9, 9, 9});
    RecomputePreview(state);
    EXPECT_EQ(state.preview_window[0], (PreviewWindow{0, 0, 720, 480, 1}));
    for (size_t k = 1; k < 16; ++k) {
        EXPECT_EQ(state.preview_window[k], PreviewWindow{});
        EXPECT_EQ(state.audio_bar[k], PreviewBar{});
        EXPECT_EQ(state.umd_bar[k], PreviewBar{});
        EXPECT_EQ(state.resolution_bar[k], PreviewBar{});
    }
}

TEST(PreviewGeometry, BarColoursFollowTheBackgroundCodesAndIgnoreCodesAbove15) {
    MultiviewerState state = StateWithLayout(6);
    auto& block = state.m_all_16_view_page_data;
    for (uint8_t code = 0; code < 16; ++code) {
        block.umd_back_color[code] = code;
        block.resolution_back_color[code] = static_cast<uint8_t>(15 - code);
    }
    RecomputePreview(state);
    EXPECT_EQ(state.umd_bar_color[2], (RgbColor{255, 0, 0}));             // Red
    EXPECT_EQ(state.umd_bar_color[8], (RgbColor{186, 183, 186}));         // Gray
    EXPECT_EQ(state.umd_bar_color[14], (RgbColor{255, 255, 255}));        // Trans paints white
    EXPECT_EQ(state.resolution_bar_color[0], (RgbColor{245, 245, 245}));  // HalfTrans
    EXPECT_EQ(state.resolution_bar_color[6], (RgbColor{219, 112, 147}));  // VioletRed

    block.umd_back_color[2] = 20;
    block.resolution_back_color[6] = 16;
    block.umd_back_color[3] = 4;
    RecomputePreview(state);
    EXPECT_EQ(state.umd_bar_color[2], (RgbColor{255, 0, 0}));  // unchanged
    EXPECT_EQ(state.resolution_bar_color[6], (RgbColor{219, 112, 147}));
    EXPECT_EQ(state.umd_bar_color[3], (RgbColor{0, 255, 0}));  // Green
}

TEST(PreviewGeometry, ColourTableNamesAndColours) {
    const char* names[] = {"Black",     "Blue",        "Red",       "Magenta",
                           "Green",     "Cyan",        "Yellow",    "White",
                           "Gray",      "VioletRed",   "LightBlue", "LightGreen",
                           "LightCyan", "LightYellow", "Trans",     "HalfTrans"};
    for (uint8_t code = 0; code < 16; ++code) {
        EXPECT_EQ(kColorTable[code].name, names[code]);
    }
    EXPECT_EQ(ColorOfCode(10), (RgbColor{173, 216, 230}));
    EXPECT_EQ(ColorOfCode(13), (RgbColor{255, 255, 224}));
    EXPECT_EQ(ColorOfCode(16), std::nullopt);
}

TEST(PreviewGeometry, EveryComputationMarksThePreviewAndUmdBarsTrace) {
    MultiviewerState state = StateWithLayout(1);
    int marks = 0;
    state.mark_preview_area = [&marks] { ++marks; };
    TraceRecorder traces;

    ComputeLayoutGeometry(state);
    EXPECT_EQ(marks, 1);
    ComputeAudioBars(state);
    ComputeResolutionBars(state);
    EXPECT_EQ(marks, 3);
    EXPECT_EQ(traces.Count("draw  umd color \n"), 0u);
    ComputeUmdBars(state);
    EXPECT_EQ(marks, 4);
    EXPECT_EQ(traces.Count("draw  umd color \n"), 1u);
    RecomputePreview(state);
    EXPECT_EQ(marks, 8);

    // Without a callback the computations still run.
    state.mark_preview_area = nullptr;
    RecomputePreview(state);
    EXPECT_EQ(state.preview_window[3], (PreviewWindow{360, 240, 360, 240, 4}));
}

}  // namespace
}  // namespace panoptix
