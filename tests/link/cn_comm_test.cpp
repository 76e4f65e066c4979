// The serial engine against a pseudo-terminal: open/close, line settings, refused arguments,
// reads and writes, and the monitoring thread's life.
#include "link/cn_comm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <memory>
#include <numeric>
#include <thread>

#include "link/clock.h"
#include "link/command_frame.h"
#include "support/pty_peer.h"

namespace panoptix {
namespace {

using ::testing::ElementsAreArray;
using testing_support::PtyPeer;

// Sleeps in small steps until the engine sees count queued bytes (the pty hands bytes over
// asynchronously).
bool WaitUntilQueued(const CnComm& port, int count, uint32_t timeout_ms = 2000) {
    const uint32_t start_ms = TickMs();
    while (port.InputCount() < count) {
        if (RemainingMs(start_ms, timeout_ms) == 0) {
            return false;
        }
        SleepMs(2);
    }
    return port.InputCount() == count;
}

std::vector<uint8_t> Counting(size_t count) {
    std::vector<uint8_t> bytes(count);
    std::iota(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes;
}

// A symlink to the pty whose own path has exactly `length` characters.
class PortAlias {
  public:
    PortAlias(const std::string& target, size_t length) {
        path_ = "/tmp/panoptix-cncomm-" + std::to_string(::getpid()) + "-";
        path_.resize(length, 'x');
        ::unlink(path_.c_str());
        if (::symlink(target.c_str(), path_.c_str()) != 0) {
            path_.clear();
        }
    }
    ~PortAlias() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

class CnCommTest : public ::testing::Test {
  protected:
    PtyPeer peer;
    CnComm port;
};

TEST_F(CnCommTest, OpensRaw8N1AtTheChosenSpeedAndCloses) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(port.InputCount(), 0);

    // On a pty the master reports the slave's line settings.
    termios line{};
    ASSERT_EQ(::tcgetattr(peer.MasterFd(), &line), 0);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (INPCK | IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B115200));

    port.ClosePort(500);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(peer.WaitForHangUp(1000));

    // Closed: every operation is inert.
    uint8_t byte = 0x5A;
    EXPECT_EQ(port.InputCount(), -1);
    EXPECT_EQ(port.ReadPort(&byte, 1), 0);
    EXPECT_EQ(port.WritePort(&byte, 1), 0);
    EXPECT_FALSE(port.WaitForInput(5));
    port.DrainInput();
    port.ClosePort(500);
    EXPECT_EQ(port.MonitorPassCount(), 0u);

    // And it opens again, at another speed.
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 9600));
    ASSERT_EQ(::tcgetattr(peer.MasterFd(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), static_cast<speed_t>(B9600));
}

TEST_F(CnCommTest, OpeningAnOpenPortClosesItFirst) {
    PtyPeer other;
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 38400));
    ASSERT_TRUE(port.OpenPort(other.PortName(), 57600));
    EXPECT_TRUE(peer.WaitForHangUp(1000));

    const auto bytes = Counting(4);
    EXPECT_EQ(port.WritePort(bytes.data(), 4), 4);
    EXPECT_THAT(other.Read(4, 1000), ElementsAreArray(bytes));

    // The same port again works as well.
    ASSERT_TRUE(port.OpenPort(other.PortName(), 19200));
    EXPECT_EQ(port.WritePort(bytes.data(), 4), 4);
    EXPECT_THAT(other.Read(4, 1000), ElementsAreArray(bytes));
}

TEST_F(CnCommTest, NameLengthLimitIs62Characters) {
    const PortAlias longest(peer.PortName(), 62);
    const PortAlias too_long(peer.PortName(), 63);
    ASSERT_FALSE(longest.path().empty());
    ASSERT_FALSE(too_long.path().empty());

    ASSERT_TRUE(port.OpenPort(longest.path(), 9600));
    // Refused before anything happens: the open port stays open and usable.
    EXPECT_FALSE(port.OpenPort(too_long.path(), 9600));
    EXPECT_TRUE(port.IsOpen());
    const uint8_t byte = 0x42;
    EXPECT_EQ(port.WritePort(&byte, 1), 1);
    EXPECT_THAT(peer.Read(1, 1000), ElementsAreArray({byte}));
}

