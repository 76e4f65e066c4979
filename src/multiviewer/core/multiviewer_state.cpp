#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

void All16ViewPageData::ResetForNewPage() {
    *this = All16ViewPageData{};
    // The defaults already put both channels on window 1; spelled out because that is the
    // point of the reset.
    umd_color_channel = 1;
    resolution_color_channel = 1;
}

}  // namespace panoptix
