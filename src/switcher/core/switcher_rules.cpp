#include "switcher/core/switcher_rules.h"

#include <utility>

#include "link/trace_events.h"

namespace panoptix {
namespace {

struct LayerRow {
    uint8_t AllSwitcherPageData::*field;
    SwitcherCode code;
    bool sends_state;  // the frame carries the field's value from before the press
    SettingsPage page;
};

// Rows for PIP, KEY 1, KEY 2 (layers 1-3).
constexpr LayerRow kLayers[] = {
    {&AllSwitcherPageData::pip_on, SwitcherCode::Pip, false, SettingsPage::Pip},
    {&AllSwitcherPageData::key1_on, SwitcherCode::Key1, true, SettingsPage::Key1},
    {&AllSwitcherPageData::key2_on, SwitcherCode::Key2, true, SettingsPage::Key2},
};

constexpr SwitcherCode kTypeCodes[] = {SwitcherCode::Mix, SwitcherCode::Dip, SwitcherCode::Wipe};

uint8_t Toggled(uint8_t value) {
    return value == 1 ? 0 : 1;
}

}  // namespace

bool StoredSettingsPage(const AllSwitcherPageData& data, SettingsPage& page) {
    if (data.settings_page >= kSettingsPages) {
        return false;
    }
    page = static_cast<SettingsPage>(data.settings_page);
    return true;
}

void SelectProgramSource(AllSwitcherPageData& data, uint8_t source) {
    data.program_source = source;
}

void SelectPreviewSource(AllSwitcherPageData& data, uint8_t source) {
    data.preview_source = source;
}

void ExchangeBuses(AllSwitcherPageData& data) {
    std::swap(data.program_source, data.preview_source);
}

void SelectLayer(AllSwitcherPageData& data, uint8_t n) {
    if (n >= 1 && n <= 3) {
        data.pip_on = n == 1 ? data.pip_on : 0;
        data.key1_on = n == 2 ? data.key1_on : 0;
        data.key2_on = n == 3 ? data.key2_on : 0;
    }
    data.selected_layer = n;
}

void SelectTransitionType(AllSwitcherPageData& data, uint8_t n) {
    data.transition_type = n;
}

void SelectTransitionRate(AllSwitcherPageData& data, uint8_t n) {
    if (n <= 2) {
        data.transition_rate = n;
    }
}

bool ShowSettingsPage(AllSwitcherPageData& data, uint8_t n) {
    if (data.settings_page == n || n >= kSettingsPages) {
        return false;
    }
    data.settings_page = n;
    return true;
}

SwitcherCommands PressProgramSource(AllSwitcherPageData& data, uint8_t source) {
    if (data.program_source != source) {
        SelectProgramSource(data, source);
    }
    return {MakeSwitcherCommand(SwitcherCode::Program, data.program_source)};
}

SwitcherCommands PressPreviewSource(AllSwitcherPageData& data, uint8_t source) {
    if (data.preview_source != source) {
        SelectPreviewSource(data, source);
    }
    return {MakeSwitcherCommand(SwitcherCode::Preview, data.preview_source)};
}

SwitcherCommands PressCut(AllSwitcherPageData& data) {
    ExchangeBuses(data);
    return {MakeSwitcherCommand(SwitcherCode::Cut)};
}

SwitcherCommands PressLayer(AllSwitcherPageData& data, SwitcherLayer layer) {
    const auto n = static_cast<uint8_t>(layer);
    if (n < 1 || n > 3) {
        return {};
    }
    const LayerRow& row = kLayers[n - 1];
    uint8_t& field = data.*row.field;
    const SwitcherCommand command =
        row.sends_state ? MakeSwitcherCommand(row.code, field) : MakeSwitcherCommand(row.code);
    if (field == 1) {
        if (data.bkgd_on == 0) {
            return {};
        }
        field = 0;
        trace::PipChildReported(0);
        if (data.selected_layer != 0) {
            SelectLayer(data, 0);
        }
    } else {
        field = 1;
        trace::PipChildReported(n);
        if (data.selected_layer != n) {
            SelectLayer(data, n);
        }
    }
    ShowSettingsPage(data, static_cast<uint8_t>(row.page));
    return {command};
}

SwitcherCommands PressBackground(AllSwitcherPageData& data) {
    const SwitcherCommand command = MakeSwitcherCommand(SwitcherCode::Background, data.bkgd_on);
    if (data.selected_layer != 0) {
        data.bkgd_on = Toggled(data.bkgd_on);
    }
    return {command};
}

SwitcherCommands PressOnAir(AllSwitcherPageData& data) {
    const SwitcherCommand command = MakeSwitcherCommand(SwitcherCode::OnAir, data.on_air);
    data.on_air = Toggled(data.on_air);
    return {command};
}

SwitcherCommands PressOnAir2(AllSwitcherPageData& data) {
    const SwitcherCommand command = MakeSwitcherCommand(SwitcherCode::OnAir2, data.on_air_2);
    data.on_air_2 = Toggled(data.on_air_2);
    return {command};
}

SwitcherCommands PressFadeToBlack(AllSwitcherPageData& data) {
    data.ftb_on = Toggled(data.ftb_on);
    return {MakeSwitcherCommand(SwitcherCode::FadeToBlack)};
}

SwitcherCommands PressTransitionType(AllSwitcherPageData& data, uint8_t n) {
    if (n < 1 || n > 3) {
        return {};
    }
    if (data.transition_type != n) {
        SelectTransitionType(data, n);
    }
    ShowSettingsPage(data, static_cast<uint8_t>(SettingsPage::Transition));
    return {MakeSwitcherCommand(kTypeCodes[n - 1])};
}

void PressTransitionRate(AllSwitcherPageData& data, uint8_t n) {
    if (data.auto_lamp != 1 && data.transition_rate != n) {
        SelectTransitionRate(data, n);
    }
}

}  // namespace panoptix
