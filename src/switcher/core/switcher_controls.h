#pragma once
// Control ids, captions, positions and pictures of the switcher panel and its transition
// settings page, as their templates number them. Ids are unique within one page only: the
// transition page reuses 1032-1038. Pages lay their controls out from these tables.
#include <array>
#include <cstdint>

namespace panoptix::sw_id {

// Panel buttons.
inline constexpr int kPip = 1131;
inline constexpr int kKey1 = 1144;
inline constexpr int kKey2 = 1145;
inline constexpr int kBackground = 1135;
inline constexpr int kOnAir = 1134;
inline constexpr int kOnAir2 = 1158;  // built hidden
inline constexpr int kMix = 1136;
inline constexpr int kDip = 1162;
inline constexpr int kWipe = 1132;
inline constexpr int kCut = 1151;
inline constexpr int kAuto = 1118;
inline constexpr int kFadeToBlack = 1152;
inline constexpr int kStreamOn = 1161;
inline constexpr int kRate1 = 1036;
inline constexpr int kRate2 = 1037;
inline constexpr int kRate3 = 1038;
inline constexpr int kLever = 1160;
inline constexpr int kSettingsFrame = 1166;

// Program-row and preview-row buttons of sources 1-12 (index source - 1); 9 and 10 are hidden.
inline constexpr std::array<int, 12> kProgramRow{1032, 1033, 1011, 1107, 1108, 1109,
                                                 1110, 1111, 1123, 1124, 1119, 1120};
inline constexpr std::array<int, 12> kPreviewRow{1034, 1035, 1012, 1112, 1113, 1114,
                                                 1115, 1116, 1126, 1127, 1153, 1155};

// Transition settings page: wipe pattern buttons 0-8.
inline constexpr std::array<int, 9> kWipePattern{1032, 1033, 1034, 1035, 1036,
                                                 1037, 1038, 1043, 1044};
inline constexpr int kTransitionGroup = 1167;

// KEY 1 page.
inline constexpr int kKey1Group = 1168;
inline constexpr int kKey1SourceList = 1174;
inline constexpr std::array<int, 3> kKey1Sliders{1175, 1176, 1177};  // red, green, blue
inline constexpr std::array<int, 3> kLevelFields{1040, 1041, 1042};  // KEY 1, KEY 2 and PIP pages

// KEY 2 page.
inline constexpr int kKey2Group = 1173;
inline constexpr int kKey2SourceList = 1178;
inline constexpr int kChromaTypeList = 1179;
inline constexpr std::array<int, 3> kKey2Sliders{1170, 1171, 1172};  // red, green, blue

// PIP page.
inline constexpr int kPipGroup = 1169;
inline constexpr int kPipSourceList = 1183;
inline constexpr int kPipBorderEnableList = 1180;
inline constexpr int kPipBorderColourList = 1181;
inline constexpr int kPipBorderWidthList = 1182;
inline constexpr std::array<int, 3> kPipSliders{1170, 1171, 1172};  // X, Y, width
inline constexpr int kPipHeightSlider = 1173;                       // hidden, does nothing

}  // namespace panoptix::sw_id

namespace panoptix {

// Pictures that do not depend on the block.
inline constexpr int kSwitcherBackgroundPicture = 294;
inline constexpr int kLeverChannelPicture = 301;  // 164 x 420, sizes the lever
inline constexpr int kLeverThumbPicture = 302;    // 144 x 41

// Lever set-up: margins left, top, right, bottom; range 0-129.
inline constexpr int kLeverMarginLeft = 10;
inline constexpr int kLeverMarginTop = 30;
inline constexpr int kLeverMarginRight = 0;
inline constexpr int kLeverMarginBottom = 35;
inline constexpr int kLeverX = 693;
inline constexpr int kLeverY = 100;

// The settings page area in panel coordinates.
inline constexpr int kSettingsAreaX = 960;
inline constexpr int kSettingsAreaY = 100;
inline constexpr int kSettingsAreaWidth = 250;
inline constexpr int kSettingsAreaHeight = 400;

struct PanelControl {
    int id;
    const char* caption;
    int x, y, width, height;
    bool visible;
};

// Every control of the panel the operator can reach (the lever aside), at its place; the last
// is the settings page frame. Sources 9 and 10 and the second ON AIR are built hidden (their
// places are not known).
inline constexpr std::array<PanelControl, 41> kPanelControls{{
    {1032, "1", 10, 120, 70, 70, true},
    {1033, "2", 80, 120, 70, 70, true},
    {1011, "3", 150, 120, 70, 70, true},
    {1107, "4", 220, 120, 70, 70, true},
    {1108, "5", 10, 200, 70, 70, true},
    {1109, "6", 80, 200, 70, 70, true},
    {1110, "7", 150, 200, 70, 70, true},
    {1111, "8", 220, 200, 70, 70, true},
    {1123, "9", 0, 0, 70, 70, false},
    {1124, "10", 0, 0, 70, 70, false},
    {1119, "BLK", 360, 120, 70, 70, true},
    {1120, "MP1", 360, 200, 70, 70, true},
    {1034, "1", 10, 340, 70, 70, true},
    {1035, "2", 80, 340, 70, 70, true},
    {1012, "3", 150, 340, 70, 70, true},
    {1112, "4", 220, 340, 70, 70, true},
    {1113, "5", 10, 420, 70, 70, true},
    {1114, "6", 80, 420, 70, 70, true},
    {1115, "7", 150, 420, 70, 70, true},
    {1116, "8", 220, 420, 70, 70, true},
    {1126, "9", 0, 0, 70, 70, false},
    {1127, "10", 0, 0, 70, 70, false},
    {1153, "BLK", 360, 340, 70, 70, true},
    {1155, "MP1", 360, 420, 70, 70, true},
    {1131, "PIP", 465, 120, 70, 70, true},
    {1144, "KEY 1", 535, 120, 70, 70, true},
    {1145, "KEY 2", 605, 120, 70, 70, true},
    {1135, "BKGD", 465, 200, 70, 70, true},
    {1134, "ON AIR", 605, 200, 70, 70, true},
    {1158, "ON AIR", 535, 200, 70, 70, false},
    {1136, "MIX", 465, 340, 70, 70, true},
    {1162, "DIP", 535, 340, 70, 70, true},
    {1132, "WIPE", 605, 340, 70, 70, true},
    {1151, "Cut", 465, 420, 80, 80, true},
    {1118, "Auto", 600, 420, 80, 80, true},
    {1152, "FTB", 870, 420, 80, 80, true},
    {1161, "  STREAM        ON", 870, 120, 80, 80, true},
    {1036, "r1", 875, 205, 70, 70, true},
    {1037, "r2", 875, 275, 70, 70, true},
    {1038, "r3", 875, 345, 70, 70, true},
    {1166, "", 960, 100, 250, 400, true},
}};

struct WipePatternPlace {
    int x, y;
};
// Wipe pattern buttons 0-8, 50 x 50, on the transition settings page.
inline constexpr std::array<WipePatternPlace, 9> kWipePatternPlaces{{
    {30, 100},
    {90, 100},
    {150, 100},
    {30, 160},
    {90, 160},
    {150, 160},
    {30, 220},
    {90, 220},
    {150, 220},
}};
inline constexpr int kWipePatternSize = 50;

}  // namespace panoptix
