// The panel's sends on loopback UDP against a plain socket playing the switcher: a press sends
// its frame with link byte 1 from the local port, whatever the main window's link; with no
// device, or a panel opened from a serial search, the operator is told and nothing goes out.
#include <gtest/gtest.h>

#include "support/recorders.h"
#include "support/udp_peer.h"
#include "switcher/core/switcher_panel.h"
#include "switcher_test_support.h"

namespace panoptix {
namespace {

using switcher_testing::Hex;
using testing_support::MessageRecorder;
using testing_support::UdpPeer;

constexpr int kWaitMs = 1000;
constexpr int kQuietMs = 150;

class SwitcherSendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device_.valid());
        DeviceEntry& row = link_.device_table[0];
        row.SetIpText("127.0.0.1");
        row.device_type = 0xA5;
        row.device_address = 0x01;
        link_.m_device_index = 0;
        link_.endpoints.device_port = device_.port();
        link_.endpoints.local_port = testing_support::FreeLoopbackPort();
    }

    std::vector<uint8_t> NextFrame() {
        auto datagram = device_.Receive(kWaitMs);
        if (!datagram) {
            ADD_FAILURE() << "no frame arrived";
            return {};
        }
        EXPECT_EQ(datagram->sender_port, link_.endpoints.local_port);
        return datagram->bytes;
    }

    UdpPeer device_;
    DeviceLink link_;
    SwitcherState state_;
    MessageRecorder messages_;
};

TEST_F(SwitcherSendTest, APressSendsItsFrameAndClosesTheSocket) {
    SwitcherPanel panel(link_, state_);
    panel.PressProgramSource(3);
    EXPECT_EQ(NextFrame(), Hex("A5 6C 15 00 A5 01 01 00 00 00 00 00 00 00 00 00 80 03 50 02 AE"));
    EXPECT_EQ(link_.m_udpSockfd, -1);
    EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(SwitcherSendTest, TheSerialLinkIsNeverUsed) {
    SwitcherPanel panel(link_, state_);
    link_.SetMode(ConnectionMode::Serial);  // switched after the panel opened on the LAN
    panel.PressCut();
    EXPECT_EQ(NextFrame(), Hex("A5 6C 14 00 A5 01 01 00 00 00 00 00 00 00 00 00 83 4F 02 AE"));
}

TEST_F(SwitcherSendTest, WithoutADeviceNothingGoesOutButTheBlockChanges) {
    struct Case {
        const char* name;
        int8_t device_index;
        ConnectionMode mode_at_opening;
    };
    for (const Case c : {Case{"no device selected", -1, ConnectionMode::Lan},
                         Case{"panel opened from a serial search", 0, ConnectionMode::Serial}}) {
        SCOPED_TRACE(c.name);
        messages_.texts.clear();
        link_.m_device_index = c.device_index;
        link_.SetMode(c.mode_at_opening);
        SwitcherState state;
        SwitcherPanel panel(link_, state);
        link_.SetMode(ConnectionMode::Lan);
        panel.PressOnAir();
        panel.PressProgramSource(2);
        EXPECT_FALSE(device_.Receive(kQuietMs));
        EXPECT_EQ(messages_.texts,
                  (std::vector<std::string>{"Please choose a device", "Please choose a device"}));
        EXPECT_EQ(state.m_all_switcher_page_data.on_air, 1);
        EXPECT_EQ(state.m_all_switcher_page_data.program_source, 2);
        EXPECT_EQ(link_.m_udpSockfd, -1);
    }
}

// A box per action of the operator, none for the ticks of an automatic transition, and none
// while a box is open (the box's own event loop may deliver the next lever message).
TEST_F(SwitcherSendTest, WithoutADeviceTheBoxesDoNotPileUp) {
    link_.m_device_index = -1;
    SwitcherPanel panel(link_, state_);
    class NestingRecorder : public OperatorMessages {
      public:
        explicit NestingRecorder(SwitcherPanel& panel) : panel_(panel) {
            SetOperatorMessages(this);
        }
        ~NestingRecorder() override { SetOperatorMessages(nullptr); }
        void ShowError(std::string_view text) override {
            texts.emplace_back(text);
            if (texts.size() == 1) {
                panel_.LeverMoving(121);  // progress 8, delivered while the box is open
            }
        }
        std::vector<std::string> texts;

      private:
        SwitcherPanel& panel_;
    } boxes(panel);
    const LeverEffects start = panel.PressAuto();
    ASSERT_TRUE(start.start_timer);
    EXPECT_EQ(boxes.texts.size(), 1u);
    const LeverEffects restart = panel.PressAuto();
    for (int tick = 0; tick < 200 && !panel.AutoTimerTick(restart.start_timer->id).stop_timer;
         ++tick) {
    }
    EXPECT_EQ(panel.data().auto_lamp, 0);  // the transition ran to its end, without a box
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_FALSE(device_.Receive(kQuietMs));
}

TEST_F(SwitcherSendTest, AnAutomaticTransitionGoesOutInOrder) {
    SwitcherPanel panel(link_, state_);
    const LeverEffects start = panel.PressAuto();
    ASSERT_TRUE(start.start_timer);
    for (int tick = 0; tick < 200 && !panel.AutoTimerTick(start.start_timer->id).stop_timer;
         ++tick) {
    }
    EXPECT_EQ(NextFrame()[16], 0x84);
    for (const int progress :
         {1, 8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112, 120, 128}) {
        const auto frame = NextFrame();
        ASSERT_EQ(frame.size(), 22u);
        EXPECT_EQ(frame[16], 0x82);
        EXPECT_EQ(frame[17], 1);
        EXPECT_EQ(frame[18], progress);
    }
    EXPECT_FALSE(device_.Receive(kQuietMs));
    EXPECT_EQ(panel.data().lever_direction, 0);
}

}  // namespace
}  // namespace panoptix
