#include "link/serial_monitor.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "link/serial_port_posix.h"

namespace panoptix {

using serial_posix::WaitResult;

struct SerialMonitor::Shared {
    std::atomic<bool> running{false};
    std::atomic<uint64_t> passes{0};
    int watch_fd = -1;
    serial_posix::WakePipe wake;
    PassHook on_pass;

    std::mutex finished_mutex;
    std::condition_variable finished_changed;
    bool finished = false;

    ~Shared() {
        serial_posix::CloseSerialDevice(watch_fd);
        serial_posix::CloseWakePipe(wake);
    }
};

namespace {

// Port events as the thread reports them to the hooks.
enum PortEvent : uint32_t {
    kEventNone = 0,
    kEventReceived = 1u << 0,
    kEventLineError = 1u << 1,
};

// Hooks for received characters and line errors. No receiver is ever registered in this
// system, so they have nothing to report to; they exist so that a receiver has a place to go.
void OnReceive() {}
void OnError() {}

void DispatchEvents(int watch_fd, uint32_t events) {
    if ((events & kEventReceived) != 0 && serial_posix::QueuedInputCount(watch_fd) > 0) {
        OnReceive();
    }
    if ((events & kEventLineError) != 0) {
        OnError();
    }
}

// Sleeps on the wake pipe, so that a stop request ends the pause at once.
void PauseUnlessWoken(const serial_posix::WakePipe& wake, uint32_t pause_ms) {
    serial_posix::WaitForEvent(-1, wake.read_fd, static_cast<int>(pause_ms));
}

}  // namespace

void SerialMonitor::Run(Shared& shared) {
    while (shared.running.load()) {
        shared.passes.fetch_add(1, std::memory_order_relaxed);
        if (shared.on_pass) {
            shared.on_pass();
        }
        uint32_t events = kEventNone;
        const int queued = serial_posix::QueuedInputCount(shared.watch_fd);
        if (queued != 0) {
            // Unread bytes (or an unknown count): the callers take them, so waiting for "input
            // readable" would return at once for ever. Look again in 10 ms instead.
            events = kEventReceived;
            PauseUnlessWoken(shared.wake, kPendingInputPollMs);
        } else {
            switch (serial_posix::WaitForEvent(shared.watch_fd, shared.wake.read_fd, -1)) {
                case WaitResult::Readable:
                    events = kEventReceived;
                    break;
                case WaitResult::LineFault:
                    events = kEventLineError;
                    PauseUnlessWoken(shared.wake, kPendingInputPollMs);
                    break;
                case WaitResult::Woken:
                case WaitResult::TimedOut:
                    break;
            }
        }
        if (events != kEventNone && shared.running.load()) {
            DispatchEvents(shared.watch_fd, events);
        }
    }
}

SerialMonitor::SerialMonitor(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}

std::unique_ptr<SerialMonitor> SerialMonitor::Start(int port_fd, PassHook on_pass) {
    auto shared = std::make_shared<Shared>();
    shared->on_pass = std::move(on_pass);
    shared->watch_fd = serial_posix::DuplicateDescriptor(port_fd);
    if (shared->watch_fd < 0 || !serial_posix::CreateWakePipe(shared->wake)) {
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
    shared_->running.store(false);
    serial_posix::SignalWake(shared_->wake);
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

uint64_t SerialMonitor::PassCount() const {
    return shared_->passes.load(std::memory_order_relaxed);
}

}  // namespace panoptix
