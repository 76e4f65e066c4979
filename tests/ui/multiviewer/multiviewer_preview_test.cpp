// The layout preview as painted: ground, window borders and insides, numbers, and the bars
// only while their shown flags are set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>

#include "multiviewer/core/preview_geometry.h"
#include "multiviewer/pages/multiviewer_preview_painter.h"

namespace panoptix {
namespace {

const QColor kGround{152, 152, 152};
const QColor kBorder{89, 187, 255};
const QColor kInside{55, 55, 55};

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

MultiviewerState StateWithLayout(uint8_t view_mode_type) {
    MultiviewerState state;
    state.m_all_16_view_page_data.view_mode_type = view_mode_type;
    RecomputePreview(state);
    return state;
}

TEST(PreviewPainterTest, EightWindowsLeaveTheTopAndBottomBandsGrey) {
    const MultiviewerState state = StateWithLayout(3);
    const QImage image = RenderPreview(state, QApplication::font());
    ASSERT_EQ(image.size(), QSize(720, 480));
    for (const int y : {0, 60, 119, 360, 479}) {
        for (const int x : {0, 200, 719}) {
            EXPECT_EQ(At(image, x, y), kGround) << x << "," << y;
        }
    }
    // Window 1 at 0, 120, 180 x 120: a 2-pixel border round a dark inside.
    EXPECT_EQ(At(image, 0, 130), kBorder);
    EXPECT_EQ(At(image, 1, 130), kBorder);
    EXPECT_EQ(At(image, 2, 130), kInside);
    EXPECT_EQ(At(image, 177, 130), kInside);
    EXPECT_EQ(At(image, 178, 130), kBorder);
    EXPECT_EQ(At(image, 20, 121), kBorder);
    EXPECT_EQ(At(image, 20, 122), kInside);
}

TEST(PreviewPainterTest, WindowNumbersSitOnAWhiteCellNearTheCentre) {
    const MultiviewerState state = StateWithLayout(0);
    const QImage image = RenderPreview(state, QApplication::font());
    // One window: the number's cell starts at (355, 235), white with light-blue text.
    EXPECT_EQ(At(image, 355, 235), QColor(255, 255, 255));
    EXPECT_EQ(At(image, 354, 235), kInside);
    bool has_text_colour = false;
    for (int y = 235; y < 255 && !has_text_colour; ++y) {
        for (int x = 355; x < 365; ++x) {
            const QColor c = At(image, x, y);
            has_text_colour |= c.blue() > 200 && c.red() < 200 && c != QColor(255, 255, 255);
        }
    }
    EXPECT_TRUE(has_text_colour);
    // Records 2-16 are empty: nothing else is drawn.
    EXPECT_EQ(At(image, 700, 20), kInside);
}

TEST(PreviewPainterTest, BarsFollowTheirShownFlagsAndColours) {
    MultiviewerState state;
    state.m_all_16_view_page_data.view_mode_type = 6;
    state.m_all_16_view_page_data.umd_back_color.fill(14);         // "Trans": white
    state.m_all_16_view_page_data.resolution_back_color.fill(11);  // "LightGreen"
    RecomputePreview(state);
    // Window 16's bars: audio 558, 432, 18 x 30; UMD 607, 456, 45 x 12; resolution 684, 372.
    const QPoint audio{565, 445};
    const QPoint umd{620, 460};
    const QPoint resolution{690, 375};

    const QImage without = RenderPreview(state, QApplication::font());
    EXPECT_EQ(At(without, audio.x(), audio.y()), kInside);
    EXPECT_EQ(At(without, umd.x(), umd.y()), kInside);
    EXPECT_EQ(At(without, resolution.x(), resolution.y()), kInside);

    state.audio_meter_shown = 1;
    state.umd_shown = 1;
    state.resolution_shown = 1;
    const QImage with = RenderPreview(state, QApplication::font());
    EXPECT_EQ(At(with, audio.x(), audio.y()), kBorder);
    EXPECT_EQ(At(with, umd.x(), umd.y()), QColor(255, 255, 255));
    EXPECT_EQ(At(with, resolution.x(), resolution.y()), QColor(144, 238, 144));

    // A code above 15 keeps the colour the bar had.
    state.m_all_16_view_page_data.umd_back_color.fill(20);
    ComputeUmdBars(state);
    EXPECT_EQ(At(RenderPreview(state, QApplication::font()), umd.x(), umd.y()),
              QColor(255, 255, 255));
}

}  // namespace
}  // namespace panoptix
