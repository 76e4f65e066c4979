#include "switcher/core/transition_lever.h"

#include <algorithm>

#include "link/trace_events.h"
#include "switcher/core/switcher_rules.h"

namespace panoptix {
namespace {

uint8_t Direction(const AllSwitcherPageData& data) {
    return data.lever_direction == 0 ? 0 : 1;
}

uint8_t Progress(uint8_t direction, uint8_t position) {
    return direction == 0 ? position : static_cast<uint8_t>(kLeverEnd - position);
}

uint8_t ClampPosition(int position) {
    return static_cast<uint8_t>(std::clamp(position, 0, static_cast<int>(kLeverEnd)));
}

}  // namespace

bool IsSentLeverStep(uint8_t progress) {
    return progress < kLeverEnd && (progress % 8 == 0 || progress == 1);
}

std::optional<AutoTimer> AutoTimerForRate(uint8_t transition_rate) {
    switch (transition_rate) {
        case 0:
            return AutoTimer{1, 1};
        case 1:
            return AutoTimer{2, 10};
        case 2:
            return AutoTimer{3, 20};
        default:
            return std::nullopt;
    }
}

uint8_t LeverPosition(uint8_t direction, uint8_t progress) {
    const uint8_t done = std::min(progress, kLeverEnd);
    return direction == 0 ? done : static_cast<uint8_t>(kLeverEnd - done);
}

TransitionLever::TransitionLever(const AllSwitcherPageData& data) {
    const uint8_t direction = Direction(data);
    thumb_ = data.auto_lamp == 1 ? LeverPosition(direction, data.lever_value)
                                 : LeverPosition(direction, 0);
}

void TransitionLever::StopRunningTimer(LeverEffects& effects) {
    if (running_) {
        effects.stop_timer = running_->id;
        running_.reset();
    }
}

void TransitionLever::SendLeverStep(SwitcherState& state, LeverEffects& effects, uint8_t direction,
                                    uint8_t progress) {
    effects.commands.push_back(MakeSwitcherCommand(SwitcherCode::Lever, direction, progress));
    state.switcher_last_lever_frame = LeverFrameSent{direction, progress, true};
}

void TransitionLever::CompleteTransition(SwitcherState& state, LeverEffects& effects,
                                         uint8_t direction, const char* step_trace) {
    AllSwitcherPageData& data = state.m_all_switcher_page_data;
    const LeverFrameSent& last = state.switcher_last_lever_frame;
    // A fast drag skips positions: without its last step the switcher would stay mid-mix.
    if (!last.sent || last.direction != direction || last.progress != kLeverLastStep) {
        Trace(step_trace, kLeverLastStep);
        SendLeverStep(state, effects, direction, kLeverLastStep);
    }
    data.auto_lamp = 0;
    data.lever_direction = direction == 0 ? 1 : 0;
    data.lever_value = 0;
    ExchangeBuses(data);
    effects.exchanged = true;
}

LeverEffects TransitionLever::OnLeverMoving(SwitcherState& state, int position) {
    AllSwitcherPageData& data = state.m_all_switcher_page_data;
    LeverEffects effects;
    StopRunningTimer(effects);
    thumb_ = ClampPosition(position);
    const uint8_t direction = Direction(data);
    const uint8_t progress = Progress(direction, thumb_);
    if (progress == kLeverEnd) {
        CompleteTransition(state, effects, direction, "moving %d\n");
        if (direction == 1) {
            // Arriving at the top tells the switcher that the next transition starts there.
            trace::LeverMoving(0);
            SendLeverStep(state, effects, 0, 0);
        }
    } else {
        data.lever_value = progress;
        if (IsSentLeverStep(progress)) {
            trace::LeverMoving(progress);
            SendLeverStep(state, effects, direction, progress);
        }
        // Back at its start the transition is not under way; nothing is exchanged.
        data.auto_lamp = progress == 0 ? 0 : 1;
    }
    effects.thumb = thumb_;
    return effects;
}

LeverEffects TransitionLever::OnLeverMoved(SwitcherState& state, int position) {
    AllSwitcherPageData& data = state.m_all_switcher_page_data;
    LeverEffects effects;
    StopRunningTimer(effects);
    thumb_ = ClampPosition(position);
    const uint8_t direction = Direction(data);
    const uint8_t progress = Progress(direction, thumb_);
    if (progress == kLeverEnd) {
        data.lever_direction = direction == 0 ? 1 : 0;
        data.lever_value = 0;
    } else {
        data.lever_value = progress;
    }
    effects.thumb = thumb_;
    return effects;
}

LeverEffects TransitionLever::StartAutoTransition(SwitcherState& state) {
    AllSwitcherPageData& data = state.m_all_switcher_page_data;
    LeverEffects effects;
    StopRunningTimer(effects);
    effects.commands.push_back(MakeSwitcherCommand(SwitcherCode::Auto));
    data.lever_value = Progress(Direction(data), thumb_);
    trace::AutoBeignPos(thumb_);
    running_ = AutoTimerForRate(data.transition_rate);
    effects.start_timer = running_;
    data.auto_lamp = 1;
    trace::MoveOver();
    effects.thumb = thumb_;
    return effects;
}

LeverEffects TransitionLever::OnAutoTimer(SwitcherState& state, int timer_id) {
    AllSwitcherPageData& data = state.m_all_switcher_page_data;
    LeverEffects effects;
    if (!running_ || running_->id != timer_id) {
        effects.stop_timer = timer_id;  // a tick nobody runs: stop it
        effects.thumb = thumb_;
        return effects;
    }
    const uint8_t direction = Direction(data);
    uint8_t progress = std::min(data.lever_value, kLeverEnd);
    thumb_ = LeverPosition(direction, progress);  // the thumb shows the previous tick
    progress = std::min<uint8_t>(static_cast<uint8_t>(progress + 1), kLeverEnd);
    data.lever_value = progress;
    const char* step_trace = direction == 0 ? "send down pos = %d\n" : "send up pos = %d\n";
    if (progress < kLeverEnd) {
        if (IsSentLeverStep(progress)) {
            Trace(step_trace, progress);
            SendLeverStep(state, effects, direction, progress);
        }
        data.auto_lamp = 1;
        effects.thumb = thumb_;
        return effects;
    }
    CompleteTransition(state, effects, direction, step_trace);
    Trace(direction == 0 ? "auto down \n" : "auto up \n");
    thumb_ = LeverPosition(direction, kLeverEnd);
    trace::KillTimerPos(thumb_);
    StopRunningTimer(effects);
    effects.thumb = thumb_;
    return effects;
}

}  // namespace panoptix
