#pragma once
// MultiviewerColourPage: the colour page (page 5 of the container). Text and background colours
// of the UMD labels and of the resolution labels, for one window or for all windows at once.
#include "multiviewer/pages/multiviewer_sub_page.h"

class QComboBox;

namespace panoptix {

// The page's two sections: each has a channel list and two colour lists.
enum class ColourSection { Umd, Resolution };

class MultiviewerColourPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    MultiviewerColourPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

  protected:
    void PaintPage(QPainter& painter) override;

  private:
    void CreateControls();
    uint8_t& ChannelOf(ColourSection section) const;
    void ShowChannelColours(ColourSection section);
    void OnChannelChanged(ColourSection section, int entry);
    void OnColourChanged(int list_id, int entry);

    QComboBox* umd_channel_ = nullptr;
    QComboBox* umd_text_ = nullptr;
    QComboBox* umd_back_ = nullptr;
    QComboBox* resolution_channel_ = nullptr;
    QComboBox* resolution_text_ = nullptr;
    QComboBox* resolution_back_ = nullptr;
};

}  // namespace panoptix
