#pragma once
// The multiviewer's command senders: one per command, each in a LAN and a serial form. The
// LAN form builds the frame with link byte 1 and sends it with SendOneShot (open, send, pause
// 10 ms, close), then updates the preview. The serial form builds it with link byte 0 and,
// only if the port is open, writes it (no pause) and updates the preview; with the port closed
// it does nothing at all. A send that reaches no device leaves the preview updated.
#include <cstdint>

#include "link/device_entry.h"
#include "link/device_link.h"
#include "link/transmit.h"
#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

enum class MultiviewerCommand : uint8_t {
    ResolutionType = 0x19,
    UmdLabel = 0x1E,
    Layout = 0x33,
    WindowSource = 0x34,
    UmdEnable = 0x36,
    AudioEnable = 0x37,
    SetDefault = 0x38,
    AudioSource = 0x39,
    ResolutionEnable = 0x3A,
    UmdTextColor = 0x3B,
    UmdBackColor = 0x3C,
    ResolutionTextColor = 0x3D,
    ResolutionBackColor = 0x3E,
    BorderEnable = 0x3F,
    LockState = 0x50,
};

// The label frame carries at most this many UTF-16 characters (a 128-byte scratch area).
inline constexpr size_t kUmdLabelMaxChars = 64;

// 0x33: layout code (1, 4, 6, 8, 9, 10, 16); then the whole preview is recomputed.
void SendLayout(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t layout_code);
// 0x19: 0, resolution code.
void SendResolutionType(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                        uint8_t resolution_code);
// 0x3A: resolution labels 0 off, 1 on; then the resolution bars.
void SendResolutionEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable);
// 0x36: UMD labels 0 off, 1 on; then the UMD bars.
void SendUmdEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable);
// 0x1E: the label umd_name of window 1-16 (any other window sends nothing). Traces
// "sendLen = %d \n " with the frame length.
void SendUmdLabel(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t window);
// 0x37: audio meters 0 off, 1 on; then the audio bars.
void SendAudioEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable);
// 0x39: audio channel 1-16.
void SendAudioSource(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t channel);
// 0x3B-0x3E: the section's channel byte from the state (0 = all windows), then the colour
// code. 0x3C recomputes the UMD bars before anything else, on both links even with the serial
// port closed; 0x3E recomputes the resolution bars after sending.
void SendUmdTextColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t color_code);
void SendUmdBackColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t color_code);
void SendResolutionTextColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                             uint8_t color_code);
void SendResolutionBackColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                             uint8_t color_code);
// 0x38 with 0; after the frame went out the state takes the factory defaults (see
// ApplyDefaultSettings) and the preview is recomputed.
void SendSetDefault(DeviceLink& link, MultiviewerState& mv, CommandRoute via);
// 0x3F: window borders 0 off, 1 on.
void SendBorderEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable);
// 0x50: device lock 0 off, 1 on.
void SendLockState(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t lock);
// 0x34: input number 1-16 for window 1-16.
void SendWindowSource(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t input,
                      uint8_t window);
// 0x05: new_network_address (IP address, mask, gateway); always by LAN.
void SendNetworkAddress(DeviceLink& link, const MultiviewerState& mv);

// What the device does on Set Default, as far as the state tracks it: audio meters on with
// source 0, sixteen windows, resolution labels off at index 0, UMD labels on. Colours, names,
// sources, border and lock are left alone.
void ApplyDefaultSettings(MultiviewerState& mv);

}  // namespace panoptix
