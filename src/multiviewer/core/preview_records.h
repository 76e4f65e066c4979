#pragma once
// Geometry records of a layout preview drawn on a 720 x 480 pixel canvas. The quad-view preview
// uses the same window record, so it lives apart from the multiviewer state.
#include <cstdint>

namespace panoptix {

inline constexpr int32_t kPreviewWidth = 720;
inline constexpr int32_t kPreviewHeight = 480;

// One window of a preview. label is the window number drawn in it, 0 in a record beyond the
// layout's windows; a record with zero width or height is not drawn.
struct PreviewWindow {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t label = 0;

    bool operator==(const PreviewWindow&) const = default;
};

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
