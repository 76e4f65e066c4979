#pragma once
// What panoptix-cli prints: JSON objects that other tools read.
#include <nlohmann/json.hpp>

#include "cli_session.h"

namespace panoptix::cli {

// {"model", "address", "type", "device_address", "kind"}; device_address is null when the search
// did not carry it (serial). Bytes are numbers.
nlohmann::json DeviceJson(const FoundDevice& device);

// The decoded multiviewer block: layout, resolution, labels, audio, border, lock and the sixteen
// windows with source, label and colours.
nlohmann::json MultiviewerStatusJson(const Session& session);

// The quad-view block after its status and signal replies.
nlohmann::json QuadviewStatusJson(const Session& session);

}  // namespace panoptix::cli
