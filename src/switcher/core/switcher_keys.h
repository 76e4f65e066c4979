#pragma once
// The panel's keys: each stands for one panel button and does what a click on it does. 1-8
// choose preview source 1-8, Ctrl with 1-8 program source 1-8, Space is Cut and Ctrl+Space
// Auto. The panel shows eight sources on each row: 9 and 0 stand for no button.
#include <string>

namespace panoptix {

enum class KeyChord { Plain, Control };

// The control id of the button a key stands for, or 0 for a key that stands for none.
int PanelButtonOfKey(char key, KeyChord chord);

// The tool tip of a button that has a key, naming the button and its key ("Preview 3 (key 3)",
// "Program 3 (key Ctrl+3)", "Cut (key Space)", "Auto (key Ctrl+Space)"); empty for the others.
std::string PanelKeyToolTip(int control_id);

}  // namespace panoptix
