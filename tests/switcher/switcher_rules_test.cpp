// The panel's button rules as tables: the block before, the press, the commands it sends and
// the whole block after. Pictures are checked as they follow from the block.
#include "switcher/core/switcher_rules.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/recorders.h"
#include "switcher/core/switcher_controls.h"
#include "switcher/core/switcher_pictures.h"
#include "switcher_test_support.h"

namespace panoptix {
namespace {

using Block = AllSwitcherPageData;
using switcher_testing::Texts;

struct RuleCase {
    const char* name;
    std::function<void(Block&)> before;
    std::function<SwitcherCommands(Block&)> press;
    std::vector<std::string> sent;
    std::function<void(Block&)> after;  // applied to the block before, gives the block after
};

void Nothing(Block&) {}

void RunCases(const std::vector<RuleCase>& cases) {
    for (const auto& rule : cases) {
        SCOPED_TRACE(rule.name);
        Block block;
        rule.before(block);
        Block expected = block;
        rule.after(expected);
        EXPECT_EQ(Texts(rule.press(block)), rule.sent);
        EXPECT_EQ(block, expected);
    }
}

TEST(SwitcherRules, OpeningValues) {
    const Block block;
    EXPECT_EQ(block.lever_direction, 1);
    EXPECT_EQ(block.bkgd_on, 1);
    EXPECT_EQ(block.transition_type, 1);
    EXPECT_EQ(block.key1_red, 16);
    EXPECT_EQ(block.key1_blue, 16);
    EXPECT_EQ(block.chroma_blue[0], 220);
    EXPECT_EQ(block.chroma_green[1], 220);
    EXPECT_EQ(block.program_source + block.preview_source + block.settings_page + block.auto_lamp,
              0);
}

TEST(SwitcherRules, Buses) {
    auto buses = [](int program, int preview) {
        return [=](Block& b) {
            b.program_source = static_cast<uint8_t>(program);
            b.preview_source = static_cast<uint8_t>(preview);
        };
    };
    RunCases({
        {"program 3",
         Nothing,
         [](Block& b) { return PressProgramSource(b, 3); },
         {"80 03"},
         buses(3, 0)},
        {"program already on program: sent again",
         buses(3, 0),
         [](Block& b) { return PressProgramSource(b, 3); },
         {"80 03"},
         Nothing},
        {"preview MP1",
         Nothing,
         [](Block& b) { return PressPreviewSource(b, 12); },
         {"81 0C"},
         buses(0, 12)},
        {"program 3, preview 5, Cut", buses(3, 5), PressCut, {"83"}, buses(5, 3)},
        {"both 4, Cut", buses(4, 4), PressCut, {"83"}, Nothing},
        {"both none, Cut", buses(0, 0), PressCut, {"83"}, Nothing},
        {"Cut leaves the lamp and the lever",
         [&](Block& b) {
             buses(1, 2)(b);
             b.auto_lamp = 1;
             b.lever_value = 40;
         },
         PressCut,
         {"83"},
         buses(2, 1)},
    });
}

TEST(SwitcherRules, LayersAndBackground) {
    auto layer = [](int pip, int key1, int key2, int selected, int bkgd) {
        return [=](Block& b) {
            b.pip_on = static_cast<uint8_t>(pip);
            b.key1_on = static_cast<uint8_t>(key1);
            b.key2_on = static_cast<uint8_t>(key2);
            b.selected_layer = static_cast<uint8_t>(selected);
            b.bkgd_on = static_cast<uint8_t>(bkgd);
        };
    };
    auto page = [](int n, std::function<void(Block&)> then) {
        return [=](Block& b) {
            then(b);
            b.settings_page = static_cast<uint8_t>(n);
        };
    };
    auto press = [](SwitcherLayer l) { return [=](Block& b) { return PressLayer(b, l); }; };
    RunCases({
        {"PIP on", Nothing, press(SwitcherLayer::Pip), {"86"}, page(3, layer(1, 0, 0, 1, 1))},
        {"KEY 1 while PIP is on",
         layer(1, 0, 0, 1, 1),
         press(SwitcherLayer::Key1),
         {"8B 00"},
         page(1, layer(0, 1, 0, 2, 1))},
        {"KEY 2 off with BKGD on",
         layer(0, 0, 1, 3, 1),
         press(SwitcherLayer::Key2),
         {"8C 01"},
         page(2, layer(0, 0, 0, 0, 1))},
        {"PIP off with BKGD off: nothing",
         layer(1, 0, 0, 1, 0),
         press(SwitcherLayer::Pip),
         {},
         Nothing},
        {"KEY 1 off with BKGD off: nothing",
         layer(0, 1, 0, 2, 0),
         press(SwitcherLayer::Key1),
         {},
         Nothing},
        {"BKGD, no layer: sent, stays lit", Nothing, PressBackground, {"8A 01"}, Nothing},
        {"BKGD with KEY 2 selected",
         layer(0, 0, 1, 3, 1),
         PressBackground,
         {"8A 01"},
         layer(0, 0, 1, 3, 0)},
        {"BKGD back on", layer(0, 0, 1, 3, 0), PressBackground, {"8A 00"}, layer(0, 0, 1, 3, 1)},
        {"no such layer", Nothing, press(static_cast<SwitcherLayer>(7)), {}, Nothing},
    });
}

TEST(SwitcherRules, TogglesTypesRatesAndPages) {
    auto set = [](uint8_t Block::*field, int value) {
        return [=](Block& b) { b.*field = static_cast<uint8_t>(value); };
    };
    auto both = [](std::function<void(Block&)> a, std::function<void(Block&)> b) {
        return [=](Block& block) {
            a(block);
            b(block);
        };
    };
    auto type = [](int n) { return [=](Block& b) { return PressTransitionType(b, uint8_t(n)); }; };
    auto rate = [](int n) {
        return [=](Block& b) {
            PressTransitionRate(b, uint8_t(n));
            return SwitcherCommands{};
        };
    };
    RunCases({
        {"ON AIR from off", Nothing, PressOnAir, {"88 00"}, set(&Block::on_air, 1)},
        {"ON AIR from on", set(&Block::on_air, 1), PressOnAir, {"88 01"}, set(&Block::on_air, 0)},
        {"second ON AIR", Nothing, PressOnAir2, {"89 00"}, set(&Block::on_air_2, 1)},
        {"FTB", Nothing, PressFadeToBlack, {"85"}, set(&Block::ftb_on, 1)},
        {"FTB again", set(&Block::ftb_on, 1), PressFadeToBlack, {"85"}, set(&Block::ftb_on, 0)},
        {"WIPE from the KEY 1 page",
         set(&Block::settings_page, 1),
         type(3),
         {"8F"},
         both(set(&Block::transition_type, 3), set(&Block::settings_page, 0))},
        {"MIX while MIX",
         set(&Block::settings_page, 2),
         type(1),
         {"8D"},
         set(&Block::settings_page, 0)},
        {"no such type", Nothing, type(0), {}, Nothing},
        {"r2", Nothing, rate(1), {}, set(&Block::transition_rate, 1)},
        {"r3, the last rate", Nothing, rate(2), {}, set(&Block::transition_rate, 2)},
        {"r3 while the lamp is lit", set(&Block::auto_lamp, 1), rate(2), {}, Nothing},
        {"no such rate", Nothing, rate(3), {}, Nothing},
    });
}

TEST(SwitcherRules, ShowSettingsPageOnlyChangesToAPage) {
    Block block;
    EXPECT_FALSE(ShowSettingsPage(block, 0));
    EXPECT_TRUE(ShowSettingsPage(block, 3));
    EXPECT_FALSE(ShowSettingsPage(block, 4));
    EXPECT_EQ(block.settings_page, 3);
    SettingsPage page{};
    ASSERT_TRUE(StoredSettingsPage(block, page));
    EXPECT_EQ(page, SettingsPage::Pip);
    block.settings_page = 200;
    EXPECT_FALSE(StoredSettingsPage(block, page));
}

TEST(SwitcherRules, LayerTracesName) {
    testing_support::TraceRecorder traces;
    Block block;
    PressLayer(block, SwitcherLayer::Key2);
    PressLayer(block, SwitcherLayer::Key2);
    EXPECT_EQ(traces.lines(), (std::vector<std::string>{"ch = 3 \n", "ch = 0 \n"}));
}

struct PictureCase {
    const char* name;
    std::function<void(Block&)> block;
    int control_id;
    int picture;
};

TEST(SwitcherPictures, FollowTheBlock) {
    auto program = [](int s) { return [=](Block& b) { b.program_source = uint8_t(s); }; };
    auto preview = [](int s, int lamp) {
        return [=](Block& b) {
            b.preview_source = uint8_t(s);
            b.auto_lamp = uint8_t(lamp);
        };
    };
    const std::vector<PictureCase> cases = {
        {"program 1 lit", program(1), 1032, 249},
        {"program 2 unlit", program(1), 1033, 253},
        {"program MP1 lit", program(12), 1120, 282},
        {"hidden program 9 lit", program(9), 1123, 273},
        {"preview 3 preview-lit", preview(3, 0), 1012, 254},
        {"preview 3 in a transition", preview(3, 1), 1012, 255},
        {"preview BLK preview-lit", preview(11, 0), 1153, 278},
        {"program 13 lights nothing", program(13), 1120, 283},
        {"KEY 1 lit", [](Block& b) { b.selected_layer = 2; }, sw_id::kKey1, 291},
        {"PIP unlit with KEY 1", [](Block& b) { b.selected_layer = 2; }, sw_id::kPip, 299},
        {"no layer 9", [](Block& b) { b.selected_layer = 9; }, sw_id::kKey2, 292},
        {"BKGD lit at opening", Nothing, sw_id::kBackground, 247},
        {"BKGD off", [](Block& b) { b.bkgd_on = 0; }, sw_id::kBackground, 246},
        {"ON AIR on", [](Block& b) { b.on_air = 1; }, sw_id::kOnAir, 297},
        {"second ON AIR never changes", [](Block& b) { b.on_air_2 = 1; }, sw_id::kOnAir2, 298},
        {"MIX lit at opening", Nothing, sw_id::kMix, 296},
        {"WIPE lit", [](Block& b) { b.transition_type = 3; }, sw_id::kWipe, 304},
        {"DIP unlit", [](Block& b) { b.transition_type = 3; }, sw_id::kDip, 286},
        {"Auto lamp", [](Block& b) { b.auto_lamp = 1; }, sw_id::kAuto, 305},
        {"FTB on", [](Block& b) { b.ftb_on = 1; }, sw_id::kFadeToBlack, 288},
        {"r1 lit at opening", Nothing, sw_id::kRate1, 342},
        {"r3 lit", [](Block& b) { b.transition_rate = 2; }, sw_id::kRate3, 346},
        {"r2 unlit", [](Block& b) { b.transition_rate = 2; }, sw_id::kRate2, 343},
        {"Cut", Nothing, sw_id::kCut, 285},
        {"STREAM ON", Nothing, sw_id::kStreamOn, 347},
        {"lever has no button picture", Nothing, sw_id::kLever, 0},
    };
    for (const auto& c : cases) {
        Block block;
        c.block(block);
        EXPECT_EQ(PanelButtonPicture(block, c.control_id), c.picture) << c.name;
    }
}

TEST(SwitcherPictures, EveryPanelButtonHasOneAndRowsFollowTheNumbering) {
    const Block block;
    for (const auto& control : kPanelControls) {
        if (control.id != sw_id::kSettingsFrame) {
            EXPECT_NE(PanelButtonPicture(block, control.id), 0) << control.id;
        }
    }
    for (int source = 1; source <= 12; ++source) {
        Block lit;
        lit.program_source = uint8_t(source);
        lit.preview_source = uint8_t(source);
        const auto at = static_cast<size_t>(source - 1);
        EXPECT_EQ(PanelButtonPicture(lit, sw_id::kProgramRow[at]), 249 + 3 * (source - 1));
        EXPECT_EQ(PanelButtonPicture(lit, sw_id::kPreviewRow[at]), 248 + 3 * (source - 1));
    }
}

TEST(SwitcherPictures, WipePatternsLightTheStoredStyle) {
    Block block;
    EXPECT_EQ(WipePatternPicture(block, 0), 360);
    EXPECT_EQ(WipePatternPicture(block, 4), 359);
    block.wipe_style = 4;
    EXPECT_EQ(WipePatternPicture(block, 0), 361);
    EXPECT_EQ(WipePatternPicture(block, 4), 358);
    block.wipe_style = 9;
    EXPECT_EQ(WipePatternPicture(block, 8), 365);
    EXPECT_EQ(WipePatternPicture(block, 9), 0);
}

}  // namespace
}  // namespace panoptix
