#pragma once
// What the operator's picks and slider releases on the four settings pages store and send.
// Lists send on every pick; an index outside the list (a list with no selection reports -1)
// stores and sends nothing. Sliders send only when the mouse is released over one of them;
// moves by keyboard (or any repaint) only update the level field. The pages select the stored
// entries and levels when they open, without sending.
#include <array>
#include <cstdint>
#include <string>

#include "switcher/core/switcher_commands.h"
#include "switcher/core/switcher_state.h"

namespace panoptix {

// The source list of the KEY 1, KEY 2 and PIP pages: "Cam 01".."Cam 10", "MP" (index 0-10).
inline constexpr int kSourceListEntries = 11;
std::array<std::string, kSourceListEntries> SourceListTexts();
inline constexpr std::array<const char*, 2> kChromaTypeTexts{"Key Light Blue", "Key Light Green"};
inline constexpr std::array<const char*, 2> kBorderEnableTexts{"Disable", "Enable"};
inline constexpr std::array<const char*, 4> kBorderColourTexts{"White", "Red", "Green", "Blue"};
inline constexpr std::array<const char*, 7> kBorderWidthTexts{"1", "2", "3", "4", "5", "6", "7"};

inline constexpr int kWipePatterns = 9;
inline constexpr int kLevelMax = 255;      // KEY 1 and KEY 2 sliders: 0-255
inline constexpr int kPipSliderMax = 120;  // PIP sliders: 120 steps

struct ColourLevels {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const ColourLevels&) const = default;
};

enum class ColourChannel : uint8_t { Red = 0, Green = 1, Blue = 2 };

// Transition settings page. A pattern button: nothing when it is the stored one, otherwise
// store it and send 0x92. The three hidden lists store and send 0x90, 0x91, 0x92.
SwitcherCommands SelectWipeStyle(AllSwitcherPageData& data, int pattern);
SwitcherCommands PickDipSource(AllSwitcherPageData& data, int index);
SwitcherCommands PickWipeSource(AllSwitcherPageData& data, int index);
SwitcherCommands PickWipeStyle(AllSwitcherPageData& data, int index);

// KEY 1 page: source 0x93; a slider moved stores its level; a release stores all three
// positions and sends 0x94.
SwitcherCommands PickKey1Source(AllSwitcherPageData& data, int index);
void MoveKey1Slider(AllSwitcherPageData& data, ColourChannel channel, int level);
SwitcherCommands ReleaseKey1Sliders(AllSwitcherPageData& data, ColourLevels levels);
ColourLevels Key1Levels(const AllSwitcherPageData& data);

// KEY 2 page: source 0x97; chroma type 0x98 (the page then sets its sliders to Key2Levels);
// a slider repaint only traces the stored level; a release stores the three positions as the
// levels of the current chroma type and sends 0x99. A chroma type outside 0-1 stores and sends
// nothing and has no levels.
SwitcherCommands PickKey2Source(AllSwitcherPageData& data, int index);
SwitcherCommands PickChromaType(AllSwitcherPageData& data, int index);
bool Key2Levels(const AllSwitcherPageData& data, ColourLevels& levels);
void TraceKey2Level(const AllSwitcherPageData& data, ColourChannel channel);
SwitcherCommands ReleaseKey2Sliders(AllSwitcherPageData& data, ColourLevels levels);

// PIP page: four lists (0x9C-0x9F); the X, Y and width sliders send position x 16, x 9, x 16
// (0xA0-0xA2) on release, and the block holds exactly what was sent.
enum class PipSlider : uint8_t { X = 0, Y = 1, Width = 2 };
SwitcherCommands PickPipSource(AllSwitcherPageData& data, int index);
SwitcherCommands PickPipBorderEnable(AllSwitcherPageData& data, int index);
SwitcherCommands PickPipBorderColour(AllSwitcherPageData& data, int index);
SwitcherCommands PickPipBorderWidth(AllSwitcherPageData& data, int index);
SwitcherCommands ReleasePipSlider(AllSwitcherPageData& data, PipSlider slider, int position);
// The value a slider position stands for (position x 16 or x 9), and the slider position of
// the stored value (0-120) for a page that opens.
int PipSliderValue(PipSlider slider, int position);
int PipSliderPosition(const AllSwitcherPageData& data, PipSlider slider);

// The entry a list selects when its page opens: the stored index, or -1 (no selection) when
// the stored value is not an entry of a list of that many entries.
int StoredListEntry(uint8_t stored, int entries);

// Level field texts: "%02d" beside a KEY slider, "%d" of the value beside a PIP slider.
std::string KeyLevelText(int level);
std::string PipFieldText(PipSlider slider, int position);

}  // namespace panoptix
