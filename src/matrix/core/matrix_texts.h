#pragma once
// The matrix router's command texts: plain ASCII, no frame, terminator, length or checksum. A
// number is written in decimal; the router knows inputs and outputs 1..8 only, so every number
// is one digit, and a builder given any other number builds nothing (an empty text), which then
// never goes on the wire.
#include <cstdint>
#include <string>

#include "matrix/core/matrix_state.h"

namespace panoptix {

// Input n to every output: "nAll." (5 bytes).
std::string OneToAllText(int input);
// Input k to output k for every k: "All#." (5 bytes).
std::string OneToOneText();
// The outputs routed from input n: "nV", then each such output k (1..8, ascending) followed by
// ',', the last ',' replaced by '.': 2 + 2m bytes for m outputs ("1V2,3."). Empty when no output
// carries n.
std::string ApplyText(int input, const MatrixRoutes& routes);

}  // namespace panoptix
