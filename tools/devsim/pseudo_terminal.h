#pragma once
// The simulator's serial side: a pseudo-terminal (openpty). The panel opens the slave path like
// a serial port; the simulator reads and writes the master. The slave is put into raw mode and
// kept open here, so that binary frames pass unchanged and the master never sees a hang-up when
// the panel closes its end.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace panoptix::devsim {

class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // link_path: empty, or a symbolic link to create to the slave (an existing link there is
    // replaced; any other file is an error). Removed again by the destructor.
    static std::optional<PseudoTerminal> Open(const std::string& link_path, std::string& error);

    int MasterFd() const { return master_fd_; }
    const std::string& SlavePath() const { return slave_path_; }

    // Reads what the master holds (at most buffer.size()); -1 on error, 0 when nothing waits.
    int Read(std::span<uint8_t> buffer) const;
    // Writes all bytes, waiting up to wait_ms for room; returns the bytes written.
    size_t Write(std::span<const uint8_t> bytes, int wait_ms) const;

  private:
    int master_fd_ = -1;
    int slave_fd_ = -1;
    std::string slave_path_;
    std::string link_path_;
};

}  // namespace panoptix::devsim
