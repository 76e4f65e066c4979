#pragma once
// The switcher's command set and its one sender. Every switcher frame travels by UDP with link
// byte 1 through the open-send-pause-close sequence, whatever link the main window is set to;
// the serial port is never written. No switcher command expects a reply.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "link/device_entry.h"
#include "link/device_link.h"

namespace panoptix {

enum class SwitcherCode : uint8_t {
    Program = 0x80,          // program_source after the press
    Preview = 0x81,          // preview_source after the press
    Lever = 0x82,            // direction, progress
    Cut = 0x83,              //
    Auto = 0x84,             //
    FadeToBlack = 0x85,      //
    Pip = 0x86,              //
    OnAir = 0x88,            // on_air before the press
    OnAir2 = 0x89,           // on_air_2 before the press
    Background = 0x8A,       // bkgd_on before the press
    Key1 = 0x8B,             // key1_on before the press
    Key2 = 0x8C,             // key2_on before the press
    Mix = 0x8D,              //
    Dip = 0x8E,              //
    Wipe = 0x8F,             //
    DipSource = 0x90,        // list index
    WipeSource = 0x91,       // list index
    WipeStyle = 0x92,        // 0-8
    Key1Source = 0x93,       // source list index 0-10
    Key1Colour = 0x94,       // red, green, blue
    Key2Source = 0x97,       // source list index 0-10
    ChromaType = 0x98,       // 0/1
    Key2Colour = 0x99,       // red, green, blue of the current chroma type
    PipSource = 0x9C,        // source list index 0-10
    PipBorderEnable = 0x9D,  // 0/1
    PipBorderColour = 0x9E,  // 0-3
    PipBorderWidth = 0x9F,   // index 0-6
    PipX = 0xA0,             // 16-bit, low byte first
    PipY = 0xA1,             // 16-bit, low byte first
    PipWidth = 0xA2,         // 16-bit, low byte first
};

// One command as a rule decided it: the code and 0-3 payload bytes, read at that moment.
struct SwitcherCommand {
    SwitcherCode code = SwitcherCode::Cut;
    std::array<uint8_t, 3> payload{};
    uint8_t payload_size = 0;

    std::span<const uint8_t> Payload() const { return {payload.data(), payload_size}; }
    bool operator==(const SwitcherCommand&) const = default;
};

// What a press sends, in order (often nothing or one command).
using SwitcherCommands = std::vector<SwitcherCommand>;

SwitcherCommand MakeSwitcherCommand(SwitcherCode code);
SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t value);
SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t first, uint8_t second);
SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t red, uint8_t green, uint8_t blue);
// A 16-bit value, low byte first.
SwitcherCommand MakeSwitcherWordCommand(SwitcherCode code, uint16_t value);

// The frame of a command to the device of entry: link byte 1, 20 to 23 bytes.
std::vector<uint8_t> BuildSwitcherFrame(const DeviceEntry& entry, const SwitcherCommand& command);

// Builds the frame from the row at m_device_index (an all-zero row when none is selected) and
// sends it with SendOneShot. With no device selected the operator sees "Please choose a device"
// and nothing reaches a device.
void SendSwitcherCommand(DeviceLink& link, SwitcherCode code, std::span<const uint8_t> payload);
void SendSwitcherCommand(DeviceLink& link, const SwitcherCommand& command);

}  // namespace panoptix
