#pragma once
// The four kinds of simulated device, their default identities, and the model for each.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "device_model.h"

namespace panoptix::devsim {

std::optional<DeviceKind> ParseKind(std::string_view text);
uint8_t DefaultTypeByte(DeviceKind kind);
std::string DefaultModelName(DeviceKind kind);
inline constexpr uint8_t kDefaultAddressByte = 0x01;

std::unique_ptr<DeviceModel> MakeDeviceModel(DeviceIdentity identity);

}  // namespace panoptix::devsim
