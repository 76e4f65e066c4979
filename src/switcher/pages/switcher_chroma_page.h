#pragma once
// SwitcherChromaPage: the KEY 2 settings page (settings page 2), a chroma key. The key
// source, the chroma type ("Key Light Blue" or "Key Light Green") and a red, green and blue
// level kept for each type; the page opens on the stored source, type and that type's levels.
// Choosing a type moves the sliders to its levels; a slider release sends the three levels as
// those of the current type.
#include <array>

#include "switcher/pages/switcher_settings_page.h"

namespace panoptix {

class SwitcherChromaPage : public SwitcherSettingsPage {
    Q_OBJECT

  public:
    SwitcherChromaPage(SwitcherPanel& panel, QWidget* parent);

  protected:
    void OnSliderReleased(QSlider* slider) override;

  private:
    void OnChromaTypePicked(int index);
    void ShowLevels();
    void OnLevelChanged(size_t channel, int level);

    std::array<QSlider*, 3> sliders_{};
    std::array<QLineEdit*, 3> fields_{};
};

}  // namespace panoptix
