// The serial reply parser over the receive accumulator: which frames it finds, what it takes
// from them, and that it never reads outside the collected bytes or the frame.
#include "link/reply_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/command_frame.h"

namespace panoptix {
namespace {

using ::testing::ElementsAreArray;

using Bytes = std::vector<uint8_t>;

Bytes Frame(uint8_t device_type, uint8_t command, const Bytes& payload = {}) {
    Bytes frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(device_type, 0x01, LinkByte::Serial, command, payload, frame);
    return frame;
}

// A discovery reply: byte 17 is not part of the name, which starts at byte 18.
Bytes DiscoveryReply(uint8_t device_type, const std::string& text) {
    Bytes payload{0x00};
    payload.insert(payload.end(), text.begin(), text.end());
    return Frame(device_type, command::kDiscovery, payload);
}

// A multiviewer status reply of the full 669 bytes, with recognisable field bytes.
Bytes StatusReply(uint8_t device_type) {
    Bytes payload(669 - kFrameOverhead);
    for (size_t i = 0; i < payload.size(); ++i) {
        payload[i] = static_cast<uint8_t>(i * 7);
    }
    return Frame(device_type, command::kMultiviewerStatus, payload);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

struct Decoded {
    std::vector<Bytes> frames;
    StatusFrameDecoder Hook() {
        return [this](std::span<const uint8_t> frame) {
            frames.emplace_back(frame.begin(), frame.end());
        };
    }
};

struct ParseCase {
    const char* what;
    Bytes bytes;
    int8_t result;
    std::u16string model_name;  // empty: none stored
    uint8_t device_type;        // m_main_com_dev_type afterwards
    size_t decoded_frames;
};

Bytes TinyLengthFrame(uint8_t length) {
    // A multiviewer status frame whose length field is below the bare frame, with an end
    // marker where that short length points (where this does not overwrite the header).
    Bytes bytes = Frame(device_type::kMultiviewer, command::kMultiviewerStatus);
    bytes[2] = length;
    bytes[3] = 0;
    if (length > kFrameCommandOffset + 1) {
        bytes[length - 1] = kFrameEnd;
    }
    return bytes;
}

Bytes DashPairOutsideFrame() {
    // Name "AB" without a pair inside; the checksum's high byte is '-' and the byte right after
    // the frame is '-' too: that pair straddles the frame's end and must not count.
    Bytes frame = DiscoveryReply(device_type::kSwitcher, "AB");
    frame[frame.size() - 2] = '-';
    frame.push_back('-');
    frame.push_back('-');
    return frame;
}

Bytes DashPairUsingChecksum() {
    // "AB-" and a checksum high byte of '-': the scan runs to the frame's end, so this pair
    // names "AB".
    Bytes frame = DiscoveryReply(device_type::kSwitcher, "AB-");
    frame[frame.size() - 2] = '-';
    return frame;
}

Bytes FirstBytes(const Bytes& bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

std::vector<ParseCase> Cases() {
    constexpr uint8_t kNone = 0x00;
    const uint8_t mv = device_type::kMultiviewer;
    const uint8_t sw = device_type::kSwitcher;
    const uint8_t qv = device_type::kQuadView;
    return {
        {"nothing collected", {}, 0, u"", kNone, 0},
        {"10 of 20 bytes: the end marker is not in yet, the type byte is taken",
         FirstBytes(Frame(mv, command::kMultiviewerStatus), 10), 0, u"", mv, 0},
        {"discovery reply M X - 1 -", DiscoveryReply(sw, "MX-1-"), 1, u"MX", sw, 0},
        {"two dash pairs: two names, the longer one stays", DiscoveryReply(sw, "XY-1-2-"), 2,
         u"XY-1", sw, 0},
        {"discovery reply without a dash pair", DiscoveryReply(sw, "NONAME"), 0, u"", sw, 0},
        {"name bytes are widened one by one", DiscoveryReply(mv, "\xC4Z-1-"), 1, u"\u00C4Z", mv, 0},
        {"frames with other commands are stepped over",
         Join({Frame(qv, 0x90, {1, 2, 3}), Frame(sw, 0x80, {4}), DiscoveryReply(mv, "AB-1-")}), 1,
         u"AB", mv, 0},
        {"stray bytes before the reply",
         Join({{0x00, 0xA5, 0x11, 0xAE, 0x6C, 0xA5}, DiscoveryReply(sw, "MX-1-")}), 1, u"MX", sw,
         0},
        {"a stray 0xA5 right before the frame does not hide it",
         Join({{0xA5}, DiscoveryReply(sw, "MX-1-")}), 1, u"MX", sw, 0},
        {"a frame starting inside a failed candidate is found",
         Join({{0xA5, 0x6C}, DiscoveryReply(sw, "MX-1-")}), 1, u"MX", sw, 0},
        {"status reply of a quad-view: not decoded", StatusReply(qv), 0, u"", qv, 0},
        {"status reply of a multiviewer", StatusReply(mv), 1, u"", mv, 1},
        {"status reply not yet complete", FirstBytes(StatusReply(mv), 668), 0, u"", mv, 0},
        {"length field 0 would point before the frame", Join({{kFrameEnd}, TinyLengthFrame(0)}), 0,
         u"", mv, 0},
        {"length field 1", TinyLengthFrame(1), 0, u"", mv, 0},
        {"length field 19", TinyLengthFrame(19), 0, u"", mv, 0},
        {"a dash pair across the frame's end does not count", DashPairOutsideFrame(), 0, u"", sw,
         0},
        {"a dash pair may use the checksum bytes", DashPairUsingChecksum(), 1, u"AB", sw, 0},
        {"header cut after the markers", {0xA5, 0x6C, 0x14}, 0, u"", kNone, 0},
    };
}

TEST(ReplyParser, FindsTheFirstKnownCompleteFrame) {
    for (const ParseCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        DeviceLink state;
        AppendReceivedBytes(state, c.bytes);
        Decoded decoded;
        EXPECT_EQ(ParseReply(state, decoded.Hook()), c.result);
        EXPECT_EQ(state.model_name, c.model_name);
        EXPECT_EQ(state.m_main_com_dev_type, c.device_type);
        EXPECT_EQ(decoded.frames.size(), c.decoded_frames);
        // The accumulator is left as it was: a later call finds the same again.
        EXPECT_EQ(state.status_rx_count, static_cast<int32_t>(c.bytes.size()));
        EXPECT_EQ(ParseReply(state, decoded.Hook()), c.result);
    }
}

TEST(ReplyParser, LongStatusReplyIsHandedOverWhenCompleteAndExactly) {
    DeviceLink state;
    const Bytes reply = StatusReply(device_type::kMultiviewer);
    // What follows the frame (the start of another one) is not part of it.
    const Bytes collected = Join({reply, {0xA5, 0x6C, 0x14}});
    Decoded decoded;
    size_t fed = 0;
    while (fed < collected.size()) {
        const size_t piece = std::min<size_t>(256, collected.size() - fed);
        AppendReceivedBytes(state, std::span(collected).subspan(fed, piece));
        fed += piece;
        const int8_t result = ParseReply(state, decoded.Hook());
        if (fed < reply.size()) {
            EXPECT_EQ(result, 0) << "after " << fed << " bytes";
            EXPECT_TRUE(decoded.frames.empty());
        } else {
            EXPECT_EQ(result, 1);
        }
    }
    ASSERT_EQ(decoded.frames.size(), 1u);
    EXPECT_THAT(decoded.frames[0], ElementsAreArray(reply));

    // Without a decoder the frame is still recognised.
    EXPECT_EQ(ParseReply(state, {}), 1);
}

TEST(ReplyParser, CountsAtMost127NamesAndStoresTheLastOne) {
    // The result is a signed byte: more names than it holds are counted as 127, never as a
    // negative or wrapped count.
    const struct {
        size_t pairs;
        int8_t result;
    } cases[] = {{126, 126}, {127, 127}, {128, 127}, {300, 127}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pairs);
        std::string text = "N";
        for (size_t i = 0; i < c.pairs; ++i) {
            text += "-x";
        }
        text += "-";
        DeviceLink state;
        AppendReceivedBytes(state, DiscoveryReply(device_type::kSwitcher, text));
        EXPECT_EQ(ParseReply(state, {}), c.result);
        // Each pair ends a longer name; the last one stays.
        const std::string last_name = text.substr(0, 1 + 2 * (c.pairs - 1));
        EXPECT_EQ(state.model_name, std::u16string(last_name.begin(), last_name.end()));
    }
}

TEST(ReplyParser, CountOutsideTheAccumulatorIsClamped) {
    DeviceLink state;
    const Bytes reply = DiscoveryReply(device_type::kSwitcher, "MX-1-");
    // The frame's first 20 bytes end the buffer; its end marker would lie beyond it.
    std::copy_n(reply.begin(), 20, state.status_rx_buffer.end() - 20);
    state.status_rx_count = 5000;  // says more than the buffer can hold
    EXPECT_EQ(ParseReply(state, {}), 0);
    state.status_rx_count = -7;
    EXPECT_EQ(ParseReply(state, {}), 0);
    AppendReceivedBytes(state, reply);
    EXPECT_EQ(state.status_rx_count, static_cast<int32_t>(reply.size()));
    EXPECT_EQ(ParseReply(state, {}), 1);
}

TEST(ReceiveAccumulator, DiscardsEverythingWhenAPieceWouldOverflow) {
    DeviceLink state;
    AppendReceivedBytes(state, Bytes(1000, 0x11));
    AppendReceivedBytes(state, Bytes(24, 0x22));
    EXPECT_EQ(state.status_rx_count, 1024) << "exactly full is not an overflow";
    EXPECT_EQ(state.status_rx_buffer[1023], 0x22);

    AppendReceivedBytes(state, Bytes{0x33});
    EXPECT_EQ(state.status_rx_count, 1);
    EXPECT_EQ(state.status_rx_buffer[0], 0x33);
    EXPECT_EQ(state.status_rx_buffer[1], 0x00) << "the discarded bytes are zeroed";
    EXPECT_EQ(state.status_rx_buffer[1023], 0x00);

    // A frame cut by the overflow is lost; the next complete one is found.
    const Bytes reply = DiscoveryReply(device_type::kSwitcher, "MX-1-");
    state.status_rx_count = 0;
    AppendReceivedBytes(state, Bytes(1010, 0x00));
    AppendReceivedBytes(state, FirstBytes(reply, 14));
    AppendReceivedBytes(state, Bytes(reply.begin() + 14, reply.end()));
    EXPECT_EQ(ParseReply(state, {}), 0);
    AppendReceivedBytes(state, reply);
    EXPECT_EQ(ParseReply(state, {}), 1);

    // One piece larger than the whole accumulator keeps what fits.
    AppendReceivedBytes(state, Bytes(1500, 0x44));
    EXPECT_EQ(state.status_rx_count, 1024);

    ClearReceivedBytes(state);
    EXPECT_EQ(state.status_rx_count, 0);
    EXPECT_EQ(state.status_rx_buffer[0], 0x00);
}

}  // namespace
}  // namespace panoptix
