// The switcher panel offscreen against a fake switcher on loopback: every press sends its
// frame, the pictures, the settings page and the lever follow the block, the automatic
// transition runs on one precise timer, and a panel made again looks as the last one was left.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

#include "controls/bitmap_slider.h"
#include "switcher/core/switcher_controls.h"
#include "switcher/core/switcher_pictures.h"
#include "switcher/core/transition_lever.h"
#include "switcher/pages/switcher_chroma_page.h"
#include "switcher/pages/switcher_key_page.h"
#include "switcher/pages/switcher_page.h"
#include "switcher/pages/switcher_pip_page.h"
#include "switcher/pages/switcher_transition_page.h"
#include "switcher_page_test_support.h"

namespace panoptix {
namespace {

using switcher_testing::CommandText;
using switcher_testing::HexText;
using switcher_testing::PictureOf;
using switcher_testing::PicturesOf;
using switcher_testing::TraceRecorder;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class SwitcherPanelTest : public switcher_testing::SwitcherDeskTest {
  protected:
    SwitcherPage& Make() {
        panel_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        panel_ = std::make_unique<SwitcherPage>(link_, state_, nullptr);
        panel_->show();
        return *panel_;
    }
    void Press(int control_id) {
        CButtonST* button = switcher_testing::ButtonOf(panel_.get(), control_id);
        ASSERT_NE(button, nullptr) << control_id;
        if (button->isVisible()) {
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            button->click();  // a hidden button: as its message would reach it
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    int Picture(int control_id) const { return PictureOf(panel_.get(), control_id); }
    QWidget* SettingsPage() const { return panel_->ShownSettingsPage(); }

    // The lever's thumb centre for a position (the lever's own coordinates).
    QPoint ThumbAt(int position) const { return {80, panel_->Lever()->PositionToPixel(position)}; }
    // A slow drag: one pixel at a time, the lever's messages handled after each step.
    void DragLever(int from_position, int to_position) {
        CBitmapSlider* lever = panel_->Lever();
        const QPoint start = ThumbAt(from_position);
        const QPoint end = ThumbAt(to_position);
        QTest::mousePress(lever, Qt::LeftButton, Qt::NoModifier, start);
        const int step = end.y() > start.y() ? 1 : -1;
        for (int y = start.y() + step; y != end.y() + step; y += step) {
            QTest::mouseMove(lever, QPoint(start.x(), y));
            QCoreApplication::processEvents();
        }
        QTest::mouseRelease(lever, Qt::LeftButton, Qt::NoModifier, end);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<SwitcherPage> panel_;
};

// Every button from a fresh block: the frame reaches the switcher with link byte 1, the
// device's two bytes and the code and payload the button's rule gives.
TEST_F(SwitcherPanelTest, EveryPressSendsItsFrame) {
    struct Row {
        int control_id;
        const char* command;  // code and payload
    };
    const Row rows[] = {
        {1032, "80 01"},
        {1120, "80 0C"},
        {1123, "80 09"},  // 9: hidden
        {1035, "81 02"},
        {1153, "81 0B"},
        {1127, "81 0A"},  // 10: hidden
        {sw_id::kCut, "83"},
        {sw_id::kAuto, "84"},
        {sw_id::kFadeToBlack, "85"},
        {sw_id::kPip, "86"},
        {sw_id::kOnAir, "88 00"},
        {sw_id::kOnAir2, "89 00"},
        {sw_id::kBackground, "8A 01"},
        {sw_id::kKey1, "8B 00"},
        {sw_id::kKey2, "8C 00"},
        {sw_id::kMix, "8D"},
        {sw_id::kDip, "8E"},
        {sw_id::kWipe, "8F"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.control_id);
        state_ = SwitcherState{};
        Make();
        Forget();
        Press(row.control_id);
        const std::vector<uint8_t> frame = NextFrame();
        EXPECT_EQ(CommandText(frame), row.command);
        // A5 6C, length, device type and address, link byte 1 (LAN), nine zero bytes.
        EXPECT_EQ(HexText(frame, 0, 16),
                  HexText({0xA5, 0x6C, static_cast<uint8_t>(frame.size()), 0x00, 0xA5, 0x01, 0x01,
                           0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(frame.back(), 0xAE);
        panel_.reset();
    }
}

TEST_F(SwitcherPanelTest, ProgramThreeAndCutAreTheDevicesGoldenFrames) {
    Make();
    Press(1011);
    EXPECT_EQ(HexText(NextFrame()),
              "A5 6C 15 00 A5 01 01 00 00 00 00 00 00 00 00 00 80 03 50 02 AE");
    Press(sw_id::kCut);
    EXPECT_EQ(HexText(NextFrame()), "A5 6C 14 00 A5 01 01 00 00 00 00 00 00 00 00 00 83 4F 02 AE");
    // The rates send nothing.
    Press(sw_id::kRate3);
    EXPECT_TRUE(NothingSent());
}

TEST_F(SwitcherPanelTest, OpensOnTheFirstPanelsLooks) {
    Make();
    EXPECT_TRUE(NothingSent());
    const std::map<int, int> expected{
        {1032, 250}, {1033, 253}, {1011, 256}, {1107, 259}, {1108, 262}, {1109, 265}, {1110, 268},
        {1111, 271}, {1123, 274}, {1124, 277}, {1119, 280}, {1120, 283}, {1034, 250}, {1035, 253},
        {1012, 256}, {1112, 259}, {1113, 262}, {1114, 265}, {1115, 268}, {1116, 271}, {1126, 274},
        {1127, 277}, {1153, 280}, {1155, 283}, {1131, 299}, {1144, 290}, {1145, 292}, {1135, 247},
        {1134, 298}, {1158, 298}, {1136, 296}, {1162, 286}, {1132, 303}, {1151, 285}, {1118, 245},
        {1152, 289}, {1161, 347}, {1036, 342}, {1037, 343}, {1038, 345},
    };
    EXPECT_EQ(PicturesOf(panel_.get()), expected);
    EXPECT_NE(qobject_cast<SwitcherTransitionPage*>(SettingsPage()), nullptr);
    EXPECT_EQ(SettingsPage()->geometry(), QRect(960, 100, 250, 400));
    EXPECT_EQ(panel_->Lever()->GetPos(), 129);
    EXPECT_EQ(panel_->Lever()->geometry(), QRect(693, 100, 164, 420));
    EXPECT_FALSE(switcher_testing::ButtonOf(panel_.get(), 1123)->isVisible());
    EXPECT_FALSE(switcher_testing::ButtonOf(panel_.get(), 1158)->isVisible());
    EXPECT_EQ(switcher_testing::ButtonOf(panel_.get(), sw_id::kAuto)->geometry(),
              QRect(600, 420, 80, 80));
}

TEST_F(SwitcherPanelTest, PicturesAndSettingsPageFollowTheBlock) {
    Make();
    Press(1011);  // program 3
    Press(1113);  // preview 5
    EXPECT_EQ(Picture(1011), 255);
    EXPECT_EQ(Picture(1113), 260);
    Press(sw_id::kCut);
    EXPECT_EQ(Picture(1108), 261);  // program 5, program-lit
    EXPECT_EQ(Picture(1011), 256);
    EXPECT_EQ(Picture(1012), 254);  // preview 3, preview-lit
    EXPECT_EQ(Picture(1113), 262);

    Press(sw_id::kPip);
    EXPECT_EQ(Picture(sw_id::kPip), 300);
    EXPECT_NE(qobject_cast<SwitcherPipPage*>(SettingsPage()), nullptr);
    Press(sw_id::kKey1);  // KEY 1 takes over from PIP
    EXPECT_EQ(Picture(sw_id::kPip), 299);
    EXPECT_EQ(Picture(sw_id::kKey1), 291);
    EXPECT_NE(qobject_cast<SwitcherKeyPage*>(SettingsPage()), nullptr);
    Press(sw_id::kBackground);  // a layer is selected: BKGD goes dark
    EXPECT_EQ(Picture(sw_id::kBackground), 246);
    Press(sw_id::kKey2);
    EXPECT_NE(qobject_cast<SwitcherChromaPage*>(SettingsPage()), nullptr);
    Press(sw_id::kOnAir);
    Press(sw_id::kFadeToBlack);
    Press(sw_id::kWipe);
    Press(sw_id::kRate2);
    EXPECT_EQ(Picture(sw_id::kKey2), 293);
    EXPECT_EQ(Picture(sw_id::kOnAir), 297);
    EXPECT_EQ(Picture(sw_id::kFadeToBlack), 288);
    EXPECT_EQ(Picture(sw_id::kWipe), 304);
    EXPECT_EQ(Picture(sw_id::kMix), 295);
    EXPECT_EQ(Picture(sw_id::kRate2), 344);
    EXPECT_EQ(Picture(sw_id::kRate1), 341);
    EXPECT_NE(qobject_cast<SwitcherTransitionPage*>(SettingsPage()), nullptr);
    // Every picture is the one the block calls for.
    for (const auto& [id, picture] : PicturesOf(panel_.get())) {
        EXPECT_EQ(picture, PanelButtonPicture(block(), id)) << id;
    }
}

TEST_F(SwitcherPanelTest, AutoAtR3RunsOnePreciseTimerAndRestartsWhenPressedAgain) {
    Make();
    Press(1032);  // program 1
    Press(1035);  // preview 2
    Press(sw_id::kRate3);
    Forget();
    Press(sw_id::kAuto);
    QTimer* timer = panel_->AutoTimer(3);
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 20);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(Picture(sw_id::kAuto), 305);
    EXPECT_EQ(Picture(1035), 252);  // the preview button is program-lit while under way
    // The rates are locked while the lamp is lit.
    Press(sw_id::kRate1);
    EXPECT_EQ(block().transition_rate, 2);

    QTRY_VERIFY_WITH_TIMEOUT(block().lever_value >= 20, 3000);
    Press(sw_id::kAuto);  // again: the same timer starts afresh from the thumb
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(panel_->AutoTimer(1)->isActive());
    EXPECT_FALSE(panel_->AutoTimer(2)->isActive());

    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 6000);
    const std::vector<std::string> commands = ReceivedCommands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.front(), "84");
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "84"), 2);
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "82 01 80"), 1);
    EXPECT_EQ(commands.back(), "82 01 80");
    // The second run went on from where the first had got to: progress never went back.
    // Done: the thumb at the top, the next transition runs down, the buses exchanged once.
    EXPECT_EQ(panel_->Lever()->GetPos(), 0);
    EXPECT_EQ(block().lever_direction, 0);
    EXPECT_EQ(block().program_source, 2);
    EXPECT_EQ(block().preview_source, 1);
    EXPECT_EQ(Picture(sw_id::kAuto), 245);
    EXPECT_EQ(Picture(1033), 252);  // program 2
    EXPECT_EQ(Picture(1034), 248);  // preview 1, preview-lit
}

TEST_F(SwitcherPanelTest, AutoAtR1SendsSeventeenStepsAndComesBackDown) {
    Make();
    Forget();
    Press(sw_id::kAuto);
    QTRY_VERIFY_WITH_TIMEOUT(!panel_->AutoTimer(1)->isActive(), 5000);
    std::vector<std::string> up{"84", "82 01 01"};
    for (int progress = 8; progress <= 128; progress += 8) {
        up.push_back("82 01 " + HexText({static_cast<uint8_t>(progress)}));
    }
    EXPECT_THAT(ReceivedCommands(), ElementsAreArray(up));
    Forget();
    Press(sw_id::kAuto);
    QTRY_VERIFY_WITH_TIMEOUT(!panel_->AutoTimer(1)->isActive(), 5000);
    const std::vector<std::string> down = ReceivedCommands();
    ASSERT_EQ(down.size(), 18u);
    EXPECT_EQ(down[1], "82 00 01");
    EXPECT_EQ(down[17], "82 00 80");
    EXPECT_EQ(panel_->Lever()->GetPos(), 129);
    EXPECT_EQ(block().lever_direction, 1);
}

TEST_F(SwitcherPanelTest, SlowLeverDragSendsEveryStepAndExchangesAtTheTop) {
    Make();
    Press(1107);  // program 4
    Press(1116);  // preview 8
    Forget();
    DragLever(129, 60);
    // Under way: the lamp lit, the preview button program-lit.
    EXPECT_EQ(Picture(sw_id::kAuto), 305);
    EXPECT_EQ(Picture(1116), 270);
    EXPECT_EQ(block().lever_value, 69);
    DragLever(60, 0);
    std::vector<std::string> expected{"82 01 01"};
    for (int progress = 8; progress <= 128; progress += 8) {
        expected.push_back("82 01 " + HexText({static_cast<uint8_t>(progress)}));
    }
    expected.push_back("82 00 00");
    EXPECT_THAT(ReceivedCommands(), ElementsAreArray(expected));
    EXPECT_EQ(block().program_source, 8);
    EXPECT_EQ(block().preview_source, 4);
    EXPECT_EQ(block().lever_direction, 0);
    EXPECT_EQ(Picture(sw_id::kAuto), 245);
    EXPECT_EQ(Picture(1111), 270);  // program 8
    EXPECT_EQ(Picture(1112), 257);  // preview 4, preview-lit
    EXPECT_EQ(panel_->Lever()->GetPos(), 0);
}

TEST_F(SwitcherPanelTest, LeverHandsTheFocusToFtbAndTakesNoKeys) {
    Make();
    panel_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(panel_.get()));
    CBitmapSlider* lever = panel_->Lever();
    QTest::mouseClick(lever, Qt::LeftButton, Qt::NoModifier, ThumbAt(129));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(),
              switcher_testing::ButtonOf(panel_.get(), sw_id::kFadeToBlack));
    Forget();
    // Keys that reach the lever move nothing and turn nothing.
    const uint8_t direction = block().lever_direction;
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Home, Qt::Key_PageUp, Qt::Key_End}) {
        QTest::keyClick(lever, key);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(lever->GetPos(), 129);
    EXPECT_EQ(block().lever_direction, direction);
    EXPECT_EQ(lever->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(NothingSent());
}

TEST_F(SwitcherPanelTest, EnterAndEscAreSwallowed) {
    Make();
    TraceRecorder traces;
    QTest::keyClick(panel_.get(), Qt::Key_Return);
    QTest::keyClick(switcher_testing::ButtonOf(panel_.get(), sw_id::kCut), Qt::Key_Escape);
    EXPECT_EQ(traces.Count(" mian  esc  \n"), 2u);
    EXPECT_TRUE(panel_->isVisible());
    EXPECT_TRUE(NothingSent());
}

// The block outlives the panel: a panel made again shows every button, the settings page and
// the lever as the last one was left, and sends nothing.
TEST_F(SwitcherPanelTest, APanelMadeAgainLooksAsTheLastOneWasLeft) {
    Make();
    for (const int id :
         {1109, 1155, int{sw_id::kKey2}, int{sw_id::kOnAir}, int{sw_id::kFadeToBlack},
          int{sw_id::kDip}, int{sw_id::kRate3}, int{sw_id::kKey1}}) {
        Press(id);
    }
    DragLever(129, 100);  // a transition under way by hand
    const std::map<int, int> pictures = PicturesOf(panel_.get());
    const int thumb = panel_->Lever()->GetPos();
    ASSERT_EQ(pictures.at(sw_id::kAuto), 305);
    ASSERT_EQ(pictures.at(1155), 282);  // preview MP1 program-lit while under way
    ASSERT_NE(qobject_cast<SwitcherKeyPage*>(SettingsPage()), nullptr);

    Make();
    Forget();
    EXPECT_EQ(PicturesOf(panel_.get()), pictures);
    EXPECT_EQ(panel_->Lever()->GetPos(), thumb);
    EXPECT_NE(qobject_cast<SwitcherKeyPage*>(SettingsPage()), nullptr);
    EXPECT_TRUE(NothingSent());

    // The hand carries on from there and finishes the transition.
    DragLever(thumb, 0);
    EXPECT_EQ(block().program_source, 12);
    EXPECT_EQ(block().preview_source, 6);
    EXPECT_EQ(PictureOf(panel_.get(), sw_id::kAuto), 245);
}

}  // namespace
}  // namespace panoptix
