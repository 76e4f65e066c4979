#pragma once
// What a scripted fake device does with each request that reaches it, on either transport:
// reply (the bytes sent back), trickle (the reply in pieces with a pause before each), vanish
// (the device goes away after so many bytes of its reply) and storm (something the test sends
// first, such as a burst of junk from elsewhere). The peers record every request either way.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "link/command_frame.h"

namespace panoptix::testing_support {

// One request as a peer received it: a datagram, or a frame cut from the serial line. The
// sender is known for UDP only.
struct Request {
    std::vector<uint8_t> bytes;
    std::string sender_ip;
    uint16_t sender_port = 0;

    // The command byte (frame byte 16), or nullopt for anything shorter.
    std::optional<uint8_t> Command() const {
        if (bytes.size() <= kFrameCommandOffset) {
            return std::nullopt;
        }
        return bytes[kFrameCommandOffset];
    }
};

struct PeerScript {
    // The requests it answers by their command byte; nullopt answers every request.
    std::optional<uint8_t> answers;
    // Reply: sent back in order to each answered request (over UDP one datagram each).
    std::vector<std::vector<uint8_t>> replies;
    // Trickle (serial): the replies are written piece_size bytes at a time, pause_ms before each.
    size_t piece_size = 0;
    uint32_t pause_ms = 0;
    // Vanish: the device goes away once it has sent this many bytes of its replies (the serial
    // line hangs up; the UDP socket closes).
    std::optional<size_t> vanish_after_bytes;
    // Storm: called with each answered request before the replies go out.
    std::function<void(const Request&)> storm;

    // Answers requests with command byte `command` (nullopt: every request) with the replies.
    static PeerScript Reply(std::optional<uint8_t> command,
                            std::vector<std::vector<uint8_t>> replies) {
        PeerScript script;
        script.answers = command;
        script.replies = std::move(replies);
        return script;
    }
    // Answers nothing; the peer only records.
    static PeerScript Silent() { return Reply(std::nullopt, {}); }

    PeerScript& Trickle(size_t piece, uint32_t pause) {
        piece_size = piece;
        pause_ms = pause;
        return *this;
    }
    PeerScript& VanishAfter(size_t bytes) {
        vanish_after_bytes = bytes;
        return *this;
    }
    PeerScript& StormFirst(std::function<void(const Request&)> burst) {
        storm = std::move(burst);
        return *this;
    }

    bool Answers(const Request& request) const { return !answers || request.Command() == answers; }
};

// What a peer received, in order, for the test thread to read or wait for.
class RequestLog {
  public:
    void Add(Request request) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(std::move(request));
        }
        arrived_.notify_all();
    }
    void CountAnswer() {
        std::lock_guard lock(mutex_);
        ++answered_;
    }

    std::vector<Request> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    // The bytes of every request so far.
    std::vector<std::vector<uint8_t>> Frames() const {
        std::vector<std::vector<uint8_t>> frames;
        for (const auto& request : Requests()) {
            frames.push_back(request.bytes);
        }
        return frames;
    }
    // Command bytes of the requests so far (0 for one too short to have one).
    std::vector<uint8_t> Commands() const {
        std::vector<uint8_t> commands;
        for (const auto& request : Requests()) {
            commands.push_back(request.Command().value_or(0));
        }
        return commands;
    }
    // How many requests the script has answered (counted as each answer begins, so that the
    // count is there before the panel can see the reply).
    int Answered() const {
        std::lock_guard lock(mutex_);
        return answered_;
    }
    // Waits until at least count requests have arrived, at most timeout_ms; the frames then.
    std::vector<std::vector<uint8_t>> WaitForFrames(size_t count, int timeout_ms) const {
        {
            std::unique_lock lock(mutex_);
            arrived_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                              [&] { return requests_.size() >= count; });
        }
        return Frames();
    }
    // Frame number count (1-based) once it has arrived, or an empty frame after timeout_ms.
    std::vector<uint8_t> WaitForFrame(size_t count, int timeout_ms = 1000) const {
        const auto frames = WaitForFrames(count, timeout_ms);
        return frames.size() >= count ? frames[count - 1] : std::vector<uint8_t>{};
    }
    void Forget() {
        std::lock_guard lock(mutex_);
        requests_.clear();
    }

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Request> requests_;
    int answered_ = 0;
};

}  // namespace panoptix::testing_support
