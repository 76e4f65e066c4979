// The UMD, colour, settings, status and audio pages offscreen, each made on its own over a
// state connected to a fake multiviewer on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/ip_address_field.h"
#include "multiviewer/core/preview_geometry.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/pages/class_16view_audio.h"
#include "multiviewer/pages/class_16view_color.h"
#include "multiviewer/pages/class_16view_dlg.h"
#include "multiviewer/pages/class_16view_set.h"
#include "multiviewer/pages/class_16view_status.h"
#include "multiviewer/pages/class_16view_umd.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/preview_painter.h"
#include "multiviewer/status_reply_builder.h"
#include "page_test_support.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::RichReply;
using testing_support::CommandOf;
using testing_support::ConnectTo;
using testing_support::kPreviewAt;
using testing_support::MessageRecorder;
using testing_support::MultiviewerScript;
using testing_support::PayloadOf;
using testing_support::Pick;
using testing_support::PixelAt;
using testing_support::Shot;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;

QStringList EntriesOf(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

QStringList CaptionsOf(const QWidget* page) {
    QStringList captions;
    for (const QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && label->text() != QStringLiteral(".")) {
            captions << label->text();
        }
    }
    return captions;
}

class SubPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = std::make_unique<UdpPeer>(MultiviewerScript(RichReply().Frame()));
        ConnectTo(state_, *device_);
    }

    template <class Page>
    Page& Make() {
        page_ = std::make_unique<Page>(state_.link, state_.multiviewer, nullptr);
        page_->show();
        return static_cast<Page&>(*page_);
    }

    QComboBox* List(int id) const { return FindControlAs<QComboBox>(page_.get(), id); }
    QLineEdit* Field(int id) const { return FindControlAs<QLineEdit>(page_.get(), id); }

    // The one frame the device receives next, or an empty one after the wait.
    std::vector<uint8_t> NextFrame() {
        std::vector<uint8_t> frame = device_->WaitForFrame(1);
        device_->Forget();
        return frame;
    }
    bool NothingSent() const { return device_->WaitForFrames(1, 150).empty(); }

    MessageRecorder messages_;
    PanoptixState state_;
    std::unique_ptr<UdpPeer> device_;
    std::unique_ptr<QWidget> page_;
};

// --- UMD page ---------------------------------------------------------------------------

TEST_F(SubPageTest, UmdPageShowsTheLabelsAndTheOnOffState) {
    state_.multiviewer.umd_name[0] = u"CAM 1";
    state_.multiviewer.umd_name[15] =
        u"Sixteen chars!!!";  // a device label longer than typing allows
    state_.multiviewer.umd_shown = 1;
    Make<CClass_16view_umd>();

    EXPECT_EQ(EntriesOf(List(mv_id::kUmdOnOffList)), QStringList({"UMD OFF", "UMD ON"}));
    EXPECT_EQ(List(mv_id::kUmdOnOffList)->currentIndex(), 1);
    EXPECT_EQ(Field(1035)->text(), "CAM 1");
    EXPECT_EQ(Field(1037)->text(), "");
    EXPECT_EQ(Field(1065)->text(), "Sixteen chars!!!");
    EXPECT_TRUE(CaptionsOf(page_.get()).contains("All Channel UMD"));
    EXPECT_TRUE(CaptionsOf(page_.get()).contains("Window16"));
    // Windows 1-8 on the left, 9-16 on the right, row by row.
    EXPECT_LT(Field(mv_id::UmdFieldId(1))->x(), Field(mv_id::UmdFieldId(9))->x());
    EXPECT_EQ(Field(mv_id::UmdFieldId(1))->y(), Field(mv_id::UmdFieldId(9))->y());
    EXPECT_LT(Field(mv_id::UmdFieldId(1))->y(), Field(mv_id::UmdFieldId(2))->y());
}

TEST_F(SubPageTest, UmdEnterSendsTheFocusedFieldsLabel) {
    Make<CClass_16view_umd>();
    TraceRecorder traces;
    QLineEdit* field = Field(mv_id::UmdFieldId(3));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("AB"));
    QTest::keyClick(field, Qt::Key_Return);

    const std::vector<uint8_t> frame = NextFrame();
    // A5 6C, length 32, device bytes, LAN link, zeros, 0x1E, window 3, fixed fields, "AB".
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_THAT(std::vector<uint8_t>(frame.begin(), frame.begin() + 8),
                ElementsAre(0xA5, 0x6C, 0x20, 0x00, 0xA1, 0x07, 0x01, 0x00));
    EXPECT_EQ(CommandOf(frame), 0x1E);
    EXPECT_THAT(PayloadOf(frame, 12), ElementsAre(3, 1, 0, 1, 0, 1, 0, 1, 0x41, 0x00, 0x42, 0x00));
    EXPECT_EQ(state_.multiviewer.umd_name[2], u"AB");
    EXPECT_EQ(static_cast<CClass_16view_umd&>(*page_).umd_string_index(), 2);
    EXPECT_EQ(traces.CountStartingWith("m_umd_string_index = 2 \n"), 1u);
    EXPECT_TRUE(page_->isVisible());
}

