#pragma once
// How searches and commands travel: by the LAN or on the one serial port. The settings file, the
// traces and the CLI's JSON still carry the number of the mode (0 LAN, 1 serial).
#include <cstdint>
#include <optional>

namespace panoptix {

enum class ConnectionMode : uint8_t { Lan, Serial };

// The numbers of the modes at the edges: m_eState, the settings file, traces, JSON.
inline constexpr int32_t kModeLan = 0;
inline constexpr int32_t kModeSerial = 1;

constexpr int32_t ConnectionModeNumber(ConnectionMode mode) {
    return mode == ConnectionMode::Lan ? kModeLan : kModeSerial;
}

// The mode a number names; any other number names none.
constexpr std::optional<ConnectionMode> ConnectionModeOf(int32_t number) {
    if (number == kModeLan) {
        return ConnectionMode::Lan;
    }
    if (number == kModeSerial) {
        return ConnectionMode::Serial;
    }
    return std::nullopt;
}

// Who changed the mode. The shell closes a page found on the other link and empties the list;
// the page that changed the mode itself (the router's setting tab, which connects its router's
// serial port) stays open and reaches its device on the new link.
enum class ModeChangeSource { Settings, OpenPage };

}  // namespace panoptix
