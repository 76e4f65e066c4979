#include "matrix/core/matrix_texts.h"

namespace panoptix {
namespace {

char Digit(int number) {
    return static_cast<char>('0' + number);
}

}  // namespace

std::string OneToAllText(int input) {
    if (!IsMatrixPort(input)) {
        return {};
    }
    return std::string(1, Digit(input)) + "All.";
}

std::string OneToOneText() {
    return "All#.";
}

std::string ApplyText(int input, const MatrixRoutes& routes) {
    if (!IsMatrixPort(input)) {
        return {};
    }
    std::string text{Digit(input), 'V'};
    for (int output = 1; output <= kMatrixPorts; ++output) {
        if (routes[static_cast<size_t>(output - 1)] == input) {
            text += Digit(output);
            text += ',';
        }
    }
    if (text.back() != ',') {
        return {};
    }
    text.back() = '.';
    return text;
}

}  // namespace panoptix
