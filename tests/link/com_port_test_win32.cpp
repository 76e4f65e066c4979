// The serial engine on a Windows COM port with a simulated multiviewer at the other end:
// scripts/test-windows links the port (PANOPTIX_TEST_COM_PORT, e.g. COM5) to the pseudo-terminal
// of a panoptix-devsim. Skipped, with the reason, when no port is named.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "link/clock.h"
#include "link/cn_comm.h"
#include "link/command_frame.h"
#include "link/device_link.h"
#include "link/discovery.h"

namespace panoptix {
namespace {

// The status reply of a multiviewer is 669 bytes.
constexpr int kStatusReplyBytes = 669;

class ComPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* name = std::getenv("PANOPTIX_TEST_COM_PORT");
        if (name == nullptr || *name == '\0') {
            GTEST_SKIP() << "PANOPTIX_TEST_COM_PORT names no port linked to a simulated device";
        }
        port_name_ = name;
    }

    // Sends the status query and waits until the whole reply is queued.
    int QueryStatus(CnComm& port) {
        DeviceEntry multiviewer{};
        multiviewer.device_type = 0xA1;
        multiviewer.device_address = 0x01;
        const auto query =
            MakeCommandFrame(multiviewer, LinkByte::Serial, command::kMultiviewerStatus);
        EXPECT_EQ(port.WritePort(query.data(), static_cast<int>(query.size())),
                  static_cast<int>(query.size()));
        const uint32_t start_ms = TickMs();
        int count = 0;
        while (RemainingMs(start_ms, 5000) > 0 && (count = port.InputCount()) < kStatusReplyBytes) {
            port.WaitForInput(100);
        }
        return count;
    }

    std::string port_name_;
};

TEST_F(ComPortTest, OpensCountsReadsAndDrainsTheInputQueue) {
    CnComm port;
    EXPECT_EQ(port.InputCount(), -1);  // closed
    ASSERT_TRUE(port.OpenPort(port_name_, 115200));
    EXPECT_EQ(port.InputCount(), 0);

    ASSERT_EQ(QueryStatus(port), kStatusReplyBytes);
    std::vector<uint8_t> reply(kStatusReplyBytes + 10);
    EXPECT_EQ(port.ReadPort(reply.data(), 256), 256);
    EXPECT_EQ(port.InputCount(), kStatusReplyBytes - 256);
    EXPECT_EQ(reply[0], 0xA5);
    EXPECT_EQ(reply[1], 0x6C);
    EXPECT_EQ(reply[16], command::kMultiviewerStatus);

    // Asking for more than has come returns what there is once the line stays quiet.
    const int rest = port.ReadPort(reply.data(), static_cast<int>(reply.size()));
    EXPECT_EQ(rest, kStatusReplyBytes - 256);
    EXPECT_EQ(reply[static_cast<size_t>(rest) - 1], 0xAE);

    ASSERT_EQ(QueryStatus(port), kStatusReplyBytes);
    port.DrainInput();
    EXPECT_EQ(port.InputCount(), 0);
    port.ClosePort();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ComPortTest, MonitorKeepsWakingWhileUnreadBytesWait) {
    CnComm port;
    ASSERT_TRUE(port.OpenPort(port_name_, 115200));
    ASSERT_EQ(QueryStatus(port), kStatusReplyBytes);
    const uint64_t before = port.MonitorPassCount();
    SleepMs(200);
    EXPECT_GE(port.MonitorPassCount() - before, 5u);  // every 10 ms, not consuming the input
    EXPECT_EQ(port.InputCount(), kStatusReplyBytes);
}

TEST_F(ComPortTest, ReopeningAnOpenPortClosesItFirst) {
    CnComm port;
    ASSERT_TRUE(port.OpenPort(port_name_, 115200));
    ASSERT_TRUE(port.OpenPort(port_name_, 9600));
    EXPECT_TRUE(port.IsOpen());
    port.ClosePort();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.OpenPort(port_name_, 115200));
}

TEST_F(ComPortTest, NamesOf63CharactersAreRefused) {
    CnComm port;
    EXPECT_FALSE(port.OpenPort(std::string(63, 'C'), 115200));
    EXPECT_FALSE(port.OpenPort(std::string(62, 'C'), 115200));  // accepted, but no such port
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ComPortTest, SerialSearchFindsTheMultiviewer) {
    DeviceLink link;
    link.SetMode(ConnectionMode::Serial);
    ASSERT_TRUE(link.serial_port.OpenPort(port_name_, 115200));
    const DeviceSearchResult result = SearchSerial(link, [](std::span<const uint8_t>) {});
    EXPECT_TRUE(result.open_page);
    EXPECT_EQ(link.serial_reply_count, 1);  // one name in the search reply
    EXPECT_EQ(link.m_device_index, 0);      // the list's one entry
    ASSERT_FALSE(result.combo_entries.empty());
    EXPECT_EQ(result.combo_entries[0].substr(0, 4), u"MV16");
}

}  // namespace
}  // namespace panoptix
