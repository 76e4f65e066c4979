#include "matrix/core/matrix_state.h"

namespace panoptix {

void ResetMatrixPageState(MatrixState& matrix) {
    matrix.m_matrix_lock = 0;
}

}  // namespace panoptix
