#include "link/serial_connection.h"

#include <charconv>

#include "link/device_link.h"
#include "link/trace_events.h"

namespace panoptix {

int ConnectionModeIndex(ConnectionMode mode) {
    return ConnectionModeNumber(mode);
}

uint32_t BaudRateFromText(std::string_view baud_text) {
    uint32_t value = 0;
    const char* end = baud_text.data() + baud_text.size();
    const auto [stop, error] = std::from_chars(baud_text.data(), end, value);
    return error == std::errc() && stop == end ? value : 0;
}

ConnectOutcome ToggleSerialConnection(CnComm& port, int32_t& connected_flag,
                                      std::string_view port_name, std::string_view baud_text) {
    if (connected_flag != 0) {
        port.ClosePort(CnComm::kDefaultCloseWaitMs);
        connected_flag = ~connected_flag;
        return ConnectOutcome::kClosed;
    }
    if (port.IsOpen()) {
        trace::CloseCom();
        port.ClosePort(CnComm::kDefaultCloseWaitMs);
    }
    const bool opened = port.OpenPort(port_name, BaudRateFromText(baud_text));
    Trace(opened ? "com open success \n" : "com open failed \n");
    if (!port.IsOpen()) {
        return ConnectOutcome::kUnchanged;
    }
    connected_flag = ~connected_flag;
    return ConnectOutcome::kOpened;
}

}  // namespace panoptix
