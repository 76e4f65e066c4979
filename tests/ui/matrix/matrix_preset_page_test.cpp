// The PRESET tab offscreen, against a router on loopback UDP and on a pseudo-terminal: Ctrl+click
// and STORE keep the record, a click recalls it with exactly the apply texts, the lock and an
// empty preset stop a recall, and the presets are kept per router in the user's settings file.
#include <gtest/gtest.h>

#include <QTest>

#include "controls/user_settings_file.h"
#include "matrix/pages/matrix_preset_page.h"
#include "matrix_page_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing_support::MatrixPageTest;
using testing_support::PtyPeer;
using testing_support::TraceRecorder;
namespace id = matrix_id;

class MatrixPresetPage : public MatrixPageTest {
  protected:
    panoptix::MatrixPresetPage* Presets() const {
        return qobject_cast<panoptix::MatrixPresetPage*>(page_->SubPage());
    }
    // The page opened on the PRESET tab.
    void OpenPresets() {
        Open();
        ShowTab(id::kPresetTab);
        ASSERT_NE(Presets(), nullptr);
    }
    void ClickPreset(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        CButtonST* key = SubPageControl(id::PresetId(k));
        ASSERT_NE(key, nullptr);
        QTest::mouseClick(key, Qt::LeftButton, modifiers);
    }
    // The eight keys as shown: '#' holding a routing, '.' empty, '?' any other picture.
    std::string Keys() const {
        std::string keys;
        for (int k = 1; k <= kMatrixPresets; ++k) {
            const int picture = SubPageControl(id::PresetId(k))->PictureId();
            keys += picture == panoptix::MatrixPresetPage::PresetBitmapId(k, true)    ? '#'
                    : picture == panoptix::MatrixPresetPage::PresetBitmapId(k, false) ? '.'
                                                                                      : '?';
        }
        return keys;
    }
    // Every datagram the router received since the last call, in order.
    std::vector<std::string> TakeDatagrams() {
        std::vector<std::string> texts;
        while (const auto datagram = router_.Receive(kQuietMs)) {
            texts.emplace_back(datagram->bytes.begin(), datagram->bytes.end());
        }
        return texts;
    }
    void SetRecord(uint8_t input, const MatrixRoutes& routes) {
        matrix_.m_eMatrixState = 1;
        matrix_.m_matrix_input = input;
        matrix_.m_matrix_route = routes;
    }
    static std::optional<std::string> Kept(const std::string& key) {
        return ReadSettingsValue(*OpenUserSettings(), "matrix_presets/" + key);
    }
};

TEST_F(MatrixPresetPage, TheTabShowsEightEmptyPresetsAndStoreInTheSkin) {
    OpenPresets();
    EXPECT_EQ(PageButton(id::kPresetTab)->geometry(), QRect(942, 25, 80, 75));
    EXPECT_EQ(PageButton(id::kPresetTab)->PictureId(), 381);
    EXPECT_EQ(PageButton(id::kControlTab)->PictureId(), 192);
    EXPECT_EQ(page_->current_sub_page(), 3);
    EXPECT_EQ(page_->SubPage()->geometry(), QRect(750, 105, 490, 420));
    EXPECT_EQ(Keys(), "........");
    EXPECT_EQ(SubPageControl(id::PresetId(1))->geometry(), QRect(28, 76, 100, 75));
    EXPECT_EQ(SubPageControl(id::PresetId(8))->geometry(), QRect(361, 166, 100, 75));
    EXPECT_EQ(SubPageControl(id::kStore)->geometry(), QRect(175, 262, 140, 65));
    EXPECT_EQ(SubPageControl(id::kStore)->PictureId(), 382);
    ShowTab(id::kControlTab);
    EXPECT_EQ(PageButton(id::kPresetTab)->PictureId(), 380);
    EXPECT_TRUE(TakeDatagrams().empty());
}

