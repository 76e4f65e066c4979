#include "link/serial_monitor.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <system_error>
#include <vector>

#include "link/clock.h"
#include "link/serial_port.h"

namespace panoptix {

using serial_line::PortEvents;
using serial_line::PortInterest;

struct SerialMonitor::Shared {
    // The rest of one write that the port has not taken yet.
    struct PendingWrite {
        std::vector<uint8_t> bytes;
        size_t sent = 0;
        uint32_t start_ms = 0;
        uint32_t timeout_ms = 0;
    };

    std::atomic<bool> running{false};
    std::atomic<uint64_t> passes{0};
    int watch_fd = -1;
    serial_line::WakePipe wake;
    PassHook on_pass;
    SerialWriteTimeout write_timeout;

    // Output the port did not take at once, oldest first. Both threads write to the port only
    // while holding the lock, so the bytes leave in the order they were handed over.
    mutable std::mutex output_mutex;
    std::deque<PendingWrite> pending;
    size_t pending_bytes = 0;

    std::mutex finished_mutex;
    std::condition_variable finished_changed;
    bool finished = false;

    ~Shared() {
        serial_line::CloseSerialDevice(watch_fd);
        serial_line::CloseWakePipe(wake);
    }

    void DropPendingOutput() {
        pending.clear();
        pending_bytes = 0;
    }

    // Writes kept output while the port takes it; gives up writes whose time has run out, and
    // all of it when the port fails. Returns whether any byte went out. Lock held.
    bool ContinueOutput() {
        bool moved = false;
        while (!pending.empty()) {
            PendingWrite& head = pending.front();
            const size_t left = head.bytes.size() - head.sent;
            if (RemainingMs(head.start_ms, head.timeout_ms) == 0) {
                pending_bytes -= left;
                pending.pop_front();
                continue;
            }
            const int n = serial_line::WriteAvailable(watch_fd, head.bytes.data() + head.sent,
                                                      static_cast<int>(left));
            if (n < 0) {
                DropPendingOutput();
                break;
            }
            if (n == 0) {
                break;
            }
            moved = true;
            head.sent += static_cast<size_t>(n);
            pending_bytes -= static_cast<size_t>(n);
            if (head.sent == head.bytes.size()) {
                pending.pop_front();
            }
        }
        return moved;
    }

