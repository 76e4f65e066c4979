#pragma once
// The layout preview's canvas and its window record, shared by the multiviewer and the
// quad-view previews: both draw their windows on a 720 x 480 pixel canvas.
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

// Whether a window or a bar of this size is drawn: only one with both a width and a height.
constexpr bool HasPreviewSize(int32_t width, int32_t height) {
    return width > 0 && height > 0;
}

}  // namespace panoptix
