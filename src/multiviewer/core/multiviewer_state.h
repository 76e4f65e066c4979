#pragma once
// What the panel knows of the multiviewer's settings. The main window holds it next to the link
// state and keeps it across pages; Qt-free operations take it by reference.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "link/command_frame.h"
#include "multiviewer/core/preview_bars.h"
#include "preview/core/preview_window.h"

namespace panoptix {

inline constexpr int kMultiviewerWindows = 16;

// The multiviewer page-data block: 74 bytes, byte-packed, every field an unsigned byte. Colour
// fields hold colour codes 0-15 for windows 1-16; the two channel bytes say which window the
// colour page colours (0 = all windows, k = window k).
struct All16ViewPageData {
    uint8_t view_mode_type = 0;     // layout index 0-6
    uint8_t resolution_type = 0;    // resolution index 0-8
    uint8_t resolution_enable = 0;  // resolution labels on (not 0)
    uint8_t umd_enable = 0;         // UMD labels on (not 0)
    std::array<uint8_t, kMultiviewerWindows> umd_text_color{};
    std::array<uint8_t, kMultiviewerWindows> umd_back_color{};
    std::array<uint8_t, kMultiviewerWindows> resolution_text_color{};
    std::array<uint8_t, kMultiviewerWindows> resolution_back_color{};
    uint8_t audio_enable = 0;  // audio meters on (not 0)
    uint8_t audio_source = 0;  // audio channel 1-16
    uint8_t umd_color_channel = 1;
    uint8_t resolution_color_channel = 1;
    uint8_t border_enable = 0;  // 0 off, 1 on
    uint8_t lock_state = 0;     // 0 off, 1 on

    // What opening a device page does to the block: all 74 bytes zero, then both colour
    // channels back on window 1.
    void ResetForNewPage();

    bool operator==(const All16ViewPageData&) const = default;
};

static_assert(sizeof(All16ViewPageData) == 74, "the multiviewer block is 74 bytes");
static_assert(offsetof(All16ViewPageData, view_mode_type) == 0);
static_assert(offsetof(All16ViewPageData, resolution_type) == 1);
static_assert(offsetof(All16ViewPageData, resolution_enable) == 2);
static_assert(offsetof(All16ViewPageData, umd_enable) == 3);
static_assert(offsetof(All16ViewPageData, umd_text_color) == 4);
static_assert(offsetof(All16ViewPageData, umd_back_color) == 20);
static_assert(offsetof(All16ViewPageData, resolution_text_color) == 36);
static_assert(offsetof(All16ViewPageData, resolution_back_color) == 52);
static_assert(offsetof(All16ViewPageData, audio_enable) == 68);
static_assert(offsetof(All16ViewPageData, audio_source) == 69);
static_assert(offsetof(All16ViewPageData, umd_color_channel) == 70);
static_assert(offsetof(All16ViewPageData, resolution_color_channel) == 71);
static_assert(offsetof(All16ViewPageData, border_enable) == 72);
static_assert(offsetof(All16ViewPageData, lock_state) == 73);

struct MultiviewerState {
    // Zero at start except the two colour channels (1). Before the first status reply the
    // cleared block names the single-window layout with the labels off.
    All16ViewPageData m_all_16_view_page_data{};

    // Windows of the current layout: 1, 4, 6, 8, 9, 10 or 16.
    int8_t m_cur_window_count = 1;
    // Input 1-16 shown in windows 1-16; 0 when none has been reported.
    std::array<uint8_t, kMultiviewerWindows> window_source{};
    // UMD label of windows 1-16; empty until a device reports its labels or one is sent.
    std::array<std::u16string, kMultiviewerWindows> umd_name{};

    // Whether the preview draws the audio, UMD and resolution bars (0 or 1).
    int32_t audio_meter_shown = 0;
    int32_t umd_shown = 0;
    int32_t resolution_shown = 0;

    // Window 1-16 whose input the next source command sets.
    uint8_t source_window_index = 0;
    // IP address, subnet mask and gateway for the address-settings command.
    NetworkAddress new_network_address{};

    // Set by every status query when it ends (over the LAN always, over the serial port when
    // the port was open); nothing clears it.
    int32_t m_status_query_done = 0;

    // Preview geometry, window 1 first, in pixels of the 720 x 480 preview.
    std::array<PreviewWindow, kMultiviewerWindows> preview_window{};
    std::array<PreviewBar, kMultiviewerWindows> audio_bar{};
    std::array<PreviewBar, kMultiviewerWindows> umd_bar{};
    std::array<PreviewBar, kMultiviewerWindows> resolution_bar{};
    std::array<RgbColor, kMultiviewerWindows> umd_bar_color{};
    std::array<RgbColor, kMultiviewerWindows> resolution_bar_color{};

    // Marks the preview area for redrawing; every preview computation calls it last. The
    // container page sets it when it opens; empty means nobody draws the preview.
    std::function<void()> mark_preview_area;
};

// A layout button press goes ahead once a status query has ended, or while the device is not
// locked (the layout page asks before it acts on a press).
inline bool LayoutSelectionAllowed(const MultiviewerState& state) {
    return state.m_status_query_done != 0 || state.m_all_16_view_page_data.lock_state == 0;
}

}  // namespace panoptix
