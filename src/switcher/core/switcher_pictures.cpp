#include "switcher/core/switcher_pictures.h"

#include <algorithm>
#include <array>

#include "switcher/core/switcher_controls.h"

namespace panoptix {
namespace {

struct FixedButton {
    int id;
    int picture;
};

// Lit when the block's field holds the button's value.
struct ChoiceButton {
    int id;
    uint8_t AllSwitcherPageData::*field;
    uint8_t value;
    int unlit;
    int lit;
};

constexpr std::array<ChoiceButton, 13> kChoiceButtons{{
    {sw_id::kPip, &AllSwitcherPageData::selected_layer, 1, 299, 300},
    {sw_id::kKey1, &AllSwitcherPageData::selected_layer, 2, 290, 291},
    {sw_id::kKey2, &AllSwitcherPageData::selected_layer, 3, 292, 293},
    {sw_id::kBackground, &AllSwitcherPageData::bkgd_on, 1, 246, 247},
    {sw_id::kOnAir, &AllSwitcherPageData::on_air, 1, 298, 297},
    {sw_id::kMix, &AllSwitcherPageData::transition_type, 1, 295, 296},
    {sw_id::kDip, &AllSwitcherPageData::transition_type, 2, 286, 287},
    {sw_id::kWipe, &AllSwitcherPageData::transition_type, 3, 303, 304},
    {sw_id::kAuto, &AllSwitcherPageData::auto_lamp, 1, 245, 305},
    {sw_id::kFadeToBlack, &AllSwitcherPageData::ftb_on, 1, 289, 288},
    {sw_id::kRate1, &AllSwitcherPageData::transition_rate, 0, 341, 342},
    {sw_id::kRate2, &AllSwitcherPageData::transition_rate, 1, 343, 344},
    {sw_id::kRate3, &AllSwitcherPageData::transition_rate, 2, 345, 346},
}};

constexpr std::array<FixedButton, 3> kFixedButtons{{
    {sw_id::kCut, 285},
    {sw_id::kStreamOn, 347},
    {sw_id::kOnAir2, 298},  // its press changes no picture
}};

// Source s (1-12): unlit 250 + 3(s - 1), program-lit one less, preview-lit two less.
int SourceUnlit(int source) {
    return 250 + 3 * (source - 1);
}

int ChoicePicture(const AllSwitcherPageData& data, const ChoiceButton& button) {
    return data.*button.field == button.value ? button.lit : button.unlit;
}

struct PatternLooks {
    int lit;
    int unlit;
};
constexpr std::array<PatternLooks, 9> kPatternLooks{{
    {360, 361},
    {369, 370},
    {363, 368},
    {355, 362},
    {358, 359},
    {363, 368},
    {356, 357},
    {353, 354},
    {364, 365},
}};

}  // namespace

int PanelButtonPicture(const AllSwitcherPageData& data, int control_id) {
    for (int source = 1; source <= 12; ++source) {
        const auto index = static_cast<size_t>(source - 1);
        if (control_id == sw_id::kProgramRow[index]) {
            return data.program_source == source ? SourceUnlit(source) - 1 : SourceUnlit(source);
        }
        if (control_id == sw_id::kPreviewRow[index]) {
            if (data.preview_source != source) {
                return SourceUnlit(source);
            }
            return data.auto_lamp == 1 ? SourceUnlit(source) - 1 : SourceUnlit(source) - 2;
        }
    }
    for (const auto& button : kChoiceButtons) {
        if (button.id == control_id) {
            return ChoicePicture(data, button);
        }
    }
    const auto fixed =
        std::find_if(kFixedButtons.begin(), kFixedButtons.end(),
                     [control_id](const FixedButton& b) { return b.id == control_id; });
    return fixed == kFixedButtons.end() ? 0 : fixed->picture;
}

int WipePatternPicture(const AllSwitcherPageData& data, int pattern) {
    if (pattern < 0 || pattern >= static_cast<int>(kPatternLooks.size())) {
        return 0;
    }
    const PatternLooks& looks = kPatternLooks[static_cast<size_t>(pattern)];
    return data.wipe_style == pattern ? looks.lit : looks.unlit;
}

}  // namespace panoptix
