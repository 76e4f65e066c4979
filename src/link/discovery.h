#pragma once
// Device discovery: the LAN search (one broadcast, replies collected for two seconds) and the
// serial search (the one device on the open port). Closing the current page, filling the combo
// box and opening the page of the selected device are the main window's part.
#include <cstdint>
#include <string>
#include <vector>

#include "link/link_state.h"

namespace panoptix {

inline constexpr uint32_t kSearchWindowMs = 2000;
inline constexpr char16_t kNoDeviceFound[] = u"No Device Found";

struct DeviceSearchResult {
    // Texts for the device combo box, entry i for row i ("ABC_192.0.2.20", "No Device Found").
    std::vector<std::u16string> combo_entries;
    // True when the caller selects entry 0 and opens the device page; false when the search
    // ended early (socket failure, serial port closed) and no page opens.
    bool open_page = false;
};

// LAN search. combo_had_entries: whether the combo box held entries before (then the device
// table is zeroed first). Fills the table and m_device_index (0 or -1).
DeviceSearchResult SearchLan(LinkState& state, bool combo_had_entries,
                             uint32_t window_ms = kSearchWindowMs);

// Serial search over the open port. m_device_index becomes the parser's count of names.
DeviceSearchResult SearchSerial(LinkState& state, uint32_t window_ms = kSearchWindowMs);

// "QL2293 " (with its trailing space) is shown as "ORV-MXP9120HD" on the LAN; nothing else.
std::u16string DisplayModelName(const std::u16string& model_name);

}  // namespace panoptix
