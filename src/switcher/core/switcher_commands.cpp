#include "switcher/core/switcher_commands.h"

#include "link/command_frame.h"
#include "link/udp_transport.h"

namespace panoptix {
SwitcherCommand MakeSwitcherCommand(SwitcherCode code) {
    return SwitcherCommand{code, {}, 0};
}

SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t value) {
    return SwitcherCommand{code, {value, 0, 0}, 1};
}

SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t first, uint8_t second) {
    return SwitcherCommand{code, {first, second, 0}, 2};
}

SwitcherCommand MakeSwitcherCommand(SwitcherCode code, uint8_t red, uint8_t green, uint8_t blue) {
    return SwitcherCommand{code, {red, green, blue}, 3};
}

SwitcherCommand MakeSwitcherWordCommand(SwitcherCode code, uint16_t value) {
    return MakeSwitcherCommand(code, static_cast<uint8_t>(value & 0xFF),
                               static_cast<uint8_t>(value >> 8));
}

std::vector<uint8_t> BuildSwitcherFrame(const DeviceEntry& entry, const SwitcherCommand& command) {
    return MakeCommandFrame(entry, LinkByte::Udp, static_cast<uint8_t>(command.code),
                            command.Payload());
}

void SendSwitcherCommand(DeviceLink& link, SwitcherCode code, std::span<const uint8_t> payload) {
    const auto frame =
        MakeCommandFrame(link.FrameEntry(), LinkByte::Udp, static_cast<uint8_t>(code), payload);
    SendOneShot(link, frame);
}

void SendSwitcherCommand(DeviceLink& link, const SwitcherCommand& command) {
    SendSwitcherCommand(link, command.code, command.Payload());
}

}  // namespace panoptix
