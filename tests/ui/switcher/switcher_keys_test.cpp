// The switcher panel's keys offscreen against a fake switcher on loopback. The panel sits in a
// window beside a text field and a spin box, as a page sits in the main window. A key sends
// the very frames and shows the very pictures of a click on its button; Space is Cut whichever
// control has the focus; text fields, other windows, auto-repeat and keys without a button
// do nothing on the panel.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

#include "controls/bitmap_slider.h"
#include "switcher/core/switcher_controls.h"
#include "switcher/pages/switcher_page.h"
#include "switcher_page_test_support.h"

namespace panoptix {
namespace {

using switcher_testing::ButtonOf;
using switcher_testing::PictureOf;
using switcher_testing::PicturesOf;
using ::testing::IsEmpty;

constexpr Qt::KeyboardModifiers kPlain = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

class SwitcherKeysTest : public switcher_testing::SwitcherDeskTest {
  protected:
    void TearDown() override {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Make() {
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        window_ = std::make_unique<QWidget>();
        window_->resize(1280, 680);
        field_ = new QLineEdit(window_.get());
        field_->setGeometry(10, 10, 200, 24);
        spin_box_ = new QSpinBox(window_.get());
        spin_box_->setGeometry(220, 10, 80, 24);
        panel_ = new SwitcherPage(link_, state_, window_.get());
        panel_->move(20, 60);
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
        // The window gave the text field the focus; keys then go to the window itself.
        if (QWidget* focus = QApplication::focusWidget()) {
            focus->clearFocus();
        }
    }

    // A key as the platform delivers it: to the active window, and there to the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = kPlain, QWidget* window = nullptr) {
        QTest::keyClick((window != nullptr ? window : window_.get())->windowHandle(), key,
                        modifiers);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Click(int control_id) {
        CButtonST* button = ButtonOf(panel_, control_id);
        ASSERT_NE(button, nullptr) << control_id;
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void AutoOver() {
        for (int id = 1; id <= 3; ++id) {
            QTRY_VERIFY_WITH_TIMEOUT(!panel_->AutoTimer(id)->isActive(), 5000);
        }
    }
    // The pictures of the panel's buttons and the lever's thumb (as its control id).
    std::map<int, int> Looks() const {
        std::map<int, int> looks = PicturesOf(panel_);
        looks[sw_id::kLever] = panel_->Lever()->GetPos();
        return looks;
    }
    // The commands that arrived since the last look.
    std::vector<std::string> Commands(int settle_ms = 60) {
        std::vector<std::string> commands = ReceivedCommands(settle_ms);
        Forget();
        return commands;
    }

    std::unique_ptr<QWidget> window_;
    SwitcherPage* panel_ = nullptr;
    QLineEdit* field_ = nullptr;
    QSpinBox* spin_box_ = nullptr;
};

// A run of keys against a run of clicks on the buttons they stand for, from a fresh block and
// from a transition under way by hand (the Auto lamp lit: a chosen preview is drawn program-lit,
// Auto runs on from the thumb). Frames byte for byte; the pictures and the thumb after every
// step.
TEST_F(SwitcherKeysTest, EachKeyDoesWhatAClickOnItsButtonDoes) {
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int control_id;  // the button a click on which the key must equal
    };
    const Step steps[] = {
        {Qt::Key_1, kPlain, 1034},
        {Qt::Key_2, kCtrl, 1033},
        {Qt::Key_Space, kPlain, sw_id::kCut},
        {Qt::Key_3, kPlain, 1012},
        {Qt::Key_3, kPlain, 1012},  // again: sent again
        {Qt::Key_4, kCtrl, 1107},
        {Qt::Key_5, kPlain, 1113},
        {Qt::Key_6, kCtrl, 1109},
        {Qt::Key_Space, kPlain, sw_id::kCut},
        {Qt::Key_7, kPlain, 1115},
        {Qt::Key_8, kCtrl, 1111},
        {Qt::Key_8, kPlain, 1116},
        {Qt::Key_1, kCtrl, 1032},
        {Qt::Key_2, kPlain, 1035},
        {Qt::Key_4, kPlain, 1112},
        {Qt::Key_6, Qt::KeypadModifier, 1114},  // the keypad's digits too
        {Qt::Key_3, kCtrl, 1011},
        {Qt::Key_5, kCtrl, 1108},
        {Qt::Key_7, kCtrl, 1110},
        {Qt::Key_Space, kPlain, sw_id::kCut},
        {Qt::Key_Space, kCtrl, sw_id::kAuto},  // last, at r1: runs on to its end
    };
    struct Start {
        const char* name;
        void (*prepare)(AllSwitcherPageData&);
        size_t steps;  // the automatic transition only once: its ticks take their time
    };
    const Start starts[] = {
        {"fresh", [](AllSwitcherPageData&) {}, std::size(steps) - 1},
        {"under way by hand",
         [](AllSwitcherPageData& data) {
             data.auto_lamp = 1;
             data.lever_direction = 1;
             data.lever_value = 60;
         },
         std::size(steps)},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.name);
        struct Run {
            std::vector<std::string> frames;  // every byte
            std::vector<std::map<int, int>> pictures;
        };
        Run runs[2];  // clicks, keys
        for (int by_key = 0; by_key < 2; ++by_key) {
            state_ = SwitcherState{};
            start.prepare(block());
            Make();
            Forget();
            for (size_t i = 0; i < start.steps; ++i) {
                const Step& step = steps[i];
                if (by_key == 1) {
                    Key(step.key, step.modifiers);
                } else {
                    Click(step.control_id);
                }
                runs[by_key].pictures.push_back(Looks());
            }
            AutoOver();
            runs[by_key].pictures.push_back(Looks());
            for (const std::vector<uint8_t>& frame : Received()) {
                runs[by_key].frames.push_back(switcher_testing::HexText(frame));
            }
        }
        ASSERT_FALSE(runs[1].frames.empty());
        EXPECT_EQ(runs[1].frames.front().substr(48, 5), "81 01");
        EXPECT_GE(runs[1].frames.size(), start.steps);
        EXPECT_EQ(runs[1].frames, runs[0].frames);
        ASSERT_EQ(runs[1].pictures.size(), runs[0].pictures.size());
        for (size_t i = 0; i < runs[0].pictures.size(); ++i) {
            EXPECT_EQ(runs[1].pictures[i], runs[0].pictures[i]) << "after step " << i;
        }
    }
}

// The lever hands the focus to FTB; Space is Cut all the same, and on every control of the
// panel and of each settings page that can take the focus: no button is pressed, no list opens
// and no slider moves. Space with Shift does nothing at all.
TEST_F(SwitcherKeysTest, SpaceIsCutWhateverHasTheFocus) {
    Make();
    CBitmapSlider* lever = panel_->Lever();
    QTest::mouseClick(lever, Qt::LeftButton, Qt::NoModifier,
                      QPoint(80, lever->PositionToPixel(129)));
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), ButtonOf(panel_, sw_id::kFadeToBlack));
    Forget();
    Key(Qt::Key_Space);
    Key(Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(switcher_testing::CommandText(NextFrame()), "83");
    EXPECT_EQ(block().ftb_on, 0);
    EXPECT_EQ(PictureOf(panel_, sw_id::kFadeToBlack), 289);

    for (const int page_button : {0, int{sw_id::kPip}, int{sw_id::kKey1}, int{sw_id::kKey2}}) {
        SCOPED_TRACE(page_button);
        if (page_button != 0) {
            Click(page_button);
        }
        Forget();
        size_t focused = 0;
        std::vector<QPointer<QWidget>> controls;
        for (QWidget* control : panel_->findChildren<QWidget*>()) {
            controls.emplace_back(control);
        }
        for (QWidget* control : controls) {
            // (A press that reached a button could have replaced the settings page.)
            if (control == nullptr || control->focusPolicy() == Qt::NoFocus ||
                !control->isVisible()) {
                continue;
            }
            control->setFocus(Qt::OtherFocusReason);
            ASSERT_EQ(QApplication::focusWidget(), control) << control->metaObject()->className();
            const auto* list = qobject_cast<QComboBox*>(control);
            const int list_entry = list != nullptr ? list->currentIndex() : -2;
            const auto* slider = qobject_cast<QSlider*>(control);
            const int slider_value = slider != nullptr ? slider->value() : -2;
            Key(Qt::Key_Space);
            Key(Qt::Key_Space, Qt::ShiftModifier);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
            EXPECT_EQ(list != nullptr ? list->currentIndex() : -2, list_entry);
            EXPECT_EQ(slider != nullptr ? slider->value() : -2, slider_value);
            ++focused;
        }
        EXPECT_GE(focused, 30u);  // the panel's buttons, and the page's buttons, lists, sliders
        EXPECT_EQ(Commands(), std::vector<std::string>(focused, "83"));
    }
}

// Keys reach a text field as typed text and do nothing on the panel, as do keys to another
// window, keys while the panel is hidden, 9, 0 and chords the panel has no button for.
TEST_F(SwitcherKeysTest, KeysDoNothingWhereThePanelDoesNotTakeThem) {
    Make();
    const Qt::Key digits_and_space[] = {Qt::Key_3, Qt::Key_Space};
    field_->setFocus(Qt::OtherFocusReason);
    for (const Qt::Key key : digits_and_space) {
        Key(key);
        Key(key, kCtrl);
    }
    EXPECT_EQ(field_->text(), "3 ");
    EXPECT_THAT(Commands(), IsEmpty()) << "line edit";

    spin_box_->setFocus(Qt::OtherFocusReason);
    spin_box_->selectAll();
    for (const Qt::Key key : digits_and_space) {
        Key(key);
        Key(key, kCtrl);
    }
    EXPECT_EQ(spin_box_->value(), 3);
    EXPECT_THAT(Commands(), IsEmpty()) << "spin box";

    ButtonOf(panel_, sw_id::kCut)->setFocus(Qt::OtherFocusReason);
    Key(Qt::Key_9);
    Key(Qt::Key_0);
    Key(Qt::Key_9, kCtrl);
    Key(Qt::Key_0, kCtrl);
    Key(Qt::Key_3, Qt::AltModifier);
    Key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_THAT(Commands(), IsEmpty()) << "9, 0 and other chords";

    // A window of its own over the panel's, as the settings window is.
    QDialog settings(window_.get());
    auto* button = new QPushButton(QStringLiteral("OK"), &settings);
    settings.show();
    settings.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&settings));
    button->setFocus(Qt::OtherFocusReason);
    Key(Qt::Key_3, kPlain, &settings);
    Key(Qt::Key_3, kCtrl, &settings);
    Key(Qt::Key_Space, kCtrl, &settings);
    EXPECT_THAT(Commands(), IsEmpty()) << "another window";
    settings.hide();

    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    panel_->hide();
    Key(Qt::Key_3);
    Key(Qt::Key_Space);
    EXPECT_TRUE(NothingSent()) << "panel hidden";
}

