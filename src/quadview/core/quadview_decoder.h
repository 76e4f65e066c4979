#pragma once
// Decoding of the quad-view processor's two replies. A reply is recognised by its byte 16
// alone; neither its length nor its checksum is looked at. Replies come from the network and
// may be cut short: each field is taken only when its byte arrived, so a missing field keeps
// whatever the panel held before. Decoding stores nothing and writes no trace; the panel
// applies a report (see QuadviewPanel).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "quadview/core/quadview_state.h"

namespace panoptix {

// Offsets of the replies' fields, from the frame's first byte.
namespace quad_reply {
inline constexpr size_t kTracedByte = 17;
inline constexpr size_t kOutputFormat = 20;
inline constexpr size_t kShowMode = 22;
inline constexpr size_t kText = 30;  // zero-terminated text, only its length is traced
inline constexpr size_t kTextMax = 17;
inline constexpr size_t kLabelRecords = 47;  // four records of 40 bytes
inline constexpr size_t kLabelRecordSize = 40;
inline constexpr size_t kLabelLength = 7;  // within a record
inline constexpr size_t kLabelMax = 32;    // a longer length is reported as wrong
inline constexpr size_t kPipChildren = 255;
inline constexpr size_t kLoopState = 257;
inline constexpr size_t kStatusLength = 261;  // with checksum and end marker
inline constexpr size_t kSignalPairs = 18;    // per channel: status, then an unused byte
inline constexpr size_t kSignalLength = 29;
}  // namespace quad_reply

// What a status reply (0x90) holds; a field is empty when its byte did not arrive.
struct QuadStatusReport {
    std::optional<uint8_t> traced_byte;
    std::optional<uint8_t> output_format;
    std::optional<uint8_t> show_mode;
    std::optional<size_t> text_length;  // up to the first zero byte, at most 17
    std::array<std::optional<uint8_t>, kQuadChannels> label_length{};
    std::array<std::optional<uint8_t>, 2> pip_child{};
    std::optional<uint8_t> loop_state;
};

// The signal status of channels 1..4 in a signal reply (0xAA); empty when it did not arrive.
using QuadSignalReport = std::array<std::optional<uint8_t>, kQuadChannels>;

QuadStatusReport DecodeQuadStatusReply(std::span<const uint8_t> frame);
QuadSignalReport DecodeQuadSignalReply(std::span<const uint8_t> frame);

}  // namespace panoptix
