#pragma once
// The socket calls of the tests' UDP peer, one file per platform (peer_socket_posix.cpp,
// peer_socket_win32.cpp). The peer goes through these, never through the link's own socket
// code, so that it stays an independent party. Handles are plain integers, -1 for none.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace panoptix::testing_support::peer_socket {

// A UDP socket bound to ip:port (port 0 picks a free one, written to bound_port), or -1.
int OpenBound(const std::string& ip, uint16_t port, bool reuse_address, uint16_t& bound_port);
void Close(int handle);
// True when the whole datagram went.
bool SendTo(int handle, const std::string& ip, uint16_t port, std::span<const uint8_t> bytes);
// One datagram of up to 64 KiB within timeout_ms, with its sender; false when none came.
bool Receive(int handle, int timeout_ms, std::vector<uint8_t>& bytes, std::string& sender_ip,
             uint16_t& sender_port);

}  // namespace panoptix::testing_support::peer_socket
