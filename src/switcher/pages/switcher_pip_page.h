#pragma once
// SwitcherPipPage: the PIP window settings page (settings page 3). The window's source
// and border (four lists, each sent when picked) and its X position, Y position and width
// (three sliders of 120 steps, sent as position x 16, x 9, x 16 when the mouse button is
// released over that slider). The page opens on the stored entries and positions. The
// template's hidden height slider does nothing and is not built.
#include <array>

#include "switcher/core/settings_rules.h"
#include "switcher/pages/switcher_settings_page.h"

namespace panoptix {

class SwitcherPipPage : public SwitcherSettingsPage {
    Q_OBJECT

  public:
    SwitcherPipPage(SwitcherPanel& panel, QWidget* parent);

  protected:
    void OnSliderReleased(QSlider* slider) override;

  private:
    std::array<QSlider*, 3> sliders_{};
    std::array<QLineEdit*, 3> fields_{};
};

}  // namespace panoptix
