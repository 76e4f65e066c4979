#include "pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "link/clock.h"

namespace panoptix::testing {

PtyPeer::PtyPeer() {
    int slave_fd = -1;
    char name[128] = {};
    if (::openpty(&master_fd_, &slave_fd, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    // The engine opens the slave by name; this side keeps only the master.
    ::close(slave_fd);
    ::fcntl(master_fd_, F_SETFL, ::fcntl(master_fd_, F_GETFL) | O_NONBLOCK);
    port_name_ = name;
}

PtyPeer::~PtyPeer() {
    CloseMaster();
}

void PtyPeer::Write(std::span<const uint8_t> bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd fd{master_fd_, POLLOUT, 0};
            ::poll(&fd, 1, 100);
        } else {
            throw std::runtime_error("write to the pty master failed");
        }
    }
}

std::vector<uint8_t> PtyPeer::Read(size_t count, uint32_t timeout_ms) const {
    std::vector<uint8_t> bytes;
    const uint32_t start_ms = TickMs();
    while (bytes.size() < count) {
        const uint32_t left_ms = RemainingMs(start_ms, timeout_ms);
        if (left_ms == 0) {
            break;
        }
        pollfd fd{master_fd_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left_ms)) <= 0 || (fd.revents & POLLIN) == 0) {
            break;
        }
        uint8_t piece[256];
        const ssize_t n = ::read(master_fd_, piece, std::min(sizeof piece, count - bytes.size()));
        if (n <= 0) {
            break;
        }
        bytes.insert(bytes.end(), piece, piece + n);
    }
    return bytes;
}

bool PtyPeer::WaitForHangUp(uint32_t timeout_ms) const {
    const uint32_t start_ms = TickMs();
    for (;;) {
        pollfd fd{master_fd_, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(RemainingMs(start_ms, timeout_ms)));
        if (ready > 0 && (fd.revents & POLLHUP) != 0) {
            return true;
        }
        if (ready <= 0) {
            return false;
        }
        // Output the engine wrote before closing: take it and look again.
        uint8_t piece[256];
        if (::read(master_fd_, piece, sizeof piece) <= 0) {
            return (fd.revents & POLLHUP) != 0;
        }
    }
}

void PtyPeer::CloseMaster() {
    if (master_fd_ >= 0) {
        ::close(master_fd_);
        master_fd_ = -1;
    }
}

void WriteInPieces(const PtyPeer& peer, std::span<const uint8_t> bytes, size_t piece_size,
                   uint32_t pause_ms) {
    for (size_t at = 0; at < bytes.size(); at += piece_size) {
        SleepMs(pause_ms);
        peer.Write(bytes.subspan(at, std::min(piece_size, bytes.size() - at)));
    }
}

}  // namespace panoptix::testing
