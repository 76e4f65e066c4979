#include "multiviewer/core/multiviewer_commands.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "link/command_frame.h"
#include "link/trace_events.h"
#include "link/udp_transport.h"
#include "multiviewer/core/preview_geometry.h"

namespace panoptix {
namespace {

// What a command does to the preview (or the state) once it has gone out, or before.
enum class FollowUp {
    None,
    WholePreview,
    AudioBars,
    UmdBars,
    UmdBarsFirst,  // before the frame is even built, on both links
    ResolutionBars,
    DefaultSettings,
};

struct CommandRow {
    MultiviewerCommand command;
    FollowUp follow_up;
};

constexpr std::array<CommandRow, 15> kCommandTable{{
    {MultiviewerCommand::Layout, FollowUp::WholePreview},
    {MultiviewerCommand::ResolutionType, FollowUp::None},
    {MultiviewerCommand::ResolutionEnable, FollowUp::ResolutionBars},
    {MultiviewerCommand::UmdEnable, FollowUp::UmdBars},
    {MultiviewerCommand::UmdLabel, FollowUp::None},
    {MultiviewerCommand::AudioEnable, FollowUp::AudioBars},
    {MultiviewerCommand::AudioSource, FollowUp::None},
    {MultiviewerCommand::UmdTextColor, FollowUp::None},
    {MultiviewerCommand::UmdBackColor, FollowUp::UmdBarsFirst},
    {MultiviewerCommand::ResolutionTextColor, FollowUp::None},
    {MultiviewerCommand::ResolutionBackColor, FollowUp::ResolutionBars},
    {MultiviewerCommand::SetDefault, FollowUp::DefaultSettings},
    {MultiviewerCommand::BorderEnable, FollowUp::None},
    {MultiviewerCommand::LockState, FollowUp::None},
    {MultiviewerCommand::WindowSource, FollowUp::None},
}};

FollowUp FollowUpOf(MultiviewerCommand command) {
    const auto row = std::find_if(kCommandTable.begin(), kCommandTable.end(),
                                  [command](const CommandRow& r) { return r.command == command; });
    return row == kCommandTable.end() ? FollowUp::None : row->follow_up;
}

void RunFollowUp(MultiviewerState& mv, FollowUp follow_up) {
    switch (follow_up) {
        case FollowUp::WholePreview:
            RecomputePreview(mv);
            break;
        case FollowUp::AudioBars:
            ComputeAudioBars(mv);
            break;
        case FollowUp::UmdBars:
            ComputeUmdBars(mv);
            break;
        case FollowUp::ResolutionBars:
            ComputeResolutionBars(mv);
            break;
        case FollowUp::DefaultSettings:
            ApplyDefaultSettings(mv);
            RecomputePreview(mv);
            break;
        case FollowUp::None:
        case FollowUp::UmdBarsFirst:
            break;
    }
}

std::vector<uint8_t> BuildFrame(const DeviceLink& link, CommandRoute via,
                                MultiviewerCommand command, std::span<const uint8_t> payload) {
    const LinkByte link_byte = via == CommandRoute::Lan ? LinkByte::Udp : LinkByte::Serial;
    return MakeCommandFrame(link.FrameEntry(), link_byte, static_cast<uint8_t>(command), payload);
}

void SendFrame(DeviceLink& link, MultiviewerState& mv, CommandRoute via, MultiviewerCommand command,
               std::span<const uint8_t> frame) {
    if (TransmitCommand(link, via, frame)) {
        RunFollowUp(mv, FollowUpOf(command));
    }
}

void SendCommand(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                 MultiviewerCommand command, std::span<const uint8_t> payload) {
    if (FollowUpOf(command) == FollowUp::UmdBarsFirst) {
        ComputeUmdBars(mv);
    }
    SendFrame(link, mv, via, command, BuildFrame(link, via, command, payload));
}

void SendOneByte(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                 MultiviewerCommand command, uint8_t value) {
    const std::array<uint8_t, 1> payload{value};
    SendCommand(link, mv, via, command, payload);
}

void SendTwoBytes(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                  MultiviewerCommand command, uint8_t first, uint8_t second) {
    const std::array<uint8_t, 2> payload{first, second};
    SendCommand(link, mv, via, command, payload);
}

// The label payload: window, three 16-bit values 1, a byte 1, then the text as UTF-16 code
// units low byte first, without terminator.
std::vector<uint8_t> UmdLabelPayload(uint8_t window, const std::u16string& name) {
    std::vector<uint8_t> payload{window, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01};
    const size_t chars = std::min(name.size(), kUmdLabelMaxChars);
    for (size_t at = 0; at < chars; ++at) {
        payload.push_back(static_cast<uint8_t>(name[at] & 0xFF));
        payload.push_back(static_cast<uint8_t>(name[at] >> 8));
    }
    return payload;
}

}  // namespace

void SendLayout(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t layout_code) {
    SendOneByte(link, mv, via, MultiviewerCommand::Layout, layout_code);
}

void SendResolutionType(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                        uint8_t resolution_code) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::ResolutionType, 0, resolution_code);
}

void SendResolutionEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                          uint8_t enable) {
    SendOneByte(link, mv, via, MultiviewerCommand::ResolutionEnable, enable);
}

void SendUmdEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable) {
    SendOneByte(link, mv, via, MultiviewerCommand::UmdEnable, enable);
}

void SendUmdLabel(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t window) {
    if (window < 1 || window > kMultiviewerWindows) {
        return;  // no such window, no label to send
    }
    const auto payload = UmdLabelPayload(window, mv.umd_name[window - 1u]);
    const auto frame = BuildFrame(link, via, MultiviewerCommand::UmdLabel, payload);
    trace::UmdFrameLength(static_cast<int>(frame.size()));
    SendFrame(link, mv, via, MultiviewerCommand::UmdLabel, frame);
}

void SendAudioEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable) {
    SendOneByte(link, mv, via, MultiviewerCommand::AudioEnable, enable);
}

void SendAudioSource(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t channel) {
    SendOneByte(link, mv, via, MultiviewerCommand::AudioSource, channel);
}

void SendUmdTextColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                      uint8_t color_code) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::UmdTextColor,
                 mv.m_all_16_view_page_data.umd_color_channel, color_code);
}

void SendUmdBackColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                      uint8_t color_code) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::UmdBackColor,
                 mv.m_all_16_view_page_data.umd_color_channel, color_code);
}

void SendResolutionTextColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                             uint8_t color_code) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::ResolutionTextColor,
                 mv.m_all_16_view_page_data.resolution_color_channel, color_code);
}

void SendResolutionBackColor(DeviceLink& link, MultiviewerState& mv, CommandRoute via,
                             uint8_t color_code) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::ResolutionBackColor,
                 mv.m_all_16_view_page_data.resolution_color_channel, color_code);
}

void SendSetDefault(DeviceLink& link, MultiviewerState& mv, CommandRoute via) {
    SendOneByte(link, mv, via, MultiviewerCommand::SetDefault, 0);
}

void SendBorderEnable(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t enable) {
    SendOneByte(link, mv, via, MultiviewerCommand::BorderEnable, enable);
}

void SendLockState(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t lock) {
    SendOneByte(link, mv, via, MultiviewerCommand::LockState, lock);
}

void SendWindowSource(DeviceLink& link, MultiviewerState& mv, CommandRoute via, uint8_t input,
                      uint8_t window) {
    SendTwoBytes(link, mv, via, MultiviewerCommand::WindowSource, input, window);
}

void SendNetworkAddress(DeviceLink& link, const MultiviewerState& mv) {
    SendAddressChange(link, mv.new_network_address);
}

void ApplyDefaultSettings(MultiviewerState& mv) {
    auto& block = mv.m_all_16_view_page_data;
    mv.audio_meter_shown = 1;
    block.audio_enable = 1;
    block.audio_source = 0;
    block.view_mode_type = 6;
    mv.resolution_shown = 0;
    block.resolution_type = 0;
    block.resolution_enable = 0;
    block.umd_enable = 1;
    mv.umd_shown = 1;
    mv.m_cur_window_count = 16;
}

}  // namespace panoptix
