#pragma once
// SwitcherKeyPage: the KEY 1 settings page (settings page 1). The key source and a red,
// green and blue level; the page opens on the stored source and levels. A list pick sends at
// once; a slider only updates the stored level and its field until the mouse button is
// released over one of the sliders, which sends all three levels.
#include <array>

#include "switcher/pages/switcher_settings_page.h"

namespace panoptix {

class SwitcherKeyPage : public SwitcherSettingsPage {
    Q_OBJECT

  public:
    SwitcherKeyPage(SwitcherPanel& panel, QWidget* parent);

  protected:
    void OnSliderReleased(QSlider* slider) override;

  private:
    void OnLevelChanged(size_t channel, int level);

    std::array<QSlider*, 3> sliders_{};
    std::array<QLineEdit*, 3> fields_{};
};

}  // namespace panoptix
