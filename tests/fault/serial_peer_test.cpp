// The serial peer vanishing in the middle of an exchange (the pty master is closed): the status
// query and the serial search end within their windows with nothing decoded, the port closes
// promptly, and opened again on a new line the engine works as before.
#include <gtest/gtest.h>

#include <vector>

#include "fault_support.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/discovery.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/core/status_query.h"
#include "support/pty_peer.h"

namespace panoptix {
namespace {

using testing_support::PeerScript;
using testing_support::PtyPeer;

// Enough for a loaded machine to come back from the window; a hang would take far longer.
constexpr uint32_t kSlackMs = 1500;
constexpr uint32_t kBaud = 115200;

bool SameDecodedState(const MultiviewerState& a, const MultiviewerState& b) {
    return a.m_all_16_view_page_data == b.m_all_16_view_page_data &&
           a.m_cur_window_count == b.m_cur_window_count && a.window_source == b.window_source &&
           a.umd_name == b.umd_name;
}

// How the device behaves once the request has arrived.
enum class Vanish { BeforeRequest, AfterRequest, MidReply };

struct VanishCase {
    const char* name;
    Vanish when;
};

class SerialPeerTest : public ::testing::Test {
  protected:
    SerialPeerTest() {
        link.SetMode(ConnectionMode::Serial);
        link.device_table[0].device_type = device_type::kMultiviewer;
        link.m_device_index = 0;
    }
    ~SerialPeerTest() override { link.serial_port.ClosePort(); }

    // Plays the device: vanishes before the request comes, or takes the request and vanishes
    // before its reply or halfway through it.
    static void PlayDevice(PtyPeer& device, std::vector<uint8_t> reply, Vanish when) {
        if (when == Vanish::BeforeRequest) {
            device.Vanish();
            return;
        }
        const size_t sent = when == Vanish::MidReply ? reply.size() / 2 : 0;
        device.Play(PeerScript::Reply(std::nullopt, {std::move(reply)}).VanishAfter(sent));
    }

    // Closing takes no longer than its wait; the engine then opens a fresh line and completes a
    // status query on it.
    void ExpectReopenWorks() {
        const uint32_t close_start_ms = TickMs();
        link.serial_port.ClosePort(500);
        EXPECT_LE(TickMs() - close_start_ms, 500u + kSlackMs);
        EXPECT_FALSE(link.serial_port.IsOpen());

        PtyPeer fresh;
        ASSERT_TRUE(fresh.valid());
        ASSERT_TRUE(link.serial_port.OpenPort(fresh.PortName(), kBaud));
        const auto reply = fault::StatusReply(LinkByte::Serial);
        fresh.Play(PeerScript::Reply(std::nullopt, {reply}));
        MultiviewerState mv;
        QueryStatusOverSerial(link, mv);
        EXPECT_EQ(fresh.Answered(), 1);
        MultiviewerState expected;
        DecodeStatusReply(expected, reply, DecodeTraces::Off);
        EXPECT_TRUE(SameDecodedState(mv, expected));
    }

    DeviceLink link;
    const fault::TraceCounter time_over{"time over"};
    testing_support::MessageRecorder messages;
};

class SerialPeerVanishes : public SerialPeerTest,
                           public ::testing::WithParamInterface<VanishCase> {};

TEST_P(SerialPeerVanishes, StatusQueryEndsWithinItsWindow) {
    PtyPeer device;
    ASSERT_TRUE(device.valid());
    ASSERT_TRUE(link.serial_port.OpenPort(device.PortName(), kBaud));
    PlayDevice(device, fault::StatusReply(LinkByte::Serial), GetParam().when);

    MultiviewerState mv;
    mv.window_source.fill(0xEE);
    const MultiviewerState before = mv;
    const uint32_t start_ms = TickMs();
    QueryStatusOverSerial(link, mv);
    const uint32_t elapsed_ms = TickMs() - start_ms;

    EXPECT_LE(elapsed_ms, kSerialStatusWindowMs + kSlackMs);
    EXPECT_TRUE(SameDecodedState(mv, before)) << "half a reply must not be decoded";
    EXPECT_EQ(time_over.count(), 1);
    ExpectReopenWorks();
}

INSTANTIATE_TEST_SUITE_P(Moments, SerialPeerVanishes,
                         ::testing::Values(VanishCase{"BeforeTheRequest", Vanish::BeforeRequest},
                                           VanishCase{"AfterTheRequest", Vanish::AfterRequest},
                                           VanishCase{"HalfwayThroughTheReply", Vanish::MidReply}),
                         [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(SerialPeerTest, SearchEndsWithinItsWindowWhenThePeerVanishesMidReply) {
    PtyPeer device;
    ASSERT_TRUE(device.valid());
    ASSERT_TRUE(link.serial_port.OpenPort(device.PortName(), kBaud));
    PlayDevice(device, fault::DiscoveryReply("ABCDEFGHIJKLMNOP-1-"), Vanish::MidReply);

    const uint32_t start_ms = TickMs();
    const auto result = SearchSerial(link, {});
    const uint32_t elapsed_ms = TickMs() - start_ms;

    EXPECT_LE(elapsed_ms, kSearchWindowMs + kSlackMs);
    EXPECT_EQ(result.combo_entries, std::vector<std::u16string>{kNoDeviceFound});
    EXPECT_EQ(link.m_device_index, 0);
    EXPECT_EQ(time_over.count(), 1);
    ExpectReopenWorks();
}

}  // namespace
}  // namespace panoptix
