// The misbehaving device: its choices come from the seed alone, stay within their bounds, and
// never make the device look like another kind to the panel.
#include "chaos.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "device_factory.h"
#include "device_model.h"
#include "devsim_test_frames.h"
#include "unit_cutter.h"

namespace panoptix::devsim {
namespace {

constexpr uint8_t kType = 0xA1;
constexpr uint8_t kAddress = 0x07;

// A 40-byte status-like reply of the device.
std::vector<uint8_t> Reply() {
    auto model = MakeDeviceModel({DeviceKind::Multiviewer, "MV16", kType, kAddress});
    return model->ReceiveDatagram(testing::PanelFrame(kType, 0x32, {}, LinkByte::Udp, kAddress))
        .reply;
}

// One line per reply and per event, from a fixed order of calls at fixed times.
std::vector<std::string> Transcript(uint64_t seed) {
    Chaos chaos(seed, kType, kAddress, false, 1000);
    const std::vector<uint8_t> reply = Reply();
    std::vector<std::string> lines;
    uint32_t now_ms = 1000;
    for (int step = 0; step < 400; ++step) {
        now_ms += 250;
        const ChaosReply fate = chaos.OnReply(reply, now_ms);
        lines.push_back(std::to_string(static_cast<int>(fate.fate)) + " " + fate.account);
        if (static_cast<int32_t>(now_ms - chaos.NextEventMs()) >= 0) {
            const ChaosEvent event = chaos.TakeEvent(now_ms);
            lines.push_back(event.account + " " + std::to_string(event.bytes.size()));
        }
    }
    return lines;
}

TEST(Chaos, TheSameSeedRepeatsEveryChoiceAndAnotherSeedDoesNot) {
    EXPECT_EQ(Transcript(42), Transcript(42));
    EXPECT_NE(Transcript(42), Transcript(43));
}

TEST(Chaos, EveryFateOccursAndEachStaysWithinItsBounds) {
    Chaos chaos(7, kType, kAddress, false, 0);
    const std::vector<uint8_t> reply = Reply();
    ASSERT_GE(reply.size(), 20u);
    std::map<ReplyFate, int> seen;
    for (int k = 0; k < 2000; ++k) {
        const ChaosReply fate = chaos.OnReply(reply, 0);  // before the first event: never silent
        ++seen[fate.fate];
        switch (fate.fate) {
            case ReplyFate::Send:
            case ReplyFate::Twice:
                EXPECT_EQ(fate.bytes, reply);
                break;
            case ReplyFate::Drop:
            case ReplyFate::Silent:
                EXPECT_TRUE(fate.bytes.empty());
                break;
            case ReplyFate::Late:
                EXPECT_EQ(fate.bytes, reply);
                EXPECT_GE(fate.delay_ms, 50u);
                EXPECT_LE(fate.delay_ms, Chaos::kMaxLateMs);
                break;
            case ReplyFate::Cut:
                EXPECT_GE(fate.bytes.size(), 1u);
                EXPECT_LT(fate.bytes.size(), reply.size());
                EXPECT_TRUE(std::equal(fate.bytes.begin(), fate.bytes.end(), reply.begin()));
                break;
            case ReplyFate::Corrupt:
                ASSERT_EQ(fate.bytes.size(), reply.size());
                EXPECT_NE(fate.bytes, reply);
                // The device bytes stay: a corrupt search answer still names this device.
                EXPECT_EQ(fate.bytes[4], kType);
                EXPECT_EQ(fate.bytes[5], kAddress);
                break;
        }
        if (fate.fate != ReplyFate::Send) {
            EXPECT_FALSE(fate.account.empty());
        }
    }
    for (ReplyFate fate : {ReplyFate::Send, ReplyFate::Drop, ReplyFate::Late, ReplyFate::Cut,
                           ReplyFate::Corrupt, ReplyFate::Twice}) {
        EXPECT_GT(seen[fate], 0) << static_cast<int>(fate);
    }
    EXPECT_EQ(seen[ReplyFate::Silent], 0);
}

TEST(Chaos, EventsComeWithinTheirGapsAndSilenceHoldsBackEveryReply) {
    Chaos chaos(2026, kType, kAddress, false, 5000);
    const std::vector<uint8_t> reply = Reply();
    std::set<ChaosEventKind> kinds;
    uint32_t previous_ms = 5000;
    for (int k = 0; k < 300; ++k) {
        const uint32_t due_ms = chaos.NextEventMs();
        EXPECT_GE(due_ms - previous_ms, Chaos::kMinGapMs);
        EXPECT_LE(due_ms - previous_ms, Chaos::kMaxGapMs);
        const ChaosEvent event = chaos.TakeEvent(due_ms);
        previous_ms = due_ms;
        kinds.insert(event.kind);
        switch (event.kind) {
            case ChaosEventKind::Silence:
                EXPECT_LE(event.duration_ms, Chaos::kMaxSilenceMs);
                EXPECT_EQ(chaos.OnReply(reply, due_ms + event.duration_ms - 1).fate,
                          ReplyFate::Silent);
                EXPECT_NE(chaos.OnReply(reply, due_ms + event.duration_ms).fate, ReplyFate::Silent);
                break;
            case ChaosEventKind::SerialDrop:
                EXPECT_GT(event.duration_ms, 0u);
                EXPECT_LE(event.duration_ms, Chaos::kMaxSerialDropMs);
                break;
            case ChaosEventKind::Unrequested: {
                ASSERT_FALSE(event.bytes.empty());
                EXPECT_LE(event.bytes.size(), 1024u);
                const auto& b = event.bytes;
                if (b.size() >= 6 && b[0] == 0xA5 && b[1] == 0x6C && b.back() == 0xAE) {
                    EXPECT_EQ(b[4], kType);
                    EXPECT_EQ(b[5], kAddress);
                }
                break;
            }
        }
    }
    EXPECT_EQ(kinds.size(), 3u);
}

TEST(Chaos, SeedsAreDecimalNumbersBelowTwoToTheSixtyFour) {
    const struct {
        const char* text;
        std::optional<uint64_t> seed;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"18446744073709551615", UINT64_MAX},
        {"18446744073709551616", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"0x10", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseChaosSeed(c.text), c.seed) << c.text;
    }
}

}  // namespace
}  // namespace panoptix::devsim
