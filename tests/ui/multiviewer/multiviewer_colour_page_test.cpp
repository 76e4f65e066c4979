// The colour page offscreen: lists, channels and colours for one window or all.
#include "sub_page_fixture.h"

namespace panoptix {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using testing_support::CommandOf;
using testing_support::kPreviewAt;
using testing_support::PayloadOf;
using testing_support::Pick;
using testing_support::PixelAt;
using testing_support::Shot;

using testing_support::CaptionsOf;
using testing_support::EntriesOf;
using testing_support::SubPageTest;

TEST_F(SubPageTest, ColourPageListsAndTheirCaptions) {
    state_.multiviewer.m_cur_window_count = 4;
    Make<MultiviewerColourPage>();
    const QStringList channels{"All Channel", "CH_1", "CH_2", "CH_3", "CH_4"};
    const QStringList colours{"Black",     "Blue",        "Red",       "Magenta",
                              "Green",     "Cyan",        "Yellow",    "White",
                              "Gray",      "VioletRed",   "LightBlue", "LightGreen",
                              "LightCyan", "LightYellow", "Trans",     "HalfTrans"};
    EXPECT_EQ(EntriesOf(List(mv_id::kUmdChannelList)), channels);
    EXPECT_EQ(EntriesOf(List(mv_id::kResolutionChannelList)), channels);
    for (const int id : {mv_id::kUmdTextColorList, mv_id::kUmdBackColorList,
                         mv_id::kResolutionTextColorList, mv_id::kResolutionBackColorList}) {
        EXPECT_EQ(EntriesOf(List(id)), colours) << id;
    }
    const QStringList captions = CaptionsOf(page_.get());
    for (const char* caption :
         {"Source Channel", "UMD Text Color", "UMD Background Color", "Window Channel",
          "Resolution Text Color", "Resolution Background Color"}) {
        EXPECT_TRUE(captions.contains(caption)) << caption;
    }
}

TEST_F(SubPageTest, ColourPageChannelsFollowTheLayoutsWindowCount) {
    struct Case {
        uint8_t stored_channel;
        int shown_entry;
        uint8_t channel_after;
    };
    const Case cases[] = {{4, 4, 4}, {9, 0, 0}, {0, 0, 0}, {1, 1, 1}};
    for (const Case& c : cases) {
        state_.multiviewer.m_cur_window_count = 4;
        state_.multiviewer.m_all_16_view_page_data.umd_color_channel = c.stored_channel;
        state_.multiviewer.m_all_16_view_page_data.resolution_color_channel = c.stored_channel;
        state_.multiviewer.m_all_16_view_page_data.umd_text_color = {3, 4, 5, 6, 7};
        state_.multiviewer.m_all_16_view_page_data.resolution_back_color = {9, 10, 11, 12, 20};
        Make<MultiviewerColourPage>();
        EXPECT_EQ(List(mv_id::kUmdChannelList)->currentIndex(), c.shown_entry);
        EXPECT_EQ(List(mv_id::kResolutionChannelList)->currentIndex(), c.shown_entry);
        EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.umd_color_channel, c.channel_after);
        // Channel 0 shows window 1's colours; a stored code above 15 selects nothing.
        const size_t window = c.channel_after == 0 ? 0 : c.channel_after - 1u;
        EXPECT_EQ(List(mv_id::kUmdTextColorList)->currentIndex(),
                  state_.multiviewer.m_all_16_view_page_data.umd_text_color[window]);
        const uint8_t back =
            state_.multiviewer.m_all_16_view_page_data.resolution_back_color[window];
        EXPECT_EQ(List(mv_id::kResolutionBackColorList)->currentIndex(), back > 15 ? -1 : back);
    }
    EXPECT_TRUE(NothingSent());
}

