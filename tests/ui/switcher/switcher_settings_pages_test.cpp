// The four settings pages offscreen, each made on its own over a switcher panel's rules and a
// fake switcher on loopback: lists send on every pick, sliders only on a mouse release over
// them, keyboard moves only update the fields, and a page opens on what the block holds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include <memory>

#include "switcher/core/switcher_controls.h"
#include "switcher/pages/switcher_chroma_page.h"
#include "switcher/pages/switcher_key_page.h"
#include "switcher/pages/switcher_pip_page.h"
#include "switcher/pages/switcher_transition_page.h"
#include "switcher_page_test_support.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using switcher_testing::CommandText;
using switcher_testing::HexText;
using switcher_testing::PictureOf;
using switcher_testing::TraceRecorder;
using ::testing::ElementsAre;
using testing_support::Pick;

class SettingsPageTest : public switcher_testing::SwitcherDeskTest {
  protected:
    template <class Page>
    Page& Make() {
        page_.reset();
        panel_ = std::make_unique<SwitcherPanel>(link_, state_);
        page_ = std::make_unique<Page>(*panel_, nullptr);
        page_->show();
        return static_cast<Page&>(*page_);
    }

    QComboBox* List(int id) const { return FindControlAs<QComboBox>(page_.get(), id); }
    QSlider* Slider(int id) const { return FindControlAs<QSlider>(page_.get(), id); }
    QString Field(int id) const { return FindControlAs<QLineEdit>(page_.get(), id)->text(); }
    std::vector<QString> Fields() const { return {Field(1040), Field(1041), Field(1042)}; }

    // The slider moved with the mouse to value, then the button released over it.
    void DragAndRelease(QSlider* slider, int value) {
        slider->setValue(value);
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, slider->rect().center());
    }

    std::unique_ptr<SwitcherPanel> panel_;
    std::unique_ptr<QWidget> page_;
};

TEST_F(SettingsPageTest, TransitionPagePatternsSendOnceAndLightTheStoredOne) {
    Make<SwitcherTransitionPage>();
    EXPECT_EQ(PictureOf(page_.get(), 1032), 360);  // pattern 0 lit
    EXPECT_EQ(PictureOf(page_.get(), 1036), 359);
    QTest::mouseClick(FindControl(page_.get(), 1036), Qt::LeftButton);  // pattern 4
    // A5 6C 15 00, the device bytes, link 1, nine zeros, 92 04, the sum, AE.
    EXPECT_EQ(HexText(NextFrame()),
              "A5 6C 15 00 A5 01 01 00 00 00 00 00 00 00 00 00 92 04 63 02 AE");
    EXPECT_EQ(PictureOf(page_.get(), 1036), 358);
    EXPECT_EQ(PictureOf(page_.get(), 1032), 361);
    QTest::mouseClick(FindControl(page_.get(), 1036), Qt::LeftButton);  // the lit one again
    EXPECT_TRUE(NothingSent());

    Make<SwitcherTransitionPage>();  // made again: pattern 4 stays lit
    EXPECT_EQ(PictureOf(page_.get(), 1036), 358);
    EXPECT_EQ(PictureOf(page_.get(), 1032), 361);
    EXPECT_EQ(FindControl(page_.get(), 1044)->geometry(), QRect(150, 220, 50, 50));
    EXPECT_EQ(block().wipe_style, 4);
}

TEST_F(SettingsPageTest, Key1SlidersSendOnAMouseReleaseOnly) {
    Make<SwitcherKeyPage>();
    EXPECT_THAT(Fields(), ElementsAre("16", "16", "16"));
    EXPECT_EQ(List(sw_id::kKey1SourceList)->count(), 11);
    EXPECT_EQ(List(sw_id::kKey1SourceList)->itemText(0), "Cam 01");
    EXPECT_EQ(List(sw_id::kKey1SourceList)->itemText(10), "MP");

    // The keyboard moves a slider and its field, and sends nothing.
    for (int step = 0; step < 11; ++step) {
        QTest::keyClick(Slider(1176), Qt::Key_Left);
    }
    EXPECT_EQ(Field(1041), "05");
    EXPECT_EQ(block().key1_green, 5);
    EXPECT_TRUE(NothingSent());

    DragAndRelease(Slider(1175), 100);
    EXPECT_EQ(CommandText(NextFrame()), "94 64 05 10");
    EXPECT_EQ(Field(1040), "100");

    Pick(List(sw_id::kKey1SourceList), 10);  // "MP"
    EXPECT_EQ(CommandText(NextFrame()), "93 0A");
    Pick(List(sw_id::kKey1SourceList), 10);  // the entry shown, picked again: sent again
    EXPECT_EQ(CommandText(NextFrame()), "93 0A");

    Make<SwitcherKeyPage>();  // opens on what was stored
    EXPECT_EQ(List(sw_id::kKey1SourceList)->currentIndex(), 10);
    EXPECT_THAT(Fields(), ElementsAre("100", "05", "16"));
    EXPECT_EQ(Slider(1175)->value(), 100);
    EXPECT_TRUE(NothingSent());
}

