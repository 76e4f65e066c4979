#include "link/operator_messages.h"

#include <cstdio>

namespace panoptix {
namespace {
OperatorMessages* g_sink = nullptr;
}

void SetOperatorMessages(OperatorMessages* sink) {
    g_sink = sink;
}

void ShowErrorMessage(std::string_view text) {
    if (g_sink != nullptr) {
        g_sink->ShowError(text);
        return;
    }
    std::fprintf(stderr, "Err: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace panoptix
