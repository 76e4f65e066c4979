// The lever and the automatic transition as tables: a block, a sequence of lever positions,
// Auto presses and timer ticks, and what went out, how often the buses were exchanged and
// where the lever stands. A small stand-in for the page runs the timers the lever asks for.
#include "switcher/core/transition_lever.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/recorders.h"
#include "switcher_test_support.h"

namespace panoptix {
namespace {

using switcher_testing::Text;

struct Event {
    enum class Kind { Move, Release, Auto, Ticks, RunOut, StaleTick } kind;
    int value = 0;
};

Event Move(int position) {
    return {Event::Kind::Move, position};
}
Event Release(int position) {
    return {Event::Kind::Release, position};
}
Event Auto() {
    return {Event::Kind::Auto};
}
Event Ticks(int count) {
    return {Event::Kind::Ticks, count};
}
// Ticks until the lever stops its timer.
Event RunOut() {
    return {Event::Kind::RunOut};
}
// A tick of a timer the lever does not run.
Event StaleTick(int id) {
    return {Event::Kind::StaleTick, id};
}

// One Move per position after from, up to and including to.
std::vector<Event> Drag(int from, int to) {
    std::vector<Event> events;
    const int step = to > from ? 1 : -1;
    for (int position = from + step; position != to + step; position += step) {
        events.push_back(Move(position));
    }
    return events;
}

using Sent = std::vector<std::string>;

std::string Step(int direction, int progress) {
    return Text(MakeSwitcherCommand(SwitcherCode::Lever, uint8_t(direction),
                                    static_cast<uint8_t>(progress)));
}

// The steps sent between two progress values (first excluded), in the order passed.
Sent Steps(int direction, int from, int to) {
    Sent sent;
    const int step = to > from ? 1 : -1;
    for (int p = from + step; p != to + step; p += step) {
        if (p < 129 && (p % 8 == 0 || p == 1)) {
            sent.push_back(Step(direction, p));
        }
    }
    return sent;
}

Sent Join(std::initializer_list<Sent> parts) {
    Sent all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const std::string kAuto = "84";

struct Outcome {
    Sent sent;
    int exchanges = 0;
    int ticks = 0;
    std::vector<std::string> timers;  // "start 1/1ms", "stop 1"
};

// Plays the events as the page would: runs the timer the lever starts, stops it when told.
Outcome Play(SwitcherState& state, TransitionLever& lever, const std::vector<Event>& events) {
    Outcome outcome;
    std::optional<int> running;
    auto apply = [&](const LeverEffects& effects) {
        if (effects.stop_timer) {
            outcome.timers.push_back("stop " + std::to_string(*effects.stop_timer));
            if (running == effects.stop_timer) {
                running.reset();
            }
        }
        for (const auto& command : effects.commands) {
            outcome.sent.push_back(Text(command));
            if (command.code == SwitcherCode::Lever) {
                EXPECT_LE(command.payload[0], 1) << "direction";
                EXPECT_LE(command.payload[1], 128) << "progress 129 is never sent";
            }
        }
        if (effects.start_timer) {
            outcome.timers.push_back("start " + std::to_string(effects.start_timer->id) + "/" +
                                     std::to_string(effects.start_timer->period_ms) + "ms");
            running = effects.start_timer->id;
        }
        outcome.exchanges += effects.exchanged ? 1 : 0;
        EXPECT_EQ(effects.thumb, lever.thumb());
        EXPECT_LE(state.m_all_switcher_page_data.lever_value, 129);
    };
    auto tick = [&] {
        ++outcome.ticks;
        apply(lever.OnAutoTimer(state, *running));
    };
    for (const Event& event : events) {
        switch (event.kind) {
            case Event::Kind::Move:
                apply(lever.OnLeverMoving(state, event.value));
                break;
            case Event::Kind::Release:
                apply(lever.OnLeverMoved(state, event.value));
                break;
            case Event::Kind::Auto:
                apply(lever.StartAutoTransition(state));
                break;
            case Event::Kind::Ticks:
                for (int n = 0; n < event.value && running; ++n) {
                    tick();
                }
                break;
            case Event::Kind::RunOut:
                for (int n = 0; n < 1000 && running; ++n) {
                    tick();
                }
                EXPECT_FALSE(running) << "the timer ran on";
                break;
            case Event::Kind::StaleTick:
                apply(lever.OnAutoTimer(state, event.value));
                break;
        }
    }
    return outcome;
}

std::vector<Event> Then(std::initializer_list<std::vector<Event>> parts) {
    std::vector<Event> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

struct LeverCase {
    const char* name;
    std::function<void(AllSwitcherPageData&)> block;
    std::vector<Event> events;
    Sent sent;
    int exchanges;
    int direction;  // lever_direction after
    int lamp;       // auto_lamp after
    int thumb;
    std::vector<std::string> timers = {};
    int ticks = -1;  // -1: not looked at
};

void Opening(AllSwitcherPageData&) {}
void Down(AllSwitcherPageData& b) {
    b.lever_direction = 0;
}

void RunLeverCases(const std::vector<LeverCase>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SwitcherState state;
        c.block(state.m_all_switcher_page_data);
        TransitionLever lever(state.m_all_switcher_page_data);
        const Outcome outcome = Play(state, lever, c.events);
        const auto& block = state.m_all_switcher_page_data;
        EXPECT_EQ(outcome.sent, c.sent);
        EXPECT_EQ(outcome.exchanges, c.exchanges);
        EXPECT_EQ(block.lever_direction, c.direction);
        EXPECT_EQ(block.auto_lamp, c.lamp);
        EXPECT_EQ(lever.thumb(), c.thumb);
        EXPECT_EQ(outcome.timers, c.timers);
        if (c.ticks >= 0) {
            EXPECT_EQ(outcome.ticks, c.ticks);
        }
    }
}

TEST(TransitionLever, AutomaticTransitions) {
    RunLeverCases({
        {"Auto at r1 from the opening state",
         Opening,
         {Auto(), RunOut()},
         Join({{kAuto}, Steps(1, 0, 128)}),
         1,
         0,
         0,
         0,
         {"start 1/1ms", "stop 1"},
         129},
        {"the next Auto runs from the top",
         Down,
         {Auto(), RunOut()},
         Join({{kAuto}, Steps(0, 0, 128)}),
         1,
         1,
         0,
         129,
         {"start 1/1ms", "stop 1"}},
        {"Auto at r3: timer 3, 20 ms, 129 periods",
         [](AllSwitcherPageData& b) { b.transition_rate = 2; },
         {Auto(), RunOut()},
         Join({{kAuto}, Steps(1, 0, 128)}),
         1,
         0,
         0,
         0,
         {"start 3/20ms", "stop 3"},
         129},
        {"Auto from a lever left half way",
         Down,
         Then({Drag(0, 40), {Auto(), RunOut()}}),
         Join({Steps(0, 0, 40), {kAuto}, Steps(0, 40, 128)}),
         1,
         1,
         0,
         129,
         {"start 1/1ms", "stop 1"},
         89},
        {"Auto pressed again restarts its timer from the thumb",
         Opening,
         {Auto(), Ticks(20), Auto(), RunOut()},
         // the thumb shows the previous tick: progress 19 is reloaded
         Join({{kAuto}, Steps(1, 0, 20), {kAuto}, Steps(1, 19, 128)}),
         1,
         0,
         0,
         0,
         {"start 1/1ms", "stop 1", "start 1/1ms", "stop 1"}},
        {"a rate outside r1-r3 starts no timer; the lamp lights",
         [](AllSwitcherPageData& b) { b.transition_rate = 5; },
         {Auto()},
         {kAuto},
         0,
         1,
         1,
         129},
    });
}

TEST(TransitionLever, DragsAndTheirEdges) {
    RunLeverCases({
        {"drag from the bottom to the top", Opening, Drag(129, 0),
         Join({Steps(1, 0, 128), {Step(0, 0)}}), 1, 0, 0, 0},
        {"drag from the top to the bottom: nothing sent at 129", Down, Drag(0, 129),
         Steps(0, 0, 128), 1, 1, 0, 129},
        {"released at 128 going down: under way", Down, Then({Drag(0, 128), {Release(128)}}),
         Steps(0, 0, 128), 0, 0, 1, 128},
        {"released at 128, then on to 129", Down, Then({Drag(0, 128), {Release(128), Move(129)}}),
         Steps(0, 0, 128), 1, 1, 0, 129},
        {"positions 7 then 9: no frame for 8", Down, {Move(7), Move(9)}, {}, 0, 0, 1, 9},
        {"a release or key at the far end turns the direction only",
         Down,
         {Release(129)},
         {},
         0,
         1,
         0,
         129},
    });
}

// The lever back at its start sends progress 0, puts the lamp out and exchanges nothing; a
// transition ends only at the far end.
TEST(TransitionLever, BackAtTheStartNothingIsExchanged) {
    RunLeverCases({
        {"pulled back to the top going down", Down, Then({Drag(0, 16), Drag(16, 0)}),
         Join({Steps(0, 0, 16), Steps(0, 16, 0)}), 0, 0, 0, 0},
        {"pulled back to the bottom going up", Opening, Then({Drag(129, 110), Drag(110, 129)}),
         Join({Steps(1, 0, 19), Steps(1, 19, 0)}), 0, 1, 0, 129},
        {"a lever at rest that jitters",
         Opening,
         {Move(129), Move(129)},
         {Step(1, 0), Step(1, 0)},
         0,
         1,
         0,
         129},
        {"jitter after a drag down completed", Down, Then({Drag(0, 129), {Move(129), Move(129)}}),
         Join({Steps(0, 0, 128), {Step(1, 0), Step(1, 0)}}), 1, 1, 0, 129},
        {"released at 128 and pulled back", Down, Then({Drag(0, 128), Drag(128, 100)}),
         Join({Steps(0, 0, 128), Steps(0, 128, 100)}), 0, 0, 1, 100},
    });
}

TEST(TransitionLever, MendedFaults) {
    RunLeverCases({
        {"a fast drag down skips 128: it is sent at the far end",
         Down,
         {Move(5), Move(60), Move(129)},
         {Step(0, 128)},
         1,
         1,
         0,
         129},
        {"a fast drag up skips 128: sent before the frame at the top",
         Opening,
         {Move(100), Move(0)},
         {Step(1, 128), Step(0, 0)},
         1,
         0,
         0,
         0},
        // The last step sent was 128 too, but going down: the switcher is mid-mix going up.
        {"after a drag down, a fast drag back up skips 128: sent going up", Down,
         Then({Drag(0, 129), {Move(60), Move(0)}}),
         Join({Steps(0, 0, 128), {Step(1, 128), Step(0, 0)}}), 2, 0, 0, 0},
        {"a drag during Auto stops its timer and carries on from the thumb",
         Opening,
         Then({{Auto(), Ticks(10), Move(118)}, Drag(118, 0), {StaleTick(1)}}),
         // ten ticks send 1 and 8; the thumb shows progress 9 (120); the hand goes on from 11
         Join({{kAuto}, Steps(1, 0, 10), Steps(1, 11, 128), {Step(0, 0)}}),
         1,
         0,
         0,
         0,
         {"start 1/1ms", "stop 1", "stop 1"}},
        {"a stored progress of 129 completes at the first tick, never counts past it",
         [](AllSwitcherPageData& b) {
             b.lever_direction = 0;
             b.auto_lamp = 1;
             b.lever_value = 129;
         },
         {Auto(), RunOut()},
         {kAuto, Step(0, 128)},
         1,
         1,
         0,
         129,
         {"start 1/1ms", "stop 1"},
         1},
        {"a stored value beyond the lever stays within it",
         [](AllSwitcherPageData& b) {
             b.auto_lamp = 1;
             b.lever_value = 250;
         },
         {Auto(), RunOut()},
         {kAuto, Step(1, 128)},
         1,
         0,
         0,
         0,
         {"start 1/1ms", "stop 1"},
         1},
    });
}

TEST(TransitionLever, ANewPanelPutsTheThumbWhereTheBlockSays) {
    struct Case {
        int direction, lamp, value, thumb;
    };
    for (const Case c : {Case{1, 0, 0, 129}, Case{0, 0, 0, 0}, Case{1, 0, 77, 129},
                         Case{1, 1, 30, 99}, Case{0, 1, 30, 30}, Case{0, 1, 200, 129}}) {
        AllSwitcherPageData block;
        block.lever_direction = uint8_t(c.direction);
        block.auto_lamp = uint8_t(c.lamp);
        block.lever_value = uint8_t(c.value);
        EXPECT_EQ(TransitionLever(block).thumb(), c.thumb)
            << c.direction << " " << c.lamp << " " << c.value;
    }
}

TEST(TransitionLever, Traces) {
    testing_support::TraceRecorder traces;
    SwitcherState state;
    TransitionLever lever(state.m_all_switcher_page_data);
    Play(state, lever, {Auto(), RunOut(), Move(1)});
    std::vector<std::string> expected{"auto beign pos  = 129 \n ", "move over\n"};
    for (const int p : {1, 8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112, 120, 128}) {
        expected.push_back("send up pos = " + std::to_string(p) + "\n");
    }
    expected.insert(expected.end(), {"auto up \n", "kill timer pos = 0 \n ", "moving 1\n"});
    EXPECT_EQ(traces.lines(), expected);
}

TEST(TransitionLever, ADragHoldsItsProgressAndExchangesAtTheFarEnd) {
    SwitcherState state;
    auto& block = state.m_all_switcher_page_data;
    block.program_source = 3;
    block.preview_source = 5;
    TransitionLever lever(block);
    Play(state, lever, Drag(129, 60));
    EXPECT_EQ(block.auto_lamp, 1);
    EXPECT_EQ(block.lever_value, 69);
    Play(state, lever, Drag(60, 0));
    EXPECT_EQ(block.program_source, 5);
    EXPECT_EQ(block.preview_source, 3);
    EXPECT_EQ(block.lever_value, 0);
}

}  // namespace
}  // namespace panoptix
