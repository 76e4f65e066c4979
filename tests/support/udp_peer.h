#pragma once
// The one UDP fake of the tests: a socket of its own (127.0.0.1 and a free port unless told
// otherwise) that plays a device, or any other party, without going through the code under
// test. Used by hand (Receive, SendTo, Reply) or scripted (Play); it records every datagram it
// receives either way. Waiting sleeps on the socket; nothing spins.
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "link/device_link.h"
#include "support/peer_script.h"

namespace panoptix::testing_support {

inline constexpr char kLoopbackIp[] = "127.0.0.1";

class UdpPeer : public RequestLog {
  public:
    enum class Reuse { No, Yes };

    // Binds ip:port (port 0 picks a free one); valid() tells whether that worked.
    explicit UdpPeer(const std::string& ip = kLoopbackIp, uint16_t port = 0,
                     Reuse reuse = Reuse::No);
    // Starts playing the script at once.
    explicit UdpPeer(PeerScript script);
    ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    bool valid() const { return fd_ >= 0; }
    uint16_t port() const { return port_; }
    // For a test that waits on the socket together with other descriptors.
    int fd() const { return fd_; }

    bool SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const;
    bool SendTo(uint16_t port, std::span<const uint8_t> bytes) const {
        return SendTo(kLoopbackIp, port, bytes);
    }
    // One datagram (of up to 64 KiB) within timeout_ms, recorded; nullopt when none came.
    std::optional<Request> Receive(int timeout_ms);
    // The bytes of the next datagram, or none when nothing came within timeout_ms.
    std::vector<uint8_t> ReceiveBytes(int timeout_ms) {
        auto request = Receive(timeout_ms);
        return request ? std::move(request->bytes) : std::vector<uint8_t>{};
    }
    // Answers the sender of the last datagram received.
    bool Reply(std::span<const uint8_t> bytes) const;

    // From now on a thread of the peer receives and answers as the script says, until the
    // peer ends or vanishes. Use no other receiving call meanwhile.
    void Play(PeerScript script);
    // The device goes away: its socket closes (a script still playing ends first).
    void Vanish();

  private:
    void Run(const PeerScript& script);
    void CloseSocket();

    std::atomic<int> fd_{-1};  // closed by the script's thread when the device vanishes
    uint16_t port_ = 0;
    std::string last_sender_ip_;
    uint16_t last_sender_port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread player_;
};

// A UDP port on 127.0.0.1 that nothing was bound to a moment ago.
uint16_t FreeLoopbackPort();

// Points the link at the peer: row 0 of the device table, selected, becomes a device at
// 127.0.0.1 with the two device bytes; the device port is the peer's and the panel's own port
// a free one.
void SelectPeer(DeviceLink& link, const UdpPeer& device, uint8_t device_type,
                uint8_t device_address);

}  // namespace panoptix::testing_support
