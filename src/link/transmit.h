#pragma once
// How an operator command leaves the panel: by the LAN (a one-shot datagram to the selected
// device) or on the serial port. Every device page sends through here; which route a command
// takes, and what else a device does around the send, stays with the device.
#include <cstdint>
#include <span>

#include "link/command_frame.h"
#include "link/device_link.h"
#include "link/udp_transport.h"

namespace panoptix {

enum class CommandRoute { Lan, Serial };

// The route of a page's command: the link's mode.
inline CommandRoute RouteForMode(ConnectionMode mode) {
    return mode == ConnectionMode::Lan ? CommandRoute::Lan : CommandRoute::Serial;
}

// LAN: SendOneShot with lan_pause_ms after the send (with no device selected the operator is
// told and nothing goes out). Serial: the bytes are written whole, no pause, if the port is
// open. Returns false only when the serial port is closed: then nothing was sent.
bool TransmitCommand(DeviceLink& link, CommandRoute route, std::span<const uint8_t> bytes,
                     uint32_t lan_pause_ms = kCommandPauseMs);

// The address change (0x05) to the selected device: its new address, mask and gateway, always
// by the LAN, whatever kind the device is. With no LAN device selected the operator is told and
// nothing goes out.
void SendAddressChange(DeviceLink& link, const NetworkAddress& address);

}  // namespace panoptix
