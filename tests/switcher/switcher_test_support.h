#pragma once
// Small helpers of the switcher tests: hex text to bytes, commands to readable text.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "switcher/core/switcher_commands.h"

namespace panoptix::switcher_testing {

inline std::vector<uint8_t> Hex(const std::string& text) {
    std::istringstream in(text);
    std::vector<uint8_t> bytes;
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

// "8B 00", "83", "82 01 08": the code and the payload in hex.
inline std::string Text(const SwitcherCommand& command) {
    char part[8];
    std::snprintf(part, sizeof part, "%02X", static_cast<unsigned>(command.code));
    std::string text = part;
    for (const uint8_t byte : command.Payload()) {
        std::snprintf(part, sizeof part, " %02X", byte);
        text += part;
    }
    return text;
}

inline std::vector<std::string> Texts(const SwitcherCommands& commands) {
    std::vector<std::string> texts;
    for (const auto& command : commands) {
        texts.push_back(Text(command));
    }
    return texts;
}

}  // namespace panoptix::switcher_testing
