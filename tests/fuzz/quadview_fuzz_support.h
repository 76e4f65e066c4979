#pragma once
// Shared by the two quad-view fuzz targets: a panel with no device selected, so that any send
// it made would open a socket and show "Please choose a device", and a view that keeps what
// the rules showed.
#include <map>

#include "fuzz_support.h"
#include "link/device_link.h"
#include "link/operator_messages.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/core/quadview_panel.h"

namespace panoptix::fuzz {

class CountingMessages : public OperatorMessages {
  public:
    void ShowError(std::string_view) override { ++shown; }
    int shown = 0;
};

class KeepingView : public QuadviewView {
  public:
    void ShowButtonPicture(int id, int picture) override { pictures[id] = picture; }
    void ShowLampIcon(int id, int icon) override { icons[id] = icon; }
    void SelectListRow(int id, int row) override { rows[id] = row; }
    void EnableList(int, ListEnablement) override {}
    void RepaintPreview() override {}
    void SignalPollEnded() override {}

    int LitLayoutButtons() const {
        int lit = 0;
        for (uint8_t mode = 0; mode <= kLastShowMode; ++mode) {
            const auto at = pictures.find(qv_id::LayoutButtonId(mode));
            lit += at != pictures.end() &&
                   at->second == qv_picture::LayoutPicture(mode, qv_picture::ButtonLook::Lit);
        }
        return lit;
    }

    std::map<int, int> pictures;
    std::map<int, int> icons;
    std::map<int, int> rows;
};

// A page as a reopened one finds the block: mode 5 lit, children 2 and 3, lamps 1, 0, 1, 0.
struct FuzzPanel {
    FuzzPanel() {
        static const bool silenced = SilenceSideChannels();
        (void)silenced;
        SetOperatorMessages(&messages);
        auto& block = quad.m_all_kv2718_page_data;
        block.show_mode = 5;
        block.output_format = 10;
        block.kora_kv2718_pip_child_ch = {2, 3};
        block.signal_lamp = {1, 0, 1, 0};
        panel.ShowStoredMode();
    }
    ~FuzzPanel() { SetOperatorMessages(nullptr); }

    // Nothing was sent: no socket was opened and no box shown.
    bool SentNothing() const { return link.m_udpSockfd == -1 && messages.shown == 0; }

    CountingMessages messages;
    DeviceLink link;
    QuadviewState quad;
    KeepingView view;
    QuadviewPanel panel{link, quad, view};
};

}  // namespace panoptix::fuzz