TEST_F(SubPageTest, UmdEnterOutsideTheFieldsAndInAnEmptyField) {
    Make<CClass_16view_umd>();
    TraceRecorder traces;
    QTest::keyClick(List(mv_id::kUmdOnOffList), Qt::Key_Return);
    EXPECT_EQ(traces.CountStartingWith("m_umd_string_index = -1 \n"), 1u);
    EXPECT_TRUE(NothingSent());

    QLineEdit* field = Field(mv_id::UmdFieldId(16));
    field->clear();
    QTest::keyClick(field, Qt::Key_Enter);
    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(frame.size(), 28u);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(16));
    EXPECT_EQ(state_.multiviewer.umd_name[15], u"");
}

// Before any reply the labels are empty: Enter on a field nobody touched sends the empty label
// (28 bytes), not a one-space one.
TEST_F(SubPageTest, UmdEnterOnAnUntouchedFieldSendsTheEmptyLabel) {
    device_ = std::make_unique<UdpPeer>(MultiviewerScript(std::nullopt));
    PanoptixState fresh;
    ConnectTo(fresh, *device_);
    page_ = std::make_unique<CClass_16view_umd>(fresh.link, fresh.multiviewer, nullptr);
    page_->show();
    QLineEdit* field = Field(mv_id::UmdFieldId(7));
    EXPECT_TRUE(field->text().isEmpty());
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);

    const std::vector<uint8_t> frame = NextFrame();
    ASSERT_EQ(frame.size(), 28u);
    EXPECT_EQ(CommandOf(frame), 0x1E);
    EXPECT_THAT(PayloadOf(frame, 8), ElementsAre(7, 1, 0, 1, 0, 1, 0, 1));
    EXPECT_EQ(fresh.multiviewer.umd_name[6], u"");
    page_.reset();  // before the state it works on
}

TEST_F(SubPageTest, UmdFieldTakesTenCharactersAndEscKeepsThePage) {
    Make<CClass_16view_umd>();
    TraceRecorder traces;
    QLineEdit* field = Field(mv_id::UmdFieldId(5));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("ABCDEFGHIJK"));
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(traces.CountStartingWith(" mian  esc  \n"), 1u);
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    EXPECT_EQ(state_.multiviewer.umd_name[4], u"");  // typed but not sent: not stored
    EXPECT_TRUE(page_->isVisible());
    EXPECT_TRUE(NothingSent());
}

// A field shows a longer label the device reported in full, but typing never makes a label
// longer than ten characters: not by adding, not by replacing, not after shortening it a bit.
TEST_F(SubPageTest, UmdFieldNeverTakesAnEleventhTypedCharacter) {
    state_.multiviewer.umd_name[15] = u"Sixteen chars!!!";
    Make<CClass_16view_umd>();
    QLineEdit* field = Field(mv_id::UmdFieldId(16));
    ASSERT_EQ(field->text(), "Sixteen chars!!!");

    field->setFocus();
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!!");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "Sixteen chars!!");  // shortening is fine
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!");
    QTest::keyClick(field, Qt::Key_Left, Qt::ShiftModifier);  // select one, type over it
    QTest::keyClick(field, Qt::Key_X);
    EXPECT_EQ(field->text(), "Sixteen chars!!");

    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("ABCDEFGHIJK"));
    EXPECT_EQ(field->text(), "ABCDEFGHIJ");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(NextFrame().size(), 48u);  // 28 bytes and ten UTF-16 characters
    EXPECT_EQ(state_.multiviewer.umd_name[15], u"ABCDEFGHIJ");
}

