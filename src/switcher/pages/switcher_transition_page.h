#pragma once
// SwitcherTransitionPage: the transition settings page (settings page 0), shown when the
// panel opens and after MIX, DIP or WIPE. Nine wipe-pattern buttons; the one of the stored
// wipe_style is lit. The template's time fields and source lists are never shown or filled and
// are not built.
#include <array>

#include "switcher/pages/switcher_settings_page.h"

class CButtonST;

namespace panoptix {

class SwitcherTransitionPage : public SwitcherSettingsPage {
    Q_OBJECT

  public:
    static constexpr int kPatterns = 9;

    SwitcherTransitionPage(SwitcherPanel& panel, QWidget* parent);

  private:
    void SelectWipeStyle(int pattern);
    void ShowPictures();

    std::array<CButtonST*, kPatterns> patterns_{};
};

}  // namespace panoptix
