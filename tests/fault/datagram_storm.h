#pragma once
// A storm of random and truncated datagrams aimed at the panel's port: random bytes of any
// length (none, short, longer than any receive buffer), cuts of a genuine reply, and frames
// that come close to being accepted. A rule supplied by the test makes each datagram one that
// the panel must not take (for example: a status query takes any datagram of at most 1024 bytes
// whose byte 16 is 0x32), so the result of the exchange is what the genuine replies alone give.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <utility>
#include <vector>

#include <unistd.h>

#include "fault_support.h"
#include "link/clock.h"
#include "support/udp_peer.h"

namespace panoptix::fault {

class DatagramStorm {
  public:
    using Disarm = std::function<void(std::vector<uint8_t>&)>;

    DatagramStorm(std::vector<uint8_t> genuine_reply, Disarm disarm, uint32_t seed)
        : genuine_(std::move(genuine_reply)), disarm_(std::move(disarm)), random_(seed) {}

    std::vector<uint8_t> Next() {
        std::vector<uint8_t> datagram;
        switch (Uniform(0, 5)) {
            case 0:
                datagram = RandomBytes(Uniform(0, 64));
                break;
            case 1:
                datagram = RandomBytes(Uniform(0, 1500));
                break;
            case 2:  // a genuine reply cut short
                datagram.assign(genuine_.begin(),
                                genuine_.begin() +
                                    static_cast<std::ptrdiff_t>(Uniform(0, genuine_.size() - 1)));
                break;
            case 3:
                datagram = NearFrame(Uniform(17, 200));
                break;
            case 4:
                datagram = NearFrame(Uniform(129, 1500));
                break;
            default:
                break;  // an empty datagram
        }
        disarm_(datagram);
        return datagram;
    }

  private:
    size_t Uniform(size_t low, size_t high) {
        return std::uniform_int_distribution<size_t>(low, high)(random_);
    }

    std::vector<uint8_t> RandomBytes(size_t length) {
        std::vector<uint8_t> bytes(length);
        for (auto& byte : bytes) {
            byte = static_cast<uint8_t>(Uniform(0, 255));
        }
        return bytes;
    }

    // Frame markers at both ends (and at byte 127, where a reader that cut the datagram to a
    // 128-byte buffer would see its end), a command byte that is often the awaited one, and a
    // body full of '-' pairs.
    std::vector<uint8_t> NearFrame(size_t length) {
        std::vector<uint8_t> bytes = RandomBytes(length);
        for (auto& byte : bytes) {
            if (Uniform(0, 2) == 0) {
                byte = '-';
            }
        }
        bytes[0] = kFrameStart1;
        bytes[1] = kFrameStart2;
        bytes[2] = static_cast<uint8_t>(length & 0xFF);
        bytes[3] = static_cast<uint8_t>(length >> 8);
        bytes[kFrameCommandOffset] = Uniform(0, 1) == 0 ? genuine_[kFrameCommandOffset] : 0x90;
        bytes.back() = kFrameEnd;
        if (length > 128) {
            bytes[127] = kFrameEnd;
        }
        return bytes;
    }

    std::vector<uint8_t> genuine_;
    Disarm disarm_;
    std::mt19937 random_;
};

// Sends up to count storm datagrams from `from` to the panel's port, holding back while the
// port's receive queue is well filled so that the kernel drops none of them. Ends early when
// deadline_ms has passed since start_ms or when no socket is bound to the port any more.
// Returns the number sent.
inline size_t SendStorm(const testing_support::UdpPeer& from, uint16_t panel_port,
                        DatagramStorm& storm, size_t count, uint32_t start_ms,
                        uint32_t deadline_ms) {
    constexpr long kQueueHighWaterBytes = 96 * 1024;
    constexpr size_t kDatagramsBetweenLooks = 16;
    size_t sent = 0;
    while (sent < count && RemainingMs(start_ms, deadline_ms) > 0) {
        if (sent % kDatagramsBetweenLooks == 0) {
            std::optional<long> queued = QueuedBytesOnPort(panel_port);
            while (queued && *queued > kQueueHighWaterBytes &&
                   RemainingMs(start_ms, deadline_ms) > 0) {
                ::usleep(200);
                queued = QueuedBytesOnPort(panel_port);
            }
            if (!queued) {
                return sent;  // the panel has closed its socket
            }
        }
        from.SendTo(panel_port, storm.Next());
        ++sent;
    }
    return sent;
}

}  // namespace panoptix::fault
