// The simulated multiviewer: every command of its table changes the state that the next status
// reply carries, at the offsets the panel reads.
#include "multiviewer_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devsim_test_frames.h"

namespace panoptix::devsim {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::IsWellFormedFrame;
using testing::PanelFrame;

constexpr uint8_t kType = 0xA1;

class MultiviewerTest : public ::testing::Test {
  protected:
    MultiviewerModel model_{testing::Identity(DeviceKind::Multiviewer, "ABC", kType)};

    std::string Send(uint8_t command, std::initializer_list<uint8_t> payload = {}) {
        return model_.ReceiveDatagram(PanelFrame(kType, command, payload)).account;
    }
    std::vector<uint8_t> Status() {
        const Response response = model_.ReceiveDatagram(PanelFrame(kType, 0x32));
        EXPECT_EQ(response.account, "status query -> sent 669 bytes");
        return response.reply;
    }
    // The label slot of window w (1..16) in a status reply: length byte, then 32 bytes.
    static std::vector<uint8_t> Slot(const std::vector<uint8_t>& reply, size_t w) {
        const size_t at = 24 + 33 * (w - 1);
        return {reply.begin() + static_cast<long>(at),
                reply.begin() + static_cast<long>(at + 1 + reply[at])};
    }
};

TEST_F(MultiviewerTest, StatusReplyCarriesTheWholeStateAtItsOffsets) {
    const auto reply = Status();
    ASSERT_EQ(reply.size(), kStatusReplyLength);
    ASSERT_TRUE(IsWellFormedFrame(reply));
    EXPECT_EQ(reply[4], kType);
    EXPECT_EQ(reply[6], 1);
    EXPECT_EQ(reply[16], 0x32);
    EXPECT_EQ(reply[18], 16);  // layout code: sixteen windows
    EXPECT_EQ(reply[19], 7);   // resolution code: 1080p60
    EXPECT_EQ(reply[20], 1);   // UMD labels on
    EXPECT_EQ(reply[21], 1);   // audio meters on
    EXPECT_EQ(reply[22], 1);   // audio source channel 1
    EXPECT_EQ(reply[23], 1);   // resolution labels on
    // "CAM 1" in window 1 and "CAM 16" in window 16, UTF-16 low byte first.
    EXPECT_THAT(Slot(reply, 1),
                ElementsAreArray<uint8_t>({10, 'C', 0, 'A', 0, 'M', 0, ' ', 0, '1', 0}));
    EXPECT_EQ(Slot(reply, 16).front(), 12);
    EXPECT_EQ(reply[552], 1);   // window 1 shows input 1
    EXPECT_EQ(reply[567], 16);  // window 16 shows input 16
    EXPECT_EQ(reply[600], 1);   // border
    EXPECT_EQ(reply[601], 0);   // lock
    EXPECT_EQ(reply[602], 0);   // UMD text colour of window 1
    EXPECT_EQ(reply[618], 1);   // UMD background colour of window 1
    EXPECT_EQ(reply[665], 1);   // resolution background colour of window 16
}

TEST_F(MultiviewerTest, StatusQueryOverSerialIsAnsweredWithLinkByteZero) {
    SerialAccumulator serial;
    serial.Append(PanelFrame(0x00, 0x32, {}, LinkByte::Serial, 0x00));  // before any LAN search
    const Response response = model_.ReceiveSerial(*serial.Next());
    ASSERT_EQ(response.reply.size(), kStatusReplyLength);
    EXPECT_EQ(response.reply[4], kType);
    EXPECT_EQ(response.reply[6], 0);
}

struct CommandCase {
    uint8_t command;
    std::vector<uint8_t> payload;
    const char* account;
    size_t offset;  // status reply byte that shows the change
    uint8_t value;
};

TEST_F(MultiviewerTest, EachCommandShowsUpInTheNextStatusReply) {
    const CommandCase cases[] = {
        {0x33, {4}, "layout 4 windows", 18, 4},
        {0x33, {1}, "layout 1 window", 18, 1},
        {0x19, {0, 1}, "resolution 1080i50 (code 1)", 19, 1},
        {0x36, {0}, "UMD labels off", 20, 0},
        {0x37, {0}, "audio meters off", 21, 0},
        {0x37, {2}, "audio meters on (value 2)", 21, 2},
        {0x39, {5}, "audio source channel 5", 22, 5},
        {0x3A, {0}, "resolution labels off", 23, 0},
        {0x34, {5, 3}, "window 3 source SDI 5", 552 + 2, 5},
        {0x3F, {0}, "window borders off", 600, 0},
        {0x50, {1}, "lock on", 601, 1},
        {0x3B, {2, 9}, "UMD text colour 9 on window 2", 602 + 1, 9},
        {0x3C, {16, 4}, "UMD background colour 4 on window 16", 618 + 15, 4},
        {0x3D, {1, 15}, "resolution text colour 15 on window 1", 634, 15},
        {0x3E, {7, 3}, "resolution background colour 3 on window 7", 650 + 6, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.account);
        std::vector<uint8_t> payload = c.payload;
        std::vector<uint8_t> frame(kFrameOverhead + payload.size());
        BuildFrameWithDeviceBytes(kType, 1, LinkByte::Udp, c.command, payload, frame);
        EXPECT_EQ(model_.ReceiveDatagram(frame).account, c.account);
        EXPECT_EQ(Status()[c.offset], c.value);
    }
}

TEST_F(MultiviewerTest, ColourForAllWindowsSetsSixteen) {
    EXPECT_EQ(Send(0x3C, {0, 6}), "UMD background colour 6 on all windows");
    const auto reply = Status();
    EXPECT_EQ(std::count(reply.begin() + 618, reply.begin() + 634, 6), 16);
    EXPECT_EQ(reply[602], 0);  // the text colours are untouched
}

TEST_F(MultiviewerTest, LabelFrameFromThePanelBecomesTheSlotText) {
    // Window 3, "AB": the 32-byte frame the panel builds.
    const auto frame =
        PanelFrame(kType, 0x1E, {0x03, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 'A', 0, 'B', 0});
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_EQ(model_.ReceiveDatagram(frame).account, "label window 3 \"AB\"");
    EXPECT_THAT(Slot(Status(), 3), ElementsAreArray<uint8_t>({4, 'A', 0, 'B', 0}));
    EXPECT_EQ(model_.State().labels[2], u"AB");
}

TEST_F(MultiviewerTest, LabelsKeepNonAsciiAndAreCutToTheSlot) {
    // "Ü" and "中" as UTF-16 units.
    EXPECT_EQ(Send(0x1E, {1, 1, 0, 1, 0, 1, 0, 1, 0xDC, 0x00, 0x2D, 0x4E}),
              "label window 1 \"\xC3\x9C\xE4\xB8\xAD\"");
    EXPECT_THAT(Slot(Status(), 1), ElementsAreArray<uint8_t>({4, 0xDC, 0x00, 0x2D, 0x4E}));

    std::vector<uint8_t> payload{2, 1, 0, 1, 0, 1, 0, 1};
    for (int i = 0; i < 20; ++i) {
        payload.insert(payload.end(), {static_cast<uint8_t>('a' + i), 0});
    }
    std::vector<uint8_t> frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(kType, 1, LinkByte::Udp, 0x1E, payload, frame);
    EXPECT_EQ(model_.ReceiveDatagram(frame).account,
              "label window 2 \"abcdefghijklmnop\" (cut to 16 characters for the 32-byte slot)");
    EXPECT_EQ(Slot(Status(), 2).front(), 32);

    // An empty label, and one whose quote would break the log line.
    EXPECT_EQ(Send(0x1E, {4, 1, 0, 1, 0, 1, 0, 1}), "label window 4 \"\"");
    EXPECT_EQ(Slot(Status(), 4).front(), 0);
    EXPECT_EQ(Send(0x1E, {5, 1, 0, 1, 0, 1, 0, 1, '"', 0, '\n', 0}),
              "label window 5 \"\\\"\\x0A\"");
}

TEST_F(MultiviewerTest, SetDefaultsMatchesWhatThePanelAssumes) {
    Send(0x33, {4});
    Send(0x19, {0, 6});
    Send(0x36, {0});
    Send(0x37, {0});
    Send(0x3A, {1});
    Send(0x3F, {0});
    EXPECT_THAT(Send(0x38, {0}), HasSubstr("set defaults"));
    const auto reply = Status();
    EXPECT_EQ(reply[18], 16);
    EXPECT_EQ(reply[19], 7);
    EXPECT_EQ(reply[20], 1);
    EXPECT_EQ(reply[21], 1);
    EXPECT_EQ(reply[22], 0);
    EXPECT_EQ(reply[23], 0);
    EXPECT_EQ(reply[600], 0);  // border untouched
}

TEST_F(MultiviewerTest, RefusedValuesLeaveTheStateAlone) {
    const auto before = Status();
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {PanelFrame(kType, 0x33, {5}), "ignored layout frame: code 5 is not a layout"},
        {PanelFrame(kType, 0x33), "ignored layout frame: 0 payload bytes, expected 1"},
        {PanelFrame(kType, 0x19, {0, 2}), "ignored resolution frame: code 2 is not a resolution"},
        {PanelFrame(kType, 0x19, {0}), "ignored resolution frame: 1 payload bytes, expected 2"},
        {PanelFrame(kType, 0x39, {17}), "ignored audio source frame: channel 17"},
        {PanelFrame(kType, 0x3B, {17, 1}), "ignored UMD text colour frame: window 17"},
        {PanelFrame(kType, 0x3E, {1, 16}), "ignored resolution background colour frame: colour 16"},
        {PanelFrame(kType, 0x34, {5, 0}), "ignored window source frame: input 5 or window 0"},
        {PanelFrame(kType, 0x1E, {0, 1, 0, 1, 0, 1, 0, 1, 'A', 0}),
         "ignored label frame: window 0"},
        {PanelFrame(kType, 0x1E, {3, 1, 0}), "ignored label frame: 3 payload bytes, expected 8"},
    };
    for (const auto& [frame, account] : cases) {
        EXPECT_THAT(model_.ReceiveDatagram(frame).account, HasSubstr(account));
    }
    EXPECT_EQ(Status(), before);
}

}  // namespace
}  // namespace panoptix::devsim
