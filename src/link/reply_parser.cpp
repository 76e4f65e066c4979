#include "link/reply_parser.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "link/clock.h"
#include "link/command_frame.h"
#include "link/device_entry.h"
#include "link/trace.h"

namespace panoptix {
namespace {

constexpr uint8_t kNameSeparator = '-';
constexpr size_t kFrameTypeOffset = 4;
constexpr size_t kModelNameOffset = 18;
constexpr int kSerialReadChunk = 256;
constexpr uint32_t kUnknownCountPauseMs = 10;

// The bytes collected so far, never more than the accumulator holds whatever the count says.
std::span<const uint8_t> AccumulatedBytes(const LinkState& state) {
    const auto count = static_cast<size_t>(
        std::clamp<int32_t>(state.status_rx_count, 0, static_cast<int32_t>(kRxBufferSize)));
    return std::span<const uint8_t>(state.status_rx_buffer).first(count);
}

// Positions at or beyond the collected bytes never match.
bool ByteIs(std::span<const uint8_t> bytes, size_t position, uint8_t value) {
    return position < bytes.size() && bytes[position] == value;
}

// Tests the candidate frame whose 0xA5 is at start: second marker, length field, end marker
// at the position the length names. Returns the frame, or nothing when the candidate is not a
// complete frame (yet). The device type byte is taken as soon as the length has been read,
// even from a candidate that then fails.
std::optional<std::span<const uint8_t>> CompleteFrameAt(LinkState& state,
                                                        std::span<const uint8_t> bytes,
                                                        size_t start) {
    if (!ByteIs(bytes, start + 1, kFrameStart2) || start + kFrameTypeOffset >= bytes.size()) {
        return std::nullopt;
    }
    const size_t length = bytes[start + 2] | static_cast<size_t>(bytes[start + 3]) << 8;
    state.m_main_com_dev_type = bytes[start + kFrameTypeOffset];
    // Shorter than the bare frame, the length cannot describe one (and 0 would point before
    // the frame's start).
    if (length < kFrameOverhead || !ByteIs(bytes, start + length - 1, kFrameEnd)) {
        return std::nullopt;
    }
    Trace("index = %d \n", static_cast<int>(start + kFrameCommandOffset));
    return bytes.subspan(start, length);
}

// The discovery reply carries the model name from byte 18 on, followed by "-x-". Every '-'
// with another '-' two places after it, both inside the frame, ends a name candidate; the last
// one found is stored.
int8_t TakeDiscoveryReply(LinkState& state, std::span<const uint8_t> frame, size_t start) {
    Trace("m_main_com_dev_type = 0x%x \n ", state.m_main_com_dev_type);
    Trace("index = %d \n", static_cast<int>(start + kFrameCommandOffset));
    int names = 0;
    for (size_t i = kModelNameOffset; i + 2 < frame.size(); ++i) {
        if (frame[i] != kNameSeparator || frame[i + 2] != kNameSeparator) {
            continue;
        }
        Trace("nameLength = %d  \n", static_cast<int>(i - kModelNameOffset));
        const auto name = frame.subspan(kModelNameOffset, i - kModelNameOffset);
        state.model_name.assign(name.begin(), name.end());
        names = std::min(names + 1, static_cast<int>(std::numeric_limits<int8_t>::max()));
    }
    return static_cast<int8_t>(names);
}

int8_t TakeStatusReply(std::span<const uint8_t> frame, const StatusFrameDecoder& decode_status) {
    if (frame[kFrameTypeOffset] != device_type::kMultiviewer) {
        return 0;
    }
    if (decode_status) {
        decode_status(frame);
    }
    return 1;
}

}  // namespace

int8_t ParseReply(LinkState& state, const StatusFrameDecoder& decode_status) {
    const auto bytes = AccumulatedBytes(state);
    // A candidate that fails is stepped over by one byte only, so a frame starting inside it
    // (for example right after a stray 0xA5) is still found.
    for (size_t start = 0; start < bytes.size(); ++start) {
        if (bytes[start] != kFrameStart1) {
            continue;
        }
        const auto frame = CompleteFrameAt(state, bytes, start);
        if (!frame) {
            continue;
        }
        switch ((*frame)[kFrameCommandOffset]) {
            case command::kDiscovery:
                return TakeDiscoveryReply(state, *frame, start);
            case command::kMultiviewerStatus:
                return TakeStatusReply(*frame, decode_status);
            default:
                break;
        }
    }
    return 0;
}

void AppendReceivedBytes(LinkState& state, std::span<const uint8_t> bytes) {
    size_t count = AccumulatedBytes(state).size();
    if (count + bytes.size() > kRxBufferSize) {
        ClearReceivedBytes(state);
        count = 0;
    }
    // A piece larger than the whole accumulator keeps only what fits.
    const size_t taken = std::min(bytes.size(), kRxBufferSize - count);
    std::copy_n(bytes.begin(), taken, state.status_rx_buffer.begin() + count);
    state.status_rx_count = static_cast<int32_t>(count + taken);
}

void ClearReceivedBytes(LinkState& state) {
    state.status_rx_buffer.fill(0);
    state.status_rx_count = 0;
}

int8_t AwaitSerialReply(LinkState& state, uint32_t start_ms, uint32_t window_ms,
                        const StatusFrameDecoder& decode_status, CountTrace trace_counts) {
    std::array<uint8_t, kSerialReadChunk> piece;
    for (;;) {
        const int queued = state.serial_port.InputCount();
        int read = 0;
        if (queued > 0) {
            if (trace_counts == CountTrace::On) {
                Trace("count  %d \n", queued);
            }
            read = state.serial_port.ReadPort(piece.data(), std::min(queued, kSerialReadChunk));
            if (read > 0) {
                AppendReceivedBytes(state, std::span(piece).first(static_cast<size_t>(read)));
            }
        }
        const int8_t result = ParseReply(state, decode_status);
        if (result > 0) {
            return result;
        }
        if (TickMs() - start_ms > window_ms) {
            Trace("time over \n");
            return result;
        }
        // At least 1 ms, so that the pass after the window's last millisecond says so.
        const uint32_t left_ms = std::max<uint32_t>(RemainingMs(start_ms, window_ms), 1);
        if (read > 0 && read < queued) {
            continue;  // more is queued already
        }
        if (queued < 0 || (queued > 0 && read <= 0)) {
            // The count is unknown or the read failed: pause briefly rather than spin.
            SleepMs(std::min(left_ms, kUnknownCountPauseMs));
        } else {
            state.serial_port.WaitForInput(left_ms);
        }
    }
}

}  // namespace panoptix
