#pragma once
// A pseudo-terminal pair for serial tests: the engine opens the slave side by its name, the test
// plays the device on the master side.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace panoptix::testing {

class PtyPeer {
  public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    // The slave's path, e.g. /dev/pts/3.
    const std::string& PortName() const { return port_name_; }
    int MasterFd() const { return master_fd_; }

    // Writes all bytes to the master side (the engine's input).
    void Write(std::span<const uint8_t> bytes) const;
    // Reads from the master side until count bytes came or timeout_ms passed.
    std::vector<uint8_t> Read(size_t count, uint32_t timeout_ms) const;
    // True once the slave side has been closed by everyone within timeout_ms.
    bool WaitForHangUp(uint32_t timeout_ms) const;
    // Ends the device side; the engine's line hangs up.
    void CloseMaster();

  private:
    int master_fd_ = -1;
    std::string port_name_;
};

// Writes pieces with a pause before each, as a device whose reply trickles in.
void WriteInPieces(const PtyPeer& peer, std::span<const uint8_t> bytes, size_t piece_size,
                   uint32_t pause_ms);

}  // namespace panoptix::testing
