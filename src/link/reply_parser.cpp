#include "link/reply_parser.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

#include "link/byte_reader.h"
#include "link/clock.h"
#include "link/command_frame.h"
#include "link/device_entry.h"
#include "link/model_name_scan.h"
#include "link/trace_events.h"

namespace panoptix {
namespace {

constexpr size_t kFrameTypeOffset = 4;
constexpr int kSerialReadChunk = 256;
constexpr uint32_t kUnknownCountPauseMs = 10;

// The bytes collected so far, never more than the accumulator holds whatever the count says.
std::span<const uint8_t> AccumulatedBytes(const DeviceLink& state) {
    const auto count = static_cast<size_t>(
        std::clamp<int32_t>(state.status_rx_count, 0, static_cast<int32_t>(kRxBufferSize)));
    return std::span<const uint8_t>(state.status_rx_buffer).first(count);
}

// Tests the candidate frame whose 0xA5 is at start: second marker, length field, end marker
// at the position the length names. Returns the frame, or nothing when the candidate is not a
// complete frame (yet). The device type byte is taken as soon as the length has been read,
// even from a candidate that then fails.
std::optional<std::span<const uint8_t>> CompleteFrameAt(DeviceLink& state, const ByteReader& bytes,
                                                        size_t start) {
    if (!bytes.ByteIs(start + 1, kFrameStart2)) {
        return std::nullopt;
    }
    const std::optional<uint16_t> length = bytes.U16LeAt(start + 2);
    const std::optional<uint8_t> device_type = bytes.ByteAt(start + kFrameTypeOffset);
    if (!length || !device_type) {
        return std::nullopt;
    }
    state.m_main_com_dev_type = *device_type;
    // Shorter than the bare frame, the length cannot describe one (and 0 would point before
    // the frame's start).
    if (*length < kFrameOverhead || !bytes.ByteIs(start + *length - 1, kFrameEnd)) {
        return std::nullopt;
    }
    trace::ReplyCommandOffset(static_cast<int>(start + kFrameCommandOffset));
    return bytes.BytesAt(start, *length);
}

// Every name the discovery reply carries replaces the stored one, so the last found stays.
// The scan runs to the frame's end (checksum and end marker included); the count is a signed
// byte and stops at 127.
int8_t TakeDiscoveryReply(DeviceLink& state, const ByteReader& frame, size_t start) {
    trace::SerialReplyType(state.m_main_com_dev_type);
    trace::ReplyCommandOffset(static_cast<int>(start + kFrameCommandOffset));
    int names = 0;
    ScanModelNames(frame, frame.size(), [&](std::span<const uint8_t> name) {
        trace::ModelNameLength(static_cast<int>(name.size()));
        state.model_name = WidenBytes(name);
        names = std::min(names + 1, static_cast<int>(std::numeric_limits<int8_t>::max()));
        return ScanStep::Continue;
    });
    return static_cast<int8_t>(names);
}

int8_t TakeStatusReply(std::span<const uint8_t> frame, const StatusFrameDecoder& decode_status) {
    if (!ByteReader(frame).ByteIs(kFrameTypeOffset, device_type::kMultiviewer)) {
        return 0;
    }
    if (decode_status) {
        decode_status(frame);
    }
    return 1;
}

}  // namespace

int8_t ParseReply(DeviceLink& state, const StatusFrameDecoder& decode_status) {
    const ByteReader bytes(AccumulatedBytes(state));
    // A candidate that fails is stepped over by one byte only, so a frame starting inside it
    // (for example right after a stray 0xA5) is still found.
    for (size_t start = 0; start < bytes.size(); ++start) {
        if (!bytes.ByteIs(start, kFrameStart1)) {
            continue;
        }
        const auto frame = CompleteFrameAt(state, bytes, start);
        if (!frame) {
            continue;
        }
        switch (ByteReader(*frame).ByteAt(kFrameCommandOffset).value_or(0)) {
            case command::kDiscovery:
                return TakeDiscoveryReply(state, ByteReader(*frame), start);
            case command::kMultiviewerStatus:
                return TakeStatusReply(*frame, decode_status);
            default:
                break;
        }
    }
    return 0;
}

void AppendReceivedBytes(DeviceLink& state, std::span<const uint8_t> bytes) {
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

void ClearReceivedBytes(DeviceLink& state) {
    state.status_rx_buffer.fill(0);
    state.status_rx_count = 0;
}

int8_t AwaitSerialReply(DeviceLink& state, uint32_t start_ms, uint32_t window_ms,
                        const StatusFrameDecoder& decode_status, CountTrace trace_counts) {
    std::array<uint8_t, kSerialReadChunk> piece;
    for (;;) {
        const int queued = state.serial_port.InputCount();
        int read = 0;
        if (queued > 0) {
            if (trace_counts == CountTrace::On) {
                trace::Count(queued);
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
            trace::TimeOver();
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
