// Golden frames: every switcher command, produced by the operator action that sends it on a
// fresh block, to a device whose row gives type A5 and address 01.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "switcher/core/settings_rules.h"
#include "switcher/core/switcher_rules.h"
#include "switcher/core/transition_lever.h"
#include "switcher_test_support.h"

namespace panoptix {
namespace {

using switcher_testing::Hex;

struct GoldenFrame {
    const char* action;
    std::function<SwitcherCommands(SwitcherState&)> press;
    const char* frame;
};

SwitcherCommands DragDownTo(SwitcherState& state, int position) {
    state.m_all_switcher_page_data.lever_direction = 0;
    TransitionLever lever(state.m_all_switcher_page_data);
    return lever.OnLeverMoving(state, position).commands;
}

const std::vector<GoldenFrame>& GoldenFrames() {
    using S = SwitcherState;
    static const std::vector<GoldenFrame> frames = {
        // markers len     dev    link  reserved (9 bytes)          cmd payload  checksum end
        {"program 3", [](S& s) { return PressProgramSource(s.m_all_switcher_page_data, 3); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  80  03        50 02  AE"},
        {"preview 5", [](S& s) { return PressPreviewSource(s.m_all_switcher_page_data, 5); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  81  05        53 02  AE"},
        {"lever down to 8", [](S& s) { return DragDownTo(s, 8); },
         "A5 6C 16 00  A5 01  01   00 00 00 00 00 00 00 00 00  82  00 08     58 02  AE"},
        {"Cut", [](S& s) { return PressCut(s.m_all_switcher_page_data); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  83            4F 02  AE"},
        {"Auto",
         [](S& s) {
             TransitionLever lever(s.m_all_switcher_page_data);
             return lever.StartAutoTransition(s).commands;
         },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  84            50 02  AE"},
        {"FTB", [](S& s) { return PressFadeToBlack(s.m_all_switcher_page_data); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  85            51 02  AE"},
        {"PIP", [](S& s) { return PressLayer(s.m_all_switcher_page_data, SwitcherLayer::Pip); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  86            52 02  AE"},
        {"ON AIR from off", [](S& s) { return PressOnAir(s.m_all_switcher_page_data); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  88  00        55 02  AE"},
        {"second ON AIR", [](S& s) { return PressOnAir2(s.m_all_switcher_page_data); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  89  00        56 02  AE"},
        {"BKGD, no layer", [](S& s) { return PressBackground(s.m_all_switcher_page_data); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  8A  01        58 02  AE"},
        {"KEY 1 on",
         [](S& s) { return PressLayer(s.m_all_switcher_page_data, SwitcherLayer::Key1); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  8B  00        58 02  AE"},
        {"KEY 2 off",
         [](S& s) {
             s.m_all_switcher_page_data.key2_on = 1;
             s.m_all_switcher_page_data.selected_layer = 3;
             return PressLayer(s.m_all_switcher_page_data, SwitcherLayer::Key2);
         },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  8C  01        5A 02  AE"},
        {"MIX", [](S& s) { return PressTransitionType(s.m_all_switcher_page_data, 1); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  8D            59 02  AE"},
        {"DIP", [](S& s) { return PressTransitionType(s.m_all_switcher_page_data, 2); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  8E            5A 02  AE"},
        {"WIPE", [](S& s) { return PressTransitionType(s.m_all_switcher_page_data, 3); },
         "A5 6C 14 00  A5 01  01   00 00 00 00 00 00 00 00 00  8F            5B 02  AE"},
        {"dip source 2", [](S& s) { return PickDipSource(s.m_all_switcher_page_data, 2); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  90  02        5F 02  AE"},
        {"wipe source 3", [](S& s) { return PickWipeSource(s.m_all_switcher_page_data, 3); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  91  03        61 02  AE"},
        {"wipe pattern 4", [](S& s) { return SelectWipeStyle(s.m_all_switcher_page_data, 4); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  92  04        63 02  AE"},
        {"KEY 1 source Cam 03", [](S& s) { return PickKey1Source(s.m_all_switcher_page_data, 2); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  93  02        62 02  AE"},
        {"KEY 1 red 100",
         [](S& s) {
             return ReleaseKey1Sliders(s.m_all_switcher_page_data, {100, 16, 16});
         },
         "A5 6C 17 00  A5 01  01   00 00 00 00 00 00 00 00 00  94  64 10 10  E7 02  AE"},
        {"KEY 2 source MP", [](S& s) { return PickKey2Source(s.m_all_switcher_page_data, 10); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  97  0A        6E 02  AE"},
        {"Key Light Green", [](S& s) { return PickChromaType(s.m_all_switcher_page_data, 1); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  98  01        66 02  AE"},
        {"green key, blue 90",
         [](S& s) {
             s.m_all_switcher_page_data.chroma_type = 1;
             return ReleaseKey2Sliders(s.m_all_switcher_page_data, {32, 220, 90});
         },
         "A5 6C 17 00  A5 01  01   00 00 00 00 00 00 00 00 00  99  20 DC 5A  BE 03  AE"},
        {"PIP source MP", [](S& s) { return PickPipSource(s.m_all_switcher_page_data, 10); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  9C  0A        73 02  AE"},
        {"border Enable", [](S& s) { return PickPipBorderEnable(s.m_all_switcher_page_data, 1); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  9D  01        6B 02  AE"},
        {"border Blue", [](S& s) { return PickPipBorderColour(s.m_all_switcher_page_data, 3); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  9E  03        6E 02  AE"},
        {"border width 7", [](S& s) { return PickPipBorderWidth(s.m_all_switcher_page_data, 6); },
         "A5 6C 15 00  A5 01  01   00 00 00 00 00 00 00 00 00  9F  06        72 02  AE"},
        {"X released at 60",
         [](S& s) { return ReleasePipSlider(s.m_all_switcher_page_data, PipSlider::X, 60); },
         "A5 6C 16 00  A5 01  01   00 00 00 00 00 00 00 00 00  A0  C0 03     31 03  AE"},
        {"Y released at 120",
         [](S& s) { return ReleasePipSlider(s.m_all_switcher_page_data, PipSlider::Y, 120); },
         "A5 6C 16 00  A5 01  01   00 00 00 00 00 00 00 00 00  A1  38 04     AB 02  AE"},
        {"width released at 120",
         [](S& s) { return ReleasePipSlider(s.m_all_switcher_page_data, PipSlider::Width, 120); },
         "A5 6C 16 00  A5 01  01   00 00 00 00 00 00 00 00 00  A2  80 07     F7 02  AE"},
    };
    return frames;
}

TEST(SwitcherFrames, EveryCommandLeavesAsItsGoldenFrame) {
    DeviceEntry entry;
    entry.SetIpText("192.0.2.10");
    entry.device_type = 0xA5;
    entry.device_address = 0x01;
    for (const auto& golden : GoldenFrames()) {
        SCOPED_TRACE(golden.action);
        SwitcherState state;
        const SwitcherCommands commands = golden.press(state);
        ASSERT_EQ(commands.size(), 1u);
        EXPECT_EQ(BuildSwitcherFrame(entry, commands[0]), Hex(golden.frame));
    }
}

TEST(SwitcherFrames, TheTableHoldsEveryCode) {
    std::set<uint8_t> codes;
    for (const auto& golden : GoldenFrames()) {
        codes.insert(Hex(golden.frame)[16]);
    }
    EXPECT_EQ(codes.size(), 30u);  // 0x80-0xA2 without 0x87, 0x95, 0x96, 0x9A, 0x9B
}

}  // namespace
}  // namespace panoptix
