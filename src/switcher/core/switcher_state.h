#pragma once
// What the panel knows of the production switcher. The switcher is never asked for its state:
// this block is the panel's only picture of it, kept by the main window across any number of
// switcher panels and settings pages. Pages draw from it and the button rules change it.
#include <array>
#include <cstddef>
#include <cstdint>

namespace panoptix {

// The switcher page-data block: unsigned bytes in this order, then the three 16-bit PIP values
// (one byte of padding before them keeps them aligned).
struct AllSwitcherPageData {
    uint8_t program_source = 0;   // 1-12 (11 BLK, 12 MP1), 0 none
    uint8_t preview_source = 0;   // 1-12, 0 none
    uint8_t lever_value = 0;      // progress 0-129 of the current transition
    uint8_t lever_direction = 1;  // 0: the next transition runs from the top, 1: from the bottom
    uint8_t transition_rate = 0;  // 0 r1, 1 r2, 2 r3
    uint8_t pip_on = 0;
    uint8_t on_air = 0;
    uint8_t on_air_2 = 0;
    uint8_t bkgd_on = 1;
    uint8_t key1_on = 0;
    uint8_t key2_on = 0;
    uint8_t selected_layer = 0;   // 0 none, 1 PIP, 2 KEY 1, 3 KEY 2
    uint8_t transition_type = 1;  // 1 MIX, 2 DIP, 3 WIPE
    uint8_t ftb_on = 0;
    uint8_t auto_lamp = 0;      // a transition is under way (lever or automatic)
    uint8_t settings_page = 0;  // 0 transition, 1 KEY 1, 2 KEY 2, 3 PIP
    uint8_t dip_source = 0;     // list index
    uint8_t wipe_source = 0;    // list index
    uint8_t wipe_style = 0;     // 0-8
    uint8_t key1_source = 0;    // source list index 0-10
    uint8_t key1_red = 16;
    uint8_t key1_green = 16;
    uint8_t key1_blue = 16;
    uint8_t key2_source = 0;                    // source list index 0-10
    uint8_t chroma_type = 0;                    // 0 "Key Light Blue", 1 "Key Light Green"
    std::array<uint8_t, 2> chroma_red{32, 32};  // indexed by chroma_type
    std::array<uint8_t, 2> chroma_green{32, 220};
    std::array<uint8_t, 2> chroma_blue{220, 32};
    uint8_t pip_source = 0;         // source list index 0-10
    uint8_t pip_border_enable = 0;  // 0/1
    uint8_t pip_border_color = 0;   // 0 White, 1 Red, 2 Green, 3 Blue
    uint8_t pip_border_width = 0;   // index 0-6 of widths 1-7
    uint16_t pip_x = 0;             // as sent: slider position x 16 (0-1920)
    uint16_t pip_y = 0;             // as sent: slider position x 9 (0-1080)
    uint16_t pip_width = 0;         // as sent: slider position x 16 (0-1920)

    bool operator==(const AllSwitcherPageData&) const = default;
};

static_assert(sizeof(AllSwitcherPageData) == 42, "the switcher block: 35 bytes, padding, 3 words");
static_assert(offsetof(AllSwitcherPageData, lever_value) == 2);
static_assert(offsetof(AllSwitcherPageData, settings_page) == 15);
static_assert(offsetof(AllSwitcherPageData, key1_source) == 19);
static_assert(offsetof(AllSwitcherPageData, chroma_type) == 24);
static_assert(offsetof(AllSwitcherPageData, chroma_red) == 25);
static_assert(offsetof(AllSwitcherPageData, pip_source) == 31);
static_assert(offsetof(AllSwitcherPageData, pip_border_width) == 34);
static_assert(offsetof(AllSwitcherPageData, pip_x) == 36);
static_assert(offsetof(AllSwitcherPageData, pip_width) == 40);

// The last lever frame sent (direction, progress), so that a lever reaching its far end can
// tell whether the switcher got the last step.
struct LeverFrameSent {
    uint8_t direction = 0;
    uint8_t progress = 0;
    bool sent = false;  // no lever frame since the main window started
};

struct SwitcherState {
    // Opening values: what the first panel and its pages show; nothing rewrites them later.
    AllSwitcherPageData m_all_switcher_page_data{};
    LeverFrameSent switcher_last_lever_frame{};
};

}  // namespace panoptix
