#include "quadview/core/quadview_tables.h"

#include <algorithm>

namespace panoptix {
namespace {

struct Rect {
    int32_t x, y, width, height;
};
constexpr Rect kNone{0, 0, 0, 0};
constexpr Rect kFull{0, 0, 720, 480};

// Windows 1..4 of each show mode 0..16; a window of zero size is not drawn.
constexpr std::array<std::array<Rect, kQuadPreviewWindows>, kLastShowMode + 1> kLayouts{{
    {{{0, 0, 360, 240}, {360, 0, 360, 240}, {0, 240, 360, 240}, {360, 240, 360, 240}}},  // 0
    {{{0, 120, 360, 240}, {360, 120, 360, 240}, kNone, kNone}},                          // 1
    {{kNone, kNone, {0, 120, 360, 240}, {360, 120, 360, 240}}},                          // 2
    {{{0, 0, 360, 480}, {360, 0, 360, 480}, kNone, kNone}},                              // 3
    {{kNone, kNone, {0, 0, 360, 480}, {360, 0, 360, 480}}},                              // 4
    {{kNone, kNone, kNone, kFull}},                                                      // 5
    {{kNone, kNone, kFull, kNone}},                                                      // 6
    {{kNone, kFull, kNone, kNone}},                                                      // 7
    {{kFull, kNone, kNone, kNone}},                                                      // 8
    {{kFull, {40, 330, 180, 120}, kNone, kNone}},                                        // 9
    {{kFull, {500, 330, 180, 120}, kNone, kNone}},                                       // 10
    {{{0, 0, 360, 480}, {360, 0, 360, 480}, kNone, kNone}},                              // 11
    {{kNone, kNone, kNone, kFull}},                                                      // 12
    {{kNone, kNone, kFull, kNone}},                                                      // 13
    {{kNone, kFull, kNone, kNone}},                                                      // 14
    {{kFull, kNone, kNone, kNone}},                                                      // 15
    {{{180, 0, 360, 240}, {180, 240, 360, 240}, kNone, kNone}},                          // 16
}};

}  // namespace

void ComputeQuadLayout(QuadviewState& quad) {
    quad.quad_preview_window.fill(PreviewWindow{});
    const uint8_t mode = quad.m_all_kv2718_page_data.show_mode;
    if (mode > kLastShowMode) {
        return;
    }
    for (size_t w = 0; w < quad.quad_preview_window.size(); ++w) {
        const Rect& r = kLayouts[mode][w];
        if (r.width > 0 && r.height > 0) {
            quad.quad_preview_window[w] =
                PreviewWindow{r.x, r.y, r.width, r.height, static_cast<int32_t>(w + 1)};
        }
    }
}

PipListChanges PipListChangesFor(uint8_t show_mode, uint8_t loop_state) {
    constexpr PipListChanges kBothDisabled{ListChange::Disable, ListChange::Disable};
    const bool loop_running = loop_state != 0;
    if (show_mode <= 4 || (show_mode >= 12 && show_mode <= 15)) {
        return kBothDisabled;
    }
    if (show_mode >= 7 && show_mode <= 10) {
        return loop_running ? kBothDisabled
                            : PipListChanges{ListChange::Disable, ListChange::Enable};
    }
    if (show_mode == 11 || show_mode == 16) {
        return loop_running ? kBothDisabled
                            : PipListChanges{ListChange::Enable, ListChange::Enable};
    }
    return {};  // 5, 6 and past 16
}

std::optional<uint8_t> OutputFormatCodeOfRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= kOutputFormatTable.size()) {
        return std::nullopt;
    }
    return kOutputFormatTable[static_cast<size_t>(row)].code;
}

std::optional<int> OutputFormatRowOfCode(uint8_t code) {
    const auto row = std::find_if(kOutputFormatTable.begin(), kOutputFormatTable.end(),
                                  [code](const OutputFormatRow& r) { return r.code == code; });
    if (row == kOutputFormatTable.end()) {
        return std::nullopt;
    }
    return static_cast<int>(row - kOutputFormatTable.begin());
}

int PipRowOfChild(uint8_t child) {
    return child >= 1 && child <= kQuadChannels ? child - 1 : kNoRow;
}

}  // namespace panoptix
