#pragma once
// The socket calls of the UDP transport, declared without any platform header. The build picks
// the implementation: udp_socket_posix.cpp (BSD sockets) on POSIX systems, udp_socket_win32.cpp
// (Winsock 2) on Windows. Handles are plain
// integers; -1 means none. Addresses are IPv4 in network byte order.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "link/device_link.h"

namespace panoptix::udp_socket {

// The all-ones address, which no device has: a destination that cannot be parsed.
inline constexpr uint32_t kNoAddress = 0xFFFFFFFFu;

// Starts the platform's sockets once for the life of the process (Winsock 2.2); true when they
// can be used. Open starts them too.
bool Startup();

// A datagram socket (AF_INET, SOCK_DGRAM, UDP), or -1.
int Open();
void Close(int handle);

bool EnableBroadcast(int handle);
// Binds to any local address at local_port.
bool BindAnyAddress(int handle, uint16_t local_port);
bool SetNonBlocking(int handle);

// Bytes sent, or -1.
int SendTo(int handle, std::span<const uint8_t> bytes, const PeerAddress& to);

// Sleeps on the socket until a datagram is readable or timeout_ms passes, then takes one
// datagram without blocking. Returns its length with the sender in from, or -1 when nothing
// usable came: time-out, failure, or a datagram longer than buffer (which is consumed and
// dropped whole, never handed on cut short).
int ReceiveFrom(int handle, std::span<uint8_t> buffer, uint32_t timeout_ms, PeerAddress& from);

// Dotted-quad text to a network-order address; nullopt when the text is not one.
std::optional<uint32_t> ParseIpv4(const std::string& text);
// Network-order address to dotted-quad text.
std::string FormatIpv4(uint32_t address);

}  // namespace panoptix::udp_socket
