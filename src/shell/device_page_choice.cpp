#include "shell/device_page_choice.h"

#include "link/trace_events.h"

namespace panoptix {

DevicePageForType PageForTypeByte(uint8_t type_byte) {
    return {DeviceKindOfType(type_byte), IsKnownDeviceType(type_byte)};
}

std::optional<uint8_t> SelectedDeviceTypeByte(const DeviceLink& state) {
    if (state.mode() == ConnectionMode::Lan) {
        const DeviceEntry* entry = state.SelectedEntry();
        if (entry == nullptr) {
            return std::nullopt;
        }
        return entry->device_type;
    }
    trace::OnlyCom();
    return state.SerialDeviceType();
}

}  // namespace panoptix
