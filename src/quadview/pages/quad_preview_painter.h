#pragma once
// Draws the quad-view layout preview: the 720 x 480 picture of the output from
// quad_preview_window. The windows are drawn as the multiviewer preview draws its windows (the
// shared preview drawing); only the number's colours differ (light grey on the window's dark
// grey).
#include <QColor>
#include <QFont>
#include <QImage>

#include "preview/painting/preview_painter.h"
#include "quadview/core/quadview_state.h"

namespace panoptix {

inline const PreviewNumberLook kQuadNumberLook{QColor(192, 192, 192), QColor(55, 55, 55)};

// Grey ground, then windows 1 to 4 in order, each only if it has a size.
QImage RenderQuadPreview(const QuadviewState& quad, const QFont& number_font);

}  // namespace panoptix
