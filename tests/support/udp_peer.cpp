#include "support/udp_peer.h"

#include <utility>
#include <vector>

#include "support/peer_socket.h"

namespace panoptix::testing_support {

UdpPeer::UdpPeer(const std::string& ip, uint16_t port, Reuse reuse) {
    fd_ = peer_socket::OpenBound(ip, port, reuse == Reuse::Yes, port_);
}

UdpPeer::UdpPeer(PeerScript script) : UdpPeer() {
    Play(std::move(script));
}

UdpPeer::~UdpPeer() {
    Vanish();
}

bool UdpPeer::SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const {
    return peer_socket::SendTo(fd_, ip, port, bytes);
}

std::optional<Request> UdpPeer::Receive(int timeout_ms) {
    std::vector<uint8_t> bytes;
    if (!peer_socket::Receive(fd_, timeout_ms, bytes, last_sender_ip_, last_sender_port_)) {
        return std::nullopt;
    }
    Request request{std::move(bytes), last_sender_ip_, last_sender_port_};
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
    peer_socket::Close(fd_.exchange(-1));
}

uint16_t FreeLoopbackPort() {
    return UdpPeer().port();
}

void SelectPeer(DeviceLink& link, const UdpPeer& device, uint8_t device_type,
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
