// The settings pages' picks and slider releases: what each one stores and sends, and what an
// index outside its list (a list without selection reports -1) leaves alone.
#include "switcher/core/settings_rules.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/recorders.h"
#include "switcher_test_support.h"

namespace panoptix {
namespace {

using Block = AllSwitcherPageData;
using switcher_testing::Texts;

struct SettingCase {
    const char* name;
    std::function<SwitcherCommands(Block&)> action;
    std::vector<std::string> sent;
    std::function<void(Block&)> after;  // on a fresh block, gives the block after
};

TEST(SettingsRules, PicksAndReleases) {
    auto none = [](Block&) {};
    const std::vector<SettingCase> cases = {
        {"pattern 4",
         [](Block& b) { return SelectWipeStyle(b, 4); },
         {"92 04"},
         [](Block& b) { b.wipe_style = 4; }},
        {"the lit pattern again", [](Block& b) { return SelectWipeStyle(b, 0); }, {}, none},
        {"pattern 9", [](Block& b) { return SelectWipeStyle(b, 9); }, {}, none},
        {"hidden wipe style list", [](Block& b) { return PickWipeStyle(b, 0); }, {"92 00"}, none},
        {"hidden dip source list",
         [](Block& b) { return PickDipSource(b, 7); },
         {"90 07"},
         [](Block& b) { b.dip_source = 7; }},
        {"hidden list without selection", [](Block& b) { return PickWipeSource(b, -1); }, {}, none},
        {"KEY 1 source MP",
         [](Block& b) { return PickKey1Source(b, 10); },
         {"93 0A"},
         [](Block& b) { b.key1_source = 10; }},
        {"KEY 1 source 11", [](Block& b) { return PickKey1Source(b, 11); }, {}, none},
        {"KEY 1 red released at 100",
         [](Block& b) {
             return ReleaseKey1Sliders(b, {100, 16, 16});
         },
         {"94 64 10 10"},
         [](Block& b) { b.key1_red = 100; }},
        {"KEY 2 source without selection",
         [](Block& b) { return PickKey2Source(b, -1); },
         {},
         none},
        {"Key Light Green",
         [](Block& b) { return PickChromaType(b, 1); },
         {"98 01"},
         [](Block& b) { b.chroma_type = 1; }},
        {"chroma type 2", [](Block& b) { return PickChromaType(b, 2); }, {}, none},
        {"green key blue released at 90",
         [](Block& b) {
             b.chroma_type = 1;
             return ReleaseKey2Sliders(b, {32, 220, 90});
         },
         {"99 20 DC 5A"},
         [](Block& b) {
             b.chroma_type = 1;
             b.chroma_blue[1] = 90;
         }},
        {"a stored chroma type outside the table",
         [](Block& b) {
             b.chroma_type = 0xFF;
             return ReleaseKey2Sliders(b, {1, 2, 3});
         },
         {},
         [](Block& b) { b.chroma_type = 0xFF; }},
        {"PIP source without selection", [](Block& b) { return PickPipSource(b, -1); }, {}, none},
        {"border Blue",
         [](Block& b) { return PickPipBorderColour(b, 3); },
         {"9E 03"},
         [](Block& b) { b.pip_border_color = 3; }},
        {"border colour 4", [](Block& b) { return PickPipBorderColour(b, 4); }, {}, none},
        {"border width 7",
         [](Block& b) { return PickPipBorderWidth(b, 6); },
         {"9F 06"},
         [](Block& b) { b.pip_border_width = 6; }},
        {"border Enable",
         [](Block& b) { return PickPipBorderEnable(b, 1); },
         {"9D 01"},
         [](Block& b) { b.pip_border_enable = 1; }},
        {"X at 60",
         [](Block& b) { return ReleasePipSlider(b, PipSlider::X, 60); },
         {"A0 C0 03"},
         [](Block& b) { b.pip_x = 960; }},
        {"Y at 120",
         [](Block& b) { return ReleasePipSlider(b, PipSlider::Y, 120); },
         {"A1 38 04"},
         [](Block& b) { b.pip_y = 1080; }},
        {"width at 120",
         [](Block& b) { return ReleasePipSlider(b, PipSlider::Width, 120); },
         {"A2 80 07"},
         [](Block& b) { b.pip_width = 1920; }},
        {"width at 121",
         [](Block& b) { return ReleasePipSlider(b, PipSlider::Width, 121); },
         {},
         none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Block block;
        Block expected;
        c.after(expected);
        EXPECT_EQ(Texts(c.action(block)), c.sent);
        EXPECT_EQ(block, expected);
    }
}

TEST(SettingsRules, KeyboardMovesStoreKey1LevelsAndSendNothing) {
    Block block;
    MoveKey1Slider(block, ColourChannel::Green, 40);
    MoveKey1Slider(block, ColourChannel::Blue, 256);
    EXPECT_EQ(Key1Levels(block), (ColourLevels{16, 40, 16}));
}

TEST(SettingsRules, ChromaTypeTracesTheStoredLevelsAndNamesTheSliders) {
    testing_support::TraceRecorder traces;
    Block block;
    PickChromaType(block, 1);
    ColourLevels levels;
    ASSERT_TRUE(Key2Levels(block, levels));
    EXPECT_EQ(levels, (ColourLevels{32, 220, 32}));
    TraceKey2Level(block, ColourChannel::Green);
    ReleaseKey2Sliders(block, {1, 2, 3});
    EXPECT_EQ(traces.lines(),
              (std::vector<std::string>{"2 \n", " r = 32 \n", " g = 220 \n", " b = 32 \n",
                                        " g = 220 \n", "index = 1 \n"}));
    // The blue key's levels are untouched.
    EXPECT_EQ(block.chroma_blue[0], 220);
}

TEST(SettingsRules, PagesOpenOnTheStoredValues) {
    Block block;
    block.pip_x = 960;
    block.pip_y = 1080;
    block.pip_width = 0xFFFF;  // no slider goes that far
    EXPECT_EQ(PipSliderPosition(block, PipSlider::X), 60);
    EXPECT_EQ(PipSliderPosition(block, PipSlider::Y), 120);
    EXPECT_EQ(PipSliderPosition(block, PipSlider::Width), 120);
    EXPECT_EQ(PipFieldText(PipSlider::X, 60), "960");
    EXPECT_EQ(PipFieldText(PipSlider::Y, 3), "27");
    EXPECT_EQ(KeyLevelText(5), "05");
    EXPECT_EQ(KeyLevelText(220), "220");
    EXPECT_EQ(StoredListEntry(10, kSourceListEntries), 10);
    EXPECT_EQ(StoredListEntry(11, kSourceListEntries), -1);
    EXPECT_EQ(StoredListEntry(0xFF, 2), -1);
    const auto sources = SourceListTexts();
    EXPECT_EQ(sources.front(), "Cam 01");
    EXPECT_EQ(sources[9], "Cam 10");
    EXPECT_EQ(sources.back(), "MP");
}

}  // namespace
}  // namespace panoptix
