#pragma once
// The address an operator types to find one device by itself: a dotted IPv4 address, exactly
// four decimal numbers 0 to 255 with one dot between each two. The text is taken as it stands:
// no spaces around it, no sign, and no leading zero in a number ("010" would read as 8 to
// inet_aton and as 10 to a person), so what is sent to is what the operator sees. Addresses no
// single device has are refused: 0.0.0.0, the broadcast address 255.255.255.255 (SCAN is the
// broadcast) and the multicast block 224.0.0.0/4.
#include <cstdint>
#include <string>
#include <string_view>

namespace panoptix {

enum class DeviceAddressFault {
    None,
    Empty,          // nothing typed
    NotFourOctets,  // anything but four decimal numbers with single dots between them
    OctetTooLarge,  // a number above 255
    LeadingZero,    // a number of two or three digits that starts with 0
    Unspecified,    // 0.0.0.0
    Broadcast,      // 255.255.255.255
    Multicast,      // 224.0.0.0 to 239.255.255.255
};

struct DeviceAddressCheck {
    DeviceAddressFault fault = DeviceAddressFault::None;
    uint32_t address = 0;  // network byte order; set only when fault is None
};

DeviceAddressCheck CheckDeviceAddress(std::string_view text);

// The operator's "Err" text for a refused address, naming the text and what is wrong with it.
std::string RefusedAddressMessage(std::string_view text, DeviceAddressFault fault);

}  // namespace panoptix
