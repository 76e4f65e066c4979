#pragma once
// The rules both views of the connection share: the "Configure" window and the matrix page's
// setting sub page. Each writes the same connection mode m_eState and opens and closes the same
// serial port, with the same five baud rates and the same Connect button. The views keep their
// own connected flag (0 = not connected by this view; every successful toggle takes its bitwise
// complement) and paint what the outcome tells them.
#include <array>
#include <cstdint>
#include <string_view>

#include "link/cn_comm.h"
#include "link/connection_mode.h"

namespace panoptix {

// The mode list's entries: index 0 is the LAN, index 1 the serial port (the values of m_eState).
inline constexpr std::array<std::string_view, 2> kConnectionModeTexts = {"LAN Port", "Serial Port"};
// The baud rate list's entries, in list order; entry 0 is selected at opening.
inline constexpr std::array<std::string_view, 5> kBaudRateTexts = {"9600", "19200", "38400",
                                                                   "57600", "115200"};

// The mode list entry that shows the mode: 0 "LAN Port", 1 "Serial Port".
int ConnectionModeIndex(ConnectionMode mode);

// The decimal value of a baud rate text; 0 for anything that is not a plain decimal number
// (the serial engine refuses 0 and every rate not in the list).
uint32_t BaudRateFromText(std::string_view baud_text);

enum class ConnectOutcome {
    kClosed,     // the view was connected: the port is closed now
    kOpened,     // the port is open with the chosen name and rate
    kUnchanged,  // opening failed: the view keeps its button, lists, lamp and flag
};

// The Connect button. With connected_flag set: close the port (500 ms for its monitoring
// thread), complement the flag, kClosed. Otherwise: close a port that is open ("close the com
// \n"), open port_name at the baud rate of baud_text ("com open success \n" or "com open failed
// \n"); if the port is open afterwards complement the flag and return kOpened, else kUnchanged
// (a port that was open elsewhere stays closed).
ConnectOutcome ToggleSerialConnection(CnComm& port, int32_t& connected_flag,
                                      std::string_view port_name, std::string_view baud_text);

}  // namespace panoptix
