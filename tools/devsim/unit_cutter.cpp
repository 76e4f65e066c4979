#include "unit_cutter.h"

#include <cstdio>
#include <optional>

#include "link/byte_reader.h"
#include "link/command_frame.h"

namespace panoptix::devsim {
namespace {

bool IsTextStart(uint8_t byte) {
    return (byte >= '0' && byte <= '9') || byte == 'A';
}

bool IsTextBody(uint8_t byte) {
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || byte == '#' || byte == ',';
}

std::string Format(const char* format, size_t a, size_t b = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

Unit Garbage(size_t size, std::string reason) {
    return Unit{UnitKind::Garbage, size, std::move(reason)};
}

Unit WaitOrDrop(size_t available, InputEnd end, std::string reason) {
    if (end == InputEnd::MoreMayFollow) {
        return Unit{UnitKind::Incomplete, 0, {}};
    }
    return Garbage(available, std::move(reason));
}

Unit CutFrame(std::span<const uint8_t> bytes, InputEnd end) {
    const ByteReader reader(bytes);
    const std::optional<uint16_t> length_field = reader.U16LeAt(2);
    if (!length_field) {
        return WaitOrDrop(bytes.size(), end, "incomplete frame start");
    }
    const size_t length = *length_field;
    // A bad header drops only the two markers, so that a frame starting inside them is found.
    if (length < kFrameOverhead) {
        return Garbage(2, Format("frame length field %zu is shorter than a frame", length));
    }
    if (length > kMaxFrameLength) {
        return Garbage(
            2, Format("frame length field %zu is longer than %zu", length, kMaxFrameLength));
    }
    if (bytes.size() < length) {
        return WaitOrDrop(bytes.size(), end,
                          Format("incomplete frame: %zu of %zu bytes", bytes.size(), length));
    }
    if (!reader.ByteIs(length - 1, kFrameEnd)) {
        return Garbage(2,
                       Format("no end marker at byte %zu of a %zu-byte frame", length - 1, length));
    }
    const auto frame = bytes.first(length);
    const uint16_t carried = static_cast<uint16_t>(frame[length - 3] | (frame[length - 2] << 8));
    const uint16_t expected = ExpectedChecksum(frame);
    if (carried != expected) {
        char text[96];
        std::snprintf(text, sizeof text, "checksum 0x%04X does not match the bytes (0x%04X)",
                      carried, expected);
        return Garbage(length, text);
    }
    return Unit{UnitKind::Frame, length, {}};
}

Unit CutText(std::span<const uint8_t> bytes, InputEnd end) {
    const size_t limit = bytes.size() < kMaxTextLength ? bytes.size() : kMaxTextLength;
    for (size_t i = 0; i < limit; ++i) {
        if (bytes[i] == '.') {
            return Unit{UnitKind::Text, i + 1, {}};
        }
        if (!IsTextBody(bytes[i])) {
            return Garbage(i, "text broken off before its '.'");
        }
    }
    if (bytes.size() >= kMaxTextLength) {
        return Garbage(kMaxTextLength, Format("no '.' within %zu bytes of text", kMaxTextLength));
    }
    return WaitOrDrop(bytes.size(), end, "text without its final '.'");
}

}  // namespace

uint16_t ExpectedChecksum(std::span<const uint8_t> frame) {
    if (frame.size() < 3) {
        return 0;
    }
    return FrameChecksum(frame.first(frame.size() - 3));
}

Unit CutUnit(std::span<const uint8_t> bytes, InputEnd end) {
    if (bytes.empty()) {
        return Unit{UnitKind::Incomplete, 0, {}};
    }
    if (bytes[0] == kFrameStart1) {
        if (bytes.size() < 2) {
            return WaitOrDrop(1, end, "incomplete frame start");
        }
        if (bytes[1] == kFrameStart2) {
            return CutFrame(bytes, end);
        }
    } else if (IsTextStart(bytes[0])) {
        return CutText(bytes, end);
    }
    // A run of bytes that start nothing, up to the next byte that may start a unit.
    size_t run = 1;
    while (run < bytes.size() && bytes[run] != kFrameStart1 && !IsTextStart(bytes[run])) {
        ++run;
    }
    return Garbage(run, "no frame start");
}

}  // namespace panoptix::devsim