TEST_F(CnCommTest, RefusesUnsupportedSpeedsAndUnusablePaths) {
    for (uint32_t baud : {0u, 300u, 4800u, 12345u, 230400u}) {
        EXPECT_FALSE(port.OpenPort(peer.PortName(), baud)) << baud;
        EXPECT_FALSE(port.IsOpen()) << baud;
    }
    // A refused speed leaves an open port alone.
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 9600));
    EXPECT_FALSE(port.OpenPort(peer.PortName(), 4800));
    EXPECT_TRUE(port.IsOpen());

    // A path that does not exist, one that is not a terminal, and one with a NUL inside.
    EXPECT_FALSE(port.OpenPort("/dev/panoptix-no-such-port", 9600));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.OpenPort("/dev/null", 9600));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(port.OpenPort(std::string_view("/dev/null\0x", 11), 9600));
    EXPECT_FALSE(port.OpenPort("", 9600));
}

TEST_F(CnCommTest, WritesReachThePeerAndDrainEmptiesTheInputQueue) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    const auto request = Counting(20);
    EXPECT_EQ(port.WritePort(request.data(), 20), 20);
    EXPECT_EQ(port.WritePort(request.data(), 0), 0);
    EXPECT_EQ(port.WritePort(nullptr, 5), 0);
    EXPECT_THAT(peer.Read(20, 1000), ElementsAreArray(request));

    // More than one scratch load waits; DrainInput takes all of it and nothing after it.
    peer.Write(Counting(700));
    ASSERT_TRUE(WaitUntilQueued(port, 700));
    port.DrainInput();
    EXPECT_EQ(port.InputCount(), 0);

    const std::vector<uint8_t> later = {0xA5, 0x6C, 0x01};
    peer.Write(later);
    ASSERT_TRUE(WaitUntilQueued(port, 3));
    uint8_t got[3] = {};
    EXPECT_EQ(port.ReadPort(got, 3), 3);
    EXPECT_THAT(got, ElementsAreArray(later));
}

// Frames of 22 bytes that each carry their number, so that a cut, a loss or a swap shows.
std::vector<std::vector<uint8_t>> NumberedFrames(size_t count) {
    std::vector<std::vector<uint8_t>> frames;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t number[2] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8)};
        frames.push_back(MakeCommandFrame(DeviceEntry{}, LinkByte::Serial, 0x33, number));
    }
    return frames;
}

TEST_F(CnCommTest, ALineThatStopsTakingBytesGetsEveryFrameWholeAndInOrderOnceItResumes) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    // The device stops reading: far more than the line holds is written, from this one thread,
    // so a write that waited for room would never see the reader resume.
    const auto frames = NumberedFrames(3000);
    std::vector<uint8_t> sent;
    bool line_was_full = false;
    for (const auto& frame : frames) {
        const int now = port.WritePort(frame.data(), static_cast<int>(frame.size()));
        EXPECT_GE(now, 0);
        EXPECT_LE(now, static_cast<int>(frame.size()));
        line_was_full = line_was_full || now < static_cast<int>(frame.size());
        sent.insert(sent.end(), frame.begin(), frame.end());
    }
    ASSERT_TRUE(line_was_full) << "the test must fill the line";
    EXPECT_GT(port.PendingOutputBytes(), 0u);
    // Waiting for room, the monitoring thread sleeps.
    const uint64_t waiting_start = port.MonitorPassCount();
    SleepMs(200);
    EXPECT_LT(port.MonitorPassCount() - waiting_start, 100u) << "the monitor spins on a full line";

    // The device reads again: the very bytes written, frame after frame, nothing cut.
    const std::vector<uint8_t> got = peer.Read(sent.size(), 20000);
    ASSERT_EQ(got.size(), sent.size());
    EXPECT_TRUE(got == sent) << "frames arrived cut, lost or out of order";
    EXPECT_EQ(port.PendingOutputBytes(), 0u);

    // A frame written afterwards goes out at once.
    const auto last = NumberedFrames(1).front();
    EXPECT_EQ(port.WritePort(last.data(), static_cast<int>(last.size())),
              static_cast<int>(last.size()));
    EXPECT_THAT(peer.Read(last.size(), 1000), ElementsAreArray(last));
}

TEST_F(CnCommTest, ClosingGivesUpOutputTheLineHasNotTaken) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    for (const auto& frame : NumberedFrames(2000)) {
        port.WritePort(frame.data(), static_cast<int>(frame.size()));
    }
    ASSERT_GT(port.PendingOutputBytes(), 0u);
    port.ClosePort(500);
    EXPECT_EQ(port.PendingOutputBytes(), 0u);
    EXPECT_TRUE(peer.WaitForHangUp(2000));
}

