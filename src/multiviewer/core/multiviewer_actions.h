#pragma once
// What a press on a multiviewer page decides: how the block changes and which command goes out.
// A page's handler calls one of these and repaints; each takes the link, the multiviewer's
// block and the route the command takes (RouteForMode of the connection mode, unless a page
// always uses the LAN).
#include <cstdint>
#include <string>

#include "link/device_link.h"
#include "link/transmit.h"
#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

// Reads the device's status over the connection mode's link: the LAN in mode 0, the serial
// port otherwise. True when a status reply was decoded.
bool QueryStatus(DeviceLink& link, MultiviewerState& mv);

enum class ColourField { UmdText, UmdBack, ResolutionText, ResolutionBack };

// The colour list's choice: colour code `code` for window `channel` (1-16), or for every
// window with channel 0 (a channel above 16 colours none), then the section's command.
void ChooseColour(DeviceLink& link, MultiviewerState& mv, CommandRoute route, ColourField field,
                  uint8_t channel, uint8_t code);

// The on/off lists: the command goes out and the preview's shown flag follows the choice (the
// block's enable byte keeps what the device last reported).
void ChooseAudioMeters(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on);
void ChooseUmdLabels(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on);
void ChooseResolutionLabels(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on);

// The settings lists that the block keeps as chosen: the resolution list's index (sent as its
// resolution code; an index without one is stored and not sent), window borders and the lock.
void ChooseResolutionType(DeviceLink& link, MultiviewerState& mv, CommandRoute route,
                          uint8_t index);
void ChooseBorder(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on);
void ChooseLock(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on);

// Window 1-16's label as typed, stored and sent (any other window changes nothing).
void ChooseUmdLabel(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t window,
                    std::u16string text);

// Set Default. With the serial port closed nothing goes out and the block keeps its values
// (returns false): the page then keeps showing them rather than defaults the device never got.
bool RestoreDefaults(DeviceLink& link, MultiviewerState& mv, CommandRoute route);

}  // namespace panoptix