TEST_F(SubPageTest, UmdOnSendsTheSwitchAndTheBarsAppear) {
    CClass_16view_dlg container(state_.link, state_.multiviewer,
                                nullptr);  // draws the preview; opens with a query
    container.show();
    device_->WaitForFrames(1, 1000);
    device_->Forget();
    state_.multiviewer.umd_shown = 0;
    container.ShowPage(3);
    auto* list = FindControlAs<QComboBox>(container.SubPage(), mv_id::kUmdOnOffList);
    ASSERT_EQ(list->currentIndex(), 0);

    Pick(list, 1);

    const std::vector<uint8_t> frame = NextFrame();
    EXPECT_EQ(CommandOf(frame), 0x36);
    EXPECT_THAT(PayloadOf(frame, 1), ElementsAre(1));
    EXPECT_EQ(state_.multiviewer.umd_shown, 1);
    // RichReply: layout 9 and UMD background code 0 (black) on window 1.
    const PreviewBar& bar = state_.multiviewer.umd_bar[0];
    const QImage shot = Shot(container);
    EXPECT_EQ(PixelAt(shot, kPreviewAt.x() + bar.x + 2, kPreviewAt.y() + bar.y + 2),
              QColor(0, 0, 0));
}

// --- Colour page ------------------------------------------------------------------------

TEST_F(SubPageTest, ColourPageListsAndTheirCaptions) {
    state_.multiviewer.m_cur_window_count = 4;
    Make<CClass_16view_color>();
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
        Make<CClass_16view_color>();
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
    CClass_16view_dlg container(state_.link, state_.multiviewer, nullptr);
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
    Make<CClass_16view_color>();

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
    Make<CClass_16view_color>();
    ASSERT_EQ(List(mv_id::kUmdBackColorList)->currentText(), "Red");
    Pick(List(mv_id::kUmdBackColorList), 2);
    const std::vector<uint8_t> colour = NextFrame();
    EXPECT_EQ(CommandOf(colour), 0x3C);
    EXPECT_THAT(PayloadOf(colour, 2), ElementsAre(0x00, 0x02));
    EXPECT_THAT(state_.multiviewer.m_all_16_view_page_data.umd_back_color, Each(2));

    // "Audio Meter Enable" shows the device's last report, which the page never changes.
    state_.multiviewer.m_all_16_view_page_data.audio_enable = 1;
    state_.multiviewer.audio_meter_shown = 0;
    Make<CClass_16view_set>();
    ASSERT_EQ(List(mv_id::kAudioMeterEnableList)->currentText(), "ON");
    Pick(List(mv_id::kAudioMeterEnableList), 1);
    const std::vector<uint8_t> meters = NextFrame();
    EXPECT_EQ(CommandOf(meters), 0x37);
    EXPECT_THAT(PayloadOf(meters, 1), ElementsAre(1));
    EXPECT_EQ(state_.multiviewer.audio_meter_shown, 1);
}

// --- Settings page ----------------------------------------------------------------------

TEST_F(SubPageTest, SettingsPageShowsTheStateAndTheDevicesAddress) {
    All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    block.audio_enable = 1;
    block.audio_source = 3;
    block.resolution_enable = 0;
    block.resolution_type = 8;
    block.border_enable = 2;  // outside the list: no selection
    block.lock_state = 1;
    Make<CClass_16view_set>();

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
    EXPECT_EQ(CClass_16view_set::ProposedGateway("192.0.2.37"), "192.0.2.1");
    EXPECT_EQ(CClass_16view_set::ProposedGateway("nodots"), "1");
    EXPECT_TRUE(NothingSent());
}

TEST_F(SubPageTest, SettingsListsSendTheirCommands) {
    Make<CClass_16view_set>();
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
    Make<CClass_16view_set>();

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
    state_.link.m_eState = kModeSerial;
    All16ViewPageData& block = state_.multiviewer.m_all_16_view_page_data;
    block.resolution_type = 8;
    block.audio_enable = 0;
    block.border_enable = 0;
    Make<CClass_16view_set>();
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
    state_.link.m_eState = kModeSerial;
    Make<CClass_16view_set>();
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

// --- Status and audio pages -------------------------------------------------------------

TEST_F(SubPageTest, StatusPageQueriesTheLanAndShowsTheSummary) {
    device_ = std::make_unique<UdpPeer>(MultiviewerScript(RichReply()
                                                              .Set(status_reply::kAudioEnable, 1)
                                                              .Set(status_reply::kAudioSource, 5)
                                                              .Set(status_reply::kUmdEnable, 0)
                                                              .Frame()));
    ConnectTo(state_, *device_);
    state_.link.m_eState = kModeSerial;  // the status page asks over the LAN all the same
    Make<CClass_16view_status>();

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
    state_.link.m_eState = kModeSerial;
    state_.multiviewer.m_all_16_view_page_data.audio_source = 2;
    Make<CClass_16view_audio>();
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
