#pragma once
// The serial engine's monitoring thread. It waits for port events with poll and hands them to
// the event hooks; it moves no input (callers poll the input queue themselves). While unread
// bytes wait in the queue it wakes every 10 ms without consuming them.
//
// Output goes through Write: what the port takes at once is written at once, and the rest is
// kept and finished by the thread as the port takes it, in order, so a frame never leaves
// cut short and the caller never waits. Each write has a time-out (1 ms per byte + 10000 ms
// from the call); what has not gone by then is given up and the writes after it go on.
//
// Everything the thread touches (its own duplicate of the port descriptor, the wake pipe, the
// running flag) lives in a block shared with the thread, so a thread that does not end within
// the stop wait can be let go: it finishes on its own and frees the block, and the engine never
// touches it again.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <thread>

namespace panoptix {

// How long a write may take before its rest is given up: per_byte_ms for each byte plus
// constant_ms, counted from the call.
struct SerialWriteTimeout {
    uint32_t per_byte_ms = 1;
    uint32_t constant_ms = 10000;
};

class SerialMonitor {
  public:
    // Called by the thread at the start of every pass (tests use it to hold the thread up).
    using PassHook = std::function<void()>;

    // Starts watching the port; nullptr when the thread or its descriptors cannot be created.
    static std::unique_ptr<SerialMonitor> Start(int port_fd, PassHook on_pass = {},
                                                SerialWriteTimeout write_timeout = {});

    // Stops the thread, waiting up to 500 ms.
    ~SerialMonitor();
    SerialMonitor(const SerialMonitor&) = delete;
    SerialMonitor& operator=(const SerialMonitor&) = delete;

    // Clears the running flag, wakes the thread and waits up to wait_ms for it to end. Returns
    // false when it had not ended by then; it is then detached and ends by itself.
    bool Stop(uint32_t wait_ms);

    // Hands bytes to the port in order after everything written before. Returns how many went
    // out at once (0 when earlier output still waits, or when the port failed and nothing was
    // kept); the rest is kept and finished by the thread.
    int Write(std::span<const uint8_t> bytes);

    // Bytes kept for the thread that have not gone out yet.
    size_t PendingOutputBytes() const;

    // Passes of the thread's loop so far (diagnostics).
    uint64_t PassCount() const;

    static constexpr uint32_t kPendingInputPollMs = 10;

  private:
    struct Shared;
    explicit SerialMonitor(std::shared_ptr<Shared> shared);
    static void Run(Shared& shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace panoptix