    // How long the thread may sleep before the oldest kept write runs out of time; -1 when
    // nothing is kept.
    int OutputWaitLimitMs() const {
        std::lock_guard lock(output_mutex);
        if (pending.empty()) {
            return -1;
        }
        return static_cast<int>(RemainingMs(pending.front().start_ms, pending.front().timeout_ms));
    }
};

namespace {

// Port events as the thread reports them to the hooks.
enum PortEvent : uint32_t {
    kEventNone = 0,
    kEventReceived = 1u << 0,
    kEventLineError = 1u << 1,
};

// Sleeps on the wake pipe, so that a stop request ends the pause at once.
void PauseUnlessWoken(const serial_line::WakePipe& wake, uint32_t pause_ms) {
    serial_line::WaitForPortEvents(-1, PortInterest::Input, wake.read_fd,
                                   static_cast<int>(pause_ms));
}

// poll takes a signed time; longer waits would turn into "no limit".
constexpr uint32_t kLongestPollMs = std::numeric_limits<int>::max();

// Hooks for received characters and line errors. No receiver is ever registered in this
// system, so they have nothing to report to; they exist so that a receiver has a place to go.
void OnReceive() {}
void OnError() {}

void DispatchEvents(int watch_fd, uint32_t events) {
    if ((events & kEventReceived) != 0 && serial_line::QueuedInputCount(watch_fd) > 0) {
        OnReceive();
    }
    if ((events & kEventLineError) != 0) {
        OnError();
    }
}

uint32_t TimeoutFor(const SerialWriteTimeout& timeout, size_t byte_count) {
    const uint64_t total_ms = uint64_t{timeout.per_byte_ms} * byte_count + timeout.constant_ms;
    return static_cast<uint32_t>(std::min<uint64_t>(total_ms, kLongestPollMs));
}

}  // namespace

void SerialMonitor::Run(Shared& shared) {
    while (shared.running.load()) {
        shared.passes.fetch_add(1, std::memory_order_relaxed);
        if (shared.on_pass) {
            shared.on_pass();
        }
        const int output_limit_ms = shared.OutputWaitLimitMs();
        const bool sending = output_limit_ms >= 0;
        uint32_t events = kEventNone;
        const int queued = serial_line::QueuedInputCount(shared.watch_fd);
        PortEvents woke;
        if (queued != 0) {
            // Unread bytes (or an unknown count): the callers take them, so waiting for "input
            // readable" would return at once for ever. Look again in 10 ms instead (sooner
            // when kept output can go on).
            events = kEventReceived;
            const int pause_ms = sending ? std::min<int>(output_limit_ms, kPendingInputPollMs)
                                         : static_cast<int>(kPendingInputPollMs);
            woke =
                serial_line::WaitForPortEvents(sending ? shared.watch_fd : -1, PortInterest::Output,
                                               shared.wake.read_fd, pause_ms);
        } else {
            woke = serial_line::WaitForPortEvents(
                shared.watch_fd, sending ? PortInterest::InputAndOutput : PortInterest::Input,
                shared.wake.read_fd, output_limit_ms);
            if (woke.readable) {
                events = kEventReceived;
            }
        }
        if (woke.woken) {
            serial_line::DrainWake(shared.wake);
        }
        bool moved = false;
        if (sending) {
            std::lock_guard lock(shared.output_mutex);
            moved = shared.ContinueOutput();
        }
        if (woke.line_fault) {
            events |= kEventLineError;
        }
        if (woke.line_fault || (woke.writable && !moved)) {
            // A hung-up line, or room reported that takes nothing, shows itself again at once
            // on every wait: pause instead of spinning.
            PauseUnlessWoken(shared.wake, kPendingInputPollMs);
        }
        if (events != kEventNone && shared.running.load()) {
            DispatchEvents(shared.watch_fd, events);
        }
    }
}

SerialMonitor::SerialMonitor(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

std::unique_ptr<SerialMonitor> SerialMonitor::Start(int port_fd, PassHook on_pass,
                                                    SerialWriteTimeout write_timeout) {
    auto shared = std::make_shared<Shared>();
    shared->on_pass = std::move(on_pass);
    shared->write_timeout = write_timeout;
    shared->watch_fd = serial_line::DuplicateDescriptor(port_fd);
    if (shared->watch_fd < 0 || !serial_line::CreateWakePipe(shared->wake)) {
        return nullptr;
    }
    shared->running.store(true);
    std::unique_ptr<SerialMonitor> monitor(new SerialMonitor(shared));
    try {
        // The thread holds its own reference: the block outlives a thread that is let go.
        monitor->thread_ = std::thread([shared] {
            Run(*shared);
            {
                std::lock_guard lock(shared->finished_mutex);
                shared->finished = true;
            }
            shared->finished_changed.notify_all();
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return monitor;
}

SerialMonitor::~SerialMonitor() {
    Stop(500);
}

bool SerialMonitor::Stop(uint32_t wait_ms) {
    if (!thread_.joinable()) {
        return true;
    }
    {
        // Output not yet gone is given up with the port; a thread that is let go writes nothing.
        std::lock_guard lock(shared_->output_mutex);
        shared_->DropPendingOutput();
    }
    shared_->running.store(false);
    serial_line::SignalWake(shared_->wake);
    bool ended;
    {
        std::unique_lock lock(shared_->finished_mutex);
        ended = shared_->finished_changed.wait_for(lock, std::chrono::milliseconds(wait_ms),
                                                   [this] { return shared_->finished; });
    }
    if (ended) {
        thread_.join();
    } else {
        thread_.detach();
    }
    return ended;
}

int SerialMonitor::Write(std::span<const uint8_t> bytes) {
    if (bytes.empty()) {
        return 0;
    }
    std::lock_guard lock(shared_->output_mutex);
    const bool was_idle = shared_->pending.empty();
    size_t sent = 0;
    if (was_idle) {
        const int n = serial_line::WriteAvailable(shared_->watch_fd, bytes.data(),
                                                  static_cast<int>(bytes.size()));
        if (n < 0) {
            return 0;  // the port failed: nothing was started, nothing is kept
        }
        sent = static_cast<size_t>(n);
    }
    if (sent < bytes.size()) {
        Shared::PendingWrite rest;
        rest.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(sent), bytes.end());
        rest.start_ms = TickMs();
        rest.timeout_ms = TimeoutFor(shared_->write_timeout, bytes.size());
        shared_->pending_bytes += rest.bytes.size();
        shared_->pending.push_back(std::move(rest));
        if (was_idle) {
            // The thread sleeps watching input only; have it watch for room too.
            serial_line::SignalWake(shared_->wake);
        }
    }
    return static_cast<int>(sent);
}

size_t SerialMonitor::PendingOutputBytes() const {
    std::lock_guard lock(shared_->output_mutex);
    return shared_->pending_bytes;
}

uint64_t SerialMonitor::PassCount() const {
    return shared_->passes.load(std::memory_order_relaxed);
}

}  // namespace panoptix
