#include "support/udp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace panoptix::testing_support {
namespace {

sockaddr_in SocketAddress(const std::string& ip, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

}  // namespace

UdpPeer::UdpPeer(const std::string& ip, uint16_t port, Reuse reuse) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        return;
    }
    if (reuse == Reuse::Yes) {
        const int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    sockaddr_in address = SocketAddress(ip, port);
    socklen_t size = sizeof address;
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        CloseSocket();
        return;
    }
    port_ = ntohs(address.sin_port);
}

UdpPeer::UdpPeer(PeerScript script) : UdpPeer() {
    Play(std::move(script));
}

UdpPeer::~UdpPeer() {
    Vanish();
}

bool UdpPeer::SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const {
    const sockaddr_in address = SocketAddress(ip, port);
    return ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&address),
                    sizeof address) == static_cast<ssize_t>(bytes.size());
}

std::optional<Request> UdpPeer::Receive(int timeout_ms) {
    pollfd entry{fd_, POLLIN, 0};
    if (fd_ < 0 || ::poll(&entry, 1, timeout_ms) <= 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> buffer(65536);
    sockaddr_in sender{};
    socklen_t size = sizeof sender;
    const ssize_t length = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&sender), &size);
    if (length < 0) {
        return std::nullopt;
    }
    buffer.resize(static_cast<size_t>(length));
    char ip[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &sender.sin_addr, ip, sizeof ip);
    last_sender_ip_ = ip;
    last_sender_port_ = ntohs(sender.sin_port);
    Request request{std::move(buffer), last_sender_ip_, last_sender_port_};
    Add(request);
    return request;
}

bool UdpPeer::Reply(std::span<const uint8_t> bytes) const {
    return SendTo(last_sender_ip_, last_sender_port_, bytes);
}

void UdpPeer::Play(PeerScript script) {
    stop_ = false;
    player_ = std::thread([this, script = std::move(script)] { Run(script); });
}

void UdpPeer::Run(const PeerScript& script) {
    size_t sent_bytes = 0;
    while (!stop_) {
        const auto request = Receive(20);
        if (!request || !script.Answers(*request)) {
            continue;
        }
        CountAnswer();
        if (script.storm) {
            script.storm(*request);
        }
        for (const auto& reply : script.replies) {
            if (script.vanish_after_bytes &&
                sent_bytes + reply.size() > *script.vanish_after_bytes) {
                CloseSocket();
                return;
            }
            SendTo(request->sender_ip, request->sender_port, reply);
            sent_bytes += reply.size();
        }
    }
}

void UdpPeer::Vanish() {
    stop_ = true;
    if (player_.joinable()) {
        player_.join();
    }
    CloseSocket();
}

void UdpPeer::CloseSocket() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

uint16_t FreeLoopbackPort() {
    return UdpPeer().port();
}

void SelectPeer(LinkState& link, const UdpPeer& device, uint8_t device_type,
                uint8_t device_address) {
    DeviceEntry& row = link.device_table[0];
    row.SetIpText(kLoopbackIp);
    row.device_type = device_type;
    row.device_address = device_address;
    link.m_device_index = 0;
    link.endpoints.device_port = device.port();
    link.endpoints.local_port = FreeLoopbackPort();
}

}  // namespace panoptix::testing_support
