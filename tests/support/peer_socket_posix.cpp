#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "support/peer_socket.h"

namespace panoptix::testing_support::peer_socket {
namespace {

sockaddr_in SocketAddress(const std::string& ip, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

}  // namespace

int OpenBound(const std::string& ip, uint16_t port, bool reuse_address, uint16_t& bound_port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (reuse_address) {
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in address = SocketAddress(ip, port);
    socklen_t size = sizeof address;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::close(fd);
        return -1;
    }
    bound_port = ntohs(address.sin_port);
    return fd;
}

void Close(int handle) {
    if (handle >= 0) {
        ::close(handle);
    }
}

bool SendTo(int handle, const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) {
    const sockaddr_in address = SocketAddress(ip, port);
    return ::sendto(handle, bytes.data(), bytes.size(), 0,
                    reinterpret_cast<const sockaddr*>(&address),
                    sizeof address) == static_cast<ssize_t>(bytes.size());
}

bool Receive(int handle, int timeout_ms, std::vector<uint8_t>& bytes, std::string& sender_ip,
             uint16_t& sender_port) {
    pollfd entry{handle, POLLIN, 0};
    if (handle < 0 || ::poll(&entry, 1, timeout_ms) <= 0) {
        return false;
    }
    bytes.resize(65536);
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    const ssize_t length = ::recvfrom(handle, bytes.data(), bytes.size(), MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&sender), &size);
    if (length < 0) {
        return false;
    }
    bytes.resize(static_cast<size_t>(length));
    char ip[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sender.sin_addr, ip, sizeof ip);
    sender_ip = ip;
    sender_port = ntohs(sender.sin_port);
    return true;
}

}  // namespace panoptix::testing_support::peer_socket
