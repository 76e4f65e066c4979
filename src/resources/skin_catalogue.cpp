#include "resources/skin_catalogue.h"

#include <algorithm>

namespace panoptix::skin {
namespace {

constexpr ResourceKind B = ResourceKind::Bitmap;
constexpr ResourceKind I = ResourceKind::Icon;

constexpr int G(Glyph glyph) {
    return static_cast<int>(glyph);
}
constexpr int D(Backdrop backdrop) {
    return static_cast<int>(backdrop);
}
constexpr int W(WipeShape shape) {
    return static_cast<int>(shape);
}

// Rows written out one by one; the long regular families (source keys, crosspoints, quad-view
// layouts) are added by AddFamilies below.
const Recipe kRows[] = {
    // Application icon and signal lamps.
    {128, 32, 32, I, Art::AppIcon, Lamp::Off, "", 0},
    {211, 32, 32, I, Art::LampIcon, Lamp::Red, "", 0},
    {212, 32, 32, I, Art::LampIcon, Lamp::Green, "", 0},
    {375, 32, 32, I, Art::LampIcon, Lamp::Green, "", 0},
    {376, 32, 32, I, Art::LampIcon, Lamp::Red, "", 0},

    // Page backgrounds, stretched over their pages.
    {187, 1280, 585, B, Art::Background, Lamp::Off, "", D(Backdrop::Container)},
    {191, 600, 660, B, Art::Background, Lamp::Off, "", D(Backdrop::Configure)},
    {194, 490, 420, B, Art::Background, Lamp::Off, "", D(Backdrop::SubPage)},
    {195, 1280, 720, B, Art::Background, Lamp::Off, "", D(Backdrop::Main)},
    {229, 1280, 585, B, Art::Background, Lamp::Off, "", D(Backdrop::MatrixPage)},
    {230, 490, 420, B, Art::Background, Lamp::Off, "", D(Backdrop::MatrixFunction)},
    {294, 1260, 585, B, Art::Background, Lamp::Off, "", D(Backdrop::Switcher)},
    {379, 490, 420, B, Art::Background, Lamp::Off, "", D(Backdrop::MatrixPresets)},

    // Main window: title-bar buttons (drawn 3 pixels in from the left of their buttons), scan
    // and settings.
    {188, 39, 35, B, Art::TitleButton, Lamp::Off, "", G(Glyph::Close)},
    {196, 135, 50, B, Art::ScanButton, Lamp::Off, "SCAN", 0},
    {197, 31, 35, B, Art::TitleButton, Lamp::Off, "", G(Glyph::Maximise)},
    {198, 44, 35, B, Art::TitleButton, Lamp::Off, "", G(Glyph::Minimise)},
    {199, 25, 30, B, Art::SettingsButton, Lamp::Off, "", G(Glyph::Gear)},

    // Multiviewer layout keys: normal and lit, 1, 4, 6, 8, 9, 10 and 16 windows.
    {171, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 0},
    {172, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 0},
    {173, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 1},
    {174, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 1},
    {175, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 2},
    {176, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 2},
    {177, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 3},
    {178, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 3},
    {179, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 4},
    {180, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 4},
    {181, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 5},
    {182, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 5},
    {183, 80, 57, B, Art::MultiviewLayout, Lamp::Off, "", 6},
    {184, 80, 57, B, Art::MultiviewLayout, Lamp::Amber, "", 6},

    // Page tabs, normal and selected. 192/193 and 200/201 also serve the matrix page's
    // CONTROL and SETTING tabs.
    {185, 80, 75, B, Art::Tab, Lamp::Off, "AUDIO", G(Glyph::Meter)},
    {186, 80, 75, B, Art::Tab, Lamp::Amber, "AUDIO", G(Glyph::Meter)},
    {189, 72, 75, B, Art::Tab, Lamp::Off, "COLOR", G(Glyph::Palette)},
    {190, 72, 75, B, Art::Tab, Lamp::Amber, "COLOR", G(Glyph::Palette)},
    {192, 80, 75, B, Art::Tab, Lamp::Off, "CONTROL", G(Glyph::Grid)},
    {193, 80, 75, B, Art::Tab, Lamp::Amber, "CONTROL", G(Glyph::Grid)},
    {200, 90, 75, B, Art::Tab, Lamp::Off, "SETTING", G(Glyph::Gear)},
    {201, 90, 75, B, Art::Tab, Lamp::Amber, "SETTING", G(Glyph::Gear)},
    {202, 80, 75, B, Art::Tab, Lamp::Off, "STATUS", G(Glyph::Pulse)},
    {203, 80, 75, B, Art::Tab, Lamp::Amber, "STATUS", G(Glyph::Pulse)},
    {204, 80, 75, B, Art::Tab, Lamp::Off, "UMD", G(Glyph::Label)},
    {205, 80, 75, B, Art::Tab, Lamp::Amber, "UMD", G(Glyph::Label)},
    // The matrix page's PRESET tab.
    {380, 80, 75, B, Art::Tab, Lamp::Off, "PRESET", G(Glyph::Presets)},
    {381, 80, 75, B, Art::Tab, Lamp::Amber, "PRESET", G(Glyph::Presets)},

    // Matrix function keys: LOCK shows a white legend when unlocked, a red one when locked.
    {231, 140, 65, B, Art::Key, Lamp::Off, "LOCK", G(Glyph::LockOpen)},
    {232, 140, 65, B, Art::Key, Lamp::Off, "LOCK", G(Glyph::LockShut)},
    {233, 220, 60, B, Art::Key, Lamp::Off, "ONE TO ALL", G(Glyph::FanOut)},
    {234, 220, 65, B, Art::Key, Lamp::Off, "ONE TO ONE", G(Glyph::Parallel)},
    {235, 140, 65, B, Art::Key, Lamp::Off, "APPLY", G(Glyph::Tick)},
    // The preset sub page's STORE key: dark, and red while armed (the next preset click
    // stores).
    {382, 140, 65, B, Art::Key, Lamp::Off, "STORE", G(Glyph::Store)},
    {383, 140, 65, B, Art::Key, Lamp::Red, "STORE", G(Glyph::Store)},

    // Switcher panel keys (the source keys 248-283 are added below).
    {245, 80, 80, B, Art::Key, Lamp::Off, "AUTO", G(Glyph::None)},
    {246, 70, 70, B, Art::Key, Lamp::Off, "BKGD", G(Glyph::None)},
    {247, 70, 70, B, Art::Key, Lamp::Amber, "BKGD", G(Glyph::None)},
    {285, 80, 80, B, Art::Key, Lamp::Off, "CUT", G(Glyph::None)},
    {286, 70, 70, B, Art::Key, Lamp::Off, "DIP", G(Glyph::None)},
    {287, 70, 70, B, Art::Key, Lamp::Amber, "DIP", G(Glyph::None)},
    {288, 80, 80, B, Art::Key, Lamp::Red, "FTB", G(Glyph::None)},
    {289, 80, 80, B, Art::Key, Lamp::Off, "FTB", G(Glyph::None)},
    {290, 70, 70, B, Art::Key, Lamp::Off, "KEY 1", G(Glyph::None)},
    {291, 70, 70, B, Art::Key, Lamp::Amber, "KEY 1", G(Glyph::None)},
    {292, 70, 70, B, Art::Key, Lamp::Off, "KEY 2", G(Glyph::None)},
    {293, 70, 70, B, Art::Key, Lamp::Amber, "KEY 2", G(Glyph::None)},
    {295, 70, 70, B, Art::Key, Lamp::Off, "MIX", G(Glyph::None)},
    {296, 70, 70, B, Art::Key, Lamp::Amber, "MIX", G(Glyph::None)},
    {297, 70, 70, B, Art::Key, Lamp::Red, "ON AIR", G(Glyph::None)},
    {298, 70, 70, B, Art::Key, Lamp::Off, "ON AIR", G(Glyph::None)},
    {299, 70, 70, B, Art::Key, Lamp::Off, "PIP", G(Glyph::None)},
    {300, 70, 70, B, Art::Key, Lamp::Amber, "PIP", G(Glyph::None)},
    {301, 164, 420, B, Art::LeverChannel, Lamp::Off, "", 0},
    {302, 144, 41, B, Art::LeverThumb, Lamp::Off, "", 0},
    {303, 70, 70, B, Art::Key, Lamp::Off, "WIPE", G(Glyph::None)},
    {304, 70, 70, B, Art::Key, Lamp::Amber, "WIPE", G(Glyph::None)},
    {305, 80, 80, B, Art::Key, Lamp::Red, "AUTO", G(Glyph::None)},
    {341, 70, 70, B, Art::Key, Lamp::Off, "r1", G(Glyph::None)},
    {342, 70, 70, B, Art::Key, Lamp::Amber, "r1", G(Glyph::None)},
    {343, 70, 70, B, Art::Key, Lamp::Off, "r2", G(Glyph::None)},
    {344, 70, 70, B, Art::Key, Lamp::Amber, "r2", G(Glyph::None)},
    {345, 70, 70, B, Art::Key, Lamp::Off, "r3", G(Glyph::None)},
    {346, 70, 70, B, Art::Key, Lamp::Amber, "r3", G(Glyph::None)},
    {347, 80, 80, B, Art::Key, Lamp::Off, "STREAM ON", G(Glyph::Stream)},

    // Wipe patterns of the transition settings page: lit and unlit per pattern (patterns 2
    // and 5 share 363/368).
    {353, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::Iris)},
    {354, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::Iris)},
    {355, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::DiagonalDown)},
    {356, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::DiagonalUp)},
    {357, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::DiagonalUp)},
    {358, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::BarnDoor)},
    {359, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::BarnDoor)},
    {360, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::Horizontal)},
    {361, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::Horizontal)},
    {362, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::DiagonalDown)},
    {363, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::Box)},
    {364, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::Diamond)},
    {365, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::Diamond)},
    {368, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::Box)},
    {369, 50, 50, B, Art::WipePattern, Lamp::Amber, "", W(WipeShape::Vertical)},
    {370, 50, 50, B, Art::WipePattern, Lamp::Off, "", W(WipeShape::Vertical)},

    // Quad-view: show mode 16 and the channel loop key (START while stopped, STOP while
    // running).
    {371, 68, 48, B, Art::QuadLayout, Lamp::Off, "", 16},
    {372, 68, 48, B, Art::QuadLayout, Lamp::Amber, "", 16},
    {373, 70, 45, B, Art::Key, Lamp::Off, "START", G(Glyph::Play)},
    {374, 70, 45, B, Art::Key, Lamp::Green, "STOP", G(Glyph::Stop)},
};

