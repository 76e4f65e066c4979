#include "switcher/pages/switcher_transition_page.h"

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "switcher/core/switcher_controls.h"
#include "switcher/core/switcher_pictures.h"

namespace panoptix {

SwitcherTransitionPage::SwitcherTransitionPage(SwitcherPanel& panel, QWidget* parent)
    : SwitcherSettingsPage(panel, sw_id::kTransitionGroup, parent) {
    for (size_t n = 0; n < patterns_.size(); ++n) {
        auto* button = new CButtonST(this);
        SetControlId(button, sw_id::kWipePattern[n]);
        const WipePatternPlace place = kWipePatternPlaces[n];
        button->setGeometry(place.x, place.y, kWipePatternSize, kWipePatternSize);
        button->SetTransparent();
        button->SetBorder(false);
        const int pattern = static_cast<int>(n);
        connect(button, &QAbstractButton::clicked, this,
                [this, pattern] { SelectWipeStyle(pattern); });
        patterns_[n] = button;
    }
    ShowPictures();
    FinishControls();
}

void SwitcherTransitionPage::SelectWipeStyle(int pattern) {
    Panel().PressWipePattern(pattern);
    ShowPictures();
}

void SwitcherTransitionPage::ShowPictures() {
    for (size_t n = 0; n < patterns_.size(); ++n) {
        const int picture = WipePatternPicture(Data(), static_cast<int>(n));
        if (patterns_[n]->PictureId() != picture) {
            patterns_[n]->SetPictureById(picture);
        }
    }
}

}  // namespace panoptix
