#pragma once
// The serial reply parser: finds the first complete frame with a known command in the receive
// accumulator (status_rx_buffer / status_rx_count), from its first byte, on every call.
#include <cstdint>
#include <functional>
#include <span>

#include "link/device_link.h"

namespace panoptix {

// Receives one complete 0x32 frame (its bytes only, from A5 to AE) of a multiviewer.
using StatusFrameDecoder = std::function<void(std::span<const uint8_t> frame)>;

// 0: nothing usable yet (or a status reply of a device that is not a multiviewer);
// 1: a multiviewer status reply was handed to decode_status;
// n >= 1 for a discovery reply: the number of model names found in it.
int8_t ParseReply(DeviceLink& state, const StatusFrameDecoder& decode_status);

// Appends a received piece; when it would overflow the 1024 bytes, everything collected so far
// is discarded first.
void AppendReceivedBytes(DeviceLink& state, std::span<const uint8_t> bytes);

// Empties the accumulator (zeroes the bytes, count 0).
void ClearReceivedBytes(DeviceLink& state);

// The serial polling loop shared by the serial search and the multiviewer serial status query:
// takes what the port holds (at most 256 bytes a pass), appends it, runs the parser, and ends
// when the parser reports a positive result or window_ms since start_ms has passed ("time over
// \n"). Sleeps on the descriptor between passes. trace_counts writes "count  %d \n" for every
// pass that found bytes. Returns the parser's last result.
enum class CountTrace { Off, On };
int8_t AwaitSerialReply(DeviceLink& state, uint32_t start_ms, uint32_t window_ms,
                        const StatusFrameDecoder& decode_status, CountTrace trace_counts);

}  // namespace panoptix
