#pragma once
// The device end of a pseudo-terminal: the engine opens the slave by its name, the test plays
// the device on the master and can make it vanish (close the master) at any moment.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/clock.h"

namespace panoptix::fault {

class PtyDevice {
  public:
    PtyDevice() {
        int slave_fd = -1;
        char name[128] = {};
        if (::openpty(&master_fd_, &slave_fd, name, nullptr, nullptr) != 0) {
            master_fd_ = -1;
            return;
        }
        ::close(slave_fd);
        ::fcntl(master_fd_, F_SETFL, ::fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
        port_name_ = name;
    }
    ~PtyDevice() { Vanish(); }
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    bool valid() const { return master_fd_ >= 0; }
    const std::string& PortName() const { return port_name_; }

    // Reads until count bytes came or timeout_ms passed.
    std::vector<uint8_t> Read(size_t count, uint32_t timeout_ms) const {
        std::vector<uint8_t> bytes;
        const uint32_t start_ms = TickMs();
        while (bytes.size() < count && RemainingMs(start_ms, timeout_ms) > 0) {
            pollfd entry{master_fd_, POLLIN, 0};
            if (::poll(&entry, 1, static_cast<int>(RemainingMs(start_ms, timeout_ms))) <= 0 ||
                (entry.revents & POLLIN) == 0) {
                break;
            }
            uint8_t piece[256];
            const ssize_t n =
                ::read(master_fd_, piece, std::min(sizeof piece, count - bytes.size()));
            if (n <= 0) {
                break;
            }
            bytes.insert(bytes.end(), piece, piece + n);
        }
        return bytes;
    }

    bool Write(std::span<const uint8_t> bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(master_fd_, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd entry{master_fd_, POLLOUT, 0};
                ::poll(&entry, 1, 100);
            } else {
                return false;
            }
        }
        return true;
    }

    // The device goes away: the engine's line hangs up.
    void Vanish() {
        if (master_fd_ >= 0) {
            ::close(master_fd_);
            master_fd_ = -1;
        }
    }

  private:
    int master_fd_ = -1;
    std::string port_name_;
};

}  // namespace panoptix::fault
