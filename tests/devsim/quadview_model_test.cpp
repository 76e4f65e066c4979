// The simulated quad-view processor: its two replies and its commands.
#include "quadview_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devsim_test_frames.h"

namespace panoptix::devsim {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::IsWellFormedFrame;
using testing::PanelFrame;

constexpr uint8_t kType = 0x60;

class QuadViewTest : public ::testing::Test {
  protected:
    QuadViewModel model_{testing::Identity(DeviceKind::QuadView, "QV4", kType)};

    std::string Send(uint8_t command, std::initializer_list<uint8_t> payload = {}) {
        return model_.ReceiveDatagram(PanelFrame(kType, command, payload)).account;
    }
    std::vector<uint8_t> Query(uint8_t command) {
        return model_.ReceiveDatagram(PanelFrame(kType, command)).reply;
    }
};

TEST_F(QuadViewTest, StatusReplyLayout) {
    EXPECT_EQ(Send(0x90), "status query -> sent 261 bytes");
    const auto reply = Query(0x90);
    ASSERT_EQ(reply.size(), kQuadStatusReplyLength);
    ASSERT_TRUE(IsWellFormedFrame(reply));
    EXPECT_EQ(reply[16], 0x90);
    EXPECT_EQ(reply[20], 10);  // output format 1920x1080_60
    EXPECT_EQ(reply[22], 0);   // show mode: four windows
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[30])), "QV4");  // zero-terminated
    for (size_t c = 0; c < 4; ++c) {
        const size_t record = 47 + 40 * c;
        EXPECT_EQ(reply[record + 7], 4);  // "CH 1" .. "CH 4"
        EXPECT_EQ(reply[record + 8 + 3], '1' + c);
    }
    EXPECT_EQ(reply[255], 1);
    EXPECT_EQ(reply[256], 2);
    EXPECT_EQ(reply[257], 0);
}

TEST_F(QuadViewTest, SignalReplyHasOnePairPerChannel) {
    std::string error;
    ASSERT_TRUE(model_.SetStateValue("signal.2", "0", error));
    ASSERT_TRUE(model_.SetStateValue("signal.3", "2", error));
    const auto reply = Query(0xAA);
    ASSERT_EQ(reply.size(), kQuadSignalReplyLength);
    ASSERT_TRUE(IsWellFormedFrame(reply));
    EXPECT_EQ(reply[16], 0xAA);
    EXPECT_THAT(std::vector<uint8_t>(reply.begin() + 18, reply.begin() + 26),
                ElementsAreArray<uint8_t>({1, 0, 0, 0, 2, 0, 1, 0}));
}

TEST_F(QuadViewTest, CommandsShowUpInTheStatusReply) {
    EXPECT_EQ(Send(0x94, {8}), "show mode 8 (window 1 full screen)");
    EXPECT_EQ(Send(0x92, {4}), "output format 4 (1280x1024_60)");
    EXPECT_EQ(Send(0xA5, {3, 4}), "PIP child channels 3 and 4");
    EXPECT_EQ(Send(0xA6, {1}), "channel loop running");
    EXPECT_EQ(Send(0xA7, {0xFA, 0x00}), "loop time 250 s");
    const auto reply = Query(0x90);
    EXPECT_EQ(reply[22], 8);
    EXPECT_EQ(reply[20], 4);
    EXPECT_EQ(reply[255], 3);
    EXPECT_EQ(reply[256], 4);
    EXPECT_EQ(reply[257], 1);
    EXPECT_EQ(model_.State().loop_time_s, 250);
}

TEST_F(QuadViewTest, SerialShowModeCarriesFixedDeviceBytes) {
    // The serial show-mode frame: A5 6C 15 00 A3 FF 00 ... 94 03 5F 03 AE.
    const std::vector<uint8_t> frame{0xA5, 0x6C, 0x15, 0x00, 0xA3, 0xFF, 0x00, 0,    0,    0,   0,
                                     0,    0,    0,    0,    0,    0x94, 0x03, 0x5F, 0x03, 0xAE};
    SerialAccumulator serial;
    serial.Append(frame);
    EXPECT_EQ(model_.ReceiveSerial(*serial.Next()).account,
              "show mode 3 (windows 1 and 2, full height)");
}

TEST_F(QuadViewTest, PipShowModesPutChannelOneFirstAndKeepTheChildrenApart) {
    struct Case {
        uint8_t mode;
        const char* children;  // pip_child.1, pip_child.2 before
        std::array<uint8_t, 2> after;
        const char* account;
    };
    const Case cases[] = {
        {7, "3,1", {1, 2}, "show mode 7 (window 2 full screen), PIP child channels 1 and 2"},
        {9,
         "1,1",
         {1, 2},
         "show mode 9 (window 1 with window 2 inset left), PIP child "
         "channels 1 and 2"},
        {10,
         "4,3",
         {1, 3},
         "show mode 10 (window 1 with window 2 inset right), PIP child "
         "channels 1 and 3"},
        {8, "1,4", {1, 4}, "show mode 8 (window 1 full screen)"},
        {11, "3,1", {3, 1}, "show mode 11 (windows 1 and 2, full height)"},
        {6, "1,1", {1, 1}, "show mode 6 (window 3 full screen)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        std::string error;
        const std::string children(c.children);
        ASSERT_TRUE(model_.SetStateValue("pip_child.1", children.substr(0, 1), error));
        ASSERT_TRUE(model_.SetStateValue("pip_child.2", children.substr(2, 1), error));
        EXPECT_EQ(Send(0x94, {c.mode}), c.account);
        EXPECT_EQ(model_.State().pip_child, c.after);
        const auto reply = Query(0x90);
        EXPECT_EQ(reply[255], c.after[0]);
        EXPECT_EQ(reply[256], c.after[1]);
    }
}

TEST_F(QuadViewTest, RefusedValues) {
    EXPECT_THAT(Send(0x94, {17}), HasSubstr("ignored show mode frame: mode 17 is not 0..16"));
    EXPECT_THAT(Send(0xA5, {0, 2}), HasSubstr("channels 0 and 2 are not 1..4"));
    EXPECT_THAT(Send(0xA7, {3}), HasSubstr("1 payload bytes, expected 2"));
    EXPECT_THAT(Send(0x33, {4}), HasSubstr("not a quad-view command"));
    EXPECT_EQ(Query(0x90)[22], 0);
}

}  // namespace
}  // namespace panoptix::devsim
