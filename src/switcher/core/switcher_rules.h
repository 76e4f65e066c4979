#pragma once
// What each panel button does to the switcher block and which commands it sends. The rules
// change the block first and return the commands (payloads read at that moment) for the caller
// to send; pictures are not kept anywhere, they follow from the block (switcher_pictures.h).
#include <cstdint>

#include "switcher/core/switcher_commands.h"
#include "switcher/core/switcher_state.h"

namespace panoptix {

inline constexpr uint8_t kFirstSwitcherSource = 1;
inline constexpr uint8_t kLastSwitcherSource = 12;  // 11 BLK, 12 MP1

enum class SwitcherLayer : uint8_t { None = 0, Pip = 1, Key1 = 2, Key2 = 3 };

enum class SettingsPage : uint8_t { Transition = 0, Key1 = 1, Key2 = 2, Pip = 3 };
inline constexpr int kSettingsPages = 4;

inline bool IsSwitcherSource(int source) {
    return source >= kFirstSwitcherSource && source <= kLastSwitcherSource;
}

// The settings page the block names, or nothing when settings_page is no page.
bool StoredSettingsPage(const AllSwitcherPageData& data, SettingsPage& page);

// Buses. Selecting stores the source (any value; only 1-12 light a button).
void SelectProgramSource(AllSwitcherPageData& data, uint8_t source);
void SelectPreviewSource(AllSwitcherPageData& data, uint8_t source);
// Program takes the old preview source and preview the old program source; nothing is sent.
void ExchangeBuses(AllSwitcherPageData& data);

// Layers: at most one is lit. n outside 1-3 changes no field; selected_layer takes n.
void SelectLayer(AllSwitcherPageData& data, uint8_t n);
// 1 MIX, 2 DIP, 3 WIPE.
void SelectTransitionType(AllSwitcherPageData& data, uint8_t n);
// r1, r2, r3 (0-2): the rate of the next automatic transition; any other n changes nothing.
void SelectTransitionRate(AllSwitcherPageData& data, uint8_t n);
// The settings page n (0-3) becomes the one shown; false when it already is or n is no page.
bool ShowSettingsPage(AllSwitcherPageData& data, uint8_t n);

// Program and preview rows: select s if it is not yet, then send the bus (also on a repeat).
SwitcherCommands PressProgramSource(AllSwitcherPageData& data, uint8_t source);
SwitcherCommands PressPreviewSource(AllSwitcherPageData& data, uint8_t source);
// 0x83, then the buses are exchanged; the lamp and the lever are not touched.
SwitcherCommands PressCut(AllSwitcherPageData& data);
// PIP, KEY 1, KEY 2: switch the layer on (and the others off) or off; switching a layer off
// while BKGD is off does nothing at all. Then the layer's settings page is shown.
SwitcherCommands PressLayer(AllSwitcherPageData& data, SwitcherLayer layer);
// 0x8A with bkgd_on; it toggles only while a layer is selected.
SwitcherCommands PressBackground(AllSwitcherPageData& data);
// 0x88 / 0x89 with the state from before the press, then the toggle.
SwitcherCommands PressOnAir(AllSwitcherPageData& data);
SwitcherCommands PressOnAir2(AllSwitcherPageData& data);
// 0x85, then ftb_on toggles.
SwitcherCommands PressFadeToBlack(AllSwitcherPageData& data);
// MIX (1), DIP (2), WIPE (3): the command, the type, then the transition settings page.
SwitcherCommands PressTransitionType(AllSwitcherPageData& data, uint8_t n);
// r1, r2, r3 (0-2): ignored while the Auto lamp is lit; nothing is sent.
void PressTransitionRate(AllSwitcherPageData& data, uint8_t n);

}  // namespace panoptix
