// The bounds-checked reader and the one model-name scan built on it: every fetch answers only
// for bytes inside, and the scan never looks past its end bound or the bytes it was given.
#include "link/byte_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/model_name_scan.h"

namespace panoptix {
namespace {

using ::testing::ElementsAreArray;

TEST(ByteReader, AnswersOnlyForBytesInside) {
    const uint8_t bytes[] = {1, 2, 3};
    const ByteReader reader(bytes);
    EXPECT_EQ(reader.ByteAt(2), 3);
    EXPECT_EQ(reader.ByteAt(3), std::nullopt);
    EXPECT_TRUE(reader.ByteIs(0, 1));
    EXPECT_FALSE(reader.ByteIs(0, 2));
    EXPECT_FALSE(reader.ByteIs(3, 0)) << "a byte outside equals nothing";
    EXPECT_FALSE(reader.ByteIs(SIZE_MAX, 0));
    EXPECT_EQ(reader.U16LeAt(1), 0x0302);
    EXPECT_EQ(reader.U16LeAt(2), std::nullopt) << "only the low byte is there";
    EXPECT_EQ(reader.U16LeAt(SIZE_MAX), std::nullopt);
    EXPECT_TRUE(reader.BytesAt(1, 2).has_value());
    EXPECT_TRUE(reader.BytesAt(3, 0).has_value());
    EXPECT_FALSE(reader.BytesAt(2, 2).has_value());
    EXPECT_FALSE(reader.BytesAt(4, 0).has_value());
    EXPECT_FALSE(reader.BytesAt(1, SIZE_MAX).has_value());  // no wrap-around

    const ByteReader empty(std::span<const uint8_t>{});
    EXPECT_EQ(empty.ByteAt(0), std::nullopt);
    EXPECT_EQ(empty.U16LeAt(0), std::nullopt);
}

// 18 header bytes, then text.
std::vector<uint8_t> WithHeader(const std::string& text) {
    const std::string all = std::string(kModelNameOffset, '\0') + text;
    return std::vector<uint8_t>(all.begin(), all.end());
}

std::vector<std::string> Names(const std::vector<uint8_t>& bytes, size_t end_bound,
                               size_t stop_after = SIZE_MAX) {
    std::vector<std::string> names;
    ScanModelNames(ByteReader(bytes), end_bound, [&](std::span<const uint8_t> name) {
        names.emplace_back(name.begin(), name.end());
        return names.size() >= stop_after ? ScanStep::Stop : ScanStep::Continue;
    });
    return names;
}

TEST(ModelNameScan, EachDashPairBeforeTheEndBoundEndsOneName) {
    const auto bytes = WithHeader("XY-1-2-");  // '-' at 20, 22, 24
    const struct {
        const char* what;
        size_t end_bound;
        std::vector<std::string> names;
    } cases[] = {
        {"whole", bytes.size(), {"XY", "XY-1"}},
        {"second '-' of the last pair just inside", 25, {"XY", "XY-1"}},
        {"second '-' of the last pair on the bound", 24, {"XY"}},
        {"no pair inside", 22, {}},
        {"bound beyond the bytes: what is not there never matches", 1000, {"XY", "XY-1"}},
        {"bound 0", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THAT(Names(bytes, c.end_bound), ElementsAreArray(c.names));
    }
    EXPECT_THAT(Names(bytes, bytes.size(), 1), ElementsAreArray({"XY"})) << "stops when told";
    // A '-' before byte 18 is header, not name; an empty name is a name.
    EXPECT_THAT(Names(WithHeader("-1-"), 1000), ElementsAreArray({""}));
    EXPECT_THAT(Names(std::vector<uint8_t>(17, '-'), 1000), ::testing::IsEmpty());
}

TEST(ModelNameScan, NamesAreWidenedByteByByte) {
    const uint8_t bytes[] = {'A', 0xC4, 0x00};
    EXPECT_EQ(WidenBytes(bytes), std::u16string(u"A\u00C4\0", 3));
}

}  // namespace
}  // namespace panoptix
