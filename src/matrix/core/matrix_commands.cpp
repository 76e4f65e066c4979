#include "matrix/core/matrix_commands.h"

#include <cstdint>
#include <span>

#include "link/trace_events.h"
#include "link/transmit.h"
#include "matrix/core/matrix_crosspoint.h"
#include "matrix/core/matrix_texts.h"

namespace panoptix {
namespace {

// Before an operation changes anything: when the text cannot go, the refusal is traced as the
// send traces its mode, and the caller stops.
bool LinkRefusesText(const DeviceLink& link) {
    if (MatrixTextCanGo(link)) {
        return false;
    }
    trace::ConnectionModeText(ConnectionModeNumber(link.mode()));
    return true;
}

int Length(std::string_view text) {
    return static_cast<int>(text.size());
}

}  // namespace

bool MatrixTextCanGo(const DeviceLink& link) {
    return link.mode() == ConnectionMode::Lan || link.SerialPort().IsOpen();
}

bool SendMatrixText(DeviceLink& link, std::string_view text) {
    if (text.empty()) {
        return false;
    }
    trace::ConnectionModeText(ConnectionModeNumber(link.mode()));
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    return TransmitCommand(link, RouteForMode(link.mode()), bytes, kMatrixCommandPauseMs);
}

void SendOneToAll(MatrixState& matrix, DeviceLink& link, CrosspointView& view) {
    const uint8_t input = matrix.m_matrix_input;
    if (input == kMatrixNoInput) {
        return;
    }
    trace::MatrixChoiceState(matrix.m_eMatrixState);
    if (matrix.m_eMatrixState == kMatrixInputChosen) {
        const std::string text = OneToAllText(input);
        if (text.empty()) {
            return;
        }
        trace::OneToAllLength(Length(text));
        if (LinkRefusesText(link)) {
            return;
        }
        matrix.m_matrix_route.fill(input);
        SendMatrixText(link, text);
        RefreshOutputButtons(matrix, view, input);
        trace::SendDataOk();
    } else if (matrix.m_eMatrixState != 2 && matrix.m_eMatrixState != 3) {
        trace::ClickNullAll();
    }
}

void SendOneToOne(MatrixState& matrix, DeviceLink& link, CrosspointView& view) {
    const std::string text = OneToOneText();
    if (LinkRefusesText(link)) {
        return;
    }
    for (int k = 1; k <= kMatrixPorts; ++k) {
        matrix.m_matrix_route[static_cast<size_t>(k - 1)] = static_cast<uint8_t>(k);
    }
    SendMatrixText(link, text);
    SelectInput(matrix, view, kMatrixOneToOneInput);
    RefreshOutputButtons(matrix, view, kMatrixOneToOneInput);
    matrix.m_matrix_input = kMatrixNoInput;
}

void SendApply(MatrixState& matrix, DeviceLink& link) {
    trace::MatrixChoiceState(matrix.m_eMatrixState);
    if (matrix.m_eMatrixState != kMatrixInputChosen) {
        return;
    }
    const std::string text = ApplyText(matrix.m_matrix_input, matrix.m_matrix_route);
    if (text.empty()) {
        return;
    }
    trace::ApplyLength(Length(text));
    if (!SendMatrixText(link, text)) {
        return;
    }
    trace::SendDataOk();
    trace::ReDrawOk();
}

}  // namespace panoptix
