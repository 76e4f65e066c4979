#pragma once
// The simulator's command line.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device_model.h"

namespace panoptix::devsim {

struct DevsimOptions {
    DeviceKind kind = DeviceKind::Multiviewer;
    std::string model_name;  // default by kind
    uint8_t type_byte = 0;   // default by kind
    uint8_t address_byte = 0x01;
    std::string bind_address = "0.0.0.0";
    uint16_t port = 7000;
    bool serial = false;
    std::string serial_link;  // symbolic link to the pseudo-terminal, empty for none
    std::string state_file;
    std::optional<uint64_t> chaos_seed;  // --chaos: misbehave on purpose, from this seed
    bool help = false;
};

// args without the program name. False with error for anything not understood.
bool ParseOptions(std::span<const std::string_view> args, DevsimOptions& options,
                  std::string& error);

std::string UsageText();

}  // namespace panoptix::devsim
