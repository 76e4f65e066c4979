#pragma once
// The crosspoint rules of the matrix page: choosing an input, marking the outputs that carry
// it, and the pictures of the sixteen buttons. Nothing here sends: a route marked on an output
// reaches the router only with APPLY. While the panel is locked no click changes anything.
#include <cstdint>

#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

namespace panoptix {

// The old input (1..8) goes back to normal, input v (1..8) is lit, and v is stored whatever it
// is. Traces "m_p_glo_main_set_or_get_dlg->m_matrix_input = %d \n " (old), "aaaaa\n" (old 7
// only) and "ch = %d \n " (v).
void SelectInput(MatrixState& matrix, CrosspointView& view, uint8_t v);

// Output k is lit when its route is v, normal otherwise (all eight are drawn).
void RefreshOutputButtons(const MatrixState& matrix, CrosspointView& view, uint8_t v);

// Input button k clicked: nothing while locked or when k is already selected (or not 1..8);
// otherwise an input has been chosen, k is selected and lit, and the outputs carrying k light.
void ClickInput(MatrixState& matrix, CrosspointView& view, int k);

// Output button k clicked: nothing while locked, with no input selected, or for k not 1..8.
// Otherwise (trace "ch = %d ,input = %d \n") output k leaves the selected input if it carries it,
// else takes it (moving from any other input), and the outputs are redrawn.
void ToggleOutput(MatrixState& matrix, CrosspointView& view, int k);

// The pictures at page opening, from the record: every button is drawn once; the selected input
// (1..8) and the outputs that carry it are lit, all others normal.
void ShowOpeningPictures(const MatrixState& matrix, CrosspointView& view);

}  // namespace panoptix
