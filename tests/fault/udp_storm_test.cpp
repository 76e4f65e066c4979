// The panel's UDP side under a storm of random and truncated datagrams on 127.0.0.1: during
// status queries and during LAN searches (unicast to 127.0.0.1, so nothing is broadcast), the
// genuine reply is sent after the storm, and the result must be what the genuine reply alone
// gives. Also: more devices answering one search than the device table holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "datagram_storm.h"
#include "fault_support.h"
#include "link/clock.h"
#include "link/device_link.h"
#include "link/discovery.h"
#include "link/udp_transport.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_decoder.h"
#include "multiviewer/core/status_query.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using fault::DatagramStorm;
using testing_support::PeerScript;
using testing_support::Request;
using testing_support::UdpPeer;

constexpr size_t kStormDatagrams = 100'000;

bool SameDecodedState(const MultiviewerState& a, const MultiviewerState& b) {
    return a.m_all_16_view_page_data == b.m_all_16_view_page_data &&
           a.m_cur_window_count == b.m_cur_window_count && a.window_source == b.window_source &&
           a.umd_name == b.umd_name && a.umd_shown == b.umd_shown &&
           a.audio_meter_shown == b.audio_meter_shown && a.resolution_shown == b.resolution_shown;
}

// A status query takes the first datagram of at most 1024 bytes whose byte 16 is 0x32.
void DisarmForStatusQuery(std::vector<uint8_t>& datagram) {
    if (datagram.size() > kFrameCommandOffset && datagram.size() <= kQueryReceiveSize &&
        datagram[kFrameCommandOffset] == command::kMultiviewerStatus) {
        datagram[kFrameCommandOffset] = 0x33;
    }
}

// A search lists a device for every '-' pair (bytes k and k+2, 18 <= k < n-3) of a datagram of
// at most 128 bytes that starts A5 6C and ends AE.
bool NamesDevices(const std::vector<uint8_t>& datagram) {
    const size_t n = datagram.size();
    if (n < 3 || n > 128 || datagram[0] != 0xA5 || datagram[1] != 0x6C || datagram[n - 1] != 0xAE) {
        return false;
    }
    for (size_t k = 18; k + 3 < n; ++k) {
        if (datagram[k] == '-' && datagram[k + 2] == '-') {
            return true;
        }
    }
    return false;
}

void DisarmForSearch(std::vector<uint8_t>& datagram) {
    if (NamesDevices(datagram)) {
        std::replace(datagram.begin() + 18, datagram.end(), uint8_t{'-'}, uint8_t{'_'});
    }
}

class StormTest : public ::testing::Test {
  protected:
    StormTest() {
        testing_support::SelectPeer(link, device, device_type::kMultiviewer, 0x00);
        link.endpoints.broadcast_address = fault::kLoopback;  // the search stays unicast
    }

    // The device side: for every request, first a burst of the storm from another socket (until
    // kStormDatagrams have gone out), then the genuine reply from the device's own socket.
    void StartDevice(DatagramStorm& storm, std::vector<uint8_t> genuine, size_t burst,
                     uint32_t burst_deadline_ms) {
        device.Play(PeerScript::Reply(std::nullopt, {std::move(genuine)})
                        .StormFirst([this, &storm, burst, burst_deadline_ms](const Request& r) {
                            const uint32_t start_ms = TickMs();
                            const size_t left = kStormDatagrams - storm_sent.load();
                            storm_sent += fault::SendStorm(storm_socket, r.sender_port, storm,
                                                           std::min(burst, left), start_ms,
                                                           burst_deadline_ms);
                        }));
    }

    UdpPeer device;
    UdpPeer storm_socket;
    DeviceLink link;
    testing_support::MessageRecorder messages;
    std::atomic<size_t> storm_sent{0};
};