TEST_F(MatrixPresetPage, StoreKeepsTheRecordAndAClickRecallsItWithTheFewestTexts) {
    SetRecord(3, {3, 1, 1, 3, 0, 0, 0, 3});
    OpenPresets();

    // Ctrl+click stores; STORE arms the next click for one store and is off again afterwards.
    ClickPreset(2, Qt::ControlModifier);
    EXPECT_EQ(Presets()->StatusText(), QStringLiteral("Preset 2 stored."));
    matrix_.m_matrix_route = {3, 3, 3, 3, 3, 3, 3, 3};
    Click(SubPageControl(id::kStore));
    EXPECT_TRUE(Presets()->StoreArmed());
    EXPECT_EQ(SubPageControl(id::kStore)->PictureId(), 383);
    ClickPreset(5);
    EXPECT_FALSE(Presets()->StoreArmed());
    EXPECT_EQ(SubPageControl(id::kStore)->PictureId(), 382);
    EXPECT_EQ(Keys(), ".#..#...");
    EXPECT_TRUE(TakeDatagrams().empty()) << "storing sends nothing";
    EXPECT_EQ(Kept("lan-127.0.0.1/2"), "31130003");
    EXPECT_EQ(Kept("lan-127.0.0.1/5"), "33333333");

    // A click recalls: one apply text per input that carries outputs, inputs in order; the
    // record is the preset's and the selected input's outputs follow it.
    ClickPreset(2);
    EXPECT_EQ(TakeDatagrams(), (std::vector<std::string>{"1V2,3.", "3V1,4,8."}));
    EXPECT_EQ(matrix_.m_matrix_route, (MatrixRoutes{3, 1, 1, 3, 0, 0, 0, 3}));
    EXPECT_EQ(Screen(), "in --+----- out +--+---+");
    EXPECT_EQ(Presets()->StatusText(), QStringLiteral("Preset 2 recalled: 2 texts sent."));
    ClickPreset(5);
    EXPECT_EQ(TakeDatagrams(), (std::vector<std::string>{"3V1,2,3,4,5,6,7,8."}));
    EXPECT_EQ(Screen(), "in --+----- out ++++++++");

    // An empty preset recalls nothing and says so.
    ClickPreset(7);
    EXPECT_TRUE(TakeDatagrams().empty());
    EXPECT_TRUE(Presets()->StatusText().startsWith(QStringLiteral("Preset 7 is empty")));
    EXPECT_EQ(matrix_.m_matrix_route, (MatrixRoutes{3, 3, 3, 3, 3, 3, 3, 3}));

    // Nothing to store from a record that routes nothing.
    matrix_.m_matrix_route = {};
    ClickPreset(7, Qt::ControlModifier);
    EXPECT_EQ(Keys(), ".#..#...");
    EXPECT_FALSE(Kept("lan-127.0.0.1/7"));
}

TEST_F(MatrixPresetPage, LockBlocksARecallAsItBlocksEveryOtherChange) {
    SetRecord(2, {2, 2, 0, 0, 0, 0, 0, 0});
    OpenPresets();
    ClickPreset(1, Qt::ControlModifier);
    SetRecord(2, {0, 0, 0, 0, 0, 0, 0, 2});
    Open();
    ClickFunction(id::kLock);
    ShowTab(id::kPresetTab);

    const QString before = Presets()->StatusText();
    ClickPreset(1);
    EXPECT_TRUE(TakeDatagrams().empty());
    EXPECT_EQ(matrix_.m_matrix_route, (MatrixRoutes{0, 0, 0, 0, 0, 0, 0, 2}));
    EXPECT_EQ(Screen(), "in -+------ out -------+");
    EXPECT_EQ(Presets()->StatusText(), before) << "as silent as the other buttons under LOCK";

    ShowTab(id::kControlTab);
    ClickFunction(id::kLock);
    ShowTab(id::kPresetTab);
    ClickPreset(1);
    EXPECT_EQ(TakeDatagrams(), (std::vector<std::string>{"2V1,2."}));
}

TEST_F(MatrixPresetPage, PresetsAreKeptPerRouterAndAGarbageEntryIsIgnored) {
    {
        const auto file = OpenUserSettings();
        file->setValue(QStringLiteral("matrix_presets/lan-127.0.0.1/3"),
                       QStringLiteral("44440000"));
        file->setValue(QStringLiteral("matrix_presets/lan-127.0.0.1/4"), QStringLiteral("9x"));
        file->setValue(QStringLiteral("matrix_presets/lan-192.0.2.99/6"),
                       QStringLiteral("11111111"));
    }
    {
        TraceRecorder traces;
        OpenPresets();
        EXPECT_EQ(traces.CountStartingWith("matrix preset 4 of lan-127.0.0.1 ignored: \"9x\""), 1u);
    }
    EXPECT_EQ(Keys(), "..#.....");
    ClickPreset(4);
    EXPECT_TRUE(TakeDatagrams().empty());
    ClickPreset(3);
    EXPECT_EQ(TakeDatagrams(), (std::vector<std::string>{"4V1,2,3,4."}));

    // Another router has presets of its own.
    link_.device_table[0].SetIpText("192.0.2.99");
    OpenPresets();
    EXPECT_EQ(Keys(), ".....#..");

    // On the serial line the router is named by its port; the texts go down the line.
    const PtyPeer line(PtyPeer::Line::HeldOpen);
    link_.SetMode(ConnectionMode::Serial);
    ASSERT_TRUE(link_.serial_port.OpenPort(line.PortName(), 9600));
    SetRecord(1, {1, 0, 0, 0, 0, 0, 0, 0});
    OpenPresets();
    EXPECT_EQ(Keys(), "........");
    ClickPreset(8, Qt::ControlModifier);
    SetRecord(1, {});
    ClickPreset(8);
    const auto bytes = line.ReadUntilQuiet(kQuietMs);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "1V1.");
    EXPECT_TRUE(TakeDatagrams().empty());
}

}  // namespace
}  // namespace panoptix
