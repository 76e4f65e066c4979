#pragma once
// Frames as the panel sends them, for the simulator's tests.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "device_model.h"
#include "link/command_frame.h"

namespace panoptix::devsim::testing {

inline std::vector<uint8_t> PanelFrame(uint8_t type, uint8_t command,
                                       std::initializer_list<uint8_t> payload = {},
                                       LinkByte link = LinkByte::Udp, uint8_t address = 0x01) {
    std::vector<uint8_t> payload_bytes(payload);
    std::vector<uint8_t> frame(kFrameOverhead + payload_bytes.size());
    BuildFrameWithDeviceBytes(type, address, link, command, payload_bytes, frame);
    return frame;
}

inline std::vector<uint8_t> Bytes(std::string_view text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

inline DeviceIdentity Identity(DeviceKind kind, std::string name, uint8_t type) {
    return DeviceIdentity{kind, std::move(name), type, 0x01};
}

// Checks the frame a device replied with: markers, length field, checksum, end marker.
inline bool IsWellFormedFrame(std::span<const uint8_t> frame) {
    if (frame.size() < kFrameOverhead || frame[0] != 0xA5 || frame[1] != 0x6C ||
        frame.back() != 0xAE) {
        return false;
    }
    if ((frame[2] | (frame[3] << 8)) != static_cast<int>(frame.size())) {
        return false;
    }
    unsigned sum = 0;
    for (size_t i = 0; i + 3 < frame.size(); ++i) {
        sum += frame[i];
    }
    const unsigned carried = frame[frame.size() - 3] | (frame[frame.size() - 2] << 8);
    return (sum & 0xFFFF) == carried;
}

}  // namespace panoptix::devsim::testing
