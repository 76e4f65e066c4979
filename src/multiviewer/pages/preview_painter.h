#pragma once
// Draws the multiviewer layout preview: the 720 x 480 picture of the output as the panel
// believes it to be, from the preview geometry and the shown flags of the state.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>

#include "multiviewer/core/preview_records.h"

#include "multiviewer/core/multiviewer_state.h"

class QPainter;

namespace panoptix {

// Where the container copies the picture, unscaled, in its client area.
inline constexpr QPoint kPreviewOrigin{5, 40};

inline const QColor kPreviewGround{152, 152, 152};
inline const QColor kPreviewWindowBorder{89, 187, 255};
inline const QColor kPreviewWindowInside{55, 55, 55};
inline const QColor kPreviewWindowNumber{60, 180, 255};
inline const QColor kPreviewWindowNumberGround{255, 255, 255};
inline const QColor kPreviewAudioBar{89, 187, 255};
// Window borders are this wide; the inside is the window inset by it on every side.
inline constexpr int kPreviewBorderWidth = 2;

// The colours of a window's number: its text on an opaque cell.
struct PreviewNumberLook {
    QColor text;
    QColor ground;
};
inline const PreviewNumberLook kMultiviewerNumberLook{kPreviewWindowNumber,
                                                      kPreviewWindowNumberGround};

// A 720 x 480 canvas filled with the preview's grey ground.
QImage NewPreviewCanvas();
// One window of a preview, if it has a size: its border colour, its dark inside (inset by the
// border width) and its number, the cell's top-left corner at the window's centre less 5
// pixels, in the painter's font. Shared by the multiviewer and the quad-view previews.
void DrawPreviewWindow(QPainter& painter, const PreviewWindow& window,
                       const PreviewNumberLook& number_look);

// The picture: grey ground; for every window with a size, its border colour, its dark inside
// and its number (top-left corner at the window's centre less 5 pixels, on a white cell);
// then its audio, UMD and resolution bars, each only while its shown flag is set.
QImage RenderPreview(const MultiviewerState& state, const QFont& number_font);

}  // namespace panoptix
