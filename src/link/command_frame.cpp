#include "link/command_frame.h"

#include <algorithm>
#include <limits>

namespace panoptix {

uint16_t FrameChecksum(std::span<const uint8_t> bytes) {
    uint16_t sum = 0;
    for (uint8_t byte : bytes) {
        sum = static_cast<uint16_t>(sum + byte);
    }
    return sum;
}

uint16_t BuildFrameWithDeviceBytes(uint8_t device_type, uint8_t device_address, LinkByte link,
                                   uint8_t command, std::span<const uint8_t> payload,
                                   std::span<uint8_t> out) {
    const size_t length = kFrameOverhead + payload.size();
    if (length > out.size() || length > std::numeric_limits<uint16_t>::max()) {
        return 0;
    }
    std::fill_n(out.begin(), length, uint8_t{0});
    out[0] = kFrameStart1;
    out[1] = kFrameStart2;
    out[2] = static_cast<uint8_t>(length & 0xFF);
    out[3] = static_cast<uint8_t>(length >> 8);
    out[4] = device_type;
    out[5] = device_address;
    out[6] = static_cast<uint8_t>(link);
    // Bytes 7-15 stay zero: reserved, no sender ever sets them.
    out[kFrameCommandOffset] = command;
    std::copy(payload.begin(), payload.end(), out.begin() + kFramePayloadOffset);

    const size_t checksum_at = length - 3;
    const uint16_t checksum = FrameChecksum(out.first(checksum_at));
    out[checksum_at] = static_cast<uint8_t>(checksum & 0xFF);
    out[checksum_at + 1] = static_cast<uint8_t>(checksum >> 8);
    out[length - 1] = kFrameEnd;
    return static_cast<uint16_t>(length);
}

uint16_t BuildCommandFrame(const DeviceEntry& entry, LinkByte link, uint8_t command,
                           std::span<const uint8_t> payload, std::span<uint8_t> out) {
    return BuildFrameWithDeviceBytes(entry.device_type, entry.device_address, link, command,
                                     payload, out);
}

std::vector<uint8_t> MakeCommandFrame(const DeviceEntry& entry, LinkByte link, uint8_t command,
                                      std::span<const uint8_t> payload) {
    std::vector<uint8_t> frame(kFrameOverhead + payload.size());
    frame.resize(BuildCommandFrame(entry, link, command, payload, frame));
    return frame;
}

std::vector<uint8_t> MakeDiscoveryRequest(LinkByte link) {
    std::vector<uint8_t> frame(kFrameOverhead);
    BuildFrameWithDeviceBytes(kDiscoveryTypeByte, kDiscoveryAddressByte, link, command::kDiscovery,
                              {}, frame);
    return frame;
}

NetworkAddress AddressOnOwnSubnet(const uint8_t (&ip)[4]) {
    NetworkAddress address;
    std::copy_n(ip, 4, address.ip);
    const uint8_t mask[4] = {0xFF, 0xFF, 0xFF, 0x00};
    std::copy_n(mask, 4, address.mask);
    std::copy_n(ip, 3, address.gateway);
    address.gateway[3] = 1;
    return address;
}

std::vector<uint8_t> MakeAddressFrame(const DeviceEntry& entry, const NetworkAddress& address) {
    uint8_t payload[12];
    std::copy_n(address.ip, 4, payload);
    std::copy_n(address.mask, 4, payload + 4);
    std::copy_n(address.gateway, 4, payload + 8);
    return MakeCommandFrame(entry, LinkByte::Udp, command::kSetAddress, payload);
}

}  // namespace panoptix
