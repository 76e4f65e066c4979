// The quad-view page offscreen against a fake quad-view processor on loopback: the opening's
// queries and controls, what each operator action shows and sends, and the keys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "controls/my_group_box.h"
#include "quadview_page_fixture.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using testing::QuadPageTest;
using testing::SignalReply;
using testing::StatusFields;
using testing::StatusReply;
using testing_support::Pick;
using testing_support::TraceRecorder;

const QColor kBorder{89, 187, 255};
const QColor kInside{55, 55, 55};
const QColor kGround{152, 152, 152};

class QuadPageActionTest : public QuadPageTest {
  protected:
    // Opens against a device reporting fields, all channels with signal; the opening's two
    // queries are then forgotten so that each test sees only what its actions send.
    void OpenWith(const StatusFields& fields) {
        device_.SetStatusReply(StatusReply(fields));
        device_.SetSignalReply(SignalReply({1, 1, 1, 1}));
        Open();
        ASSERT_THAT(Commands(2), ElementsAre(0x90, 0xAA));
        device_.peer().Forget();
    }
    std::vector<uint8_t> OnlyFrameSent() {
        EXPECT_EQ(Commands(1).size(), 1u);
        return CommandAndPayload(1);
    }
};

TEST_F(QuadPageTest, OpeningQueriesStatusThenSignalsAndSendsNoShowMode) {
    StatusFields fields;
    fields.show_mode = 3;
    fields.output_format = 10;
    fields.pip_child = {2, 4};
    fields.loop_state = 1;
    device_.SetStatusReply(StatusReply(fields));
    device_.SetSignalReply(SignalReply({1, 0, 1, 1}));
    TraceRecorder traces;
    QuadviewPage& page = Open();

    EXPECT_THAT(Commands(2), ElementsAre(0x90, 0xAA));
    EXPECT_EQ(page.size(), QSize(1240, 580));
    EXPECT_THAT(LitModes(), ElementsAre(3));
    EXPECT_EQ(PictureOf(qv_id::LayoutButtonId(0)), 309);
    EXPECT_EQ(PictureOf(qv_id::LayoutButtonId(8)), 325);
    EXPECT_EQ(PictureOf(qv_id::kLoopButton), qv_picture::kLoopStop);
    EXPECT_EQ(List(qv_id::kOutputFormatList)->currentIndex(), 1);
    EXPECT_EQ(List(qv_id::kFirstPipList)->currentIndex(), 1);
    EXPECT_EQ(List(qv_id::kSecondPipList)->currentIndex(), 3);
    EXPECT_THAT(LampIcons(), ElementsAre(375, 376, 375, 375));
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{1, 0, 1, 1}));
    EXPECT_EQ(FindControlAs<QLineEdit>(&page, qv_id::kLoopTimeField)->text(), "3");
    EXPECT_TRUE(page.SignalTimerActive());
    EXPECT_EQ(page.SignalTimerIntervalMs(), 5000);
    EXPECT_EQ(traces.Count("read over \n"), 1u);
    // Mode 3 with the loop running: both PIP lists disabled.
    EXPECT_FALSE(List(qv_id::kFirstPipList)->isEnabled());
    EXPECT_FALSE(List(qv_id::kSecondPipList)->isEnabled());
    // Windows 1 and 2 side by side at full height.
    EXPECT_EQ(PreviewPixel(359, 240), kBorder);
    EXPECT_EQ(PreviewPixel(360, 240), kBorder);
    EXPECT_EQ(PreviewPixel(100, 400), kInside);
    EXPECT_EQ(PreviewPixel(600, 100), kInside);
}

