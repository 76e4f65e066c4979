#include "support/pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/clock.h"

namespace panoptix::testing_support {
namespace {

constexpr size_t kLongestRequest = kFrameScratchSize;

bool WaitReadable(int fd, uint32_t timeout_ms) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(timeout_ms)) > 0 && (entry.revents & POLLIN) != 0;
}

// Cuts the first whole frame (A5 6C, its 16-bit length) from the front of `line`, dropping
// bytes before a frame start; false while none is complete.
bool CutFrame(std::vector<uint8_t>& line, std::vector<uint8_t>& frame) {
    for (;;) {
        const auto start = std::find(line.begin(), line.end(), kFrameStart1);
        line.erase(line.begin(), start);
        if (line.size() < 4) {
            return false;
        }
        if (line[1] != kFrameStart2) {
            line.erase(line.begin());
            continue;
        }
        const size_t stated = static_cast<size_t>(line[2] | (line[3] << 8));
        const size_t length = std::clamp(stated, kFrameOverhead, kLongestRequest);
        if (line.size() < length) {
            return false;
        }
        frame.assign(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(length));
        line.erase(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(length));
        return true;
    }
}

}  // namespace

PtyPeer::PtyPeer(Line line) {
    int master = -1;
    char name[128] = {};
    if (::openpty(&master, &slave_fd_, name, nullptr, nullptr) != 0) {
        slave_fd_ = -1;
        return;
    }
    master_fd_ = master;
    port_name_ = name;
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    if (line == Line::HeldOpen) {
        // Raw bytes on the device side, so the line discipline never rewrites the frames.
        termios settings{};
        ::tcgetattr(master, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(master, TCSANOW, &settings);
    } else {
        ::close(slave_fd_);
        slave_fd_ = -1;
    }
}

PtyPeer::~PtyPeer() {
    Vanish();
}

bool PtyPeer::Write(std::span<const uint8_t> bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
        const int fd = master_fd_;
        const ssize_t n = fd < 0 ? -1 : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd entry{fd, POLLOUT, 0};
            ::poll(&entry, 1, 100);
        } else {
            return false;
        }
    }
    return true;
}

bool PtyPeer::Trickle(std::span<const uint8_t> bytes, size_t piece_size, uint32_t pause_ms) const {
    for (size_t at = 0; at < bytes.size(); at += piece_size) {
        SleepMs(pause_ms);
        if (!Write(bytes.subspan(at, std::min(piece_size, bytes.size() - at)))) {
            return false;
        }
    }
    return true;
}

std::vector<uint8_t> PtyPeer::Read(size_t count, uint32_t timeout_ms) const {
    std::vector<uint8_t> bytes;
    const uint32_t start_ms = TickMs();
    while (bytes.size() < count) {
        const uint32_t left_ms = RemainingMs(start_ms, timeout_ms);
        if (left_ms == 0 || !WaitReadable(master_fd_, left_ms)) {
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

std::vector<uint8_t> PtyPeer::ReadUntilQuiet(uint32_t quiet_ms) const {
    std::vector<uint8_t> bytes;
    while (WaitReadable(master_fd_, quiet_ms)) {
        uint8_t piece[256];
        const ssize_t n = ::read(master_fd_, piece, sizeof piece);
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
        pollfd entry{master_fd_, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(RemainingMs(start_ms, timeout_ms)));
        if (ready > 0 && (entry.revents & POLLHUP) != 0) {
            return true;
        }
        if (ready <= 0) {
            return false;
        }
        // Output written before the close: take it and look again.
        uint8_t piece[256];
        if (::read(master_fd_, piece, sizeof piece) <= 0) {
            return (entry.revents & POLLHUP) != 0;
        }
    }
}

void PtyPeer::Vanish() {
    stop_ = true;
    if (player_.joinable() && player_.get_id() != std::this_thread::get_id()) {
        player_.join();
    }
    CloseLine();
}

void PtyPeer::CloseLine() {
    if (const int fd = master_fd_.exchange(-1); fd >= 0) {
        ::close(fd);
    }
    if (slave_fd_ >= 0) {
        ::close(slave_fd_);
        slave_fd_ = -1;
    }
}

void PtyPeer::Play(PeerScript script) {
    stop_ = false;
    player_ = std::thread([this, script = std::move(script)] { Run(script); });
}

void PtyPeer::Run(const PeerScript& script) {
    std::vector<uint8_t> line;
    size_t sent_bytes = 0;
    while (!stop_ && master_fd_ >= 0) {
        pollfd entry{master_fd_, POLLIN, 0};
        if (::poll(&entry, 1, 20) <= 0) {
            continue;
        }
        uint8_t piece[256];
        const ssize_t n =
            (entry.revents & POLLIN) != 0 ? ::read(master_fd_, piece, sizeof piece) : 0;
        if (n <= 0) {
            SleepMs(20);  // nobody has the line open at the moment
            continue;
        }
        line.insert(line.end(), piece, piece + n);
        for (std::vector<uint8_t> frame; CutFrame(line, frame);) {
            Request request{frame, {}, 0};
            Add(request);
            if (!script.Answers(request)) {
                continue;
            }
            CountAnswer();
            if (script.storm) {
                script.storm(request);
            }
            if (!Answer(script, sent_bytes)) {
                return;
            }
        }
    }
}

bool PtyPeer::Answer(const PeerScript& script, size_t& sent_bytes) {
    for (const auto& reply : script.replies) {
        std::span<const uint8_t> bytes(reply);
        const bool vanishes =
            script.vanish_after_bytes && sent_bytes + bytes.size() >= *script.vanish_after_bytes;
        if (vanishes) {
            bytes = bytes.first(*script.vanish_after_bytes - sent_bytes);
        }
        if (script.piece_size > 0) {
            Trickle(bytes, script.piece_size, script.pause_ms);
        } else {
            Write(bytes);
        }
        sent_bytes += bytes.size();
        if (vanishes) {
            if (!bytes.empty()) {
                SleepMs(50);  // time for the panel to read what came before the line hangs up
            }
            CloseLine();
            return false;
        }
    }
    return true;
}

}  // namespace panoptix::testing_support
