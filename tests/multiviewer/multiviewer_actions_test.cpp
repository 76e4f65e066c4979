#include "multiviewer/core/multiviewer_actions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support/udp_peer.h"

namespace panoptix {
namespace {

using testing::Each;
using testing_support::UdpPeer;
using Bytes = std::vector<uint8_t>;

constexpr size_t kCommandAt = 16;

// A fake multiviewer on loopback; each test reads the frames it received.
class MultiviewerActionsTest : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::SelectPeer(link_, device_, 0xA1, 0x07); }

    // The next frame the device received, or none within 300 ms.
    Bytes NextFrame() { return device_.ReceiveBytes(300); }
    bool NothingMoreSent() { return device_.ReceiveBytes(50).empty(); }

    UdpPeer device_;
    DeviceLink link_;
    MultiviewerState mv_;
};

TEST_F(MultiviewerActionsTest, AColourGoesToOneWindowOrToAllOfThem) {
    struct Case {
        ColourField field;
        uint8_t channel;
        uint8_t command;
        std::array<uint8_t, kMultiviewerWindows> All16ViewPageData::*colours;
    };
    const std::vector<Case> cases = {
        {ColourField::UmdText, 0, 0x3B, &All16ViewPageData::umd_text_color},
        {ColourField::UmdBack, 5, 0x3C, &All16ViewPageData::umd_back_color},
        {ColourField::ResolutionText, 16, 0x3D, &All16ViewPageData::resolution_text_color},
        {ColourField::ResolutionBack, 17, 0x3E, &All16ViewPageData::resolution_back_color},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.field));
        mv_ = MultiviewerState{};
        ChooseColour(link_, mv_, CommandRoute::Lan, c.field, c.channel, 9);
        const auto& colours = mv_.m_all_16_view_page_data.*(c.colours);
        if (c.channel == 0) {
            EXPECT_THAT(colours, Each(9));
        }
        for (size_t i = 0; i < colours.size(); ++i) {
            EXPECT_EQ(colours[i], i + 1 == c.channel || c.channel == 0 ? 9 : 0) << "window " << i;
        }
        const Bytes frame = NextFrame();
        ASSERT_GT(frame.size(), kCommandAt + 2);
        EXPECT_EQ(frame[kCommandAt], c.command);
        EXPECT_EQ(frame[kCommandAt + 2], 9);  // after the section's channel byte
    }
}

TEST_F(MultiviewerActionsTest, TheShownFlagFollowsTheChoiceAndTheEnableByteDoesNot) {
    using Choice = std::function<void(DeviceLink&, MultiviewerState&, CommandRoute, uint8_t)>;
    struct Case {
        Choice choose;
        int32_t MultiviewerState::*shown;
        uint8_t command;
    };
    const std::vector<Case> cases = {
        {&ChooseAudioMeters, &MultiviewerState::audio_meter_shown, 0x37},
        {&ChooseUmdLabels, &MultiviewerState::umd_shown, 0x36},
        {&ChooseResolutionLabels, &MultiviewerState::resolution_shown, 0x3A},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        mv_ = MultiviewerState{};
        c.choose(link_, mv_, CommandRoute::Lan, 1);
        EXPECT_EQ(mv_.*(c.shown), 1);
        c.choose(link_, mv_, CommandRoute::Lan, 0);
        EXPECT_EQ(mv_.*(c.shown), 0);
        EXPECT_EQ(mv_.m_all_16_view_page_data.audio_enable, 0);
        EXPECT_EQ(mv_.m_all_16_view_page_data.umd_enable, 0);
        EXPECT_EQ(mv_.m_all_16_view_page_data.resolution_enable, 0);
        for (const uint8_t value : {1, 0}) {
            const Bytes frame = NextFrame();
            ASSERT_GT(frame.size(), kCommandAt + 1);
            EXPECT_EQ(frame[kCommandAt], c.command);
            EXPECT_EQ(frame[kCommandAt + 1], value);
        }
    }
}

TEST_F(MultiviewerActionsTest, SettingsListsKeepTheChoiceAndAnIndexWithoutCodeSendsNothing) {
    ChooseBorder(link_, mv_, CommandRoute::Lan, 1);
    ChooseLock(link_, mv_, CommandRoute::Lan, 1);
    EXPECT_EQ(mv_.m_all_16_view_page_data.border_enable, 1);
    EXPECT_EQ(mv_.m_all_16_view_page_data.lock_state, 1);
    EXPECT_EQ(NextFrame().at(kCommandAt), 0x3F);
    EXPECT_EQ(NextFrame().at(kCommandAt), 0x50);

    ChooseResolutionType(link_, mv_, CommandRoute::Lan, 200);
    EXPECT_EQ(mv_.m_all_16_view_page_data.resolution_type, 200);
    EXPECT_TRUE(NothingMoreSent());
}

TEST_F(MultiviewerActionsTest, ALabelIsStoredAndSentForWindowsOneToSixteenOnly) {
    ChooseUmdLabel(link_, mv_, CommandRoute::Lan, 16, u"CAM");
    EXPECT_EQ(mv_.umd_name[15], u"CAM");
    const Bytes frame = NextFrame();
    ASSERT_GT(frame.size(), kCommandAt + 1);
    EXPECT_EQ(frame[kCommandAt], 0x1E);
    EXPECT_EQ(frame[kCommandAt + 1], 16);

    for (const uint8_t window : {0, 17}) {
        ChooseUmdLabel(link_, mv_, CommandRoute::Lan, window, u"X");
    }
    EXPECT_TRUE(NothingMoreSent());
}

TEST_F(MultiviewerActionsTest, SetDefaultOnAClosedSerialPortSendsAndChangesNothing) {
    mv_.m_all_16_view_page_data.audio_enable = 0;
    mv_.m_cur_window_count = 4;
    EXPECT_FALSE(RestoreDefaults(link_, mv_, CommandRoute::Serial));
    EXPECT_EQ(mv_.m_cur_window_count, 4);
    EXPECT_TRUE(NothingMoreSent());

    EXPECT_TRUE(RestoreDefaults(link_, mv_, CommandRoute::Lan));
    EXPECT_EQ(NextFrame().at(kCommandAt), 0x38);
    EXPECT_EQ(mv_.m_cur_window_count, 16);
    EXPECT_EQ(mv_.m_all_16_view_page_data.audio_enable, 1);
}

}  // namespace
}  // namespace panoptix
