#pragma once
// Helpers of the fault tests: the receive queue of the panel's port as the kernel reports it,
// literal device replies, and a trace sink that only counts. The devices and the storm are
// played by the scripted peers of tests/support.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/command_frame.h"
#include "link/device_entry.h"
#include "link/trace.h"
#include "support/recorders.h"

namespace panoptix::fault {

inline constexpr char kLoopback[] = "127.0.0.1";

// Bytes waiting in the receive queue of the UDP socket bound to port (any local address), as
// /proc/net/udp reports them, or nullopt while no socket is bound there. The storm uses it to
// hold back instead of overflowing the queue, so that every datagram it sends is read.
inline std::optional<long> QueuedBytesOnPort(uint16_t port) {
    FILE* table = std::fopen("/proc/net/udp", "r");
    if (table == nullptr) {
        return std::nullopt;
    }
    std::optional<long> queued;
    char line[512];
    while (std::fgets(line, sizeof line, table) != nullptr) {
        unsigned slot = 0, local_ip = 0, local_port = 0, remote_ip = 0, remote_port = 0;
        unsigned socket_state = 0, tx_queue = 0;
        unsigned long rx_queue = 0;
        if (std::sscanf(line, " %u: %x:%x %x:%x %x %x:%lx", &slot, &local_ip, &local_port,
                        &remote_ip, &remote_port, &socket_state, &tx_queue, &rx_queue) == 8 &&
            local_port == port) {
            queued = static_cast<long>(rx_queue);
            break;
        }
    }
    std::fclose(table);
    return queued;
}

// Counts trace lines that start with a prefix; everything else is dropped.
class TraceCounter {
  public:
    explicit TraceCounter(std::string prefix) : prefix_(std::move(prefix)) {
        SetTraceSink([this](std::string_view line) {
            if (line.starts_with(prefix_)) {
                count_.fetch_add(1, std::memory_order_relaxed);
            }
        });
    }
    ~TraceCounter() { SetTraceSink(nullptr); }
    TraceCounter(const TraceCounter&) = delete;
    TraceCounter& operator=(const TraceCounter&) = delete;

    long count() const { return count_.load(std::memory_order_relaxed); }

  private:
    std::string prefix_;
    std::atomic<long> count_{0};
};

// A device reply with the device bytes of a multiviewer (type A1, address 01).
inline std::vector<uint8_t> MultiviewerFrame(uint8_t command, std::span<const uint8_t> payload,
                                             LinkByte link = LinkByte::Udp) {
    DeviceEntry multiviewer;
    multiviewer.device_type = 0xA1;
    multiviewer.device_address = 0x01;
    return MakeCommandFrame(multiviewer, link, command, payload);
}

// A complete 669-byte status reply. Variant 0: nine windows, 720p50, labels and meters on, a
// label per window ("IN 1" ... "IN 16"), sources in reverse, border on, locked. Variant 1
// differs in every field: four windows, 1080p60, everything off, labels "OLD 1" ..., sources in
// order, other colours.
inline std::vector<uint8_t> StatusReply(LinkByte link = LinkByte::Udp, int variant = 0) {
    std::vector<uint8_t> payload(669 - kFrameOverhead, 0);  // frame bytes 17 to 665
    const auto put = [&payload](size_t frame_offset, uint8_t value) {
        payload[frame_offset - kFramePayloadOffset] = value;
    };
    const bool first = variant == 0;
    const uint8_t header[2][6] = {{9, 6, 1, 2, 5, 3}, {4, 7, 0, 0, 11, 0}};
    for (size_t i = 0; i < 6; ++i) {
        put(18 + i, header[first ? 0 : 1][i]);  // layout, resolution, enables, audio source
    }
    for (size_t window = 0; window < 16; ++window) {
        const std::string label = (first ? "IN " : "OLD ") + std::to_string(window + 1);
        const size_t slot = 24 + 33 * window;
        put(slot, static_cast<uint8_t>(2 * label.size()));
        for (size_t c = 0; c < label.size(); ++c) {
            put(slot + 1 + 2 * c, static_cast<uint8_t>(label[c]));
        }
        put(552 + window, static_cast<uint8_t>(first ? 16 - window : window + 1));
    }
    put(600, first ? 1 : 0);
    put(601, first ? 1 : 0);
    for (size_t i = 0; i < 64; ++i) {
        put(602 + i, static_cast<uint8_t>((i * 7 + (first ? 0 : 3)) % 16));
    }
    return MultiviewerFrame(command::kMultiviewerStatus, payload, link);
}

// The discovery reply of a device named `name` ("ABC" gives ABC-1- after byte 18).
inline std::vector<uint8_t> DiscoveryReply(std::string_view name_and_dashes) {
    std::vector<uint8_t> payload{0x00};
    payload.insert(payload.end(), name_and_dashes.begin(), name_and_dashes.end());
    return MultiviewerFrame(command::kDiscovery, payload);
}

}  // namespace panoptix::fault
