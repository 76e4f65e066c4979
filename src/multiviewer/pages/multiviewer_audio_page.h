#pragma once
// MultiviewerAudioPage: the audio page (page 4 of the container, no visible button, every
// control hidden). Its two lists send over the LAN whatever the connection mode says.
#include "multiviewer/pages/multiviewer_sub_page.h"

class QComboBox;

namespace panoptix {

class MultiviewerAudioPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    MultiviewerAudioPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);

  private:
    void OnHistogramChanged(int entry);
    void OnSourceChanged(int entry);
};

}  // namespace panoptix
