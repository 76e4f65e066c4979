#pragma once
// Helpers shared by the UDP transport and LAN search tests: trace and message recorders, and a
// plain UDP socket that plays the device side without going through the code under test.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/operator_messages.h"
#include "link/trace.h"

namespace panoptix::testing_support {

// Collects every trace line while it lives.
class TraceRecorder {
  public:
    TraceRecorder() {
        SetTraceSink([this](std::string_view line) {
            std::lock_guard lock(mutex_);
            lines_.emplace_back(line);
        });
    }
    ~TraceRecorder() { SetTraceSink(nullptr); }
    TraceRecorder(const TraceRecorder&) = delete;
    TraceRecorder& operator=(const TraceRecorder&) = delete;

    std::vector<std::string> lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    size_t CountStartingWith(std::string_view prefix) const {
        size_t count = 0;
        for (const auto& line : lines()) {
            count += line.starts_with(prefix) ? 1 : 0;
        }
        return count;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

// Records the operator's "Err" boxes instead of showing them.
class MessageRecorder : public OperatorMessages {
  public:
    MessageRecorder() { SetOperatorMessages(this); }
    ~MessageRecorder() override { SetOperatorMessages(nullptr); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void ShowError(std::string_view text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

inline sockaddr_in SocketAddress(const std::string& ip, uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    inet_pton(AF_INET, ip.c_str(), &address.sin_addr);
    return address;
}

struct Datagram {
    std::vector<uint8_t> bytes;
    std::string sender_ip;
    uint16_t sender_port = 0;
};

// One UDP socket of the device side (or any other party of a test).
class RawUdpSocket {
  public:
    enum class Reuse { No, Yes };

    // Binds ip:port (port 0 picks a free one); valid() tells whether that worked.
    RawUdpSocket(const std::string& ip, uint16_t port, Reuse reuse = Reuse::No) {
        fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) {
            return;
        }
        if (reuse == Reuse::Yes) {
            const int on = 1;
            ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        }
        const sockaddr_in address = SocketAddress(ip, port);
        if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~RawUdpSocket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    RawUdpSocket(const RawUdpSocket&) = delete;
    RawUdpSocket& operator=(const RawUdpSocket&) = delete;

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    uint16_t port() const {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        return ntohs(address.sin_port);
    }

    bool SendTo(const std::string& ip, uint16_t port, std::span<const uint8_t> bytes) const {
        const sockaddr_in address = SocketAddress(ip, port);
        return ::sendto(fd_, bytes.data(), bytes.size(), 0,
                        reinterpret_cast<const sockaddr*>(&address),
                        sizeof address) == static_cast<ssize_t>(bytes.size());
    }

    // Waits up to timeout_ms for one datagram (of up to 64 KiB).
    std::optional<Datagram> Receive(int timeout_ms) const {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, timeout_ms) <= 0) {
            return std::nullopt;
        }
        std::vector<uint8_t> buffer(65536);
        sockaddr_in sender{};
        socklen_t size = sizeof sender;
        const ssize_t length = ::recvfrom(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                          reinterpret_cast<sockaddr*>(&sender), &size);
        if (length < 0) {
            return std::nullopt;
        }
        buffer.resize(static_cast<size_t>(length));
        char ip[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &sender.sin_addr, ip, sizeof ip);
        return Datagram{std::move(buffer), ip, ntohs(sender.sin_port)};
    }

  private:
    int fd_ = -1;
};

}  // namespace panoptix::testing_support
