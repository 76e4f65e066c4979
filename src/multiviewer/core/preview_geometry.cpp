#include "multiviewer/core/preview_geometry.h"

#include <array>
#include <span>

#include "link/trace_events.h"
#include "multiviewer/core/color_table.h"

namespace panoptix {
namespace {

struct Rect {
    int32_t x, y, width, height;
};

// Window rectangles of each layout index, window 1 first.
constexpr std::array<Rect, 1> kSingle{{{0, 0, 720, 480}}};

constexpr std::array<Rect, 4> kQuad{{
    {0, 0, 360, 240},
    {360, 0, 360, 240},
    {0, 240, 360, 240},
    {360, 240, 360, 240},
}};

// One large window top left, two beside it, three along the bottom.
constexpr std::array<Rect, 6> kSix{{
    {0, 0, 480, 320},
    {480, 0, 240, 160},
    {480, 160, 240, 160},
    {0, 320, 240, 160},
    {240, 320, 240, 160},
    {480, 320, 240, 160},
}};

// A 4 x 2 grid in the middle band; the top and bottom bands stay empty.
constexpr std::array<Rect, 8> kEight{{
    {0, 120, 180, 120},
    {180, 120, 180, 120},
    {360, 120, 180, 120},
    {540, 120, 180, 120},
    {0, 240, 180, 120},
    {180, 240, 180, 120},
    {360, 240, 180, 120},
    {540, 240, 180, 120},
}};

constexpr std::array<Rect, 9> kNine{{
    {0, 0, 240, 160},
    {240, 0, 240, 160},
    {480, 0, 240, 160},
    {0, 160, 240, 160},
    {240, 160, 240, 160},
    {480, 160, 240, 160},
    {0, 320, 240, 160},
    {240, 320, 240, 160},
    {480, 320, 240, 160},
}};

// Two large windows on top, a 4 x 2 grid of small ones below.
constexpr std::array<Rect, 10> kTen{{
    {0, 0, 360, 240},
    {360, 0, 360, 240},
    {0, 240, 180, 120},
    {180, 240, 180, 120},
    {360, 240, 180, 120},
    {540, 240, 180, 120},
    {0, 360, 180, 120},
    {180, 360, 180, 120},
    {360, 360, 180, 120},
    {540, 360, 180, 120},
}};

constexpr std::array<Rect, 16> kSixteen{{
    {0, 0, 180, 120},
    {180, 0, 180, 120},
    {360, 0, 180, 120},
    {540, 0, 180, 120},
    {0, 120, 180, 120},
    {180, 120, 180, 120},
    {360, 120, 180, 120},
    {540, 120, 180, 120},
    {0, 240, 180, 120},
    {180, 240, 180, 120},
    {360, 240, 180, 120},
    {540, 240, 180, 120},
    {0, 360, 180, 120},
    {180, 360, 180, 120},
    {360, 360, 180, 120},
    {540, 360, 180, 120},
}};

// Indexed by view_mode_type.
constexpr std::array<std::span<const Rect>, 7> kLayoutWindows{
    kSingle, kQuad, kSix, kEight, kNine, kTen, kSixteen,
};

void MarkPreviewArea(const MultiviewerState& state) {
    if (state.mark_preview_area) {
        state.mark_preview_area();
    }
}

// One bar per window, placed by fractions of the window (multiplication before division).
template <typename Place>
void ComputeBars(const MultiviewerState& state, std::array<PreviewBar, kMultiviewerWindows>& bars,
                 Place place) {
    for (size_t window = 0; window < kMultiviewerWindows; ++window) {
        bars[window] = place(state.preview_window[window]);
    }
}

}  // namespace

void ComputeLayoutGeometry(MultiviewerState& state) {
    state.preview_window.fill(PreviewWindow{});
    const uint8_t layout = state.m_all_16_view_page_data.view_mode_type;
    if (layout < kLayoutWindows.size()) {
        const auto windows = kLayoutWindows[layout];
        for (size_t window = 0; window < windows.size(); ++window) {
            const Rect& rect = windows[window];
            state.preview_window[window] = {rect.x, rect.y, rect.width, rect.height,
                                            static_cast<int32_t>(window + 1)};
        }
    }
    MarkPreviewArea(state);
}

void ComputeAudioBars(MultiviewerState& state) {
    ComputeBars(state, state.audio_bar, [](const PreviewWindow& w) {
        return PreviewBar{w.x + w.width / 10, w.y + 3 * w.height / 5, w.width / 10, w.height / 4};
    });
    MarkPreviewArea(state);
}

void ComputeUmdBars(MultiviewerState& state) {
    trace::DrawUmdColor();
    ComputeBars(state, state.umd_bar, [](const PreviewWindow& w) {
        return PreviewBar{w.x + 3 * w.width / 8, w.y + 4 * w.height / 5, w.width / 4,
                          w.height / 10};
    });
    const auto& block = state.m_all_16_view_page_data;
    for (size_t window = 0; window < kMultiviewerWindows; ++window) {
        ApplyColorCode(block.umd_back_color[window], state.umd_bar_color[window]);
    }
    MarkPreviewArea(state);
}

void ComputeResolutionBars(MultiviewerState& state) {
    ComputeBars(state, state.resolution_bar, [](const PreviewWindow& w) {
        return PreviewBar{w.x + 4 * w.width / 5, w.y + w.height / 10, w.width / 6, w.height / 10};
    });
    const auto& block = state.m_all_16_view_page_data;
    for (size_t window = 0; window < kMultiviewerWindows; ++window) {
        ApplyColorCode(block.resolution_back_color[window], state.resolution_bar_color[window]);
    }
    MarkPreviewArea(state);
}

void RecomputePreview(MultiviewerState& state) {
    ComputeLayoutGeometry(state);
    ComputeAudioBars(state);
    ComputeUmdBars(state);
    ComputeResolutionBars(state);
}

}  // namespace panoptix
