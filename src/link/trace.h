#pragma once
// Diagnostic traces: printf-style lines on standard output. They are not part of the operator
// interface; tests may capture them where a trace is the only observable effect.
#include <functional>
#include <string_view>

#include "link/compiler_attributes.h"

namespace panoptix {

void Trace(const char* format, ...) PANOPTIX_PRINTF_FORMAT(1, 2);

// Replaces the destination of every trace (nullptr restores standard output).
using TraceSink = std::function<void(std::string_view line)>;
void SetTraceSink(TraceSink sink);

}  // namespace panoptix
