#include <winsock2.h>
#include <ws2tcpip.h>

#include <climits>

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

SOCKET ToSocket(int handle) {
    return static_cast<SOCKET>(static_cast<unsigned>(handle));
}

bool Started() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

}  // namespace

int OpenBound(const std::string& ip, uint16_t port, bool reuse_address, uint16_t& bound_port) {
    if (!Started()) {
        return -1;
    }
    const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (socket == INVALID_SOCKET) {
        return -1;
    }
    if (reuse_address) {
        const BOOL on = TRUE;
        ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on),
                     sizeof on);
    }
    sockaddr_in address = SocketAddress(ip, port);
    int size = sizeof address;
    if (socket > static_cast<SOCKET>(INT_MAX) ||
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(socket);
        return -1;
    }
    bound_port = ntohs(address.sin_port);
    return static_cast<int>(socket);
}

void Close(int handle) {
    if (handle >= 0) {
        ::closesocket(ToSocket(handle));
    }
}

bool SendTo(int handle, const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) {
    const sockaddr_in address = SocketAddress(ip, port);
    return ::sendto(ToSocket(handle), reinterpret_cast<const char*>(bytes.data()),
                    static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&address),
                    sizeof address) == static_cast<int>(bytes.size());
}

bool Receive(int handle, int timeout_ms, std::vector<uint8_t>& bytes, std::string& sender_ip,
             uint16_t& sender_port) {
    if (handle < 0) {
        return false;
    }
    WSAPOLLFD entry{};
    entry.fd = ToSocket(handle);
    entry.events = POLLRDNORM;
    if (::WSAPoll(&entry, 1, timeout_ms) <= 0) {
        return false;
    }
    bytes.resize(65536);
    sockaddr_in sender{};
    int size = sizeof sender;
    const int length =
        ::recvfrom(ToSocket(handle), reinterpret_cast<char*>(bytes.data()),
                   static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&sender), &size);
    if (length == SOCKET_ERROR || length < 0) {
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