TEST_F(StormTest, StatusQueriesDecodeOnlyTheGenuineReply) {
    ASSERT_TRUE(device.valid() && storm_socket.valid());
    const auto genuine = fault::StatusReply();
    MultiviewerState before;
    before.m_all_16_view_page_data.border_enable = 0xEE;  // marks a state no reply gave
    before.window_source.fill(0xEE);
    MultiviewerState expected = before;
    DecodeStatusReply(expected, genuine, DecodeTraces::Off);

    DatagramStorm storm(genuine, DisarmForStatusQuery, 1234);
    // Bursts end well inside the 200 ms window, so the genuine reply still arrives in it.
    StartDevice(storm, genuine, 4000, 120);
    const fault::TraceCounter foreign("the cmd is not right");

    int queries = 0;
    int decoded = 0;
    while (storm_sent.load() < kStormDatagrams && queries < 1000) {
        MultiviewerState mv = before;
        QueryStatusOverLan(link, mv);
        ++queries;
        // Either the genuine reply came in the window or nothing did: never a storm datagram.
        const bool got_genuine = SameDecodedState(mv, expected);
        ASSERT_TRUE(got_genuine || SameDecodedState(mv, before)) << "query " << queries;
        decoded += got_genuine ? 1 : 0;
        ASSERT_EQ(link.m_udpSockfd, -1);
    }
    // After the storm, a query still works.
    MultiviewerState after = before;
    QueryStatusOverLan(link, after);
    EXPECT_TRUE(SameDecodedState(after, expected));

    EXPECT_EQ(storm_sent.load(), kStormDatagrams);
    EXPECT_GT(decoded, 0);
    EXPECT_GT(foreign.count(), 0);
    RecordProperty("queries", queries);
    RecordProperty("decoded", decoded);
    RecordProperty("foreign_datagrams_read", static_cast<int>(foreign.count()));
    std::printf("%d queries, %d decoded the genuine reply, %ld storm datagrams read\n", queries,
                decoded, foreign.count());
}

TEST_F(StormTest, SearchListsOnlyTheGenuineDevice) {
    ASSERT_TRUE(device.valid() && storm_socket.valid());
    const auto genuine = fault::DiscoveryReply("ABC-1-");
    DatagramStorm storm(genuine, DisarmForSearch, 5678);
    // The search listens for its usual two seconds; the storm of each search ends after one
    // second at most, then comes the genuine reply.
    StartDevice(storm, genuine, kStormDatagrams, 1000);
    const fault::TraceCounter accepted("recvBuf[4]");

    int searches = 0;
    while (storm_sent.load() < kStormDatagrams && searches < 60) {
        const auto result = SearchLan(link, /*combo_had_entries=*/true, kSearchWindowMs);
        ++searches;
        ASSERT_EQ(result.combo_entries, std::vector<std::u16string>{u"ABC_127.0.0.1"})
            << "search " << searches;
        EXPECT_EQ(link.m_device_index, 0);
        EXPECT_EQ(link.device_table[0].IpText(), fault::kLoopback);
        EXPECT_EQ(link.device_table[0].device_type, 0xA1);
        EXPECT_EQ(link.device_table[0].device_address, 0x01);
        EXPECT_EQ(link.device_table[1].IpText(), "");
        ASSERT_EQ(link.m_udpSockfd, -1);
    }
    EXPECT_EQ(storm_sent.load(), kStormDatagrams);
    EXPECT_EQ(device.Answered(), searches);
    std::printf("%d searches under a storm of %zu datagrams, %ld with frame markers read\n",
                searches, storm_sent.load(), accepted.count() - searches);
}

// One reply of at most 128 bytes can name about fifty devices; three of them name more than
// the 128 rows of the device table. The first 128 are listed, in order, and nothing more.
TEST(ManyDevices, SearchListsTheFirst128) {
    UdpPeer device;
    ASSERT_TRUE(device.valid());
    DeviceLink link;
    link.endpoints.device_port = device.port();
    link.endpoints.local_port = testing_support::FreeLoopbackPort();
    link.endpoints.broadcast_address = fault::kLoopback;
    const fault::TraceCounter quiet("");

    // "D-a-b-c-...": every '-' pair names one more device, the name growing by two bytes.
    std::vector<std::vector<uint8_t>> replies;
    std::vector<std::u16string> expected;
    for (char series : {'a', 'b', 'c'}) {
        std::string names(1, static_cast<char>(std::toupper(series)));
        for (int i = 0; i < 52; ++i) {
            names += '-';
            names += static_cast<char>(series);
        }
        names += '-';
        replies.push_back(fault::DiscoveryReply(names));
        ASSERT_LE(replies.back().size(), 128u);
        for (size_t end = 1; end + 2 < names.size(); end += 2) {
            expected.push_back(std::u16string(names.begin(), names.begin() + end) + u"_127.0.0.1");
        }
    }
    ASSERT_GT(expected.size(), 128u);
    expected.resize(128);

    device.Play(PeerScript::Reply(std::nullopt, replies));
    const auto result = SearchLan(link, /*combo_had_entries=*/false, 500);

    EXPECT_EQ(result.combo_entries, expected);
    for (const auto& row : link.device_table) {
        EXPECT_EQ(row.IpText(), fault::kLoopback);
    }
}

}  // namespace
}  // namespace panoptix
