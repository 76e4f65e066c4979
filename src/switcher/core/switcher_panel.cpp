#include "switcher/core/switcher_panel.h"

#include "link/operator_messages.h"

namespace panoptix {

SwitcherPanel::SwitcherPanel(DeviceLink& link, SwitcherState& state)
    : link_(link),
      state_(state),
      has_lan_row_(link.mode() == ConnectionMode::Lan),
      lever_(state.m_all_switcher_page_data) {}

bool SwitcherPanel::CanSend() const {
    return has_lan_row_ && link_.SelectedEntry() != nullptr;
}

void SwitcherPanel::Send(const SwitcherCommands& commands, Origin origin) {
    if (commands.empty()) {
        return;
    }
    if (!CanSend()) {
        if (origin == Origin::Operator && !telling_) {
            telling_ = true;
            ShowErrorMessage(kMessageChooseDevice);
            telling_ = false;
        }
        return;
    }
    for (const auto& command : commands) {
        SendSwitcherCommand(link_, command);
    }
}

LeverEffects SwitcherPanel::SendLever(LeverEffects effects, Origin origin) {
    Send(effects.commands, origin);
    return effects;
}

void SwitcherPanel::PressProgramSource(uint8_t source) {
    Send(panoptix::PressProgramSource(block(), source));
}

void SwitcherPanel::PressPreviewSource(uint8_t source) {
    Send(panoptix::PressPreviewSource(block(), source));
}

void SwitcherPanel::PressCut() {
    Send(panoptix::PressCut(block()));
}

void SwitcherPanel::PressLayer(SwitcherLayer layer) {
    Send(panoptix::PressLayer(block(), layer));
}

void SwitcherPanel::PressBackground() {
    Send(panoptix::PressBackground(block()));
}

void SwitcherPanel::PressOnAir() {
    Send(panoptix::PressOnAir(block()));
}

void SwitcherPanel::PressOnAir2() {
    Send(panoptix::PressOnAir2(block()));
}

void SwitcherPanel::PressFadeToBlack() {
    Send(panoptix::PressFadeToBlack(block()));
}

void SwitcherPanel::PressTransitionType(uint8_t n) {
    Send(panoptix::PressTransitionType(block(), n));
}

void SwitcherPanel::PressTransitionRate(uint8_t n) {
    panoptix::PressTransitionRate(block(), n);
}

LeverEffects SwitcherPanel::PressAuto() {
    return SendLever(lever_.StartAutoTransition(state_));
}

LeverEffects SwitcherPanel::LeverMoving(int position) {
    return SendLever(lever_.OnLeverMoving(state_, position));
}

LeverEffects SwitcherPanel::LeverMoved(int position) {
    return SendLever(lever_.OnLeverMoved(state_, position));
}

LeverEffects SwitcherPanel::AutoTimerTick(int timer_id) {
    return SendLever(lever_.OnAutoTimer(state_, timer_id), Origin::Timer);
}

void SwitcherPanel::PressWipePattern(int pattern) {
    Send(SelectWipeStyle(block(), pattern));
}

void SwitcherPanel::PickDipSource(int index) {
    Send(panoptix::PickDipSource(block(), index));
}

void SwitcherPanel::PickWipeSource(int index) {
    Send(panoptix::PickWipeSource(block(), index));
}

void SwitcherPanel::PickWipeStyle(int index) {
    Send(panoptix::PickWipeStyle(block(), index));
}

void SwitcherPanel::PickKey1Source(int index) {
    Send(panoptix::PickKey1Source(block(), index));
}

void SwitcherPanel::MoveKey1Slider(ColourChannel channel, int level) {
    panoptix::MoveKey1Slider(block(), channel, level);
}

void SwitcherPanel::ReleaseKey1Sliders(ColourLevels levels) {
    Send(panoptix::ReleaseKey1Sliders(block(), levels));
}

void SwitcherPanel::PickKey2Source(int index) {
    Send(panoptix::PickKey2Source(block(), index));
}

void SwitcherPanel::PickChromaType(int index) {
    Send(panoptix::PickChromaType(block(), index));
}

void SwitcherPanel::ReleaseKey2Sliders(ColourLevels levels) {
    Send(panoptix::ReleaseKey2Sliders(block(), levels));
}

void SwitcherPanel::PickPipSource(int index) {
    Send(panoptix::PickPipSource(block(), index));
}

void SwitcherPanel::PickPipBorderEnable(int index) {
    Send(panoptix::PickPipBorderEnable(block(), index));
}

void SwitcherPanel::PickPipBorderColour(int index) {
    Send(panoptix::PickPipBorderColour(block(), index));
}

void SwitcherPanel::PickPipBorderWidth(int index) {
    Send(panoptix::PickPipBorderWidth(block(), index));
}

void SwitcherPanel::ReleasePipSlider(PipSlider slider, int position) {
    Send(panoptix::ReleasePipSlider(block(), slider, position));
}

}  // namespace panoptix
