#pragma once
// The switcher panel without its widgets: each operator action runs its rule on the block and
// sends what the rule decided; the page then repaints everything from the block (pictures,
// settings page, thumb) and runs the timers the lever asks for. Every frame goes by UDP.
// A panel opened while the main window was on the serial link (m_eState 1) has no LAN row of
// its own (m_device_index then counts serial replies): like a panel with no device selected,
// it sends nothing and tells the operator "Please choose a device", once per action of the
// operator that would have sent; never for a timer tick and never while its box is open, so an
// automatic transition cannot stack up boxes.
#include <cstdint>

#include "link/device_link.h"
#include "switcher/core/settings_rules.h"
#include "switcher/core/switcher_rules.h"
#include "switcher/core/switcher_state.h"
#include "switcher/core/transition_lever.h"

namespace panoptix {

class SwitcherPanel {
  public:
    SwitcherPanel(DeviceLink& link, SwitcherState& state);

    const AllSwitcherPageData& data() const { return state_.m_all_switcher_page_data; }
    bool has_lan_row() const { return has_lan_row_; }
    const TransitionLever& lever() const { return lever_; }

    // Panel buttons.
    void PressProgramSource(uint8_t source);
    void PressPreviewSource(uint8_t source);
    void PressCut();
    void PressLayer(SwitcherLayer layer);
    void PressBackground();
    void PressOnAir();
    void PressOnAir2();
    void PressFadeToBlack();
    void PressTransitionType(uint8_t n);
    void PressTransitionRate(uint8_t n);

    // Lever and Auto: the caller stops/starts its timers and moves the thumb as told.
    LeverEffects PressAuto();
    LeverEffects LeverMoving(int position);
    LeverEffects LeverMoved(int position);
    LeverEffects AutoTimerTick(int timer_id);

    // Settings pages.
    void PressWipePattern(int pattern);
    void PickDipSource(int index);
    void PickWipeSource(int index);
    void PickWipeStyle(int index);
    void PickKey1Source(int index);
    void MoveKey1Slider(ColourChannel channel, int level);
    void ReleaseKey1Sliders(ColourLevels levels);
    void PickKey2Source(int index);
    void PickChromaType(int index);
    void ReleaseKey2Sliders(ColourLevels levels);
    void PickPipSource(int index);
    void PickPipBorderEnable(int index);
    void PickPipBorderColour(int index);
    void PickPipBorderWidth(int index);
    void ReleasePipSlider(PipSlider slider, int position);

    // Who asked for a send: the operator (a press, a pick, a lever message) or a timer.
    enum class Origin { Operator, Timer };
    // Sends commands in order (each one a frame of its own).
    void Send(const SwitcherCommands& commands, Origin origin = Origin::Operator);
    // Whether frames can reach a device: a LAN row of this panel is selected.
    bool CanSend() const;

  private:
    AllSwitcherPageData& block() { return state_.m_all_switcher_page_data; }
    LeverEffects SendLever(LeverEffects effects, Origin origin = Origin::Operator);

    DeviceLink& link_;
    SwitcherState& state_;
    bool has_lan_row_;
    TransitionLever lever_;
    bool telling_ = false;  // the "Please choose a device" box is open
};

}  // namespace panoptix
