// The panel's lever and the simulated switcher must agree: every frame the lever sends is fed
// to the simulator, and whenever the lever rests at an end both show the same buses and
// neither sees a transition under way.
#include <gtest/gtest.h>

#include <functional>

#include "devsim/devsim_test_frames.h"
#include "switcher/core/switcher_rules.h"
#include "switcher/core/transition_lever.h"
#include "switcher_model.h"

namespace panoptix {
namespace {

// One panel (block, lever, the page's timer) wired to one simulated switcher.
class Desk {
  public:
    Desk() {
        entry_.device_type = 0xA5;
        entry_.device_address = 0x01;
        Send(PressProgramSource(block(), 1));
        Send(PressPreviewSource(block(), 2));
    }

    AllSwitcherPageData& block() { return state_.m_all_switcher_page_data; }
    const devsim::SwitcherDeviceState& device() const { return model_.State(); }

    void Move(int position) { Apply(lever_.OnLeverMoving(state_, position)); }
    void Release(int position) { Apply(lever_.OnLeverMoved(state_, position)); }
    void Drag(int from, int to) {
        const int step = to > from ? 1 : -1;
        for (int position = from + step; position != to + step; position += step) {
            Move(position);
        }
    }
    void Auto() { Apply(lever_.StartAutoTransition(state_)); }
    void Ticks(int count) {
        for (int n = 0; n < count && timer_; ++n) {
            Apply(lever_.OnAutoTimer(state_, *timer_));
        }
    }
    void RunOut() { Ticks(1000); }
    void Cut() { Send(PressCut(block())); }

  private:
    void Send(const SwitcherCommands& commands) {
        for (const auto& command : commands) {
            model_.ReceiveDatagram(BuildSwitcherFrame(entry_, command));
        }
    }
    void Apply(const LeverEffects& effects) {
        if (effects.stop_timer && timer_ == effects.stop_timer) {
            timer_.reset();
        }
        Send(effects.commands);
        if (effects.start_timer) {
            timer_ = effects.start_timer->id;
        }
    }

    DeviceEntry entry_;
    SwitcherState state_;
    TransitionLever lever_{state_.m_all_switcher_page_data};
    std::optional<int> timer_;
    devsim::SwitcherModel model_{
        devsim::testing::Identity(devsim::DeviceKind::Switcher, "SW", 0xA5)};
};

TEST(PanelDrivesSimulator, BusesAgreeWheneverTheLeverRests) {
    const std::vector<std::pair<const char*, std::function<void(Desk&)>>> scenarios = {
        {"Auto up, Auto down", [](Desk& d) { d.Auto(), d.RunOut(), d.Auto(), d.RunOut(); }},
        {"drag up, drag down", [](Desk& d) { d.Drag(129, 0), d.Drag(0, 129); }},
        {"fast drags", [](Desk& d) { d.Move(100), d.Move(0), d.Move(60), d.Move(129); }},
        {"pulled back to the start", [](Desk& d) { d.Drag(129, 100), d.Drag(100, 129); }},
        {"released at 128 and pulled back",
         [](Desk& d) { d.Drag(129, 1), d.Release(1), d.Drag(1, 60), d.Drag(60, 129); }},
        {"released at 128 and pulled straight back", [](Desk& d) { d.Drag(129, 1), d.Move(129); }},
        {"released at 128 and finished", [](Desk& d) { d.Drag(129, 1), d.Release(1), d.Move(0); }},
        {"a lever at rest that jitters", [](Desk& d) { d.Drag(129, 0), d.Move(0), d.Move(0); }},
        {"a drag during Auto",
         [](Desk& d) { d.Auto(), d.Ticks(50), d.Move(70), d.Drag(70, 0), d.Ticks(10); }},
        {"Auto pressed twice", [](Desk& d) { d.Auto(), d.Ticks(30), d.Auto(), d.RunOut(); }},
        {"Auto after a half drag", [](Desk& d) { d.Drag(129, 64), d.Auto(), d.RunOut(); }},
        {"a Cut between transitions",
         [](Desk& d) { d.Drag(129, 0), d.Cut(), d.Auto(), d.RunOut(); }},
    };
    for (const auto& [name, play] : scenarios) {
        SCOPED_TRACE(name);
        Desk desk;
        play(desk);
        EXPECT_EQ(desk.block().auto_lamp, 0);
        EXPECT_EQ(desk.device().transition_under_way, 0);
        EXPECT_EQ(desk.device().program_source, desk.block().program_source);
        EXPECT_EQ(desk.device().preview_source, desk.block().preview_source);
    }
}

}  // namespace
}  // namespace panoptix
