#pragma once
// A fake multiviewer on 127.0.0.1 for the page tests: answers the status query (0x32) with the
// reply it was given (or stays silent), and records every frame it receives. Its thread sleeps
// on the socket; waiting for a frame sleeps on a condition variable.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "link/command_frame.h"
#include "link/udp_test_support.h"

namespace panoptix::testing_support {

class FakeMultiviewer {
  public:
    // With no status reply the device never answers the query.
    explicit FakeMultiviewer(std::optional<std::vector<uint8_t>> status_reply)
        : socket_("127.0.0.1", 0), status_reply_(std::move(status_reply)) {
        thread_ = std::thread([this] { Run(); });
    }
    ~FakeMultiviewer() {
        stop_ = true;
        thread_.join();
    }
    FakeMultiviewer(const FakeMultiviewer&) = delete;
    FakeMultiviewer& operator=(const FakeMultiviewer&) = delete;

    uint16_t port() const { return socket_.port(); }

    // Every frame received so far, in order.
    std::vector<std::vector<uint8_t>> Frames() const {
        std::lock_guard lock(mutex_);
        return frames_;
    }
    // Command bytes (frame byte 16) of the frames received so far.
    std::vector<uint8_t> Commands() const {
        std::vector<uint8_t> commands;
        for (const auto& frame : Frames()) {
            commands.push_back(frame.size() > kFrameCommandOffset ? frame[kFrameCommandOffset] : 0);
        }
        return commands;
    }

    // Waits until at least count frames have arrived, at most timeout_ms; the frames then.
    std::vector<std::vector<uint8_t>> WaitForFrames(size_t count, int timeout_ms) const {
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                          [&] { return frames_.size() >= count; });
        return frames_;
    }

    // The newest frame after waiting for frame number count (1-based), or an empty frame.
    std::vector<uint8_t> WaitForFrame(size_t count, int timeout_ms = 1000) const {
        const auto frames = WaitForFrames(count, timeout_ms);
        return frames.size() >= count ? frames[count - 1] : std::vector<uint8_t>{};
    }

    void Forget() {
        std::lock_guard lock(mutex_);
        frames_.clear();
    }

  private:
    void Run() {
        while (!stop_) {
            const auto datagram = socket_.Receive(20);
            if (!datagram) {
                continue;
            }
            const bool is_query =
                datagram->bytes.size() > kFrameCommandOffset &&
                datagram->bytes[kFrameCommandOffset] == command::kMultiviewerStatus;
            if (is_query && status_reply_) {
                socket_.SendTo(datagram->sender_ip, datagram->sender_port, *status_reply_);
            }
            {
                std::lock_guard lock(mutex_);
                frames_.push_back(datagram->bytes);
            }
            arrived_.notify_all();
        }
    }

    RawUdpSocket socket_;
    std::optional<std::vector<uint8_t>> status_reply_;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<std::vector<uint8_t>> frames_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace panoptix::testing_support
