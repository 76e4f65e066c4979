#pragma once
// What the panel knows of the quad-view processor. The main window holds it next to the link
// state and the other device blocks, so it outlives the page: a reopened page starts from the
// values of the previous one.
#include <array>
#include <cstdint>

#include "preview/core/preview_window.h"

namespace panoptix {

inline constexpr int kQuadChannels = 4;
inline constexpr uint8_t kLastShowMode = 16;  // show modes 0..16
inline constexpr int kQuadPreviewWindows = 4;

// The quad-view page-data block; zero when the main window starts.
struct AllKv2718PageData {
    uint8_t show_mode = 0;      // show mode in force, 0..16 (a report may name another)
    uint8_t output_format = 0;  // output format code as last reported or chosen (4, 10)
    // The two PIP child channels, each 1..4; the panel never makes them equal (a report may).
    std::array<uint8_t, 2> kora_kv2718_pip_child_ch{};
    uint8_t loop_state = 0;  // 1 = channel loop running, 0 = stopped
    // Per channel 1..4, the signal status its lamp shows (1 = signal, anything else none).
    std::array<uint8_t, kQuadChannels> signal_lamp{};

    bool operator==(const AllKv2718PageData&) const = default;
};

struct QuadviewState {
    AllKv2718PageData m_all_kv2718_page_data{};
    // The four windows of the layout preview, window 1 first.
    std::array<PreviewWindow, kQuadPreviewWindows> quad_preview_window{};
    // The name length each of the four UMD line records of the last status reply gave (its
    // byte 7; a length above 32 is wrong). The reply's bytes that the panel reads carry no
    // name text, and no page sets a name: the lengths are all there is to know of the labels.
    std::array<uint8_t, kQuadChannels> umd_name_length{};
};

}  // namespace panoptix
