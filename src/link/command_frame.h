#pragma once
// The binary command frame of every device exchange except the matrix router's:
//   A5 6C | length (16-bit LE, whole frame) | device type | device address | link byte |
//   nine zero bytes | command | payload | checksum (16-bit LE sum of all bytes before it) | AE
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/device_entry.h"

namespace panoptix {

inline constexpr uint8_t kFrameStart1 = 0xA5;
inline constexpr uint8_t kFrameStart2 = 0x6C;
inline constexpr uint8_t kFrameEnd = 0xAE;
inline constexpr size_t kFrameOverhead = 20;  // a frame without payload
inline constexpr size_t kFrameCommandOffset = 16;
inline constexpr size_t kFramePayloadOffset = 17;
inline constexpr size_t kFrameScratchSize = 1024;  // the senders' zeroed scratch buffer

// Byte 6: how the frame travels.
enum class LinkByte : uint8_t { Serial = 0, Udp = 1 };

namespace command {
inline constexpr uint8_t kSetAddress = 0x05;
inline constexpr uint8_t kMultiviewerStatus = 0x32;
inline constexpr uint8_t kDiscovery = 0xFF;
}  // namespace command

// The device bytes of the discovery request, which carries constants instead of a table row.
inline constexpr uint8_t kDiscoveryTypeByte = 0x81;
inline constexpr uint8_t kDiscoveryAddressByte = 0xFF;

// Writes a frame into out and returns its total length n = 20 + payload size, or 0 when it
// does not fit into out (or would be longer than the 16-bit length field can say).
uint16_t BuildFrameWithDeviceBytes(uint8_t device_type, uint8_t device_address, LinkByte link,
                                   uint8_t command, std::span<const uint8_t> payload,
                                   std::span<uint8_t> out);

// The usual sender's frame: bytes 4 and 5 come from the selected row (its bytes 17 and 16).
uint16_t BuildCommandFrame(const DeviceEntry& entry, LinkByte link, uint8_t command,
                           std::span<const uint8_t> payload, std::span<uint8_t> out);

// Convenience for callers and tests that want the frame as a vector.
std::vector<uint8_t> MakeCommandFrame(const DeviceEntry& entry, LinkByte link, uint8_t command,
                                      std::span<const uint8_t> payload = {});

// The 20-byte device search request (command 0xFF, device bytes 81 FF).
std::vector<uint8_t> MakeDiscoveryRequest(LinkByte link);

// IP address, subnet mask and gateway, four octets each in dotted order (first octet first).
struct NetworkAddress {
    uint8_t ip[4] = {};
    uint8_t mask[4] = {};
    uint8_t gateway[4] = {};
};

// The Configure window's new address for the selected device: the given IP address, mask
// 255.255.255.0 and gateway a.b.c.1 on the address's own subnet.
NetworkAddress AddressOnOwnSubnet(const uint8_t (&ip)[4]);

// The 32-byte address-settings frame (command 0x05); it only ever travels by UDP.
std::vector<uint8_t> MakeAddressFrame(const DeviceEntry& entry, const NetworkAddress& address);

// 16-bit wrapping sum of bytes, as stored in a frame's checksum.
uint16_t FrameChecksum(std::span<const uint8_t> bytes);

}  // namespace panoptix