TEST_F(SettingsPageTest, Key2ChromaTypeMovesTheSlidersToItsOwnLevels) {
    Make<SwitcherChromaPage>();
    EXPECT_EQ(List(sw_id::kChromaTypeList)->currentText(), "Key Light Blue");
    EXPECT_THAT(Fields(), ElementsAre("32", "32", "220"));

    TraceRecorder traces;
    Pick(List(sw_id::kChromaTypeList), 1);
    EXPECT_EQ(CommandText(NextFrame()), "98 01");
    EXPECT_THAT(Fields(), ElementsAre("32", "220", "32"));
    EXPECT_EQ(Slider(1171)->value(), 220);
    const std::vector<std::string> lines = traces.lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 4),
                ElementsAre("2 \n", " r = 32 \n", " g = 220 \n", " b = 32 \n"));

    // Blue of the green key to 90: the blue key's levels stay as they were.
    DragAndRelease(Slider(1172), 90);
    EXPECT_EQ(CommandText(NextFrame()), "99 20 DC 5A");
    EXPECT_EQ(traces.Count("index = 1 \n"), 1u);
    EXPECT_EQ(block().chroma_blue[0], 220);
    EXPECT_EQ(block().chroma_blue[1], 90);

    Pick(List(sw_id::kKey2SourceList), 3);
    EXPECT_EQ(CommandText(NextFrame()), "97 03");

    Make<SwitcherChromaPage>();  // opens on the green key and its levels
    EXPECT_EQ(List(sw_id::kChromaTypeList)->currentIndex(), 1);
    EXPECT_EQ(List(sw_id::kKey2SourceList)->currentIndex(), 3);
    EXPECT_THAT(Fields(), ElementsAre("32", "220", "90"));
    // A release now stores the green key's levels, as shown.
    DragAndRelease(Slider(1170), 40);
    EXPECT_EQ(CommandText(NextFrame()), "99 28 DC 5A");
    EXPECT_EQ(block().chroma_red[0], 32);
}

TEST_F(SettingsPageTest, PipSlidersSendTheirSteppedValueOnRelease) {
    Make<SwitcherPipPage>();
    EXPECT_THAT(Fields(), ElementsAre("0", "0", "0"));
    EXPECT_FALSE(List(sw_id::kPipSourceList)->isEditable());

    DragAndRelease(Slider(1170), 60);
    EXPECT_EQ(Field(1040), "960");
    EXPECT_EQ(CommandText(NextFrame()), "A0 C0 03");
    DragAndRelease(Slider(1171), 120);
    EXPECT_EQ(CommandText(NextFrame()), "A1 38 04");
    DragAndRelease(Slider(1172), 120);
    EXPECT_EQ(CommandText(NextFrame()), "A2 80 07");
    EXPECT_THAT(Fields(), ElementsAre("960", "1080", "1920"));

    QTest::keyClick(Slider(1170), Qt::Key_Right);
    EXPECT_EQ(Field(1040), "976");
    EXPECT_EQ(block().pip_x, 960);  // the block holds what was sent
    EXPECT_TRUE(NothingSent());

    Pick(List(sw_id::kPipBorderColourList), 3);  // "Blue"
    EXPECT_EQ(CommandText(NextFrame()), "9E 03");
    Pick(List(sw_id::kPipBorderWidthList), 6);  // "7"
    EXPECT_EQ(CommandText(NextFrame()), "9F 06");
    Pick(List(sw_id::kPipBorderEnableList), 1);
    EXPECT_EQ(CommandText(NextFrame()), "9D 01");
    Pick(List(sw_id::kPipSourceList), 10);
    EXPECT_EQ(CommandText(NextFrame()), "9C 0A");

    Make<SwitcherPipPage>();
    EXPECT_THAT(Fields(), ElementsAre("960", "1080", "1920"));
    EXPECT_EQ(Slider(1170)->value(), 60);
    EXPECT_EQ(List(sw_id::kPipBorderColourList)->currentText(), "Blue");
    EXPECT_EQ(List(sw_id::kPipBorderWidthList)->currentText(), "7");
    EXPECT_TRUE(NothingSent());
}

TEST_F(SettingsPageTest, EnterAndEscAreSwallowedOnEveryPage) {
    TraceRecorder traces;
    Make<SwitcherTransitionPage>();
    QTest::keyClick(FindControl(page_.get(), 1032), Qt::Key_Return);
    Make<SwitcherKeyPage>();
    QTest::keyClick(Slider(1175), Qt::Key_Escape);
    Make<SwitcherChromaPage>();
    QTest::keyClick(List(sw_id::kChromaTypeList), Qt::Key_Enter);
    Make<SwitcherPipPage>();
    QTest::keyClick(page_.get(), Qt::Key_Escape);
    EXPECT_EQ(traces.Count(" mian  esc  \n"), 4u);
    EXPECT_TRUE(NothingSent());
}

}  // namespace
}  // namespace panoptix