TEST_F(SubPageTest, ColourForAllChannelsSetsEveryWindowAndTheBarsTurnRed) {
    MultiviewerPage container(state_.link, state_.multiviewer, nullptr);
    container.show();
    device_->WaitForFrames(1, 1000);
    device_->Forget();
    container.ShowPage(5);
    QWidget* page = container.SubPage();
    Pick(FindControlAs<QComboBox>(page, mv_id::kUmdChannelList), 0);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.umd_color_channel, 0);
    EXPECT_TRUE(NothingSent());

    Pick(FindControlAs<QComboBox>(page, mv_id::kUmdBackColorList), 2);  // "Red"

    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(frame.size(), 22u);
    EXPECT_EQ(CommandOf(frame), 0x3C);
    EXPECT_THAT(PayloadOf(frame, 2), ElementsAre(0x00, 0x02));
    EXPECT_THAT(state_.multiviewer.m_all_16_view_page_data.umd_back_color, Each(2));
    // Every UMD bar of the nine windows is red in the preview.
    const QImage shot = Shot(container);
    for (size_t k = 0; k < 9; ++k) {
        const PreviewBar& bar = state_.multiviewer.umd_bar[k];
        EXPECT_EQ(PixelAt(shot, kPreviewAt.x() + bar.x + bar.width / 2,
                          kPreviewAt.y() + bar.y + bar.height / 2),
                  QColor(255, 0, 0))
            << k;
    }
}

TEST_F(SubPageTest, ColourForOneWindowTouchesOnlyThatWindow) {
    state_.multiviewer.m_cur_window_count = 16;
    state_.multiviewer.m_all_16_view_page_data.umd_color_channel = 0;
    state_.multiviewer.m_all_16_view_page_data.resolution_color_channel = 1;
    state_.multiviewer.m_all_16_view_page_data.umd_text_color.fill(1);
    state_.multiviewer.m_all_16_view_page_data.umd_back_color.fill(1);
    Make<MultiviewerColourPage>();

    // Switching the UMD channel shows that window's colours and sends nothing.
    state_.multiviewer.m_all_16_view_page_data.umd_text_color[4] = 13;
    Pick(List(mv_id::kUmdChannelList), 2);
    Pick(List(mv_id::kUmdChannelList), 5);
    EXPECT_EQ(List(mv_id::kUmdTextColorList)->currentText(), "LightYellow");
    EXPECT_TRUE(NothingSent());

    Pick(List(mv_id::kResolutionChannelList), 3);
    Pick(List(mv_id::kResolutionTextColorList), 6);  // "Yellow"
    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(CommandOf(frame), 0x3D);
    EXPECT_THAT(PayloadOf(frame, 2), ElementsAre(3, 6));
    std::array<uint8_t, 16> expected{};
    expected[2] = 6;
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.resolution_text_color, expected);

    Pick(List(mv_id::kUmdTextColorList), 7);
    const std::vector<uint8_t> umd_frame = NextFrame();
    EXPECT_EQ(CommandOf(umd_frame), 0x3B);
    EXPECT_THAT(PayloadOf(umd_frame, 2), ElementsAre(5, 7));
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.umd_text_color[4], 7);
    EXPECT_EQ(state_.multiviewer.m_all_16_view_page_data.umd_text_color[3], 1);
}

// A pick of the entry a list already shows is a pick all the same: it sends.
TEST_F(SubPageTest, PickingTheEntryAlreadyShownSendsIt) {
    // "All Channel" shows window 1's colour; picking it gives that colour to all sixteen.
    state_.multiviewer.m_cur_window_count = 16;
    state_.multiviewer.m_all_16_view_page_data.umd_color_channel = 0;
    state_.multiviewer.m_all_16_view_page_data.umd_back_color.fill(5);
    state_.multiviewer.m_all_16_view_page_data.umd_back_color[0] = 2;
    Make<MultiviewerColourPage>();
    ASSERT_EQ(List(mv_id::kUmdBackColorList)->currentText(), "Red");
    Pick(List(mv_id::kUmdBackColorList), 2);
    const std::vector<uint8_t> colour = NextFrame();
    EXPECT_EQ(CommandOf(colour), 0x3C);
    EXPECT_THAT(PayloadOf(colour, 2), ElementsAre(0x00, 0x02));
    EXPECT_THAT(state_.multiviewer.m_all_16_view_page_data.umd_back_color, Each(2));

    // "Audio Meter Enable" shows the device's last report, which the page never changes.
    state_.multiviewer.m_all_16_view_page_data.audio_enable = 1;
    state_.multiviewer.audio_meter_shown = 0;
    Make<MultiviewerSettingsPage>();
    ASSERT_EQ(List(mv_id::kAudioMeterEnableList)->currentText(), "ON");
    Pick(List(mv_id::kAudioMeterEnableList), 1);
    const std::vector<uint8_t> meters = NextFrame();
    EXPECT_EQ(CommandOf(meters), 0x37);
    EXPECT_THAT(PayloadOf(meters, 1), ElementsAre(1));
    EXPECT_EQ(state_.multiviewer.audio_meter_shown, 1);
}

}  // namespace
}  // namespace panoptix
