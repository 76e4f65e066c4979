#include "multiviewer/core/multiviewer_actions.h"

#include <utility>

#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/multiviewer_tables.h"
#include "multiviewer/core/status_query.h"

namespace panoptix {
namespace {

using WindowColours = std::array<uint8_t, kMultiviewerWindows>;
using ColourSender = void (*)(DeviceLink&, MultiviewerState&, CommandRoute, uint8_t);

struct ColourRow {
    WindowColours All16ViewPageData::*colours;
    ColourSender send;
};

ColourRow RowOf(ColourField field) {
    switch (field) {
        case ColourField::UmdText:
            return {&All16ViewPageData::umd_text_color, &SendUmdTextColor};
        case ColourField::UmdBack:
            return {&All16ViewPageData::umd_back_color, &SendUmdBackColor};
        case ColourField::ResolutionText:
            return {&All16ViewPageData::resolution_text_color, &SendResolutionTextColor};
        case ColourField::ResolutionBack:
            break;
    }
    return {&All16ViewPageData::resolution_back_color, &SendResolutionBackColor};
}

int32_t ShownFlag(uint8_t on) {
    return on != 0 ? 1 : 0;
}

}  // namespace

bool QueryStatus(DeviceLink& link, MultiviewerState& mv) {
    if (link.mode() == ConnectionMode::Lan) {
        return QueryStatusOverLan(link, mv);
    }
    return QueryStatusOverSerial(link, mv);
}

void ChooseColour(DeviceLink& link, MultiviewerState& mv, CommandRoute route, ColourField field,
                  uint8_t channel, uint8_t code) {
    const ColourRow row = RowOf(field);
    WindowColours& colours = mv.m_all_16_view_page_data.*(row.colours);
    if (channel == 0) {
        colours.fill(code);
    } else if (channel <= kMultiviewerWindows) {
        colours[static_cast<size_t>(channel - 1)] = code;
    }
    row.send(link, mv, route, code);
}

void ChooseAudioMeters(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on) {
    SendAudioEnable(link, mv, route, on);
    mv.audio_meter_shown = ShownFlag(on);
}

void ChooseUmdLabels(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on) {
    SendUmdEnable(link, mv, route, on);
    mv.umd_shown = ShownFlag(on);
}

void ChooseResolutionLabels(DeviceLink& link, MultiviewerState& mv, CommandRoute route,
                            uint8_t on) {
    SendResolutionEnable(link, mv, route, on);
    mv.resolution_shown = ShownFlag(on);
}

void ChooseResolutionType(DeviceLink& link, MultiviewerState& mv, CommandRoute route,
                          uint8_t index) {
    mv.m_all_16_view_page_data.resolution_type = index;
    if (const auto code = ResolutionCodeOfIndex(index)) {
        SendResolutionType(link, mv, route, *code);
    }
}

void ChooseBorder(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on) {
    mv.m_all_16_view_page_data.border_enable = on;
    SendBorderEnable(link, mv, route, on);
}

void ChooseLock(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t on) {
    mv.m_all_16_view_page_data.lock_state = on;
    SendLockState(link, mv, route, on);
}

void ChooseUmdLabel(DeviceLink& link, MultiviewerState& mv, CommandRoute route, uint8_t window,
                    std::u16string text) {
    if (window < 1 || window > kMultiviewerWindows) {
        return;
    }
    mv.umd_name[static_cast<size_t>(window - 1)] = std::move(text);
    SendUmdLabel(link, mv, route, window);
}

bool RestoreDefaults(DeviceLink& link, MultiviewerState& mv, CommandRoute route) {
    if (route == CommandRoute::Serial && !link.SerialPort().IsOpen()) {
        return false;
    }
    SendSetDefault(link, mv, route);
    return true;
}

}  // namespace panoptix
