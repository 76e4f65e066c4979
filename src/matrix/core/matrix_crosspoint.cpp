#include "matrix/core/matrix_crosspoint.h"

#include "link/trace_events.h"

namespace panoptix {
namespace {

CrosspointPicture LitWhen(bool lit) {
    return lit ? CrosspointPicture::kLit : CrosspointPicture::kNormal;
}

uint8_t& RouteOf(MatrixState& matrix, int output) {
    return matrix.m_matrix_route[static_cast<size_t>(output - 1)];
}

}  // namespace

void SelectInput(MatrixState& matrix, CrosspointView& view, uint8_t v) {
    const uint8_t old = matrix.m_matrix_input;
    trace::MatrixInput(old);
    if (IsMatrixPort(old)) {
        if (old == 7) {
            trace::InputSevenLeft();
        }
        view.ShowInput(old, CrosspointPicture::kNormal);
    }
    trace::InputClicked(v);
    if (IsMatrixPort(v)) {
        view.ShowInput(v, CrosspointPicture::kLit);
    }
    matrix.m_matrix_input = v;
}

void RefreshOutputButtons(const MatrixState& matrix, CrosspointView& view, uint8_t v) {
    for (int k = 1; k <= kMatrixPorts; ++k) {
        view.ShowOutput(k, LitWhen(matrix.m_matrix_route[static_cast<size_t>(k - 1)] == v));
    }
}

void ClickInput(MatrixState& matrix, CrosspointView& view, int k) {
    if (matrix.m_matrix_lock != 0 || !IsMatrixPort(k) || k == matrix.m_matrix_input) {
        return;
    }
    const auto input = static_cast<uint8_t>(k);
    matrix.m_eMatrixState = kMatrixInputChosen;
    SelectInput(matrix, view, input);
    RefreshOutputButtons(matrix, view, input);
}

void ToggleOutput(MatrixState& matrix, CrosspointView& view, int k) {
    const uint8_t input = matrix.m_matrix_input;
    if (matrix.m_matrix_lock != 0 || input == kMatrixNoInput || !IsMatrixPort(k)) {
        return;
    }
    trace::OutputToggled(k, input);
    uint8_t& route = RouteOf(matrix, k);
    route = route == input ? kMatrixNoInput : input;
    RefreshOutputButtons(matrix, view, input);
}

void ShowOpeningPictures(const MatrixState& matrix, CrosspointView& view) {
    const uint8_t input = matrix.m_matrix_input;
    const bool selected = IsMatrixPort(input);
    for (int k = 1; k <= kMatrixPorts; ++k) {
        view.ShowInput(k, LitWhen(selected && k == input));
    }
    for (int k = 1; k <= kMatrixPorts; ++k) {
        view.ShowOutput(
            k, LitWhen(selected && matrix.m_matrix_route[static_cast<size_t>(k - 1)] == input));
    }
}

}  // namespace panoptix
