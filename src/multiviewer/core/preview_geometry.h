#pragma once
// Geometry of the layout preview: the windows of the current layout on the 720 x 480 canvas,
// and the audio, UMD and resolution bars inside each window with their colours. Every
// computation ends by calling state.mark_preview_area (when set), so the preview redraws.
#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

// Clears all sixteen windows, then fills those of the layout named by view_mode_type; an index
// outside the layout table leaves them all cleared.
void ComputeLayoutGeometry(MultiviewerState& state);

// Bars from preview_window (integer division, multiplication first); a cleared window gives a
// zero-sized bar.
void ComputeAudioBars(MultiviewerState& state);
// Also takes umd_bar_color from umd_back_color through the colour table.
void ComputeUmdBars(MultiviewerState& state);
// Also takes resolution_bar_color from resolution_back_color.
void ComputeResolutionBars(MultiviewerState& state);

// ComputeLayoutGeometry, then the three bar computations.
void RecomputePreview(MultiviewerState& state);

}  // namespace panoptix
