#pragma once
// The quad-view panel's rules without widgets: the opening steps that touch state, the two
// queries, ApplyShowMode, the list rules, the loop rule, the loop time, and the periodic signal
// poll that never blocks. The page hands over the link state, the quad-view block and itself
// as the view, builds its controls, calls Open(), and turns each operator action into one call.
#include <cstdint>
#include <span>
#include <string_view>

#include "link/device_link.h"
#include "quadview/core/quadview_decoder.h"
#include "quadview/core/quadview_state.h"
#include "quadview/core/quadview_view.h"

namespace panoptix {

inline constexpr uint32_t kQuadQueryWindowMs = 1000;
inline constexpr uint32_t kSignalPollPeriodMs = 5000;  // the page's timer 1

// What StartSignalPoll did.
enum class PollStart { Started, AlreadyPending, NotSent };
// Where a pending signal poll stands after ContinueSignalPoll.
enum class PollProgress { Pending, Answered, TimedOut, NotPending };

class QuadviewPanel {
  public:
    QuadviewPanel(DeviceLink& link, QuadviewState& quad, QuadviewView& view);
    // Ends a pending signal poll (without telling the view).
    ~QuadviewPanel();
    QuadviewPanel(const QuadviewPanel&) = delete;
    QuadviewPanel& operator=(const QuadviewPanel&) = delete;

    // Opening, once the controls exist: ShowStoredMode, QueryQuadStatus, ShowLoopButton,
    // SelectStoredOutputFormat, SelectStoredPipChildren, ResetLamps, QuerySignalStatus,
    // UpdatePipCombos. The two queries block (sleeping) for up to a second each.
    void Open();

    // The stored mode's button lit and its preview drawn, before the device has answered.
    void ShowStoredMode();
    // 0x90: waits 1000 ms from before the send; decodes and applies the reply. True when a
    // reply arrived (the page does not look, a script does).
    bool QueryQuadStatus();
    // The loop button shows Stop (374) while the loop runs, else Start (373).
    void ShowLoopButton();
    // The output format list selects the row of output_format's code (none for other codes).
    void SelectStoredOutputFormat();
    // Each PIP list selects its child's row; a child of 0 selects row 0, one past 4 none.
    void SelectStoredPipChildren();
    // Every lamp red, signal_lamp all 0.
    void ResetLamps();
    // 0xAA, blocking (the opening's): waits 1000 ms from after the send's pause. True when a
    // reply arrived.
    bool QuerySignalStatus();
    // Enables or disables the two PIP lists from show_mode and loop_state.
    void UpdatePipCombos();

    // Layout button of show mode m clicked (nothing when m is in force).
    void ApplyShowMode(uint8_t mode);
    // An operator pick in the output format list, the first or the second PIP list.
    void OutputFormatChosen(int row);
    void FirstPipChosen(int row);
    void SecondPipChosen(int row);
    // The loop button clicked.
    void LoopClicked();
    // Enter in the loop time field: its text, sent as 3..999 seconds.
    void SendLoopTime(std::string_view field_text);

    // Applies a decoded status reply with its traces: output format, PIP children, loop
    // state, then the reported show mode (always applied, never sent back).
    void ApplyStatusReport(const QuadStatusReport& report);
    // Applies a decoded signal reply: a lamp per channel whose status arrived.
    void ApplySignalReport(const QuadSignalReport& report);
    // The lamp of channel 0..3 shows status s (green for 1, red otherwise), if it changed.
    void SetSignalLamp(int channel, uint8_t status);

    // The periodic signal poll (timer 1), which never blocks: sends 0xAA and leaves the socket
    // open under a link hold. The page then watches SignalPollSocket() for input and
    // SignalPollRemainingMs() on its event loop, and calls ContinueSignalPoll on either.
    // A tick while a poll is pending starts none. Any other open or close of the socket ends
    // the pending poll unanswered (lamps unchanged) and calls view.SignalPollEnded().
    PollStart StartSignalPoll();
    bool SignalPollPending() const { return poll_pending_; }
    int SignalPollSocket() const;
    uint32_t SignalPollRemainingMs() const;
    // Reads every datagram waiting, without blocking: an 0xAA reply is applied and ends the
    // poll; otherwise past the deadline the poll ends with "wait time over \n".
    PollProgress ContinueSignalPoll();
    // Ends a pending poll unanswered (page closing); the view is not called.
    void EndSignalPoll();

    int32_t applying_status() const { return applying_status_; }

  private:
    enum class ModeSource { Operator, Reported };
    void ApplyMode(uint8_t mode, ModeSource source);
    void FinishSignalPoll();
    // ComputeQuadLayout, its trace, and a repaint of the preview.
    void RedrawLayout();
    void ShowPipRow(int control_id, uint8_t child);
    AllKv2718PageData& Block() { return quad_.m_all_kv2718_page_data; }

    DeviceLink& link_;
    QuadviewState& quad_;
    QuadviewView& view_;
    int32_t applying_status_ = 0;
    bool poll_pending_ = false;
    uint32_t poll_start_ms_ = 0;
};

}  // namespace panoptix
