#pragma once
// MultiviewerUmdPage: the UMD page (page 3 of the container). Sixteen label fields, one per
// window, and a list that switches the labels on or off for all windows. A label goes to the
// device when the operator presses Enter in its field.
#include <array>
#include <cstdint>

#include "multiviewer/pages/multiviewer_sub_page.h"

class QComboBox;
class QLineEdit;

namespace panoptix {

class MultiviewerUmdPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    // Typing stops at this many characters.
    static constexpr int kLabelMaxChars = 10;

    MultiviewerUmdPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

    // Index 0-15 of the window whose label Enter sent last; -1 before, and after an Enter
    // outside the label fields.
    int8_t umd_string_index() const { return m_umd_string_index; }

  protected:
    void OnEnterKey(QWidget* target) override;
    void PaintPage(QPainter& painter) override;

  private:
    void CreateControls();
    void OnUmdOnOffChanged(int entry);

    int8_t m_umd_string_index = -1;
    std::array<QLineEdit*, kMultiviewerWindows> fields_{};
    QComboBox* on_off_ = nullptr;
};

}  // namespace panoptix
