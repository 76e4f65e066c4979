// The serial search: ask the one device on the open port for its type and model name.
#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/operator_messages.h"
#include "link/reply_parser.h"
#include "link/trace_events.h"

namespace panoptix {

DeviceSearchResult SearchSerial(DeviceLink& state, const StatusFrameDecoder& decode_status,
                                uint32_t window_ms) {
    ClearReceivedBytes(state);
    const std::vector<uint8_t> request = MakeDiscoveryRequest(LinkByte::Serial);

    DeviceSearchResult result;
    if (!state.serial_port.IsOpen()) {
        ShowErrorMessage(kMessageOpenSerialFirst);
        trace::OpenComFail();
        return result;
    }
    trace::OpenComSuccess();
    state.serial_port.DrainInput();
    state.serial_port.WritePort(request.data(), static_cast<int>(request.size()));

    // A multiviewer that answers with its status reply has it decoded into the caller's state.
    state.serial_reply_count =
        AwaitSerialReply(state, TickMs(), window_ms, decode_status, CountTrace::On);
    // The list's one entry is the device on the port (or the note that none answered).
    state.m_device_index = 0;

    // The name stays as the device sent it; only the LAN list substitutes names.
    result.combo_entries.push_back(state.serial_reply_count == 0 ? std::u16string(kNoDeviceFound)
                                                                 : state.model_name);
    result.open_page = true;
    return result;
}

}  // namespace panoptix
