#pragma once
// Helpers shared by the fuzz targets: silenced side channels, a check that counts as a finding,
// the cutting of an input into receive pieces, and ASan poisoning of a buffer's unused tail.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PANOPTIX_FUZZ_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PANOPTIX_FUZZ_ASAN 1
#endif
#if defined(PANOPTIX_FUZZ_ASAN)
#include <sanitizer/asan_interface.h>
#endif

#include "link/operator_messages.h"
#include "link/trace.h"

// A broken invariant is a finding: libFuzzer stores the input, the replay test fails.
#define FUZZ_CHECK(condition)                                                            \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "FUZZ_CHECK failed at %s:%d: %s\n", __FILE__, __LINE__, \
                         #condition);                                                    \
            std::abort();                                                                \
        }                                                                                \
    } while (false)

namespace panoptix::fuzz {

class SilentMessages : public OperatorMessages {
  public:
    void ShowError(std::string_view) override {}
};

// Traces and operator messages cost more than the code under test; drop them. Call once.
inline bool SilenceSideChannels() {
    static SilentMessages messages;
    SetTraceSink([](std::string_view) {});
    SetOperatorMessages(&messages);
    return true;
}

// Cuts an input into the pieces in which a port or socket would deliver it. The lengths come
// from a small generator seeded by the input's size, so every seed file stays a plain byte
// stream and a mutation of the length also changes the cut. Most pieces are at most 256 bytes
// (one read of the serial polling loop); now and then one is longer than the accumulator.
class PieceCutter {
  public:
    PieceCutter(std::span<const uint8_t> bytes, size_t long_piece_bytes)
        : rest_(bytes),
          long_piece_bytes_(long_piece_bytes),
          state_(bytes.size() * 2654435761u + 1) {}

    bool Done() const { return rest_.empty(); }

    std::span<const uint8_t> Next() {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        const uint32_t draw = static_cast<uint32_t>(state_ >> 33);
        size_t length = 0;
        switch (draw % 8) {
            case 0:
                length = 1;
                break;
            case 1:
                length = long_piece_bytes_;
                break;
            case 2:
            case 3:
                length = 1 + (draw >> 3) % 16;
                break;
            default:
                length = 1 + (draw >> 3) % 256;
                break;
        }
        if (length > rest_.size()) {
            length = rest_.size();
        }
        const auto piece = rest_.first(length);
        rest_ = rest_.subspan(length);
        return piece;
    }

  private:
    std::span<const uint8_t> rest_;
    size_t long_piece_bytes_;
    uint64_t state_;
};

// Marks bytes as unreadable for the duration of a scope, so a read of them is a finding under
// ASan (a no-op without ASan). Used for the unused tail of a fixed-size accumulator, where a
// read is inside the record and invisible to ASan otherwise.
class PoisonedRange {
  public:
    PoisonedRange(const void* begin, size_t size) : begin_(begin), size_(size) {
#if defined(PANOPTIX_FUZZ_ASAN)
        ASAN_POISON_MEMORY_REGION(begin_, size_);
#endif
    }
    ~PoisonedRange() {
#if defined(PANOPTIX_FUZZ_ASAN)
        ASAN_UNPOISON_MEMORY_REGION(begin_, size_);
#endif
    }
    PoisonedRange(const PoisonedRange&) = delete;
    PoisonedRange& operator=(const PoisonedRange&) = delete;

  private:
    [[maybe_unused]] const void* begin_;
    [[maybe_unused]] size_t size_;
};

}  // namespace panoptix::fuzz
