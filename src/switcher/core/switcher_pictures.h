#pragma once
// Every button's picture follows from the switcher block, so a panel or page re-created at any
// moment looks as the operator left it. A preview button is program-lit while a transition is
// under way (auto_lamp 1). Values outside their tables light nothing.
#include "switcher/core/switcher_state.h"

namespace panoptix {

// Picture (bitmap resource id) of the panel control with this id, or 0 for a control without
// a block-dependent picture (the lever, the settings frame, unknown ids).
int PanelButtonPicture(const AllSwitcherPageData& data, int control_id);

// Picture of wipe pattern button 0-8 on the transition settings page (0 for other patterns).
int WipePatternPicture(const AllSwitcherPageData& data, int pattern);

}  // namespace panoptix
