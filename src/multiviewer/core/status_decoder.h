#pragma once
// Decoding of the multiviewer's status reply (command 0x32) into MultiviewerState. Both links
// decode with the same field layout; the LAN query also writes traces while decoding.
//
// The reply is read from untrusted bytes and may be shorter than its full layout (669 bytes
// with checksum and end marker). Each field is stored only when its byte lies inside the
// frame; a UMD slot only when its length byte and all L text bytes lie inside; everything
// else keeps its value. A frame that ends early therefore decodes what it holds and nothing
// more.
#include <cstddef>
#include <cstdint>
#include <span>

#include "multiviewer/core/multiviewer_state.h"

namespace panoptix {

// Offsets of the status reply's fields, from the frame's first byte.
namespace status_reply {
inline constexpr size_t kLayoutCode = 18;
inline constexpr size_t kResolutionCode = 19;
inline constexpr size_t kUmdEnable = 20;
inline constexpr size_t kAudioEnable = 21;
inline constexpr size_t kAudioSource = 22;
inline constexpr size_t kResolutionEnable = 23;
// Sixteen UMD slots, window 1 first: a length byte L (bytes of UTF-16LE text), then 32 bytes.
inline constexpr size_t kUmdSlots = 24;
inline constexpr size_t kUmdSlotSize = 33;
inline constexpr size_t kUmdTextMaxBytes = 32;
inline constexpr size_t kWindowSources = 552;  // input number of windows 1-16
inline constexpr size_t kBorderEnable = 600;
inline constexpr size_t kLockState = 601;
// 64 colour codes: UMD text, UMD background, resolution text, resolution background.
inline constexpr size_t kColors = 602;
inline constexpr size_t kLastFieldByte = 665;
inline constexpr size_t kFullLength = 669;  // with checksum and end marker
}  // namespace status_reply

enum class DecodeTraces { Off, On };

// Stores the fields of one status reply frame (its bytes from A5 on). The command byte is not
// checked here: the callers only hand over 0x32 frames.
void DecodeStatusReply(MultiviewerState& state, std::span<const uint8_t> frame,
                       DecodeTraces traces);

}  // namespace panoptix
