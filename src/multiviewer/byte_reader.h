#pragma once
// A bounds-checked view of untrusted bytes (a received frame). Every read says whether the
// bytes were there; nothing is ever read past the end.
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