TEST_F(QuadPageTest, ControlsStandWhereTheTemplatePutsThemAndTheHiddenOnesStayHidden) {
    QuadviewPage& page = Open();  // a silent device
    struct Row {
        int id;
        QRect rect;
        bool shown;
    };
    const Row rows[] = {
        {1032, {830, 160, 68, 48}, true},   {1033, {920, 160, 68, 50}, true},
        {1034, {1010, 160, 68, 50}, true},  {1035, {1100, 160, 68, 48}, true},
        {1036, {830, 220, 68, 48}, true},   {1037, {920, 220, 68, 48}, true},
        {1038, {1010, 220, 68, 48}, true},  {1039, {1100, 220, 68, 48}, true},
        {1040, {830, 280, 68, 48}, true},   {1011, {830, 460, 70, 45}, true},
        {1186, {800, 30, 400, 90}, true},   {1188, {800, 130, 400, 300}, true},
        {1190, {800, 430, 400, 95}, true},  {1191, {910, 470, 40, 20}, true},
        {1200, {850, 45, 50, 20}, true},    {1201, {922, 45, 20, 20}, true},
        {1204, {1042, 45, 20, 20}, true},   {1196, {910, 63, 32, 32}, true},
        {1199, {1030, 63, 32, 32}, true},   {1185, {5, 40, 1, 1}, false},
        {1193, {980, 475, 70, 20}, false},  {1194, {980, 475, 80, 20}, false},
        {1189, {1065, 470, 50, 20}, false}, {1187, {1065, 470, 100, 20}, false},
        {1192, {1125, 470, 50, 20}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const QWidget* control = FindControl(&page, row.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), row.rect);
        EXPECT_EQ(control->isVisible(), row.shown);
    }
    // The buttons of modes 9..16 and the Time button exist, unplaced and hidden.
    for (int id = 1041; id <= 1048; ++id) {
        ASSERT_NE(Button(id), nullptr) << id;
        EXPECT_FALSE(Button(id)->isVisible()) << id;
    }
    ASSERT_NE(Button(qv_id::kTimeButton), nullptr);
    EXPECT_FALSE(Button(qv_id::kTimeButton)->isVisible());
    EXPECT_FALSE(Button(qv_id::kTimeButton)->HasPicture());
    // Texts of the labels and lists.
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1193)->text(), "PIP Child Ch");
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1194)->text(), "Output Format");
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1200)->text(), "Channel");
    EXPECT_EQ(FindControlAs<QLabel>(&page, 1203)->text(), "3");
    EXPECT_EQ(List(1187)->itemText(0), "1280x1024_60");
    EXPECT_EQ(List(1187)->itemText(1), "1920x1080_60");
    EXPECT_EQ(List(1192)->count(), 4);
    EXPECT_EQ(List(1192)->itemText(3), "4");
    EXPECT_TRUE(FindControlAs<CMyGroupBox>(&page, 1188)->Caption().isEmpty());

    // Silent: the stored mode 0 is lit and drawn, every lamp red, nothing but the queries sent.
    EXPECT_THAT(LitModes(), ElementsAre(0));
    EXPECT_THAT(LampIcons(), ElementsAre(376, 376, 376, 376));
    EXPECT_THAT(Commands(2), ElementsAre(0x90, 0xAA));
    EXPECT_EQ(PreviewPixel(359, 239), kBorder);
    EXPECT_EQ(PreviewPixel(100, 100), kInside);
}

TEST_F(QuadPageActionTest, ModeEightSendsItsFrameLightsItsButtonAndRedraws) {
    StatusFields fields;
    fields.show_mode = 3;
    ASSERT_NO_FATAL_FAILURE(OpenWith(fields));
    QTest::mouseClick(Button(qv_id::LayoutButtonId(8)), Qt::LeftButton);

    EXPECT_THAT(OnlyFrameSent(), ElementsAre(0x94, 0x08));
    EXPECT_THAT(LitModes(), ElementsAre(8));
    EXPECT_EQ(PictureOf(qv_id::LayoutButtonId(3)), 315);
    EXPECT_EQ(block().show_mode, 8);
    // Window 1 alone over the whole canvas: no divider down the middle any more.
    EXPECT_EQ(PreviewPixel(0, 0), kBorder);
    EXPECT_EQ(PreviewPixel(719, 479), kBorder);
    EXPECT_EQ(PreviewPixel(360, 100), kInside);
    // Its number, light grey, near the centre.
    bool number_seen = false;
    for (int x = 355; x < 375 && !number_seen; ++x) {
        for (int y = 235; y < 255 && !number_seen; ++y) {
            number_seen = PreviewPixel(x, y) == QColor(192, 192, 192);
        }
    }
    EXPECT_TRUE(number_seen);

    // The mode in force: nothing.
    QTest::mouseClick(Button(qv_id::LayoutButtonId(8)), Qt::LeftButton);
    EXPECT_EQ(Commands(1).size(), 1u);
}

TEST_F(QuadPageActionTest, ModeSevenWithChildrenOneAndOneSendsOnlyTheShowMode) {
    StatusFields fields;
    fields.pip_child = {1, 1};
    ASSERT_NO_FATAL_FAILURE(OpenWith(fields));
    QTest::mouseClick(Button(qv_id::LayoutButtonId(7)), Qt::LeftButton);

    EXPECT_THAT(OnlyFrameSent(), ElementsAre(0x94, 0x07));
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{1, 2}));
    EXPECT_EQ(List(qv_id::kFirstPipList)->currentIndex(), 0);
    EXPECT_EQ(List(qv_id::kSecondPipList)->currentIndex(), 1);
    EXPECT_FALSE(List(qv_id::kFirstPipList)->isEnabled());
    EXPECT_TRUE(List(qv_id::kSecondPipList)->isEnabled());
}

