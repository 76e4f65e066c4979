#pragma once
// The serial engine's monitoring thread. It waits for port events with poll and hands them to
// the event hooks; it moves no data (callers poll the input queue themselves). While unread
// bytes wait in the queue it wakes every 10 ms without consuming them.
//
// Everything the thread touches (its own duplicate of the port descriptor, the wake pipe, the
// running flag) lives in a block shared with the thread, so a thread that does not end within
// the stop wait can be let go: it finishes on its own and frees the block, and the engine never
// touches it again.
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace panoptix {

class SerialMonitor {
  public:
    // Called by the thread at the start of every pass (tests use it to hold the thread up).
    using PassHook = std::function<void()>;

    // Starts watching the port; nullptr when the thread or its descriptors cannot be created.
    static std::unique_ptr<SerialMonitor> Start(int port_fd, PassHook on_pass = {});

    // Stops the thread, waiting up to 500 ms.
    ~SerialMonitor();
    SerialMonitor(const SerialMonitor&) = delete;
    SerialMonitor& operator=(const SerialMonitor&) = delete;

    // Clears the running flag, wakes the thread and waits up to wait_ms for it to end. Returns
    // false when it had not ended by then; it is then detached and ends by itself.
    bool Stop(uint32_t wait_ms);

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
