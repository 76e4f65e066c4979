#pragma once
// Cuts what a device receives into units: a command frame (A5 6C, 16-bit length, ..., AE), a
// matrix text ending at '.', or a run of bytes that is neither. A pure function over a byte
// span: it never reads past the span and never allocates, so it can be fuzzed directly.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace panoptix::devsim {

// Longest frame a device accepts. The longest the panel sends is a label frame of 156 bytes.
inline constexpr size_t kMaxFrameLength = 1024;
// Longest matrix text, '.' included ("8V1,2,3,4,5,6,7,8." is 18).
inline constexpr size_t kMaxTextLength = 32;

enum class UnitKind {
    Frame,       // a complete frame: markers, length, end marker and checksum agree
    Text,        // a matrix text, '.' included
    Garbage,     // bytes to drop; reason says why
    Incomplete,  // the bytes so far may still become a unit: wait for more
};

// Whether more bytes may follow the span (serial stream) or the span is all there is
// (a datagram, or a serial stream that has gone quiet).
enum class InputEnd { MoreMayFollow, Final };

struct Unit {
    UnitKind kind = UnitKind::Incomplete;
    size_t size = 0;     // bytes of the span the unit takes, from its first byte
    std::string reason;  // for Garbage: why the bytes are dropped
};

Unit CutUnit(std::span<const uint8_t> bytes, InputEnd end);

// Checksum of a frame of the given bytes as it must read: the 16-bit sum of all bytes before it.
uint16_t ExpectedChecksum(std::span<const uint8_t> frame);

}  // namespace panoptix::devsim
