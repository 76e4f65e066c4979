#include "udp_endpoint.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace panoptix::devsim {
namespace {

enum class Reuse { Off, On };

int BoundSocket(in_addr_t address, uint16_t port, Reuse reuse, std::string& error) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    if (reuse == Reuse::On) {
        // Every simulator in a namespace binds 255.255.255.255 on the same port.
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = address;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        error = "bind " + PeerText(local) + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

std::vector<in_addr_t> LocalAddresses() {
    std::vector<in_addr_t> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return addresses;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr != nullptr && entry->ifa_addr->sa_family == AF_INET) {
            addresses.push_back(
                reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        }
    }
    freeifaddrs(list);
    return addresses;
}

}  // namespace

std::string PeerText(const sockaddr_in& peer) {
    char address[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &peer.sin_addr, address, sizeof address);
    return std::string(address) + ":" + std::to_string(ntohs(peer.sin_port));
}

UdpEndpoint::~UdpEndpoint() {
    if (unicast_fd_ >= 0) {
        close(unicast_fd_);
    }
    if (broadcast_fd_ >= 0) {
        close(broadcast_fd_);
    }
}

UdpEndpoint::UdpEndpoint(UdpEndpoint&& other) noexcept
    : unicast_fd_(std::exchange(other.unicast_fd_, -1)),
      broadcast_fd_(std::exchange(other.broadcast_fd_, -1)),
      bind_address_(other.bind_address_),
      port_(other.port_),
      local_addresses_(std::move(other.local_addresses_)) {}

std::optional<UdpEndpoint> UdpEndpoint::Open(const std::string& bind_address, uint16_t port,
                                             std::string& error) {
    UdpEndpoint endpoint;
    in_addr address{};
    if (inet_pton(AF_INET, bind_address.c_str(), &address) != 1) {
        error = "not an IPv4 address: " + bind_address;
        return std::nullopt;
    }
    endpoint.bind_address_ = address.s_addr;
    endpoint.port_ = port;
    endpoint.unicast_fd_ = BoundSocket(address.s_addr, port, Reuse::Off, error);
    if (endpoint.unicast_fd_ < 0) {
        return std::nullopt;
    }
    if (address.s_addr == htonl(INADDR_ANY)) {
        endpoint.local_addresses_ = LocalAddresses();
    } else {
        endpoint.broadcast_fd_ = BoundSocket(htonl(INADDR_BROADCAST), port, Reuse::On, error);
        if (endpoint.broadcast_fd_ < 0) {
            return std::nullopt;
        }
    }
    return endpoint;
}

std::optional<Datagram> UdpEndpoint::Receive(int fd) const {
    Datagram datagram;
    datagram.bytes.resize(kMaxDatagram);
    socklen_t peer_size = sizeof datagram.peer;
    // MSG_TRUNC makes the call report the datagram's real length.
    const ssize_t size = recvfrom(fd, datagram.bytes.data(), datagram.bytes.size(), MSG_TRUNC,
                                  reinterpret_cast<sockaddr*>(&datagram.peer), &peer_size);
    if (size < 0) {
        return std::nullopt;
    }
    datagram.full_size = static_cast<size_t>(size);
    datagram.bytes.resize(std::min(datagram.full_size, kMaxDatagram));
    return datagram;
}

bool UdpEndpoint::Send(std::span<const uint8_t> bytes, const sockaddr_in& peer) const {
    const ssize_t sent = sendto(unicast_fd_, bytes.data(), bytes.size(), 0,
                                reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    return sent == static_cast<ssize_t>(bytes.size());
}

bool UdpEndpoint::IsOwn(const sockaddr_in& peer) const {
    if (ntohs(peer.sin_port) != port_) {
        return false;
    }
    if (bind_address_ != htonl(INADDR_ANY)) {
        return peer.sin_addr.s_addr == bind_address_;
    }
    return std::find(local_addresses_.begin(), local_addresses_.end(), peer.sin_addr.s_addr) !=
           local_addresses_.end();
}

}  // namespace panoptix::devsim
