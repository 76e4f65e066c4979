#pragma once
// Bytes from the pseudo-terminal arrive in arbitrary pieces. The accumulator keeps them and
// hands out complete units in order. Garbage is collected until the next unit starts (or the
// line goes quiet), so that a run of noise is reported once, however it was split.
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
    // Garbage held longer than this is handed out anyway.
    static constexpr size_t kMaxHeldGarbage = 4096;

    void Append(std::span<const uint8_t> bytes);
    // The next complete unit (frame, text or garbage), or nullopt when more bytes are needed.
    std::optional<CutBytes> Next();
    // Bytes held: an incomplete unit and garbage not yet handed out.
    size_t Pending() const;
    // The line went quiet: an incomplete frame loses its two markers (a frame may start inside
    // it), an incomplete text is dropped, and every unit found after that is handed out too.
    // Leaves the accumulator empty.
    std::vector<CutBytes> Flush();

  private:
    CutBytes Take(Unit unit);
    void HoldGarbage(CutBytes garbage);

    std::vector<uint8_t> bytes_;
    std::optional<CutBytes> garbage_;
};

}  // namespace panoptix::devsim
