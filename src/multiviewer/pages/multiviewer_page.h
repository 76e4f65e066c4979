#pragma once
// MultiviewerPage: the multiviewer's page in the main window (1240 x 580 at the page
// rectangle). The layout preview on the left, the page buttons at the top right and below them
// the area that holds one sub-page at a time: layout and sources (page 2, shown first), UMD
// labels (3), colours (5), settings (6), and status (1) and audio (4), whose buttons exist but
// are never shown.
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>

#include "controls/sub_page_host.h"
#include "link/device_link.h"
#include "multiviewer/core/multiviewer_state.h"

class CButtonST;

namespace panoptix {

class MultiviewerPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr uint8_t kNoPage = 255;
    static constexpr int kPageCount = 6;
    static constexpr QRect kPageArea{750, 105, 490, 420};
    static constexpr int kBackgroundBitmap = 187;

    // The page works on the link state and the multiviewer's block it is handed; both outlive it.
    MultiviewerPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent);
    ~MultiviewerPage() override;
    MultiviewerPage(const MultiviewerPage&) = delete;
    MultiviewerPage& operator=(const MultiviewerPage&) = delete;

    // Shows sub-page n (1-6) in the page area, replacing the current one; the page already
    // shown, or a number outside 1-6, changes nothing.
    void ShowPage(int n);

    uint8_t current_page() const { return current_page_; }
    QWidget* SubPage() const { return sub_pages_.Current(); }
    // The rectangle the preview occupies in the container.
    static QRect PreviewRect();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // The preview hook in the state: marks this container's preview for redrawing.
    struct PreviewMarker {
        MultiviewerPage* container;
        void operator()() const { container->MarkPreviewArea(); }
    };

    void CreateControls();
    void MarkPreviewArea();

    DeviceLink& link_;
    MultiviewerState& multiviewer_;
    uint8_t current_page_ = kNoPage;
    SubPageHost sub_pages_{kPageArea};
    std::array<CButtonST*, kPageCount> page_buttons_{};
};

}  // namespace panoptix
