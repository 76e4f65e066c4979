#pragma once
// One run of panoptix-cli: the link state and the device blocks the cores work on, set up for
// one target (a device on the LAN or the serial port), with the operator's message boxes caught
// instead of shown.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exit_codes.h"
#include "link/device_entry.h"
#include "link/device_link.h"
#include "link/operator_messages.h"
#include "matrix/core/matrix_state.h"
#include "multiviewer/core/multiviewer_state.h"
#include "quadview/core/quadview_state.h"
#include "switcher/core/switcher_state.h"

namespace panoptix::cli {

// How long a look-up of one device's bytes (a search sent to its address only) waits.
inline constexpr uint32_t kLookupWindowMs = 500;

// "multiviewer", "switcher", "matrix", "quadview".
std::string_view KindName(DeviceKind kind);

struct TargetOptions {
    std::string ip;           // a device on the LAN
    std::string serial_port;  // or the serial port
    std::string baud = "9600";
    uint16_t device_port = 7000;
    uint16_t local_port = 7000;
    std::string type_text;     // the device bytes; looked up when not given
    std::string address_text;  //
    uint32_t search_ms = 2000;
};

// What a step came to: Done, or an exit code with the message for standard error.
struct Outcome {
    ExitCode code = ExitCode::Done;
    std::string message;
    bool ok() const { return code == ExitCode::Done; }
};

// One device a search found.
struct FoundDevice {
    std::string model;
    std::string address;                    // IP address, or the serial port
    uint8_t type = 0;                       // device type byte
    std::optional<uint8_t> device_address;  // not carried by the serial search
    DeviceKind kind = DeviceKind::QuadView;
};

class Session : private OperatorMessages {
  public:
    Session();
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    DeviceLink link;
    MultiviewerState multiviewer;
    SwitcherState switcher;
    MatrixState matrix;
    QuadviewState quadview;

    // The target as a script names it: its IP address or its serial port.
    const std::string& where() const { return where_; }
    bool serial() const { return link.mode() == ConnectionMode::Serial; }

    // Sets the link up for the target. LAN: row 0, selected, holds the IP address and the
    // device bytes (given, or from the device's answer to a search sent to that address only;
    // a device of another kind is refused). Serial: the port is opened at the baud rate and the
    // connection mode is serial; frames carry the given bytes, else the kind's usual type byte
    // and address 1.
    Outcome Connect(const TargetOptions& target, DeviceKind kind);

    // A LAN search (broadcast), or the serial search on target.serial_port.
    Outcome Search(const TargetOptions& target, std::vector<FoundDevice>& found);

    // The boxes the operator would have seen since the last call, and forgets them.
    std::vector<std::string> TakeMessages();

  private:
    void ShowError(std::string_view text) override;
    Outcome OpenSerial(const TargetOptions& target);
    Outcome LookUp(const TargetOptions& target, DeviceKind kind, DeviceEntry& entry);

    std::string where_;
    std::vector<std::string> messages_;
};

}  // namespace panoptix::cli
