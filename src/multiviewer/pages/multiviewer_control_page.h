#pragma once
// MultiviewerControlPage: the layout and source page (page 2 of the container). Seven picture
// buttons choose the layout; sixteen rows choose the input of each window. Opening the page
// reads the device (status query) and sets every control from the result without sending.
#include <array>
#include <cstdint>

#include "multiviewer/pages/multiviewer_sub_page.h"

class QComboBox;
class QLabel;

class CButtonST;

namespace panoptix {

class MultiviewerControlPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    static constexpr uint8_t kNoLayout = 255;
    static constexpr int kLayoutButtons = 7;

    MultiviewerControlPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

    // Lights layout button t (1-7) and enables the rows of m_cur_window_count windows; unless
    // the page is just opening, also stores the layout and sends it. The lit button changes
    // nothing.
    void SelectLayout(int t);
    uint8_t current_layout() const { return current_layout_; }

  protected:
    void PaintPage(QPainter& painter) override;

  private:
    void CreateControls();
    void OnLayoutButton(int t);
    void OnSourceChanged(int window, int entry);

    uint8_t current_layout_ = kNoLayout;
    std::array<CButtonST*, kLayoutButtons> layout_buttons_{};
    std::array<QLabel*, kMultiviewerWindows> source_labels_{};
    std::array<QComboBox*, kMultiviewerWindows> source_lists_{};
    QComboBox* layout_names_ = nullptr;  // the template's hidden list of layout names
};

}  // namespace panoptix
