// The monitoring thread's stop: a thread held up past the stop wait is let go, keeps only what
// it owns, and ends by itself once it can.
#include "link/serial_monitor.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <vector>

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

TEST(SerialMonitor, OutputTheLineDoesNotTakeWithinItsTimeoutIsGivenUpAndLaterWritesGoOn) {
    PtyPeer peer;
    const int port_fd = ::open(peer.PortName().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(port_fd, 0);
    // A short time-out instead of 10 s; the rule is the same.
    auto monitor = SerialMonitor::Start(port_fd, {}, {0, 100});
    ASSERT_NE(monitor, nullptr);

    // The device does not read: fill the line until writes are kept.
    const std::vector<uint8_t> block(1000, 0x55);
    size_t written = 0;
    while (monitor->PendingOutputBytes() == 0 && written < 1000000) {
        monitor->Write(block);
        written += block.size();
    }
    ASSERT_GT(monitor->PendingOutputBytes(), 0u);
    monitor->Write(block);  // one more, all of it kept

    // Nobody reads: once the time-out has passed, what was kept is given up ...
    const uint32_t start_ms = TickMs();
    while (monitor->PendingOutputBytes() > 0 && RemainingMs(start_ms, 3000) > 0) {
        SleepMs(10);
    }
    EXPECT_EQ(monitor->PendingOutputBytes(), 0u);

    // ... and what is written next is not stuck behind it: after the bytes the line held, it
    // arrives whole.
    std::vector<uint8_t> held;
    for (std::vector<uint8_t> piece; !(piece = peer.Read(4096, 200)).empty();) {
        held.insert(held.end(), piece.begin(), piece.end());
    }
    EXPECT_FALSE(held.empty());
    const std::vector<uint8_t> frame = {0xA5, 0x6C, 0x03, 0xAE};
    monitor->Write(frame);
    EXPECT_EQ(peer.Read(frame.size(), 1000), frame);

    EXPECT_TRUE(monitor->Stop(500));
    ::close(port_fd);
}

}  // namespace
}  // namespace panoptix
