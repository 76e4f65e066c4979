#pragma once
// Device discovery: the LAN search (one broadcast, replies collected for two seconds) and the
// serial search (the one device on the open port). Closing the current page, filling the combo
// box and opening the page of the selected device are the main window's part.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_address.h"
#include "link/device_link.h"
#include "link/reply_parser.h"

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
// table is zeroed first). Closes any open socket, broadcasts the discovery request from the
// local port, reads every reply that arrives within window_ms and fills table row i and combo
// entry i for the i-th device named (at most 128; later ones are not listed), then sets
// m_device_index (0, or -1 with the single entry "No Device Found") and closes the socket.
// Traces from "create socket success \n" to "m_device_index = %d \n"; the caller writes
// "net search \n" and closes the page before, and after filling the combo box and opening the
// page writes "search  over \n". When the socket cannot be set up it shows "Create socket
// err", traces "create socket fail \n" and returns no entries with open_page false.
// With SearchEnd::FirstAnswer the wait ends at the first reply that names a device (a search
// sent to one device's address, which only that device answers).
enum class SearchEnd { WindowOver, FirstAnswer };
DeviceSearchResult SearchLan(DeviceLink& state, bool combo_had_entries,
                             uint32_t window_ms = kSearchWindowMs,
                             SearchEnd end = SearchEnd::WindowOver);

// What a find came to.
struct DeviceFindResult {
    // Not None: the address was refused (the "Err" box named it) and nothing was sent.
    DeviceAddressFault address_fault = DeviceAddressFault::None;
    bool sent = false;    // the request went out
    size_t named = 0;     // devices the replies named, new or listed before
    size_t added = 0;     // entries appended to the list
    size_t unlisted = 0;  // named and new, but the list had no room left
};

// The find: the discovery request sent once, unicast, to one address (text as the operator
// typed it; see device_address.h) on the device port; the replies are read for window_ms and
// taken as the LAN search takes them (the same names, texts and rows), except that a device
// already listed is not listed again: an entry with the same text, address and device bytes as
// a row before it. combo_entries holds the entries listed now, row i for entry i; new devices
// are appended, with their rows, never beyond the 128 rows. m_device_index is not changed.
// The operator hears of a refused address, of a socket that cannot be set up ("Create socket
// err"), of a request that could not be sent, of no answer, and of devices left out for want of
// room, each in an "Err" box that names the address. Traces "find %s \n" and "find over, %d
// new \n" around the LAN search's reply traces.
DeviceFindResult FindLanDevice(DeviceLink& state, std::string_view address,
                               std::vector<std::u16string>& combo_entries,
                               uint32_t window_ms = kSearchWindowMs);

// Serial search over the open port. serial_reply_count becomes the parser's result: the count of
// names of a discovery reply, or 1 when a multiviewer answers with its status reply, which is
// then handed to decode_status (the caller's decoder into its multiviewer state). The list's one
// entry, the device or "No Device Found", is selected (m_device_index 0).
DeviceSearchResult SearchSerial(DeviceLink& state, const StatusFrameDecoder& decode_status,
                                uint32_t window_ms = kSearchWindowMs);

// The step of the LAN search that turns one received datagram into devices. Only the frame
// markers are tested (A5 6C ... AE); every '-' with another '-' two places after it, from
// byte 18 on, ends one model name. The devices are added as rows from combo_entries.size() on,
// with sender_ip as their address, never beyond the table's 128 rows. Returns how many were
// added.
size_t TakeSearchReply(DeviceLink& state, std::span<const uint8_t> datagram,
                       const std::string& sender_ip, std::vector<std::u16string>& combo_entries);

// "QL2293 " (with its trailing space) is shown as "ORV-MXP9120HD" on the LAN; nothing else.
std::u16string DisplayModelName(const std::u16string& model_name);

}  // namespace panoptix
