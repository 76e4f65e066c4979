#pragma once
// The matrix block: what the panel has chosen, routed and sent to the matrix router since start.
// The router never answers, so this record is all the page shows. The main window holds it next
// to the link state; it is zero at start and outlives every page.
#include <array>
#include <cstdint>

namespace panoptix {

inline constexpr int kMatrixPorts = 8;  // inputs 1..8 and outputs 1..8

// m_eMatrixState: 0 until the first input click, 1 from then on. SendOneToAll does nothing in
// 2 and 3, which no operation sets.
inline constexpr int32_t kMatrixNothingChosen = 0;
inline constexpr int32_t kMatrixInputChosen = 1;

// m_matrix_input: selected input 1..8, 0 = none. SendOneToOne passes this value through it on
// its way back to 0.
inline constexpr uint8_t kMatrixNoInput = 0;
inline constexpr uint8_t kMatrixOneToOneInput = 200;

using MatrixRoutes = std::array<uint8_t, kMatrixPorts>;

struct MatrixState {
    int32_t m_eMatrixState = kMatrixNothingChosen;
    uint8_t m_matrix_input = kMatrixNoInput;
    MatrixRoutes m_matrix_route{};  // entry k-1: the input routed to output k, 0 = none
    int32_t m_matrix_lock = 0;      // 0 unlocked; the lock stores the bitwise complement
};

// True for an input or output number the router knows (1..8).
constexpr bool IsMatrixPort(int number) {
    return number >= 1 && number <= kMatrixPorts;
}

// What opening any device page does to the block: the lock is cleared; the selection and the
// routes stay.
void ResetMatrixPageState(MatrixState& matrix);

}  // namespace panoptix
