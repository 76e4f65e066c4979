#pragma once
// The transition lever and the automatic transition as one small state machine. It is fed the
// lever's positions (0 at the top to 129 at the bottom), the Auto button and timer ticks; it
// changes the block (lever_value always holds the progress of the current transition,
// lever_direction which way it runs, auto_lamp, the buses at its end) and says what to send,
// where to draw the thumb and which timer to start or stop. The timers are the caller's.
//
// Progress p is the distance from the start of the transition: the position going down
// (direction 0), 129 - position going up (direction 1). Progress 0, 1, 8, 16, ..., 128 is sent
// with command 0x82; 129 never is. A transition ends only at the far end (progress 129): the
// buses are exchanged and the direction turns. Back at its start the lever sends progress 0,
// the lamp goes out and nothing is exchanged.
#include <cstdint>
#include <optional>

#include "switcher/core/switcher_commands.h"
#include "switcher/core/switcher_state.h"

namespace panoptix {

inline constexpr uint8_t kLeverEnd = 129;       // last position, and a complete transition
inline constexpr uint8_t kLeverLastStep = 128;  // last progress sent

// Timer of the automatic transition: id 1, 2, 3 at 1, 10, 20 ms for rates 0, 1, 2.
struct AutoTimer {
    int id = 0;
    uint32_t period_ms = 0;
    bool operator==(const AutoTimer&) const = default;
};
std::optional<AutoTimer> AutoTimerForRate(uint8_t transition_rate);

// What one event asks of the caller, in this order: stop stop_timer, send commands, start
// start_timer, draw the thumb at thumb.
struct LeverEffects {
    SwitcherCommands commands;
    std::optional<int> stop_timer;
    std::optional<AutoTimer> start_timer;
    uint8_t thumb = 0;
    bool exchanged = false;  // the buses were exchanged (a transition completed)
};

class TransitionLever {
  public:
    // A new panel's lever: the thumb at the start of lever_direction, or at the stored progress
    // while a transition is under way (auto_lamp 1). No timer runs.
    explicit TransitionLever(const AllSwitcherPageData& data);

    uint8_t thumb() const { return thumb_; }
    std::optional<AutoTimer> running_timer() const { return running_; }

    // A drag moved the thumb. Stops a running automatic transition; the hand carries on from
    // the thumb.
    LeverEffects OnLeverMoving(SwitcherState& state, int position);
    // The mouse was released (or a key moved the thumb): the progress and direction follow
    // the position; nothing is sent, lit or exchanged.
    LeverEffects OnLeverMoved(SwitcherState& state, int position);
    // The Auto button: 0x84, then a timer of the current rate runs the transition from the
    // thumb. Pressed again it restarts the timer; two never run.
    LeverEffects StartAutoTransition(SwitcherState& state);
    // A tick of the automatic transition's timer; ticks of any other timer are stopped.
    LeverEffects OnAutoTimer(SwitcherState& state, int timer_id);

  private:
    void StopRunningTimer(LeverEffects& effects);
    // Sends (direction, progress) and remembers it as the last lever frame.
    static void SendLeverStep(SwitcherState& state, LeverEffects& effects, uint8_t direction,
                              uint8_t progress);
    // The far end: the step 128 first if the switcher did not get it, then the lamp goes out,
    // the direction turns and the buses are exchanged.
    void CompleteTransition(SwitcherState& state, LeverEffects& effects, uint8_t direction,
                            const char* step_trace);

    uint8_t thumb_ = kLeverEnd;
    std::optional<AutoTimer> running_;
};

// Whether a lever frame goes out at this progress: 0, 1 and every multiple of 8 below 129.
bool IsSentLeverStep(uint8_t progress);

// The thumb position of a progress in a direction.
uint8_t LeverPosition(uint8_t direction, uint8_t progress);

}  // namespace panoptix