// A held key repeats its press; only the first one counts, as a held mouse button clicks once.
TEST_F(SwitcherKeysTest, AutoRepeatedPressesAreDropped) {
    Make();
    ButtonOf(panel_, sw_id::kFadeToBlack)->setFocus(Qt::OtherFocusReason);
    Forget();
    QWindow* window = window_->windowHandle();
    for (const auto& [key, text] : {std::pair{Qt::Key_4, "4"}, std::pair{Qt::Key_Space, " "}}) {
        for (int press = 0; press < 5; ++press) {
            qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier,
                              QString::fromLatin1(text), press > 0);
        }
        qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier,
                          QString::fromLatin1(text));
    }
    EXPECT_EQ(Commands(150), (std::vector<std::string>{"81 04", "83"}));
    EXPECT_EQ(block().ftb_on, 0);
}

// The tool tips name the keys; the names stay the buttons' captions.
TEST_F(SwitcherKeysTest, ToolTipsNameTheKeys) {
    Make();
    struct Row {
        int control_id;
        const char* tool_tip;
        const char* name;
    };
    const Row rows[] = {
        {1012, "Preview 3 (key 3)", "3"},
        {1116, "Preview 8 (key 8)", "8"},
        {1032, "Program 1 (key Ctrl+1)", "1"},
        {1107, "Program 4 (key Ctrl+4)", "4"},
        {sw_id::kCut, "Cut (key Space)", "Cut"},
        {sw_id::kAuto, "Auto (key Ctrl+Space)", "Auto"},
        {1123, "", "9"},
        {1153, "", "BLK"},
        {sw_id::kFadeToBlack, "", "FTB"},
    };
    for (const Row& row : rows) {
        const CButtonST* button = ButtonOf(panel_, row.control_id);
        ASSERT_NE(button, nullptr) << row.control_id;
        EXPECT_EQ(button->toolTip().toStdString(), row.tool_tip) << row.control_id;
        EXPECT_EQ(button->accessibleName().toStdString(), row.name) << row.control_id;
    }
}

}  // namespace
}  // namespace panoptix
