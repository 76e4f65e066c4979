#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "fake_peers.h"

namespace panoptix::testing {
namespace {

uint32_t NowMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int BoundLoopbackSocket(uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        throw std::runtime_error("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        throw std::runtime_error("bind");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

bool WaitReadable(int fd, uint32_t timeout_ms) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, static_cast<int>(timeout_ms)) > 0 && (entry.revents & POLLIN);
}

}  // namespace

LoopbackDevice::LoopbackDevice() {
    fd_ = BoundLoopbackSocket(port_);
}

LoopbackDevice::~LoopbackDevice() {
    ::close(fd_);
}

std::optional<std::vector<uint8_t>> LoopbackDevice::Receive(uint32_t timeout_ms) {
    if (!WaitReadable(fd_, timeout_ms)) {
        return std::nullopt;
    }
    std::vector<uint8_t> datagram(2048);
    sockaddr_in from{};
    socklen_t from_length = sizeof from;
    const ssize_t length = ::recvfrom(fd_, datagram.data(), datagram.size(), 0,
                                      reinterpret_cast<sockaddr*>(&from), &from_length);
    if (length < 0) {
        return std::nullopt;
    }
    last_sender_address_ = from.sin_addr.s_addr;
    last_sender_port_ = from.sin_port;
    datagram.resize(static_cast<size_t>(length));
    return datagram;
}

void LoopbackDevice::Reply(std::span<const uint8_t> bytes) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = last_sender_address_;
    to.sin_port = last_sender_port_;
    ::sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

uint16_t FreeLoopbackPort() {
    uint16_t port = 0;
    ::close(BoundLoopbackSocket(port));
    return port;
}

PtyDevice::PtyDevice() {
    char name[128] = {};
    if (::openpty(&master_fd_, &slave_fd_, name, nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty");
    }
    slave_name_ = name;
    // Raw bytes on the device side, so the line discipline never rewrites the frames.
    termios settings{};
    ::tcgetattr(master_fd_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(master_fd_, TCSANOW, &settings);
}

PtyDevice::~PtyDevice() {
    ::close(slave_fd_);
    ::close(master_fd_);
}

std::vector<uint8_t> PtyDevice::Read(size_t count, uint32_t timeout_ms) {
    std::vector<uint8_t> bytes;
    const uint32_t start_ms = NowMs();
    while (bytes.size() < count) {
        const uint32_t elapsed_ms = NowMs() - start_ms;
        if (elapsed_ms >= timeout_ms || !WaitReadable(master_fd_, timeout_ms - elapsed_ms)) {
            break;
        }
        uint8_t chunk[256];
        const ssize_t got = ::read(master_fd_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

std::vector<uint8_t> PtyDevice::ReadUntilQuiet(uint32_t quiet_ms) {
    std::vector<uint8_t> bytes;
    while (WaitReadable(master_fd_, quiet_ms)) {
        uint8_t chunk[256];
        const ssize_t got = ::read(master_fd_, chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return bytes;
}

void PtyDevice::Write(std::span<const uint8_t> bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t done = ::write(master_fd_, bytes.data() + written, bytes.size() - written);
        if (done <= 0) {
            throw std::runtime_error("write to pty");
        }
        written += static_cast<size_t>(done);
    }
}

}  // namespace panoptix::testing
