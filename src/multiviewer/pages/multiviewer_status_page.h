#pragma once
// MultiviewerStatusPage: the status page (page 1 of the container, no visible button). Reads the
// device over the LAN when it opens and shows a read-only summary.
#include "multiviewer/pages/multiviewer_sub_page.h"

namespace panoptix {

class MultiviewerStatusPage : public MultiviewerSubPage {
    Q_OBJECT

  public:
    MultiviewerStatusPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);
};

}  // namespace panoptix