TEST_F(CnCommTest, ReadsAreBoundedByTheIntervalAndTotalTimeouts) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    uint8_t buffer[16] = {};
    EXPECT_EQ(port.ReadPort(buffer, 0), 0);
    EXPECT_EQ(port.ReadPort(nullptr, 4), 0);

    // Nothing arrives: the read gives up after its total time-out of 500 ms (the bounds leave
    // room for a loaded machine, not for a different time-out).
    const uint32_t start_ms = TickMs();
    EXPECT_EQ(port.ReadPort(buffer, 10), 0);
    const uint32_t elapsed_ms = TickMs() - start_ms;
    EXPECT_GE(elapsed_ms, 400u) << "the read gave up before its total time-out";
    EXPECT_LE(elapsed_ms, 1500u) << "the read waited beyond its total time-out";

    // Pieces closer together than 100 ms make one read.
    const auto reply = Counting(6);
    std::thread device([&] { peer.Trickle(reply, 3, 30); });
    EXPECT_EQ(port.ReadPort(buffer, 6), 6);
    device.join();
    EXPECT_THAT(std::span(buffer, 6), ElementsAreArray(reply));

    // A pause well beyond 100 ms between pieces ends the read with what came; the rest is read
    // next time.
    std::thread slow_device([&] { peer.Trickle(reply, 3, 300); });
    SleepMs(320);
    EXPECT_EQ(port.ReadPort(buffer, 6), 3);
    EXPECT_EQ(port.ReadPort(buffer + 3, 3), 3);
    slow_device.join();
    EXPECT_THAT(std::span(buffer, 6), ElementsAreArray(reply));
}

TEST_F(CnCommTest, MonitorSleepsWhenIdleAndLooksEvery10msWhileBytesWait) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    SleepMs(30);
    const uint64_t idle_start = port.MonitorPassCount();
    SleepMs(100);
    EXPECT_LE(port.MonitorPassCount() - idle_start, 2u) << "an idle port must not wake the thread";

    peer.Write(Counting(10));
    ASSERT_TRUE(WaitUntilQueued(port, 10));
    const uint64_t waiting_start = port.MonitorPassCount();
    SleepMs(150);
    // The thread keeps looking (about every 10 ms) and takes nothing.
    EXPECT_GE(port.MonitorPassCount() - waiting_start, 3u);
    EXPECT_LT(port.MonitorPassCount() - waiting_start, 100u);
    EXPECT_EQ(port.InputCount(), 10);

    port.DrainInput();
    SleepMs(30);
    const uint64_t drained_start = port.MonitorPassCount();
    SleepMs(100);
    EXPECT_LE(port.MonitorPassCount() - drained_start, 2u);
}

TEST_F(CnCommTest, HungUpLineNeitherSpinsTheMonitorNorBlocksTheCaller) {
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    peer.Vanish();
    SleepMs(20);
    const uint64_t start = port.MonitorPassCount();
    SleepMs(200);
    EXPECT_LT(port.MonitorPassCount() - start, 100u) << "the monitor spins on a hung-up line";

    uint8_t buffer[4];
    EXPECT_EQ(port.ReadPort(buffer, 4), 0);
    EXPECT_FALSE(port.WaitForInput(50));
    EXPECT_EQ(port.WritePort(buffer, 4), 0);
    port.ClosePort(500);
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(CnCommTest, ClosingWhileTheMonitorWaitsStopsItAndReleasesThePort) {
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
        SleepMs(10);  // the thread is now asleep in poll
        port.ClosePort(500);
        EXPECT_FALSE(port.IsOpen());
        EXPECT_TRUE(peer.WaitForHangUp(1000));
    }
    // No wait at all: the thread is let go and ends by itself; the engine carries on.
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
        peer.Write(Counting(3));  // sometimes the thread is in its 10 ms pause
        port.ClosePort(0);
        EXPECT_FALSE(port.IsOpen());
    }
    ASSERT_TRUE(port.OpenPort(peer.PortName(), 115200));
    const auto bytes = Counting(5);
    EXPECT_EQ(port.WritePort(bytes.data(), 5), 5);
    EXPECT_THAT(peer.Read(5, 1000), ElementsAreArray(bytes));
}

TEST_F(CnCommTest, DestroyingAnOpenEngineClosesThePort) {
    auto engine = std::make_unique<CnComm>();
    ASSERT_TRUE(engine->OpenPort(peer.PortName(), 115200));
    peer.Write(Counting(8));  // unread bytes: the thread is in its 10 ms rhythm
    ASSERT_TRUE(WaitUntilQueued(*engine, 8));
    engine.reset();
    EXPECT_TRUE(peer.WaitForHangUp(1000));
}

}  // namespace
}  // namespace panoptix
