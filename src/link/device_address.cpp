#include "link/device_address.h"

#include <array>
#include <cstring>

namespace panoptix {
namespace {

constexpr size_t kOctets = 4;
constexpr size_t kMaxDigits = 3;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

DeviceAddressCheck CheckDeviceAddress(std::string_view text) {
    if (text.empty()) {
        return {DeviceAddressFault::Empty};
    }
    std::array<uint8_t, kOctets> octets{};
    bool too_large = false;
    bool leading_zero = false;
    size_t pos = 0;
    for (size_t i = 0; i < kOctets; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') {
                return {DeviceAddressFault::NotFourOctets};
            }
            ++pos;
        }
        const size_t start = pos;
        unsigned value = 0;
        while (pos < text.size() && IsDigit(text[pos]) && pos - start < kMaxDigits) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
        }
        const size_t digits = pos - start;
        if (digits == 0 || (pos < text.size() && IsDigit(text[pos]))) {
            return {DeviceAddressFault::NotFourOctets};  // no number, or one of four digits
        }
        too_large = too_large || value > 255;
        leading_zero = leading_zero || (digits > 1 && text[start] == '0');
        octets[i] = static_cast<uint8_t>(value & 0xFF);
    }
    if (pos != text.size()) {
        return {DeviceAddressFault::NotFourOctets};
    }
    if (too_large) {
        return {DeviceAddressFault::OctetTooLarge};
    }
    if (leading_zero) {
        return {DeviceAddressFault::LeadingZero};
    }
    if (octets == std::array<uint8_t, kOctets>{0, 0, 0, 0}) {
        return {DeviceAddressFault::Unspecified};
    }
    if (octets == std::array<uint8_t, kOctets>{255, 255, 255, 255}) {
        return {DeviceAddressFault::Broadcast};
    }
    if ((octets[0] & 0xF0) == 0xE0) {
        return {DeviceAddressFault::Multicast};
    }
    DeviceAddressCheck check;
    std::memcpy(&check.address, octets.data(), kOctets);  // first octet first: network order
    return check;
}

std::string RefusedAddressMessage(std::string_view text, DeviceAddressFault fault) {
    const std::string quoted = "\"" + std::string(text) + "\"";
    switch (fault) {
        case DeviceAddressFault::None:
            break;
        case DeviceAddressFault::Empty:
            return "Find: type the device's IP address first";
        case DeviceAddressFault::NotFourOctets:
            return "Find: " + quoted +
                   " is not an IP address (four numbers 0 to 255 with dots between them)";
        case DeviceAddressFault::OctetTooLarge:
            return "Find: " + quoted + " is not an IP address (a number is above 255)";
        case DeviceAddressFault::LeadingZero:
            return "Find: " + quoted + " is not an IP address (a number starts with 0)";
        case DeviceAddressFault::Unspecified:
            return "Find: " + quoted + " is no device's address";
        case DeviceAddressFault::Broadcast:
            return "Find: " + quoted + " is the broadcast address; SCAN searches the whole network";
        case DeviceAddressFault::Multicast:
            return "Find: " + quoted + " is a multicast address, not one device's";
    }
    return {};
}

}  // namespace panoptix
