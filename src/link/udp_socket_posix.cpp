#include "link/udp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "link/clock.h"

namespace panoptix::udp_socket {
namespace {

sockaddr_in ToSockaddr(const PeerAddress& peer) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(peer.port);
    address.sin_addr.s_addr = peer.address;
    return address;
}

// Waits for the socket to become readable. False on time-out; a descriptor that cannot be
// polled, or a poll that fails for good, sleeps out the time instead, so that a caller's loop
// never spins.
bool WaitReadable(int handle, uint32_t timeout_ms) {
    const uint32_t start_ms = TickMs();
    for (;;) {
        const uint32_t left_ms = RemainingMs(start_ms, timeout_ms);
        if (handle < 0) {
            SleepMs(left_ms);
            return false;
        }
        pollfd entry{handle, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<uint32_t>(left_ms, INT_MAX)));
        if (ready == 0) {
            return false;
        }
        if (ready > 0 && (entry.revents & POLLNVAL) == 0) {
            return true;
        }
        if (ready > 0 || errno != EINTR) {
            SleepMs(RemainingMs(start_ms, timeout_ms));
            return false;
        }
    }
}

}  // namespace

bool Startup() {
    return true;  // BSD sockets need no start
}

int Open() {
    return ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
}

void Close(int handle) {
    if (handle >= 0) {
        ::close(handle);
    }
}

bool EnableBroadcast(int handle) {
    const int enable = 1;
    return ::setsockopt(handle, SOL_SOCKET, SO_BROADCAST, &enable, sizeof enable) == 0;
}

bool BindAnyAddress(int handle, uint16_t local_port) {
    const sockaddr_in address = ToSockaddr({htonl(INADDR_ANY), local_port});
    return ::bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool SetNonBlocking(int handle) {
    const int flags = ::fcntl(handle, F_GETFL);
    return flags >= 0 && ::fcntl(handle, F_SETFL, flags | O_NONBLOCK) == 0;
}

int SendTo(int handle, std::span<const uint8_t> bytes, const PeerAddress& to) {
    if (handle < 0) {
        return -1;
    }
    const sockaddr_in address = ToSockaddr(to);
    const ssize_t sent = ::sendto(handle, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return sent < 0 ? -1 : static_cast<int>(sent);
}

int ReceiveFrom(int handle, std::span<uint8_t> buffer, uint32_t timeout_ms, PeerAddress& from) {
    if (!WaitReadable(handle, timeout_ms)) {
        return -1;
    }
    sockaddr_in sender{};
    socklen_t sender_size = sizeof sender;
    // MSG_TRUNC makes the call report the datagram's real length, so one that did not fit is
    // recognised (Linux would otherwise cut it to the buffer silently). MSG_DONTWAIT keeps the
    // call from blocking even on a socket whose non-blocking flag was never set.
    const ssize_t length =
        ::recvfrom(handle, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT,
                   reinterpret_cast<sockaddr*>(&sender), &sender_size);
    if (length < 0 || static_cast<size_t>(length) > buffer.size()) {
        return -1;
    }
    if (sender.sin_family == AF_INET) {
        from.address = sender.sin_addr.s_addr;
        from.port = ntohs(sender.sin_port);
    }
    return static_cast<int>(length);
}

std::optional<uint32_t> ParseIpv4(const std::string& text) {
    in_addr address{};
    if (::inet_pton(AF_INET, text.c_str(), &address) != 1) {
        return std::nullopt;
    }
    return address.s_addr;
}

std::string FormatIpv4(uint32_t address) {
    in_addr value{};
    value.s_addr = address;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &value, text, sizeof text);
    return text;
}

}  // namespace panoptix::udp_socket
