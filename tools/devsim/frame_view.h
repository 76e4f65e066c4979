#pragma once
// Read access to one complete, checked command frame: header fields and the payload, with every
// payload read bounds-checked.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "link/byte_reader.h"
#include "link/command_frame.h"

namespace panoptix::devsim {

class FrameView {
  public:
    // bytes: a frame as cut by CutUnit (at least 20 bytes, length field equal to its size).
    explicit FrameView(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint8_t DeviceType() const { return bytes_[4]; }
    uint8_t DeviceAddress() const { return bytes_[5]; }
    uint8_t LinkByteValue() const { return bytes_[6]; }
    uint8_t Command() const { return bytes_[kFrameCommandOffset]; }
    size_t Size() const { return bytes_.size(); }

    // Frame bytes 17 .. n-4.
    std::span<const uint8_t> Payload() const {
        return bytes_.subspan(kFramePayloadOffset, bytes_.size() - kFrameOverhead);
    }
    // Payload byte i, or nullopt past the payload's end.
    std::optional<uint8_t> PayloadByte(size_t i) const { return ByteReader(Payload()).ByteAt(i); }
    // Little-endian 16-bit value at payload bytes i, i+1.
    std::optional<uint16_t> PayloadWord(size_t i) const { return ByteReader(Payload()).U16LeAt(i); }

  private:
    std::span<const uint8_t> bytes_;
};

}  // namespace panoptix::devsim
