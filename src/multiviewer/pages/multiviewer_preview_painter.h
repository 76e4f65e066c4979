#pragma once
// Draws the multiviewer layout preview: the 720 x 480 picture of the output as the panel
// believes it to be, from the preview geometry and the shown flags of the state.
#include <QColor>
#include <QFont>
#include <QImage>

#include "multiviewer/core/multiviewer_state.h"
#include "preview/painting/preview_painter.h"

namespace panoptix {

inline const QColor kPreviewWindowNumber{60, 180, 255};
inline const QColor kPreviewWindowNumberGround{255, 255, 255};
inline const QColor kPreviewAudioBar{89, 187, 255};

// The multiviewer's window numbers: light blue on a white cell.
inline const PreviewNumberLook kMultiviewerNumberLook{kPreviewWindowNumber,
                                                      kPreviewWindowNumberGround};

// The picture: grey ground; for every window with a size, its border colour, its dark inside
// and its number (top-left corner at the window's centre less 5 pixels, on a white cell);
// then its audio, UMD and resolution bars, each only while its shown flag is set.
QImage RenderPreview(const MultiviewerState& state, const QFont& number_font);

}  // namespace panoptix
