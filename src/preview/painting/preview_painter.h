#pragma once
// The layout preview's drawing that the multiviewer and the quad-view share: the 720 x 480
// canvas with its grey ground, and one window on it (border, dark inside, number). Each device
// draws its own preview from its state with these.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "preview/core/preview_window.h"

class QPainter;

namespace panoptix {

// Where a page copies the picture, unscaled, in its client area, and the rectangle it covers.
inline constexpr QPoint kPreviewOrigin{5, 40};
inline constexpr QRect kPreviewRect{kPreviewOrigin, QSize(kPreviewWidth, kPreviewHeight)};

inline const QColor kPreviewGround{152, 152, 152};
inline const QColor kPreviewWindowBorder{89, 187, 255};
inline const QColor kPreviewWindowInside{55, 55, 55};
// Window borders are this wide; the inside is the window inset by it on every side.
inline constexpr int kPreviewBorderWidth = 2;

// The colours of a window's number: its text on an opaque cell.
struct PreviewNumberLook {
    QColor text;
    QColor ground;
};

// A 720 x 480 canvas filled with the preview's grey ground.
QImage NewPreviewCanvas();
// One window of a preview, if it has a size: its border colour, its dark inside (inset by the
// border width) and its number, the cell's top-left corner at the window's centre less 5
// pixels, in the painter's font.
void DrawPreviewWindow(QPainter& painter, const PreviewWindow& window,
                       const PreviewNumberLook& number_look);

}  // namespace panoptix
