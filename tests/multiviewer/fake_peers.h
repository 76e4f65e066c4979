#pragma once
// Scripted fake multiviewers for the link tests: one on loopback UDP, one at the far end of a
// pseudo-terminal. Both sleep on their descriptor while waiting; nothing spins.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace panoptix::testing {

// A UDP socket on 127.0.0.1 at a port the system picks.
class LoopbackDevice {
  public:
    LoopbackDevice();
    ~LoopbackDevice();
    LoopbackDevice(const LoopbackDevice&) = delete;
    LoopbackDevice& operator=(const LoopbackDevice&) = delete;

    uint16_t port() const { return port_; }

    // One datagram, or nothing when none arrives within timeout_ms.
    std::optional<std::vector<uint8_t>> Receive(uint32_t timeout_ms);
    // Answers whoever sent the last datagram.
    void Reply(std::span<const uint8_t> bytes);

  private:
    int fd_ = -1;
    uint16_t port_ = 0;
    uint32_t last_sender_address_ = 0;  // network order
    uint16_t last_sender_port_ = 0;     // network order
};

// A UDP port on 127.0.0.1 that was free a moment ago (for the panel's own local port).
uint16_t FreeLoopbackPort();

// The device end (master) of a pseudo-terminal; the panel opens slave_name().
class PtyDevice {
  public:
    PtyDevice();
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    const std::string& slave_name() const { return slave_name_; }

    // Exactly count bytes, or what arrived before timeout_ms passed.
    std::vector<uint8_t> Read(size_t count, uint32_t timeout_ms);
    // Whatever arrives within timeout_ms, read until the line stays quiet that long.
    std::vector<uint8_t> ReadUntilQuiet(uint32_t quiet_ms);
    void Write(std::span<const uint8_t> bytes);

  private:
    int master_fd_ = -1;
    int slave_fd_ = -1;  // held open so the line stays up between panel opens
    std::string slave_name_;
};

}  // namespace panoptix::testing
