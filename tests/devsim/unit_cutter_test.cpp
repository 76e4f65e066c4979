#include "unit_cutter.h"

#include <gtest/gtest.h>

#include <random>

#include "devsim_test_frames.h"
#include "serial_accumulator.h"

namespace panoptix::devsim {
namespace {

using testing::Bytes;
using testing::PanelFrame;

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct CutCase {
    const char* name;
    std::vector<uint8_t> bytes;
    InputEnd end;
    UnitKind kind;
    size_t size;
    const char* reason_part;
};

TEST(UnitCutter, CutsFramesTextsAndGarbage) {
    const auto layout = PanelFrame(0xA1, 0x33, {4});
    auto bad_sum = layout;
    bad_sum[17] = 5;  // payload changed, checksum not
    auto no_end = layout;
    no_end.back() = 0x00;
    const std::vector<CutCase> cases = {
        {"frame", layout, InputEnd::Final, UnitKind::Frame, 21, ""},
        {"frame followed by more", Concat({layout, Bytes("3All.")}), InputEnd::MoreMayFollow,
         UnitKind::Frame, 21, ""},
        {"half a frame, more to come",
         {layout.begin(), layout.begin() + 10},
         InputEnd::MoreMayFollow,
         UnitKind::Incomplete,
         0,
         ""},
        {"half a datagram",
         {layout.begin(), layout.begin() + 10},
         InputEnd::Final,
         UnitKind::Garbage,
         10,
         "incomplete frame: 10 of 21 bytes"},
        {"three header bytes",
         {0xA5, 0x6C, 0x15},
         InputEnd::Final,
         UnitKind::Garbage,
         3,
         "incomplete frame start"},
        {"lone A5, more to come", {0xA5}, InputEnd::MoreMayFollow, UnitKind::Incomplete, 0, ""},
        {"length field below 20",
         {0xA5, 0x6C, 0x05, 0x00, 1, 2, 3},
         InputEnd::Final,
         UnitKind::Garbage,
         2,
         "shorter than a frame"},
        {"length field too long",
         {0xA5, 0x6C, 0xFF, 0xFF, 1, 2, 3},
         InputEnd::MoreMayFollow,
         UnitKind::Garbage,
         2,
         "longer than 1024"},
        {"no end marker", no_end, InputEnd::Final, UnitKind::Garbage, 2, "no end marker"},
        {"bad checksum", bad_sum, InputEnd::Final, UnitKind::Garbage, 21, "checksum"},
        {"matrix text", Bytes("3All."), InputEnd::Final, UnitKind::Text, 5, ""},
        {"one to one text", Bytes("All#."), InputEnd::Final, UnitKind::Text, 5, ""},
        {"text, more to come", Bytes("1V2,"), InputEnd::MoreMayFollow, UnitKind::Incomplete, 0, ""},
        {"text without dot", Bytes("1V2,"), InputEnd::Final, UnitKind::Garbage, 4, "final '.'"},
        {"text broken by a control byte", Bytes("1V2\n3."), InputEnd::Final, UnitKind::Garbage, 3,
         "broken off"},
        {"endless text", Bytes(std::string(40, '1')), InputEnd::MoreMayFollow, UnitKind::Garbage,
         32, "no '.' within 32"},
        {"noise", Bytes("hello"), InputEnd::Final, UnitKind::Garbage, 5, "no frame start"},
        {"noise up to a frame", Concat({Bytes("xy"), layout}), InputEnd::Final, UnitKind::Garbage,
         2, "no frame start"},
        {"A5 without 6C",
         {0xA5, 0x00, 0x01},
         InputEnd::Final,
         UnitKind::Garbage,
         3,
         "no frame start"},
        {"empty", {}, InputEnd::Final, UnitKind::Incomplete, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Unit unit = CutUnit(c.bytes, c.end);
        EXPECT_EQ(unit.kind, c.kind);
        EXPECT_EQ(unit.size, c.size);
        EXPECT_NE(unit.reason.find(c.reason_part), std::string::npos) << unit.reason;
    }
}

std::vector<std::string> Kinds(const std::vector<CutBytes>& cuts) {
    std::vector<std::string> kinds;
    for (const auto& cut : cuts) {
        switch (cut.unit.kind) {
            case UnitKind::Frame:
                kinds.push_back("frame " + std::to_string(cut.bytes[16]));
                break;
            case UnitKind::Text:
                kinds.push_back("text " + std::string(cut.bytes.begin(), cut.bytes.end()));
                break;
            default:
                kinds.push_back("garbage " + std::to_string(cut.bytes.size()));
                break;
        }
    }
    return kinds;
}

std::vector<CutBytes> FeedInPieces(const std::vector<uint8_t>& stream,
                                   const std::vector<size_t>& piece_sizes) {
    SerialAccumulator accumulator;
    std::vector<CutBytes> cuts;
    size_t at = 0;
    for (size_t i = 0; at < stream.size(); ++i) {
        const size_t size = std::min(piece_sizes[i % piece_sizes.size()], stream.size() - at);
        accumulator.Append(std::span(stream).subspan(at, size));
        at += size;
        while (auto cut = accumulator.Next()) {
            cuts.push_back(std::move(*cut));
        }
    }
    for (auto& cut : accumulator.Flush()) {
        cuts.push_back(std::move(cut));
    }
    return cuts;
}

TEST(SerialAccumulator, SameUnitsWhateverThePieces) {
    // A status query, noise, a search request, a matrix text, a stray A5 and a label frame.
    const auto stream = Concat({PanelFrame(0xA1, 0x32, {}, LinkByte::Serial),
                                Bytes("\x01\x02zz"),
                                MakeDiscoveryRequest(LinkByte::Serial),
                                Bytes("1V2,3."),
                                {0xA5},
                                PanelFrame(0xA1, 0x1E, {3, 1, 0, 1, 0, 1, 0, 1, 'A', 0, 'B', 0})});
    const std::vector<std::string> expected = {"frame 50",    "garbage 4", "frame 255",
                                               "text 1V2,3.", "garbage 1", "frame 30"};
    for (const std::vector<size_t>& pieces :
         std::vector<std::vector<size_t>>{{1}, {2}, {3, 7}, {19}, {4096}, {5, 1, 30}}) {
        SCOPED_TRACE(pieces.front());
        EXPECT_EQ(Kinds(FeedInPieces(stream, pieces)), expected);
    }
}

TEST(SerialAccumulator, QuietLineFlushKeepsFramesInsideABrokenOne) {
    // A frame start whose length field promises 669 bytes, then a complete status query: when
    // the line goes quiet the broken start is dropped and the query is still found.
    SerialAccumulator accumulator;
    const auto query = PanelFrame(0xA1, 0x32, {}, LinkByte::Serial);
    accumulator.Append(Concat({{0xA5, 0x6C, 0x9D, 0x02, 0xA1}, query}));
    EXPECT_FALSE(accumulator.Next().has_value());
    const auto cuts = accumulator.Flush();
    EXPECT_EQ(Kinds(cuts), (std::vector<std::string>{"garbage 5", "frame 50"}));
    EXPECT_NE(cuts[0].unit.reason.find("incomplete frame"), std::string::npos);
    EXPECT_EQ(accumulator.Pending(), 0u);
}

TEST(SerialAccumulator, RandomBytesNeverStickOrOverrun) {
    std::mt19937 random(7);
    SerialAccumulator accumulator;
    size_t taken = 0;
    size_t fed = 0;
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> piece(random() % 64);
        for (auto& byte : piece) {
            // Mostly frame and text bytes, so that candidates are common.
            const uint8_t choices[] = {0xA5, 0x6C, 0x14, 0x00, 0xAE, '1', 'A', '.', ','};
            byte = random() % 3 == 0 ? static_cast<uint8_t>(random())
                                     : choices[random() % sizeof choices];
        }
        fed += piece.size();
        accumulator.Append(piece);
        while (auto cut = accumulator.Next()) {
            ASSERT_GT(cut->bytes.size(), 0u);
            taken += cut->bytes.size();
        }
        ASSERT_LE(accumulator.Pending(), kMaxFrameLength + SerialAccumulator::kMaxHeldGarbage + 64);
    }
    for (const auto& cut : accumulator.Flush()) {
        taken += cut.bytes.size();
    }
    EXPECT_EQ(taken, fed);
}

}  // namespace
}  // namespace panoptix::devsim