// Legends of the twelve switcher sources.
const char* const kSourceCaptions[12] = {"1", "2", "3", "4",  "5",   "6",
                                         "7", "8", "9", "10", "BLK", "MP1"};
// Legends of the eight crosspoints.
const char* const kDigits[8] = {"1", "2", "3", "4", "5", "6", "7", "8"};

void AddFamilies(std::vector<Recipe>& rows) {
    // Switcher source s: unlit 250 + 3(s - 1), program-lit one less, preview-lit two less.
    for (int s = 1; s <= 12; ++s) {
        const int unlit = 250 + 3 * (s - 1);
        const char* caption = kSourceCaptions[s - 1];
        rows.push_back({unlit, 70, 70, B, Art::Key, Lamp::Off, caption, G(Glyph::None)});
        rows.push_back({unlit - 1, 70, 70, B, Art::Key, Lamp::Red, caption, G(Glyph::None)});
        rows.push_back({unlit - 2, 70, 70, B, Art::Key, Lamp::Green, caption, G(Glyph::None)});
    }
    // Matrix crosspoint k (inputs and outputs alike): normal 211 + 2k, lit 212 + 2k.
    for (int k = 1; k <= 8; ++k) {
        rows.push_back({211 + 2 * k, 60, 65, B, Art::Crosspoint, Lamp::Off, kDigits[k - 1], 0});
        rows.push_back({212 + 2 * k, 60, 65, B, Art::Crosspoint, Lamp::Green, kDigits[k - 1], 0});
    }
    // Matrix preset k: empty 382 + 2k (dark), holding a routing 383 + 2k (blue).
    for (int k = 1; k <= 8; ++k) {
        rows.push_back({382 + 2 * k, 100, 75, B, Art::Key, Lamp::Off, kDigits[k - 1], 0});
        rows.push_back({383 + 2 * k, 100, 75, B, Art::Key, Lamp::Blue, kDigits[k - 1], 0});
    }
    // Quad-view show mode m = 0-15: normal 309 + 2m, lit 310 + 2m; modes 1 and 2 are 50 high.
    for (int m = 0; m <= 15; ++m) {
        const int height = (m == 1 || m == 2) ? 50 : 48;
        rows.push_back({309 + 2 * m, 68, height, B, Art::QuadLayout, Lamp::Off, "", m});
        rows.push_back({310 + 2 * m, 68, height, B, Art::QuadLayout, Lamp::Amber, "", m});
    }
}

std::vector<Recipe> BuildRecipes() {
    std::vector<Recipe> rows(std::begin(kRows), std::end(kRows));
    AddFamilies(rows);
    std::sort(rows.begin(), rows.end(),
              [](const Recipe& a, const Recipe& b) { return a.id < b.id; });
    return rows;
}

}  // namespace

const std::vector<Recipe>& Recipes() {
    static const std::vector<Recipe> recipes = BuildRecipes();
    return recipes;
}

}  // namespace panoptix::skin
