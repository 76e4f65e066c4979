// The monitoring thread's stop: a thread held up past the stop wait is let go, keeps only what
// it owns, and ends by itself once it can.
#include "link/serial_monitor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <future>

#include "link/clock.h"
#include "support/pty_peer.h"

namespace panoptix {
namespace {

using testing_support::PtyPeer;

bool WaitForFlag(const std::atomic<bool>& flag, uint32_t timeout_ms) {
    const uint32_t start_ms = TickMs();
    while (!flag.load()) {
        if (RemainingMs(start_ms, timeout_ms) == 0) {
            return false;
        }
        SleepMs(2);
    }
    return true;
}

TEST(SerialMonitor, StopsPromptlyWhenAsleep) {
    PtyPeer peer;
    const int port_fd = ::open(peer.PortName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(port_fd, 0);
    auto monitor = SerialMonitor::Start(port_fd);
    ASSERT_NE(monitor, nullptr);
    SleepMs(10);
    EXPECT_TRUE(monitor->Stop(500));
    EXPECT_TRUE(monitor->Stop(500)) << "a second stop has nothing left to do";
    monitor.reset();
    ::close(port_fd);
    EXPECT_TRUE(peer.WaitForHangUp(1000)) << "the thread's own descriptor is closed with it";
}

TEST(SerialMonitor, ThreadThatWillNotStopInTimeIsLetGoAndEndsByItself) {
    PtyPeer peer;
    const int port_fd = ::open(peer.PortName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(port_fd, 0);

    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> held{false};
    auto monitor = SerialMonitor::Start(port_fd, [released, &held] {
        held.store(true);
        released.wait();
    });
    ASSERT_NE(monitor, nullptr);
    ASSERT_TRUE(WaitForFlag(held, 2000));

    EXPECT_FALSE(monitor->Stop(20));
    // The owner forgets the thread and closes the port as if nothing were running.
    monitor.reset();
    ::close(port_fd);

    // The thread still holds its own descriptor for the port, so the line is still up ...
    EXPECT_FALSE(peer.WaitForHangUp(50));
    // ... until the thread ends by itself and frees what it owned.
    release.set_value();
    EXPECT_TRUE(peer.WaitForHangUp(2000));
}

}  // namespace
}  // namespace panoptix
