#pragma once
// The multiviewer preview's own records: the bars drawn inside its windows and their colours.
#include <cstdint>

namespace panoptix {

// A bar (audio meter, UMD label, resolution label) inside a preview window.
struct PreviewBar {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;

    bool operator==(const PreviewBar&) const = default;
};

// A colour as red, green, blue bytes, in that order.
struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;

    bool operator==(const RgbColor&) const = default;
};

}  // namespace panoptix
