#pragma once
// Bytes from the pseudo-terminal arrive in arbitrary pieces. The accumulator keeps them and
// hands out complete units in order; when the line goes quiet, the owner flushes what is left.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "unit_cutter.h"

namespace panoptix::devsim {

struct CutBytes {
    Unit unit;
    std::vector<uint8_t> bytes;  // the unit's bytes
};

class SerialAccumulator {
  public:
    void Append(std::span<const uint8_t> bytes);
    // The next complete unit (frame, text or garbage), or nullopt when more bytes are needed.
    std::optional<CutBytes> Next();
    // Bytes kept for an incomplete unit.
    size_t Pending() const { return bytes_.size(); }
    // The line went quiet: an incomplete frame loses its two markers (a frame may start inside
    // it), an incomplete text is dropped, and every unit found after that is handed out too.
    // Leaves the accumulator empty.
    std::vector<CutBytes> Flush();

  private:
    CutBytes Take(Unit unit);
    void AbsorbGarbage(CutBytes& garbage);

    std::vector<uint8_t> bytes_;
};

}  // namespace panoptix::devsim
