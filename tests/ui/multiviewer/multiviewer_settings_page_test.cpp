// The settings, status and audio pages offscreen.
#include "sub_page_fixture.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::RichReply;
using testing_support::CommandOf;
using testing_support::ConnectTo;
using testing_support::MultiviewerScript;
using testing_support::PayloadOf;
using testing_support::Pick;
using testing_support::UdpPeer;

using testing_support::CaptionsOf;
using testing_support::EntriesOf;
using testing_support::SubPageTest;

TEST_F(SubPageTest, SettingsPageShowsTheStateAndTheDevicesAddress) {
    All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    block.audio_enable = 1;
    block.audio_source = 3;
    block.resolution_enable = 0;
    block.resolution_type = 8;
    block.border_enable = 2;  // outside the list: no selection
    block.lock_state = 1;
    Make<MultiviewerSettingsPage>();

    EXPECT_EQ(List(mv_id::kAudioMeterEnableList)->currentText(), "ON");
    EXPECT_EQ(List(mv_id::kAudioSourceList)->currentText(), "CH_3");
    EXPECT_EQ(List(mv_id::kResolutionEnableList)->currentText(), "OFF");
    EXPECT_EQ(List(mv_id::kResolutionTypeList)->currentText(), "720p50");
    EXPECT_EQ(List(mv_id::kBorderEnableList)->currentIndex(), -1);
    EXPECT_EQ(List(mv_id::kLockStateList)->currentText(), "ON");
    EXPECT_EQ(EntriesOf(List(mv_id::kResolutionTypeList)),
              QStringList({"1080p60", "1080p50", "1080i60", "1080i50", "1080p30", "1080p25",
                           "1080p24", "720p60", "720p50"}));
    EXPECT_EQ(EntriesOf(List(mv_id::kAudioSourceList)).size(), 16);
    EXPECT_EQ(FindControlAs<CButtonST>(page_.get(), mv_id::kSetDefaultButton)->text(),
              "Set  Default");
    auto* set_ip = FindControlAs<CButtonST>(page_.get(), mv_id::kSetIpButton);
    EXPECT_EQ(set_ip->text(), "Set  IP");
    EXPECT_EQ(set_ip->Colour(0), QColor(64, 64, 64));
    EXPECT_EQ(set_ip->Colour(1), QColor(128, 128, 128));
    EXPECT_EQ(set_ip->Colour(4), QColor(64, 64, 64));

    using Octets = std::array<uint8_t, 4>;
    EXPECT_EQ(FindControlAs<IpAddressField>(page_.get(), mv_id::kIpAddressField)->Octets(),
              (Octets{127, 0, 0, 1}));
    EXPECT_EQ(FindControlAs<IpAddressField>(page_.get(), mv_id::kSubnetMaskField)->Octets(),
              (Octets{255, 255, 255, 0}));
    EXPECT_EQ(MultiviewerSettingsPage::ProposedGateway("192.0.2.37"), "192.0.2.1");
    EXPECT_EQ(MultiviewerSettingsPage::ProposedGateway("nodots"), "1");
    EXPECT_TRUE(NothingSent());
}

TEST_F(SubPageTest, SettingsListsSendTheirCommands) {
    Make<MultiviewerSettingsPage>();
    struct Case {
        int list_id;
        int entry;
        uint8_t command;
        std::vector<uint8_t> payload;
    };
    const Case cases[] = {
        {mv_id::kResolutionTypeList, 8, 0x19, {0x00, 0x06}},
        {mv_id::kAudioSourceList, 2, 0x39, {3}},
        {mv_id::kAudioMeterEnableList, 1, 0x37, {1}},
        {mv_id::kResolutionEnableList, 1, 0x3A, {1}},
        {mv_id::kBorderEnableList, 1, 0x3F, {1}},
        {mv_id::kLockStateList, 1, 0x50, {1}},
    };
    for (const Case& c : cases) {
        Pick(List(c.list_id), c.entry);
        const std::vector<uint8_t> frame = NextFrame();
        EXPECT_EQ(CommandOf(frame), c.command) << c.list_id;
        EXPECT_THAT(PayloadOf(frame, c.payload.size()), ElementsAreArray(c.payload)) << c.list_id;
    }
    const All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    EXPECT_EQ(block.resolution_type, 8);
    EXPECT_EQ(block.border_enable, 1);
    EXPECT_EQ(block.lock_state, 1);
    // The switches set the preview's flags; the enable bytes and the source keep the device's.
    EXPECT_EQ(state_.multiviewer.audio_meter_shown, 1);
    EXPECT_EQ(state_.multiviewer.resolution_shown, 1);
    EXPECT_EQ(block.audio_enable, 0);
    EXPECT_EQ(block.resolution_enable, 0);
    EXPECT_EQ(block.audio_source, 0);
}

TEST_F(SubPageTest, SetDefaultOverTheLanResetsTheStateAndTheLists) {
    All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    block.resolution_type = 8;
    block.lock_state = 1;
    block.audio_source = 7;
    Make<MultiviewerSettingsPage>();

    QTest::mouseClick(FindControlAs<CButtonST>(page_.get(), mv_id::kSetDefaultButton),
                      Qt::LeftButton);

    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(CommandOf(frame), 0x38);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(0));
    EXPECT_EQ(List(mv_id::kResolutionTypeList)->currentText(), "1080p60");
    EXPECT_EQ(List(mv_id::kResolutionEnableList)->currentText(), "OFF");
    EXPECT_EQ(List(mv_id::kAudioMeterEnableList)->currentText(), "ON");
    EXPECT_EQ(List(mv_id::kAudioSourceList)->currentText(), "CH_1");
    EXPECT_EQ(List(mv_id::kBorderEnableList)->currentText(), "ON");
    EXPECT_EQ(List(mv_id::kLockStateList)->currentText(), "ON");
    EXPECT_EQ(block.view_mode_type, 6);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, 16);
    EXPECT_EQ(block.resolution_type, 0);
    EXPECT_EQ(block.lock_state, 1);
    EXPECT_TRUE(NothingSent());  // the lists were set quietly: no further commands
}

