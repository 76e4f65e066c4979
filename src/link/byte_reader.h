#pragma once
// A bounds-checked view of untrusted bytes (a received frame, the serial accumulator). Every
// fetch answers with the value or with "not enough bytes" (an empty optional); nothing is ever
// read past the end, whatever offset a length field or a scan produces.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace panoptix {

class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }

    // The byte at offset, or nothing when offset lies outside.
    std::optional<uint8_t> ByteAt(size_t offset) const {
        if (offset >= bytes_.size()) {
            return std::nullopt;
        }
        return bytes_[offset];
    }

    // Whether the byte at offset is there and equals value.
    bool ByteIs(size_t offset, uint8_t value) const { return ByteAt(offset) == value; }

    // The little-endian 16-bit number at offset and offset + 1, or nothing unless both lie
    // inside.
    std::optional<uint16_t> U16LeAt(size_t offset) const {
        const auto bytes = BytesAt(offset, 2);
        if (!bytes) {
            return std::nullopt;
        }
        return static_cast<uint16_t>((*bytes)[0] | (*bytes)[1] << 8);
    }

    // The count bytes from offset on, or nothing unless all of them lie inside.
    std::optional<std::span<const uint8_t>> BytesAt(size_t offset, size_t count) const {
        if (offset > bytes_.size() || count > bytes_.size() - offset) {
            return std::nullopt;
        }
        return bytes_.subspan(offset, count);
    }

  private:
    std::span<const uint8_t> bytes_;
};

}  // namespace panoptix
