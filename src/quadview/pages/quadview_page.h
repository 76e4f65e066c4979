#pragma once
// QuadviewPage: the quad-view processor's page (dialog 308), also the page of any
// device type the panel does not know. The 720 x 480 layout preview on the left; on the right
// the channel lamps, the show-mode buttons and the channel loop with its dwell time. The
// template's output format list, PIP child lists with their labels, Time button and the buttons
// of show modes 9 to 16 are built hidden and stay hidden; the rules still fill, light and
// enable them.
//
// The rules live in QuadviewPanel (Qt-free); this page builds the controls, implements the
// panel's view, turns each operator action into one call, and runs the signal poll of timer 1
// on the event loop: the request goes out, then a socket notifier and a deadline timer wait for
// the reply, so a silent device never holds the window.
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

#include "link/device_link.h"
#include "preview/painting/preview_painter.h"
#include "quadview/core/quadview_panel.h"
#include "quadview/core/quadview_state.h"
#include "quadview/core/quadview_view.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSocketNotifier;

class CShadeButtonST;

namespace panoptix {

class QuadviewPage : public QWidget, private QuadviewView {
    Q_OBJECT

  public:
    static constexpr QSize kPageSize{1240, 580};
    static constexpr int kBackgroundBitmap = 187;
    // The preview's top-left corner (the anchor static 1185) and its canvas.
    static constexpr QPoint kPreviewOrigin = panoptix::kPreviewOrigin;
    static constexpr QRect kPreviewRect = panoptix::kPreviewRect;
    static constexpr int kSignalTimerId = 1;

    // Opens the page: builds its controls and runs the opening (two blocking queries of up to
    // a second each, under the wait cursor), then starts timer 1.
    QuadviewPage(DeviceLink& link, QuadviewState& quad, QWidget* parent);
    // Ends a pending signal poll; the socket is closed.
    ~QuadviewPage() override;
    QuadviewPage(const QuadviewPage&) = delete;
    QuadviewPage& operator=(const QuadviewPage&) = delete;

    // Timer 1's tick: starts a signal poll unless one is pending, and watches for its reply.
    void OnSignalTimer();
    bool SignalPollPending() const { return panel_.SignalPollPending(); }
    bool SignalTimerActive() const { return signal_timer_.isActive(); }
    int SignalTimerIntervalMs() const { return signal_timer_.interval(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // QuadviewView
    void ShowButtonPicture(int control_id, int picture_id) override;
    void ShowLampIcon(int control_id, int icon_id) override;
    void SelectListRow(int control_id, int row) override;
    void EnableList(int control_id, ListEnablement enablement) override;
    void RepaintPreview() override;
    void SignalPollEnded() override;

    void CreateControls();
    void Open();
    void PlaceLayoutButtons();
    void PlaceLoopControls();
    void PlaceHiddenControls();
    void PlaceChannelLamps();
    void FinishControls();

    void WatchSignalPoll();
    void ContinueSignalPoll();
    void StopWatchingSignalPoll();
    void EndSignalPoll();

    CShadeButtonST* ButtonOf(int control_id) const;
    QComboBox* ListOf(int control_id) const;

    QuadviewState& quad_;
    std::array<CShadeButtonST*, kLastShowMode + 1> layout_buttons_{};
    CShadeButtonST* loop_button_ = nullptr;
    CShadeButtonST* time_button_ = nullptr;
    QWidget* preview_anchor_ = nullptr;
    QComboBox* output_format_list_ = nullptr;
    QComboBox* first_pip_list_ = nullptr;
    QComboBox* second_pip_list_ = nullptr;
    QLabel* pip_label_ = nullptr;
    QLabel* output_format_label_ = nullptr;
    QLabel* channel_label_ = nullptr;
    std::array<QLabel*, kQuadChannels> channel_numbers_{};
    std::array<QLabel*, kQuadChannels> lamps_{};
    QLineEdit* loop_time_field_ = nullptr;

    QTimer signal_timer_;
    QTimer poll_deadline_;
    QPointer<QSocketNotifier> poll_notifier_;
    bool opened_ = false;

    // Last: made once the view it calls back exists, gone before the controls.
    QuadviewPanel panel_;
};

}  // namespace panoptix
