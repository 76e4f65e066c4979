#pragma once
// A simulated device: takes what it receives (one datagram, or one unit cut from the serial
// stream), applies it to its own state and returns the reply to send and one line that says, in
// plain words, what it received. No I/O happens here.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame_view.h"
#include "link/command_frame.h"
#include "serial_accumulator.h"

namespace panoptix::devsim {

enum class DeviceKind { Multiviewer, Switcher, Matrix, QuadView };

// "multiviewer", "switcher", "matrix", "quadview".
std::string_view KindName(DeviceKind kind);

struct DeviceIdentity {
    DeviceKind kind = DeviceKind::Multiviewer;
    std::string model_name;
    uint8_t type_byte = 0;
    uint8_t address_byte = 0;
};

// The link a unit came on; a reply goes back on the same link.
enum class Link { Udp, Serial };

struct Response {
    std::string account;         // one line without line end: what was received, what it did
    std::vector<uint8_t> reply;  // bytes to send back; empty when the command has no reply
};

class DeviceModel {
  public:
    explicit DeviceModel(DeviceIdentity identity);
    virtual ~DeviceModel() = default;
    DeviceModel(const DeviceModel&) = delete;
    DeviceModel& operator=(const DeviceModel&) = delete;

    const DeviceIdentity& Identity() const { return identity_; }

    // One UDP datagram: one frame or text from its first byte; bytes after it are noted.
    Response ReceiveDatagram(std::span<const uint8_t> datagram);
    // One unit cut from the serial stream.
    Response ReceiveSerial(const CutBytes& cut);

    // The state as key=value lines in the state file's format.
    virtual std::vector<std::string> StateLines() const = 0;
    // Sets one key of the state file; false with error when the key or value does not fit.
    // key may carry an index: "label.3".
    virtual bool SetStateValue(std::string_view key, std::string_view value,
                               std::string& error) = 0;

    // Address settings (command 0x05) last received, for the log and the tests.
    const NetworkAddress& ReceivedAddress() const { return received_address_; }

  protected:
    // A checked frame that is neither a search nor an address setting.
    virtual Response OnFrame(const FrameView& frame, Link link) = 0;
    // A matrix text; only the matrix understands them.
    virtual Response OnText(std::string_view text);

    // A reply frame with this device's bytes, link byte matching the link.
    std::vector<uint8_t> MakeReply(uint8_t command, std::span<const uint8_t> payload,
                                   Link link) const;

    // "ignored <command> frame: <why>" for a frame whose payload is too short or whose
    // values are refused.
    static Response Refused(std::string_view what, std::string_view why);
    static Response NotForThisDevice(const FrameView& frame, std::string_view kind_name);

  private:
    Response OnUnit(UnitKind kind, std::span<const uint8_t> bytes, std::string_view reason,
                    Link link);
    Response OnCheckedFrame(const FrameView& frame, Link link);
    Response AnswerSearch(Link link) const;
    Response SetAddress(const FrameView& frame);

    DeviceIdentity identity_;
    NetworkAddress received_address_;
};

// The model name as the search answer carries it: name, '-', a digit, '-'. The panel takes the
// name up to the first '-' that has another '-' two places after it; returns false when that
// would cut the name short, or when it is empty, too long for a 128-byte datagram or not
// printable ASCII.
bool IsUsableModelName(std::string_view name, std::string& error);

}  // namespace panoptix::devsim
