#pragma once
// The quad-view processor's command frames and their senders. Every command travels by UDP as
// a LAN frame (link byte 1, device bytes from the selected row) with SendOneShot (open, send,
// pause 10 ms, close), whatever the connection mode, except the show mode, which follows
// m_eState.
//
// Outside LAN mode the device table's selected row is whatever an earlier LAN search left
// there (the serial search fills no row), so a UDP frame goes out only when that row is a
// quad-view processor (type 0x60); otherwise it is skipped with a trace. A switcher, for one,
// takes 0x90 and 0x92 as commands of its own.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "link/command_frame.h"
#include "link/device_link.h"

namespace panoptix {

namespace quad_command {
inline constexpr uint8_t kStatus = 0x90;
inline constexpr uint8_t kOutputFormat = 0x92;
inline constexpr uint8_t kShowMode = 0x94;
inline constexpr uint8_t kPipChildren = 0xA5;
inline constexpr uint8_t kLoopState = 0xA6;
inline constexpr uint8_t kLoopTime = 0xA7;
inline constexpr uint8_t kSignal = 0xAA;
}  // namespace quad_command

// The serial show-mode frame carries these instead of the row's device bytes.
inline constexpr uint8_t kSerialShowModeType = 0xA3;
inline constexpr uint8_t kSerialShowModeAddress = 0xFF;

// The loop time field's range: at least 3 s; the field holds at most three digits.
inline constexpr int kLoopTimeMinS = 3;
inline constexpr int kLoopTimeMaxS = 999;

// Whether a UDP frame with this command may go out now (see above); traces when not.
bool MayUseUdp(const DeviceLink& link, uint8_t command);

// LAN frame (link byte 1) of a query or command.
std::vector<uint8_t> MakeQuadLanFrame(const DeviceLink& link, uint8_t command,
                                      std::span<const uint8_t> payload = {});
// The serial show-mode frame: device bytes A3 FF, link byte 0.
std::vector<uint8_t> MakeSerialShowModeFrame(uint8_t show_mode);

// 0x94 by m_eState: 0 the LAN frame by SendOneShot; 1 the serial frame written to the port
// when it is open (no pause), nothing when it is closed; any other value nothing.
void SendShowMode(DeviceLink& link, uint8_t show_mode);
// 0x92 with the output format code.
void SendOutputFormat(DeviceLink& link, uint8_t output_format);
// 0xA5 with the two PIP child channels.
void SendPipChildren(DeviceLink& link, uint8_t first_child, uint8_t second_child);
// 0xA6 with the loop state.
void SendLoopState(DeviceLink& link, uint8_t loop_state);
// 0xA7 with the dwell time in seconds, low byte first.
void SendLoopTimeFrame(DeviceLink& link, uint16_t seconds);

// The loop time field's text read as a signed decimal number; 0 when it holds none.
int LoopTimeOfText(std::string_view text);

}  // namespace panoptix
