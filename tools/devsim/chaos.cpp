#include "chaos.h"

#include <cstdio>

namespace panoptix::devsim {
namespace {

constexpr uint8_t kStart1 = 0xA5;
constexpr uint8_t kStart2 = 0x6C;
constexpr uint8_t kEnd = 0xAE;
constexpr size_t kHeader = 17;  // markers, length, device bytes, link byte, reserved, command

// Ticks wrap after 49 days; what matters is the signed distance.
bool Reached(uint32_t now_ms, uint32_t due_ms) {
    return static_cast<int32_t>(now_ms - due_ms) >= 0;
}

bool LooksLikeFrame(const std::vector<uint8_t>& bytes) {
    return bytes.size() >= 6 && bytes[0] == kStart1 && bytes[1] == kStart2 && bytes.back() == kEnd;
}

// The device's own frame encoder: markers, length, device bytes, link byte 1, reserved zeros,
// command, payload, 16-bit sum of everything before it, end marker.
std::vector<uint8_t> Frame(uint8_t type_byte, uint8_t address_byte, uint8_t command,
                           const std::vector<uint8_t>& payload) {
    const size_t length = kHeader + payload.size() + 3;
    std::vector<uint8_t> frame;
    frame.reserve(length);  // also keeps g++ 12's -O2 bounds warning off the insert below
    frame.resize(kHeader, 0);
    frame[0] = kStart1;
    frame[1] = kStart2;
    frame[2] = static_cast<uint8_t>(length & 0xFF);
    frame[3] = static_cast<uint8_t>(length >> 8);
    frame[4] = type_byte;
    frame[5] = address_byte;
    frame[6] = 1;
    frame[16] = command;
    frame.insert(frame.end(), payload.begin(), payload.end());
    uint16_t sum = 0;
    for (uint8_t byte : frame) {
        sum = static_cast<uint16_t>(sum + byte);
    }
    frame.push_back(static_cast<uint8_t>(sum & 0xFF));
    frame.push_back(static_cast<uint8_t>(sum >> 8));
    frame.push_back(kEnd);
    return frame;
}

std::string Describe(const char* format, uint32_t a, uint32_t b = 0, uint32_t c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

}  // namespace

uint64_t ChaosRandom::Next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

uint32_t ChaosRandom::Between(uint32_t low, uint32_t high) {
    if (high <= low) {
        return low;
    }
    return low + static_cast<uint32_t>(Next() % (uint64_t{high} - low + 1));
}

bool ChaosRandom::Percent(uint32_t chance) {
    return Between(0, 99) < chance;
}

Chaos::Chaos(uint64_t seed, uint8_t type_byte, uint8_t address_byte, bool text_device,
             uint32_t start_ms)
    : replies_(seed),
      timeline_(seed ^ 0x5DEECE66DULL),
      type_byte_(type_byte),
      address_byte_(address_byte),
      text_device_(text_device),
      next_event_ms_(start_ms + timeline_.Between(kMinGapMs, kMaxGapMs)) {}

bool Chaos::SilentAt(uint32_t now_ms) const {
    return silent_ && !Reached(now_ms, silent_until_ms_);
}

ChaosReply Chaos::OnReply(std::span<const uint8_t> reply, uint32_t now_ms) {
    ChaosReply out;
    out.bytes.assign(reply.begin(), reply.end());
    if (reply.empty()) {
        return out;
    }
    // Every reply draws the same numbers whatever its fate, so that the stream stays in step.
    const uint32_t roll = replies_.Between(0, 99);
    const uint32_t a = replies_.Between(0, 0xFFFF);
    const uint32_t b = replies_.Between(0, 0xFFFF);
    const uint32_t c = replies_.Between(1, 255);
    const uint32_t size = static_cast<uint32_t>(reply.size());
    last_reply_ = out.bytes;

    if (SilentAt(now_ms)) {
        out.fate = ReplyFate::Silent;
        out.bytes.clear();
        out.account = Describe("silent: the %u-byte reply is not sent", size);
    } else if (roll < 70) {
        out.fate = ReplyFate::Send;
    } else if (roll < 76) {
        out.fate = ReplyFate::Drop;
        out.bytes.clear();
        out.account = Describe("the %u-byte reply is dropped", size);
    } else if (roll < 84) {
        out.fate = ReplyFate::Late;
        out.delay_ms = 50 + a % (kMaxLateMs - 50 + 1);
        out.account = Describe("the %u-byte reply goes %u ms late", size, out.delay_ms);
    } else if (roll < 90 && size > 1) {
        out.fate = ReplyFate::Cut;
        const uint32_t keep = 1 + a % (size - 1);
        out.bytes.resize(keep);
        out.account = Describe("the reply is cut to %u of %u bytes", keep, size);
    } else if (roll < 96) {
        out.fate = ReplyFate::Corrupt;
        // One or two bytes change; in a frame never the device bytes (4 and 5).
        const uint32_t changes = 1 + b % 2;
        out.account = "the reply is corrupted:";
        uint32_t first_at = size;
        for (uint32_t k = 0; k < changes; ++k) {
            uint32_t at = (k == 0 ? a : b) % size;
            if (!text_device_ && (at == 4 || at == 5)) {
                at += 2;
            }
            if (at >= size || at == first_at) {
                continue;
            }
            first_at = at;
            const uint8_t was = out.bytes[at];
            out.bytes[at] = static_cast<uint8_t>(was ^ c);
            out.account += Describe(" byte %u 0x%02X -> 0x%02X", at, was, out.bytes[at]);
        }
        KeepIdentity(out.bytes);
    } else {
        out.fate = ReplyFate::Twice;
        out.account = Describe("the %u-byte reply is sent twice", size);
    }
    return out;
}

ChaosEvent Chaos::TakeEvent(uint32_t now_ms) {
    ChaosEvent event;
    const uint32_t roll = timeline_.Between(0, 99);
    const uint32_t duration = timeline_.Between(0, 0xFFFF);
    const bool on_serial = timeline_.Percent(50);
    if (roll < 30) {
        event.kind = ChaosEventKind::Silence;
        event.duration_ms = 1000 + duration % (kMaxSilenceMs - 1000 + 1);
        silent_ = true;
        silent_until_ms_ = now_ms + event.duration_ms;
        event.account = Describe("silent for %u ms", event.duration_ms);
    } else if (roll < 45) {
        event.kind = ChaosEventKind::SerialDrop;
        event.duration_ms = 500 + duration % (kMaxSerialDropMs - 500 + 1);
        event.account = Describe("the serial line drops for %u ms", event.duration_ms);
    } else {
        event.kind = ChaosEventKind::Unrequested;
        event.on_serial = on_serial;
        event.bytes = Unrequested();
        event.account = Describe("%u unrequested bytes", static_cast<uint32_t>(event.bytes.size()));
    }
    next_event_ms_ = now_ms + timeline_.Between(kMinGapMs, kMaxGapMs);
    return event;
}

std::vector<uint8_t> Chaos::Unrequested() {
    const uint32_t variant = timeline_.Between(0, 4);
    std::vector<uint8_t> bytes;
    switch (variant) {
        case 0:  // the last reply once more
            if (!last_reply_.empty()) {
                bytes = last_reply_;
                break;
            }
            [[fallthrough]];
        case 1: {  // a well-formed frame of this device with any command and payload
            std::vector<uint8_t> payload(timeline_.Between(0, 300));
            for (uint8_t& byte : payload) {
                byte = static_cast<uint8_t>(timeline_.Between(0, 255));
            }
            bytes = Frame(type_byte_, address_byte_,
                          static_cast<uint8_t>(timeline_.Between(0, 255)), payload);
            break;
        }
        case 2: {  // a frame whose length field lies
            bytes =
                Frame(type_byte_, address_byte_, static_cast<uint8_t>(timeline_.Between(0, 255)),
                      std::vector<uint8_t>(timeline_.Between(0, 40), 0x2D));
            const uint16_t lie = static_cast<uint16_t>(timeline_.Between(0, 0xFFFF));
            bytes[2] = static_cast<uint8_t>(lie & 0xFF);
            bytes[3] = static_cast<uint8_t>(lie >> 8);
            break;
        }
        case 3: {  // noise
            bytes.resize(timeline_.Between(1, 600));
            for (uint8_t& byte : bytes) {
                byte = static_cast<uint8_t>(timeline_.Between(0, 255));
            }
            break;
        }
        default: {  // for a router, a text; for the others, a frame's start and nothing more
            if (text_device_) {
                const char* texts[] = {"1V2.", "9V9.", "All#.", "8V1,2,3,4,5,6,7,8.", "V."};
                const std::string text = texts[timeline_.Between(0, 4)];
                bytes.assign(text.begin(), text.end());
            } else {
                bytes = Frame(type_byte_, address_byte_, 0x32, {});
                bytes.resize(timeline_.Between(1, static_cast<uint32_t>(bytes.size()) - 1));
            }
            break;
        }
    }
    KeepIdentity(bytes);
    return bytes;
}

void Chaos::KeepIdentity(std::vector<uint8_t>& bytes) const {
    if (LooksLikeFrame(bytes)) {
        bytes[4] = type_byte_;
        bytes[5] = address_byte_;
    }
}

std::optional<uint64_t> ParseChaosSeed(const std::string& text) {
    if (text.empty() || text.size() > 20) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        const uint64_t digit = static_cast<uint64_t>(ch - '0');
        if (value > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace panoptix::devsim
