#include "quadview/core/quadview_frames.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "link/trace_events.h"
#include "link/transmit.h"
#include "link/udp_transport.h"

namespace panoptix {
namespace {

void SendLan(DeviceLink& link, uint8_t command, std::span<const uint8_t> payload) {
    if (!MayUseUdp(link, command)) {
        return;
    }
    SendOneShot(link, MakeQuadLanFrame(link, command, payload));
}

}  // namespace

bool MayUseUdp(const DeviceLink& link, uint8_t command) {
    if (link.mode() == ConnectionMode::Lan) {
        return true;
    }
    const DeviceEntry* entry = link.SelectedEntry();
    if (entry != nullptr && entry->device_type == device_type::kQuadView) {
        return true;
    }
    trace::QuadCommandNotSent(command);
    return false;
}

std::vector<uint8_t> MakeQuadLanFrame(const DeviceLink& link, uint8_t command,
                                      std::span<const uint8_t> payload) {
    return MakeCommandFrame(link.FrameEntry(), LinkByte::Udp, command, payload);
}

std::vector<uint8_t> MakeSerialShowModeFrame(uint8_t show_mode) {
    std::vector<uint8_t> frame(kFrameOverhead + 1);
    const std::array<uint8_t, 1> payload{show_mode};
    frame.resize(BuildFrameWithDeviceBytes(kSerialShowModeType, kSerialShowModeAddress,
                                           LinkByte::Serial, quad_command::kShowMode, payload,
                                           frame));
    return frame;
}

void SendShowMode(DeviceLink& link, uint8_t show_mode) {
    const std::array<uint8_t, 1> payload{show_mode};
    if (link.mode() == ConnectionMode::Lan) {
        SendLan(link, quad_command::kShowMode, payload);
    } else if (link.mode() == ConnectionMode::Serial) {
        TransmitCommand(link, CommandRoute::Serial, MakeSerialShowModeFrame(show_mode));
    }
}

void SendOutputFormat(DeviceLink& link, uint8_t output_format) {
    const std::array<uint8_t, 1> payload{output_format};
    SendLan(link, quad_command::kOutputFormat, payload);
}

void SendPipChildren(DeviceLink& link, uint8_t first_child, uint8_t second_child) {
    const std::array<uint8_t, 2> payload{first_child, second_child};
    SendLan(link, quad_command::kPipChildren, payload);
}

void SendLoopState(DeviceLink& link, uint8_t loop_state) {
    const std::array<uint8_t, 1> payload{loop_state};
    SendLan(link, quad_command::kLoopState, payload);
}

void SendLoopTimeFrame(DeviceLink& link, uint16_t seconds) {
    const std::array<uint8_t, 2> payload{static_cast<uint8_t>(seconds & 0xFF),
                                         static_cast<uint8_t>(seconds >> 8)};
    SendLan(link, quad_command::kLoopTime, payload);
}

int LoopTimeOfText(std::string_view text) {
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc{}) {
        value = 0;
    }
    return value;
}

}  // namespace panoptix
