#pragma once
// The simulator's UDP side (POSIX sockets). One socket on the bind address and port; with a
// specific bind address a second socket on 255.255.255.255 and the same port, because a socket
// bound to a unicast address does not receive broadcasts. Replies leave from the first socket.
#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace panoptix::devsim {

struct Datagram {
    std::vector<uint8_t> bytes;  // at most kMaxDatagram bytes
    size_t full_size = 0;        // the datagram's real size (larger when it was cut)
    sockaddr_in peer{};
};

class UdpEndpoint {
  public:
    static constexpr size_t kMaxDatagram = 2048;

    UdpEndpoint() = default;
    ~UdpEndpoint();
    UdpEndpoint(UdpEndpoint&& other) noexcept;
    UdpEndpoint& operator=(UdpEndpoint&&) = delete;
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    // nullopt with error when a socket cannot be created or bound.
    static std::optional<UdpEndpoint> Open(const std::string& bind_address, uint16_t port,
                                           std::string& error);

    int UnicastFd() const { return unicast_fd_; }
    int BroadcastFd() const { return broadcast_fd_; }

    // Reads one waiting datagram from fd; nullopt when none could be read.
    std::optional<Datagram> Receive(int fd) const;
    bool Send(std::span<const uint8_t> bytes, const sockaddr_in& peer) const;
    // A datagram this simulator sent itself (its own address and port).
    bool IsOwn(const sockaddr_in& peer) const;

  private:
    int unicast_fd_ = -1;
    int broadcast_fd_ = -1;
    in_addr_t bind_address_ = 0;  // network byte order
    uint16_t port_ = 0;
    std::vector<in_addr_t> local_addresses_;  // for a wildcard bind
};

// "192.0.2.1:7000".
std::string PeerText(const sockaddr_in& peer);

}  // namespace panoptix::devsim
