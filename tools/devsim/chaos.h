#pragma once
// A device that misbehaves on purpose, for long soak runs of the panel: now and then it stays
// silent for a while, answers late, answers with a cut or corrupt reply, answers twice, sends
// what nobody asked for and drops its serial line for a while. Every choice comes from the seed
// alone, drawn from two streams (one per reply, in the order the replies are made; one for the
// timeline of events), and is described in words for the log, so a run can be repeated from its
// seed. No I/O happens here.
//
// Two rules keep the panel's traffic a fair test: bytes that look like a frame (A5 6C ... AE)
// always carry this device's own type and address bytes, so a reply the panel reads as a search
// answer never lists the device as another kind; and nothing goes anywhere but back to whoever
// talked to the device last.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace panoptix::devsim {

// splitmix64: small, fast and the same on every platform (the standard distributions are not).
class ChaosRandom {
  public:
    explicit ChaosRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // A number in [low, high], both included.
    uint32_t Between(uint32_t low, uint32_t high);
    // True with the given chance in percent.
    bool Percent(uint32_t chance);

  private:
    uint64_t state_;
};

enum class ReplyFate { Send, Drop, Silent, Late, Cut, Corrupt, Twice };

struct ChaosReply {
    ReplyFate fate = ReplyFate::Send;
    uint32_t delay_ms = 0;       // Late: how long the reply waits
    std::vector<uint8_t> bytes;  // what to send (cut or corrupt already applied); empty: nothing
    std::string account;         // what was done, in words; empty for Send
};

enum class ChaosEventKind { Silence, Unrequested, SerialDrop };

struct ChaosEvent {
    ChaosEventKind kind = ChaosEventKind::Unrequested;
    uint32_t duration_ms = 0;    // Silence, SerialDrop
    std::vector<uint8_t> bytes;  // Unrequested
    bool on_serial = false;      // Unrequested: the serial line rather than UDP
    std::string account;
};

class Chaos {
  public:
    // type_byte and address_byte: the device's own; text_device: a matrix router, whose
    // commands are texts (its unrequested bytes may be texts too). start_ms: the tick at start.
    Chaos(uint64_t seed, uint8_t type_byte, uint8_t address_byte, bool text_device,
          uint32_t start_ms);

    // What becomes of one reply made at now_ms.
    ChaosReply OnReply(std::span<const uint8_t> reply, uint32_t now_ms);

    // The tick at which the next timed event is due.
    uint32_t NextEventMs() const { return next_event_ms_; }
    // The event due now; call when NextEventMs() has passed. Plans the one after it.
    ChaosEvent TakeEvent(uint32_t now_ms);

    bool SilentAt(uint32_t now_ms) const;

    // Longest silence and serial drop, and the longest a late reply waits.
    static constexpr uint32_t kMaxSilenceMs = 8000;
    static constexpr uint32_t kMaxSerialDropMs = 6000;
    static constexpr uint32_t kMaxLateMs = 4000;
    // Gaps between timed events.
    static constexpr uint32_t kMinGapMs = 1000;
    static constexpr uint32_t kMaxGapMs = 12000;

  private:
    std::vector<uint8_t> Unrequested();
    // Gives bytes that look like a frame this device's own type and address bytes.
    void KeepIdentity(std::vector<uint8_t>& bytes) const;

    ChaosRandom replies_;
    ChaosRandom timeline_;
    uint8_t type_byte_;
    uint8_t address_byte_;
    bool text_device_;
    uint32_t next_event_ms_;
    uint32_t silent_until_ms_ = 0;
    bool silent_ = false;
    std::vector<uint8_t> last_reply_;
};

// Parses the --chaos value: a decimal number of up to 20 digits.
std::optional<uint64_t> ParseChaosSeed(const std::string& text);

}  // namespace panoptix::devsim