TEST_F(SubPageTest, SetDefaultOnAClosedSerialPortChangesNothing) {
    state_.link.SetMode(ConnectionMode::Serial);
    All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    block.resolution_type = 8;
    block.audio_enable = 0;
    block.border_enable = 0;
    Make<MultiviewerSettingsPage>();
    const All16ViewPageData block_before = block;
    const int8_t count_before = state_.multiviewer.m_cur_window_count;

    QTest::mouseClick(FindControlAs<CButtonST>(page_.get(), mv_id::kSetDefaultButton),
                      Qt::LeftButton);

    EXPECT_EQ(block, block_before);
    EXPECT_EQ(state_.multiviewer.m_cur_window_count, count_before);
    EXPECT_EQ(List(mv_id::kResolutionTypeList)->currentText(), "720p50");
    EXPECT_EQ(List(mv_id::kAudioMeterEnableList)->currentText(), "OFF");
    EXPECT_EQ(List(mv_id::kBorderEnableList)->currentText(), "OFF");
    EXPECT_TRUE(NothingSent());
}

TEST_F(SubPageTest, SetIpSendsTheThreeAddressesByLanEvenOnTheSerialLink) {
    state_.link.SetMode(ConnectionMode::Serial);
    Make<MultiviewerSettingsPage>();
    FindControlAs<IpAddressField>(page_.get(), mv_id::kIpAddressField)->SetAddressText("10.0.0.2");
    FindControlAs<IpAddressField>(page_.get(), mv_id::kSubnetMaskField)
        ->SetAddressText("255.0.0.0");
    FindControlAs<IpAddressField>(page_.get(), mv_id::kGatewayField)->SetAddressText("10.0.0.1");

    QTest::mouseClick(FindControlAs<CButtonST>(page_.get(), mv_id::kSetIpButton), Qt::LeftButton);

    const std::vector<uint8_t> frame = NextFrame();
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_EQ(CommandOf(frame), 0x05);
    EXPECT_THAT(PayloadOf(frame, 12), ElementsAre(0x0A, 0, 0, 2, 0xFF, 0, 0, 0, 0x0A, 0, 0, 1));
    EXPECT_EQ(state_.link.device_table[0].IpText(), "127.0.0.1");
}

TEST_F(SubPageTest, StatusPageQueriesTheLanAndShowsTheSummary) {
    device_ = std::make_unique<UdpPeer>(MultiviewerScript(RichReply()
                                                              .Set(status_reply::kAudioEnable, 1)
                                                              .Set(status_reply::kAudioSource, 5)
                                                              .Set(status_reply::kUmdEnable, 0)
                                                              .Frame()));
    ConnectTo(state_, *device_);
    state_.link.SetMode(ConnectionMode::Serial);  // the status page asks over the LAN all the same
    Make<MultiviewerStatusPage>();

    device_->WaitForFrames(1, 1000);
    EXPECT_THAT(device_->Commands(), ElementsAre(0x32));
    EXPECT_EQ(Field(mv_id::kAudioMeterField)->text(), "ON");
    EXPECT_EQ(Field(mv_id::kAudioSourceField)->text(), "CH_5");
    EXPECT_EQ(Field(mv_id::kUmdStateField)->text(), "OFF");
    EXPECT_TRUE(Field(mv_id::kAudioMeterField)->isReadOnly());
    EXPECT_FALSE(Field(mv_id::kCurrentModeField)->isVisible());
    EXPECT_EQ(Field(mv_id::kCurrentModeField)->text(), QString::fromUtf8("九画面"));
    const QStringList captions = CaptionsOf(page_.get());
    for (const char* caption : {"Audio Metra", "Audio Source", "Umd  State"}) {
        EXPECT_TRUE(captions.contains(caption)) << caption;
    }
    // The preview geometry follows the reply's nine windows.
    EXPECT_EQ(state_.multiviewer.preview_window[8].width, 240);
}

TEST_F(SubPageTest, AudioPageHidesItsControlsAndSendsByLan) {
    state_.link.SetMode(ConnectionMode::Serial);
    state_.multiviewer.m_all_16_view_page_data.audio_source = 2;
    Make<MultiviewerAudioPage>();
    QComboBox* source = List(mv_id::kAudioPageSourceList);
    QComboBox* histogram = List(mv_id::kAudioHistogramList);
    EXPECT_FALSE(source->isVisible());
    EXPECT_FALSE(histogram->isVisible());
    EXPECT_EQ(source->currentText(), "CH_2");

    Pick(source, 2);
    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(CommandOf(frame), 0x39);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(3));
    EXPECT_EQ(frame[6], 0x01);  // by UDP

    Pick(histogram, 1);
    const std::vector<uint8_t> switch_frame = NextFrame();
    EXPECT_EQ(CommandOf(switch_frame), 0x37);
    EXPECT_EQ(state_.multiviewer.audio_meter_shown, 1);
}

}  // namespace
}  // namespace panoptix
