#pragma once
// Draws the quad-view layout preview: the 720 x 480 picture of the output from
// quad_preview_window. The windows look like the multiviewer preview's; only the number's
// colours differ (light grey on the window's dark grey).
#include <QColor>
#include <QFont>
#include <QImage>

#include "quadview/core/quadview_state.h"

namespace panoptix {

inline const QColor kQuadPreviewNumber{192, 192, 192};
inline const QColor kQuadPreviewNumberGround{55, 55, 55};

// Grey ground; for windows 1 to 4 with a size, the border colour, the dark inside and the
// window's number (top-left corner at the window's centre less 5 pixels, on an opaque cell).
QImage RenderQuadPreview(const QuadviewState& quad, const QFont& number_font);

}  // namespace panoptix
