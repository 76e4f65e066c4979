// The socket calls of the UDP transport on Windows: Winsock 2, started once for the life of the
// process. Socket handles are kept as plain integers like descriptors; a handle that would not
// fit one is refused.
#include <winsock2.h>
// winsock2.h first.
#include <mswsock.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

#include "link/clock.h"
#include "link/udp_socket.h"

namespace panoptix::udp_socket {
namespace {

SOCKET ToSocket(int handle) {
    return static_cast<SOCKET>(static_cast<unsigned>(handle));
}

sockaddr_in ToSockaddr(const PeerAddress& peer) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(peer.port);
    address.sin_addr.s_addr = peer.address;
    return address;
}

// Waits for the socket to become readable. False on time-out; a socket that cannot be waited
// on sleeps out the time instead, so that a caller's loop never spins.
bool WaitReadable(int handle, uint32_t timeout_ms) {
    const uint32_t start_ms = TickMs();
    const uint32_t left_ms = RemainingMs(start_ms, timeout_ms);
    if (handle < 0) {
        SleepMs(left_ms);
        return false;
    }
    WSAPOLLFD entry{};
    entry.fd = ToSocket(handle);
    entry.events = POLLRDNORM;
    const int ready = ::WSAPoll(&entry, 1, static_cast<INT>(std::min<uint32_t>(left_ms, INT_MAX)));
    if (ready == 0) {
        return false;
    }
    if (ready > 0 && (entry.revents & POLLNVAL) == 0) {
        return true;
    }
    SleepMs(RemainingMs(start_ms, timeout_ms));
    return false;
}

}  // namespace

bool Startup() {
    // Version 2.2, requested once; every later call reports how that went.
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

int Open() {
    if (!Startup()) {
        return -1;
    }
    const SOCKET socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket == INVALID_SOCKET) {
        return -1;
    }
    if (socket > static_cast<SOCKET>(INT_MAX)) {
        ::closesocket(socket);
        return -1;
    }
    // Windows reports an ICMP "port unreachable" for an earlier send as a failed receive on a
    // UDP socket; turned off, a device that is not there yet reads as silence.
    BOOL report_unreachable = FALSE;
    DWORD returned = 0;
    ::WSAIoctl(socket, SIO_UDP_CONNRESET, &report_unreachable, sizeof report_unreachable, nullptr,
               0, &returned, nullptr, nullptr);
    return static_cast<int>(socket);
}

void Close(int handle) {
    if (handle >= 0) {
        ::closesocket(ToSocket(handle));
    }
}

bool EnableBroadcast(int handle) {
    const BOOL enable = TRUE;
    return ::setsockopt(ToSocket(handle), SOL_SOCKET, SO_BROADCAST,
                        reinterpret_cast<const char*>(&enable), sizeof enable) == 0;
}

bool BindAnyAddress(int handle, uint16_t local_port) {
    const sockaddr_in address = ToSockaddr({htonl(INADDR_ANY), local_port});
    return ::bind(ToSocket(handle), reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           0;
}

bool SetNonBlocking(int handle) {
    u_long enable = 1;
    return ::ioctlsocket(ToSocket(handle), FIONBIO, &enable) == 0;
}

int SendTo(int handle, std::span<const uint8_t> bytes, const PeerAddress& to) {
    if (handle < 0 || bytes.size() > INT_MAX) {
        return -1;
    }
    const sockaddr_in address = ToSockaddr(to);
    const int sent = ::sendto(ToSocket(handle), reinterpret_cast<const char*>(bytes.data()),
                              static_cast<int>(bytes.size()), 0,
                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return sent == SOCKET_ERROR ? -1 : sent;
}

int ReceiveFrom(int handle, std::span<uint8_t> buffer, uint32_t timeout_ms, PeerAddress& from) {
    if (!WaitReadable(handle, timeout_ms)) {
        return -1;
    }
    sockaddr_in sender{};
    int sender_size = sizeof sender;
    // A datagram longer than the buffer fails with WSAEMSGSIZE and is dropped whole.
    const int length = ::recvfrom(ToSocket(handle), reinterpret_cast<char*>(buffer.data()),
                                  static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX)), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &sender_size);
    if (length == SOCKET_ERROR || length < 0) {
        return -1;
    }
    if (sender.sin_family == AF_INET) {
        from.address = sender.sin_addr.s_addr;
        from.port = ntohs(sender.sin_port);
    }
    return length;
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
