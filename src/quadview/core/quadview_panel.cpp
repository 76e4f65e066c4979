#include "quadview/core/quadview_panel.h"

#include <algorithm>
#include <array>

#include "link/clock.h"
#include "link/socket_hold.h"
#include "link/trace_events.h"
#include "link/udp_transport.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/core/quadview_frames.h"
#include "quadview/core/quadview_tables.h"

namespace panoptix {
namespace {

using qv_picture::ButtonLook;
using qv_picture::LayoutPicture;

constexpr const char* kReceivedTrace = "recv len is %d \n";
constexpr const char* kForeignTrace = "the cmd is not right \n";
constexpr const char* kTimeoutTrace = "wait time over \n";

// A storm of foreign datagrams must not keep one call reading for ever; the rest waits for
// the next call.
constexpr int kMaxDatagramsPerCall = 64;

bool IsPipShowMode(uint8_t mode) {
    return mode >= 7 && mode <= 10;
}

ReplyWait QuadReplyWait(uint8_t command, uint32_t start_ms, uint32_t window_ms) {
    ReplyWait wait;
    wait.command = command;
    wait.window_ms = window_ms;
    wait.start_ms = start_ms;
    wait.foreign_trace = kForeignTrace;
    wait.timeout_trace = kTimeoutTrace;
    wait.received_trace = kReceivedTrace;
    return wait;
}

void ApplyListChange(QuadviewView& view, int control_id, ListChange change) {
    if (change != ListChange::Keep) {
        view.EnableList(control_id, change == ListChange::Enable ? ListEnablement::Enabled
                                                                 : ListEnablement::Disabled);
    }
}

}  // namespace

QuadviewPanel::QuadviewPanel(DeviceLink& link, QuadviewState& quad, QuadviewView& view)
    : link_(link), quad_(quad), view_(view) {}

QuadviewPanel::~QuadviewPanel() {
    EndSignalPoll();
}

void QuadviewPanel::Open() {
    ShowStoredMode();
    QueryQuadStatus();
    ShowLoopButton();
    SelectStoredOutputFormat();
    SelectStoredPipChildren();
    ResetLamps();
    QuerySignalStatus();
    UpdatePipCombos();
}

void QuadviewPanel::ShowStoredMode() {
    const uint8_t mode = Block().show_mode;
    if (mode <= kLastShowMode) {
        view_.ShowButtonPicture(qv_id::LayoutButtonId(mode), LayoutPicture(mode, ButtonLook::Lit));
    }
    RedrawLayout();
}

bool QuadviewPanel::QueryQuadStatus() {
    if (!MayUseUdp(link_, quad_command::kStatus)) {
        return false;
    }
    const uint32_t start_ms = TickMs();
    const auto request = MakeQuadLanFrame(link_, quad_command::kStatus);
    const auto reply = QueryWithReply(
        link_, request, QuadReplyWait(quad_command::kStatus, start_ms, kQuadQueryWindowMs),
        kCommandPauseMs);
    if (!reply.empty()) {
        ApplyStatusReport(DecodeQuadStatusReply(reply));
    }
    trace::ReadOver();
    return !reply.empty();
}

void QuadviewPanel::ShowLoopButton() {
    view_.ShowButtonPicture(qv_id::kLoopButton, Block().loop_state != 0 ? qv_picture::kLoopStop
                                                                        : qv_picture::kLoopStart);
}

void QuadviewPanel::SelectStoredOutputFormat() {
    view_.SelectListRow(qv_id::kOutputFormatList,
                        OutputFormatRowOfCode(Block().output_format).value_or(kNoRow));
}

void QuadviewPanel::SelectStoredPipChildren() {
    const auto& children = Block().kora_kv2718_pip_child_ch;
    // A child of 0 (nothing reported yet) shows the first row.
    view_.SelectListRow(qv_id::kFirstPipList, children[0] == 0 ? 0 : PipRowOfChild(children[0]));
    view_.SelectListRow(qv_id::kSecondPipList, children[1] == 0 ? 0 : PipRowOfChild(children[1]));
}

void QuadviewPanel::ResetLamps() {
    for (int channel = 0; channel < kQuadChannels; ++channel) {
        view_.ShowLampIcon(qv_id::LampId(channel), qv_picture::kLampRed);
    }
    Block().signal_lamp.fill(0);
}

bool QuadviewPanel::QuerySignalStatus() {
    if (!MayUseUdp(link_, quad_command::kSignal)) {
        return false;
    }
    // The window runs 1000 ms from the end of the pause that follows the send.
    const uint32_t start_ms = TickMs();
    const auto request = MakeQuadLanFrame(link_, quad_command::kSignal);
    const auto reply = QueryWithReply(
        link_, request,
        QuadReplyWait(quad_command::kSignal, start_ms, kCommandPauseMs + kQuadQueryWindowMs),
        kCommandPauseMs);
    if (!reply.empty()) {
        ApplySignalReport(DecodeQuadSignalReply(reply));
    }
    return !reply.empty();
}

void QuadviewPanel::UpdatePipCombos() {
    const PipListChanges changes = PipListChangesFor(Block().show_mode, Block().loop_state);
    ApplyListChange(view_, qv_id::kFirstPipList, changes.first);
    ApplyListChange(view_, qv_id::kSecondPipList, changes.second);
}

void QuadviewPanel::ApplyShowMode(uint8_t mode) {
    ApplyMode(mode, ModeSource::Operator);
}

void QuadviewPanel::ApplyMode(uint8_t mode, ModeSource source) {
    AllKv2718PageData& block = Block();
    const uint8_t old_mode = block.show_mode;
    if (source == ModeSource::Operator && mode == old_mode) {
        return;
    }
    if (old_mode <= kLastShowMode && old_mode != mode) {
        view_.ShowButtonPicture(qv_id::LayoutButtonId(old_mode),
                                LayoutPicture(old_mode, ButtonLook::Normal));
    }
    if (mode <= kLastShowMode) {
        view_.ShowButtonPicture(qv_id::LayoutButtonId(mode), LayoutPicture(mode, ButtonLook::Lit));
    }
    block.show_mode = mode;

    // A PIP mode shows channel 1 with another channel inset; the device does the same itself,
    // so nothing is sent for it.
    if (IsPipShowMode(mode)) {
        auto& children = block.kora_kv2718_pip_child_ch;
        view_.SelectListRow(qv_id::kFirstPipList, 0);
        children[0] = 1;
        if (children[1] == 1) {
            view_.SelectListRow(qv_id::kSecondPipList, 1);
            children[1] = 2;
        }
    }

    if (applying_status_ != 0) {
        applying_status_ = 0;
    } else {
        SendShowMode(link_, mode);
    }
    RedrawLayout();
    UpdatePipCombos();
}

void QuadviewPanel::RedrawLayout() {
    ComputeQuadLayout(quad_);
    trace::RcRx0559ShowModeType(static_cast<const void*>(&quad_.quad_preview_window));
    view_.RepaintPreview();
}

void QuadviewPanel::OutputFormatChosen(int row) {
    if (const auto code = OutputFormatCodeOfRow(row)) {
        Block().output_format = *code;
    }
    SendOutputFormat(link_, Block().output_format);
}

void QuadviewPanel::FirstPipChosen(int row) {
    if (row < 0 || row >= kQuadChannels) {
        return;
    }
    auto& children = Block().kora_kv2718_pip_child_ch;
    const int channel = row + 1;
    trace::PipChildPicked(row, children[1]);
    if (channel == children[0] || channel == children[1]) {
        view_.SelectListRow(qv_id::kFirstPipList, PipRowOfChild(children[0]));
        return;
    }
    trace::QuadSend();
    children[0] = static_cast<uint8_t>(channel);
    SendPipChildren(link_, children[0], children[1]);
}

void QuadviewPanel::SecondPipChosen(int row) {
    if (row < 0 || row >= kQuadChannels) {
        return;
    }
    auto& children = Block().kora_kv2718_pip_child_ch;
    const int channel = row + 1;
    trace::PipChildPicked(children[0], row);
    bool refused = false;
    if (channel == children[0]) {
        trace::PipChildOneMatches();
        refused = true;
    }
    if (channel == children[1]) {
        trace::PipChildTwoMatches();
        refused = true;
    }
    if (refused) {
        view_.SelectListRow(qv_id::kSecondPipList, PipRowOfChild(children[1]));
        return;
    }
    children[1] = static_cast<uint8_t>(channel);
    SendPipChildren(link_, children[0], children[1]);
}

void QuadviewPanel::LoopClicked() {
    Block().loop_state = Block().loop_state == 0 ? 1 : 0;
    ShowLoopButton();
    SendLoopState(link_, Block().loop_state);
    UpdatePipCombos();
}

void QuadviewPanel::SendLoopTime(std::string_view field_text) {
    const int typed = LoopTimeOfText(field_text);
    trace::LoopTimeTyped(typed);
    const int seconds = std::clamp(typed, kLoopTimeMinS, kLoopTimeMaxS);
    SendLoopTimeFrame(link_, static_cast<uint16_t>(seconds));
}

void QuadviewPanel::ApplyStatusReport(const QuadStatusReport& report) {
    AllKv2718PageData& block = Block();
    if (report.traced_byte) {
        trace::StatusTracedByte(*report.traced_byte);
    }
    if (report.output_format) {
        block.output_format = *report.output_format;
        trace::OutputFormat(block.output_format);
    }
    if (report.show_mode) {
        trace::ShowMode(*report.show_mode);
    }
    if (report.text_length) {
        trace::StatusTextLength(static_cast<int>(*report.text_length));
    }
    for (size_t line = 0; line < report.label_length.size(); ++line) {
        if (!report.label_length[line]) {
            continue;
        }
        quad_.umd_name_length[line] = *report.label_length[line];
        const int length = quad_.umd_name_length[line];
        trace::LineUmdnamelen(static_cast<int>(line), length);
        if (static_cast<size_t>(length) > quad_reply::kLabelMax) {
            trace::LineUmdnamelenWrongPleaseCheckRecv(static_cast<int>(line));
        }
    }
    for (size_t i = 0; i < report.pip_child.size(); ++i) {
        if (report.pip_child[i]) {
            block.kora_kv2718_pip_child_ch[i] = *report.pip_child[i];
            trace::PipChildReported(block.kora_kv2718_pip_child_ch[i]);
        }
    }
    if (report.loop_state) {
        block.loop_state = *report.loop_state;
        trace::PipChildReported(block.loop_state);
    }
    if (report.show_mode) {
        // The reported mode is applied whatever the stored one, and never sent back.
        applying_status_ = 1;
        ApplyMode(*report.show_mode, ModeSource::Reported);
    }
}

void QuadviewPanel::ApplySignalReport(const QuadSignalReport& report) {
    for (size_t channel = 0; channel < report.size(); ++channel) {
        if (report[channel]) {
            trace::SignalStatus(*report[channel]);
            SetSignalLamp(static_cast<int>(channel), *report[channel]);
        }
    }
}

void QuadviewPanel::SetSignalLamp(int channel, uint8_t status) {
    if (channel < 0 || channel >= kQuadChannels) {
        return;
    }
    uint8_t& lamp = Block().signal_lamp[static_cast<size_t>(channel)];
    if (lamp == status) {
        return;
    }
    view_.ShowLampIcon(qv_id::LampId(channel),
                       status == 1 ? qv_picture::kLampGreen : qv_picture::kLampRed);
    trace::SignalState(status);
    lamp = status;
}

PollStart QuadviewPanel::StartSignalPoll() {
    if (poll_pending_) {
        return PollStart::AlreadyPending;
    }
    if (!MayUseUdp(link_, quad_command::kSignal)) {
        return PollStart::NotSent;
    }
    const auto request = MakeQuadLanFrame(link_, quad_command::kSignal);
    OpenCommandSocket(link_);
    if (link_.CommandSocket() < 0) {
        // No device selected (the operator has seen the box): there is nothing to wait on.
        trace::Text(kTimeoutTrace);
        return PollStart::NotSent;
    }
    SendToPeer(link_, request);
    SleepMs(kCommandPauseMs);
    poll_start_ms_ = TickMs();
    const bool held = PlaceSocketHold(link_, [this] {
        poll_pending_ = false;
        view_.SignalPollEnded();
    });
    if (!held) {
        CloseCommandSocket(link_);
        return PollStart::NotSent;
    }
    poll_pending_ = true;
    return PollStart::Started;
}

int QuadviewPanel::SignalPollSocket() const {
    return poll_pending_ ? link_.CommandSocket() : -1;
}

uint32_t QuadviewPanel::SignalPollRemainingMs() const {
    return poll_pending_ ? RemainingMs(poll_start_ms_, kQuadQueryWindowMs) : 0;
}

PollProgress QuadviewPanel::ContinueSignalPoll() {
    if (!poll_pending_) {
        return PollProgress::NotPending;
    }
    std::array<uint8_t, kQueryReceiveSize> buffer{};
    for (int read = 0; read < kMaxDatagramsPerCall; ++read) {
        const int length = ReceiveFromPeer(link_, buffer, 0);
        if (length < 0) {
            break;
        }
        Trace(kReceivedTrace, length);
        const auto datagram = std::span<const uint8_t>(buffer).first(static_cast<size_t>(length));
        if (datagram.size() > kFrameCommandOffset &&
            datagram[kFrameCommandOffset] == quad_command::kSignal) {
            ApplySignalReport(DecodeQuadSignalReply(datagram));
            FinishSignalPoll();
            return PollProgress::Answered;
        }
        trace::Text(kForeignTrace);
    }
    if (SignalPollRemainingMs() == 0) {
        trace::Text(kTimeoutTrace);
        FinishSignalPoll();
        return PollProgress::TimedOut;
    }
    return PollProgress::Pending;
}

void QuadviewPanel::FinishSignalPoll() {
    poll_pending_ = false;
    view_.SignalPollEnded();
    ReleaseSocketHold(link_);
    CloseCommandSocket(link_);
}

void QuadviewPanel::EndSignalPoll() {
    if (!poll_pending_) {
        return;
    }
    poll_pending_ = false;
    ReleaseSocketHold(link_);
    CloseCommandSocket(link_);
}

}  // namespace panoptix
