#pragma once
// The one pseudo-terminal fake of the tests: the panel (or the engine) opens the slave side by
// its name, the test plays the device on the master side, by hand (Read, Write, Trickle,
// Vanish) or scripted (Play: every request frame cut from the line is recorded and answered as
// the script says). Waiting sleeps on the descriptor; nothing spins.
#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "support/peer_script.h"

namespace panoptix::testing_support {

class PtyPeer : public RequestLog {
  public:
    enum class Line {
        // Only the master is kept: once whoever opened the slave closes it, the line hangs up.
        OpenedByPanel,
        // The slave stays open too, in raw mode, so the line stays up while the panel closes
        // and opens it again.
        HeldOpen,
    };

    explicit PtyPeer(Line line = Line::OpenedByPanel);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool valid() const { return master_fd_ >= 0; }
    // The slave's path, e.g. /dev/pts/3.
    const std::string& PortName() const { return port_name_; }
    int MasterFd() const { return master_fd_; }

    // Writes all bytes (the panel's input); false once the device has vanished.
    bool Write(std::span<const uint8_t> bytes) const;
    // Writes piece_size bytes at a time with pause_ms before each, as a reply that trickles in.
    bool Trickle(std::span<const uint8_t> bytes, size_t piece_size, uint32_t pause_ms) const;
    // Reads until count bytes came or timeout_ms passed.
    std::vector<uint8_t> Read(size_t count, uint32_t timeout_ms) const;
    // Reads whatever comes until the line stays quiet for quiet_ms.
    std::vector<uint8_t> ReadUntilQuiet(uint32_t quiet_ms) const;
    // True once everyone has closed the slave side, within timeout_ms.
    bool WaitForHangUp(uint32_t timeout_ms) const;
    // The device goes away: the master closes and the panel's line hangs up.
    void Vanish();

    // From now on a thread of the peer cuts request frames from the line, records them and
    // answers as the script says, until the peer ends or vanishes. Use no other reading call
    // meanwhile.
    void Play(PeerScript script);

  private:
    void Run(const PeerScript& script);
    // Sends the replies as the script says; false when the device vanished on the way.
    bool Answer(const PeerScript& script, size_t& sent_bytes);
    void CloseLine();

    std::atomic<int> master_fd_{-1};  // closed by the script's thread when the device vanishes
    int slave_fd_ = -1;
    std::string port_name_;
    std::atomic<bool> stop_{false};
    std::thread player_;
};

}  // namespace panoptix::testing_support