TEST_F(QuadPageActionTest, LoopButtonSendsOneThenZeroSwappingStopAndStart) {
    ASSERT_NO_FATAL_FAILURE(OpenWith({}));
    EXPECT_EQ(PictureOf(qv_id::kLoopButton), qv_picture::kLoopStart);

    QTest::mouseClick(Button(qv_id::kLoopButton), Qt::LeftButton);
    EXPECT_THAT(OnlyFrameSent(), ElementsAre(0xA6, 0x01));
    EXPECT_EQ(PictureOf(qv_id::kLoopButton), qv_picture::kLoopStop);

    QTest::mouseClick(Button(qv_id::kLoopButton), Qt::LeftButton);
    EXPECT_EQ(Commands(2).size(), 2u);
    EXPECT_THAT(CommandAndPayload(2), ElementsAre(0xA6, 0x00));
    EXPECT_EQ(PictureOf(qv_id::kLoopButton), qv_picture::kLoopStart);
}

TEST_F(QuadPageActionTest, EnterInTheLoopTimeFieldSendsTheTimeAndIsSwallowedElsewhere) {
    ASSERT_NO_FATAL_FAILURE(OpenWith({}));
    auto* field = FindControlAs<QLineEdit>(page_.get(), qv_id::kLoopTimeField);
    struct Case {
        const char* typed;
        Qt::Key key;
        std::vector<uint8_t> sent;
    };
    const Case cases[] = {
        {"1", Qt::Key_Return, {0xA7, 0x03, 0x00}},
        {"250", Qt::Key_Enter, {0xA7, 0xFA, 0x00}},
        {"9x9y9z9", Qt::Key_Return, {0xA7, 0xE7, 0x03}},  // digits only, at most three
        {"", Qt::Key_Return, {0xA7, 0x03, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        device_.peer().Forget();
        field->clear();
        QTest::keyClicks(field, c.typed);
        QTest::keyClick(field, c.key);
        EXPECT_THAT(OnlyFrameSent(), ::testing::ElementsAreArray(c.sent));
    }

    // Enter and Esc anywhere else: nothing sent, Esc traced, the page stays.
    device_.peer().Forget();
    TraceRecorder traces;
    for (QWidget* target : {static_cast<QWidget*>(page_.get()),
                            static_cast<QWidget*>(Button(qv_id::LayoutButtonId(2)))}) {
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Escape);
    }
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(traces.Count(" mian  esc  \n"), 3u);
    EXPECT_TRUE(Commands(0).empty());
    EXPECT_TRUE(page_->isVisible());
}

TEST_F(QuadPageActionTest, SerialModeWithThePortClosedStoresLightsAndDrawsButSendsNothing) {
    ASSERT_NO_FATAL_FAILURE(OpenWith({}));
    link_.SetMode(ConnectionMode::Serial);
    ASSERT_FALSE(link_.serial_port.IsOpen());
    QTest::mouseClick(Button(qv_id::LayoutButtonId(5)), Qt::LeftButton);

    EXPECT_EQ(block().show_mode, 5);
    EXPECT_THAT(LitModes(), ElementsAre(5));
    EXPECT_EQ(PreviewPixel(0, 0), kBorder);  // window 4 over the whole canvas
    EXPECT_EQ(PreviewPixel(360, 100), kInside);
    EXPECT_TRUE(Commands(0).empty());
}

TEST_F(QuadPageActionTest, APipChoiceEqualToTheOtherChildIsPutBackAndNotSent) {
    StatusFields fields;
    fields.show_mode = 11;  // both lists usable
    fields.pip_child = {2, 3};
    ASSERT_NO_FATAL_FAILURE(OpenWith(fields));
    QComboBox* first = List(qv_id::kFirstPipList);
    QComboBox* second = List(qv_id::kSecondPipList);
    ASSERT_TRUE(first->isEnabled());
    ASSERT_TRUE(second->isEnabled());

    Pick(second, 1);  // channel 2, the first child
    EXPECT_EQ(second->currentIndex(), 2);
    Pick(first, 2);  // channel 3, the second child
    EXPECT_EQ(first->currentIndex(), 1);
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{2, 3}));
    EXPECT_TRUE(Commands(0).empty());

    Pick(second, 3);  // channel 4 is free
    EXPECT_THAT(OnlyFrameSent(), ElementsAre(0xA5, 0x02, 0x04));
    EXPECT_EQ(second->currentIndex(), 3);
}

TEST_F(QuadPageActionTest, OutputFormatPickSendsTheRowsCode) {
    ASSERT_NO_FATAL_FAILURE(OpenWith({}));
    Pick(List(qv_id::kOutputFormatList), 0);
    EXPECT_THAT(OnlyFrameSent(), ElementsAre(0x92, 0x04));
    EXPECT_EQ(block().output_format, 4);
}

}  // namespace
}  // namespace panoptix
