#pragma once
// Helpers of the shell's widget tests: a loopback fake device that answers the device search,
// free loopback ports, and a stand-in device page.
#include <poll.h>
#include <unistd.h>

#include <QWidget>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "link/command_frame.h"
#include "link/udp_test_support.h"
#include "shell/device_page_choice.h"

namespace panoptix::testing_support {

// A UDP port on 127.0.0.1 that nothing is bound to at the moment of the call.
inline uint16_t FreeLoopbackPort() {
    RawUdpSocket probe("127.0.0.1", 0);
    return probe.port();
}

// A discovery reply: bytes 18 on hold the model name, then "-1-" closes it.
inline std::vector<uint8_t> DiscoveryReply(uint8_t type_byte, uint8_t address_byte,
                                           const std::string& model_name) {
    std::vector<uint8_t> payload = {0x00};
    payload.insert(payload.end(), model_name.begin(), model_name.end());
    for (const char c : std::string("-1-")) {
        payload.push_back(static_cast<uint8_t>(c));
    }
    std::vector<uint8_t> frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(type_byte, address_byte, LinkByte::Udp, command::kDiscovery, payload,
                              frame);
    return frame;
}

// Answers every discovery request on its loopback port with the given replies, in order.
class FakeSearchDevice {
  public:
    explicit FakeSearchDevice(std::vector<std::vector<uint8_t>> replies)
        : socket_("127.0.0.1", 0), replies_(std::move(replies)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~FakeSearchDevice() {
        stop_ = true;
        thread_.join();
    }
    FakeSearchDevice(const FakeSearchDevice&) = delete;
    FakeSearchDevice& operator=(const FakeSearchDevice&) = delete;

    uint16_t port() const { return socket_.port(); }
    int requests() const { return requests_; }

  private:
    void Run() {
        while (!stop_) {
            const auto datagram = socket_.Receive(50);
            if (!datagram || datagram->bytes.size() <= kFrameCommandOffset ||
                datagram->bytes[kFrameCommandOffset] != command::kDiscovery) {
                continue;
            }
            ++requests_;
            for (const auto& reply : replies_) {
                socket_.SendTo(datagram->sender_ip, datagram->sender_port, reply);
            }
        }
    }

    RawUdpSocket socket_;
    std::vector<std::vector<uint8_t>> replies_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

// The device end of a pseudo-terminal: answers the first whole search request it reads with
// the given reply.
class FakeSerialDevice {
  public:
    FakeSerialDevice(int master_fd, std::vector<uint8_t> reply)
        : master_fd_(master_fd), reply_(std::move(reply)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~FakeSerialDevice() {
        stop_ = true;
        thread_.join();
    }
    FakeSerialDevice(const FakeSerialDevice&) = delete;
    FakeSerialDevice& operator=(const FakeSerialDevice&) = delete;

    int requests() const { return requests_; }

  private:
    void Run() {
        std::vector<uint8_t> received;
        while (!stop_) {
            pollfd entry{master_fd_, POLLIN, 0};
            if (::poll(&entry, 1, 50) <= 0) {
                continue;
            }
            uint8_t buffer[256];
            const ssize_t length = ::read(master_fd_, buffer, sizeof buffer);
            if (length <= 0) {
                continue;
            }
            received.insert(received.end(), buffer, buffer + length);
            if (received.size() >= kFrameOverhead &&
                received[kFrameCommandOffset] == command::kDiscovery) {
                ++requests_;
                received.clear();
                [[maybe_unused]] const ssize_t written =
                    ::write(master_fd_, reply_.data(), reply_.size());
            }
        }
    }

    int master_fd_;
    std::vector<uint8_t> reply_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

// What a device page would be, for the tests: remembers its kind.
class StandInPage : public QWidget {
  public:
    StandInPage(DevicePageKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {}
    DevicePageKind kind() const { return kind_; }

  private:
    DevicePageKind kind_;
};

}  // namespace panoptix::testing_support
