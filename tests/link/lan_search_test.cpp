// The LAN search, broadcasting for real inside network namespaces that each test creates and
// removes: a panel namespace and a device namespace on one bridge, addresses from 192.0.2.0/24.
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/udp_transport.h"
#include "netns_lab.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using testing_support::DeviceResponder;
using testing_support::MessageRecorder;
using testing_support::NetnsLab;
using testing_support::RunInNetns;
using testing_support::SimulatedDevice;
using testing_support::TraceRecorder;

constexpr uint16_t kDevicePort = 7000;
constexpr uint32_t kShortWindowMs = 400;
constexpr uint8_t kReplyType = 0xA1;
constexpr uint8_t kReplyAddress = 0x07;

// A discovery reply: byte 17 is not looked at, the name text starts at byte 18. total_length
// pads the text with 'x' up to that many bytes.
std::vector<uint8_t> DiscoveryReply(const std::string& text, size_t total_length = 0) {
    std::vector<uint8_t> payload(1 + text.size(), 0x00);
    std::copy(text.begin(), text.end(), payload.begin() + 1);
    if (total_length > kFrameOverhead + payload.size()) {
        payload.resize(total_length - kFrameOverhead, 'x');
    }
    DeviceEntry device;
    device.device_type = kReplyType;
    device.device_address = kReplyAddress;
    return MakeCommandFrame(device, LinkByte::Udp, command::kDiscovery, payload);
}

// A reply one byte too long whose first 128 bytes are a complete reply as well, so that a
// receive which silently cut it short would take it for one.
std::vector<uint8_t> OverLongReply(const std::string& text) {
    auto reply = DiscoveryReply(text, 128);
    reply.push_back(kFrameEnd);
    return reply;
}

std::u16string Utf16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::vector<std::u16string> Utf16(const std::vector<std::string>& texts) {
    std::vector<std::u16string> wide;
    for (const auto& text : texts) {
        wide.push_back(Utf16(text));
    }
    return wide;
}

std::string DeviceIp(int host) {
    return "192.0.2." + std::to_string(host);
}

class LanSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "the LAN search broadcasts, which is only done inside network "
                            "namespaces this test creates, and creating them needs root";
        }
        if (std::system("ip netns list >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "ip(8) with network namespace support is not available";
        }
    }

    void TearDown() override {
        responder_.reset();
        lab_.reset();
        EXPECT_THAT(testing_support::NamespacesStartingWith(prefix_), IsEmpty())
            << "a namespace of this test was left behind";
    }

    // Builds the lab with these devices answering on the device port.
    void StartLab(const std::vector<SimulatedDevice>& devices) {
        std::vector<std::string> ips;
        for (const auto& device : devices) {
            ips.push_back(device.ip);
        }
        std::string error;
        lab_ = NetnsLab::Create(prefix_, ips, error);
        ASSERT_NE(lab_, nullptr) << error;
        responder_ = std::make_unique<DeviceResponder>(lab_->devices(), kDevicePort, devices);
        ASSERT_TRUE(responder_->ready()) << "the simulated devices could not bind their sockets";
    }

    DeviceSearchResult Search(uint32_t window_ms = kShortWindowMs, bool combo_had_entries = false) {
        DeviceSearchResult result;
        const bool ran = RunInNetns(
            lab_->panel(), [&] { result = SearchLan(state, combo_had_entries, window_ms); });
        EXPECT_TRUE(ran) << "could not enter the panel namespace; nothing was searched";
        return result;
    }

    const std::string prefix_ = "pnxudp" + std::to_string(::getpid());
    std::unique_ptr<NetnsLab> lab_;
    std::unique_ptr<DeviceResponder> responder_;
    DeviceLink state;
    TraceRecorder traces;
    MessageRecorder messages;
};

// One device at 192.0.2.20 answers with a reply whose name text is given.
struct ReplyCase {
    const char* name;
    std::vector<uint8_t> reply;
    bool accepted;  // received and taken for a frame (then its byte 4 is traced)
    std::vector<std::string> combo_entries;
    std::vector<int> name_lengths;  // one "nameLength" trace per device named

    friend void PrintTo(const ReplyCase& scenario, std::ostream* out) { *out << scenario.name; }
};

class LanSearchReplyTest : public LanSearchTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(LanSearchReplyTest, ListsTheDevicesNamedInTheReply) {
    const ReplyCase& scenario = GetParam();
    StartLab({{DeviceIp(20), scenario.reply}});
    const auto result = Search();

    // The broadcast request went out from the local port and reached the device side.
    const auto requests = responder_->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes, MakeDiscoveryRequest(LinkByte::Udp));
    EXPECT_EQ(requests[0].sender_ip, testing_support::kPanelIp);
    EXPECT_EQ(requests[0].sender_port, kDevicePort);

    EXPECT_TRUE(result.open_page);
    EXPECT_THAT(result.combo_entries, ElementsAreArray(Utf16(scenario.combo_entries)));
    const size_t found = scenario.name_lengths.size();
    EXPECT_EQ(state.m_device_index, found > 0 ? 0 : -1);
    for (size_t row = 0; row < found; ++row) {
        EXPECT_EQ(state.device_table[row].IpText(), DeviceIp(20));
        EXPECT_EQ(state.device_table[row].device_type, kReplyType);        // reply byte 4
        EXPECT_EQ(state.device_table[row].device_address, kReplyAddress);  // reply byte 5
    }
    EXPECT_EQ(state.device_table[found].IpText(), "");
    EXPECT_EQ(state.m_udpSockfd, -1);
    EXPECT_THAT(messages.texts, IsEmpty());

    // The host's own request comes back first (20 bytes: it names nothing), then the reply,
    // if it was received and looks like a frame.
    std::vector<std::string> expected = {"create socket success \n", "recvBuf[4] = 81 \n "};
    if (scenario.accepted) {
        expected.push_back("recvBuf[4] = a1 \n ");
    }
    for (const int length : scenario.name_lengths) {
        expected.push_back("nameLength = " + std::to_string(length) + "  \n");
    }
    expected.push_back("time over \n");
    expected.push_back("m_device_index = " + std::to_string(found > 0 ? 0 : -1) + " \n");
    EXPECT_THAT(traces.lines(), ElementsAreArray(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, LanSearchReplyTest,
    ::testing::Values(
        ReplyCase{"NameThenPair", DiscoveryReply("ABC-1-"), true, {"ABC_192.0.2.20"}, {3}},
        ReplyCase{"ShortName", DiscoveryReply("XY-1-"), true, {"XY_192.0.2.20"}, {2}},
        ReplyCase{"TwoPairsTwoEntries",
                  DiscoveryReply("A-B-C-"),
                  true,
                  {"A_192.0.2.20", "A-B_192.0.2.20"},
                  {1, 3}},
        ReplyCase{
            "RenamedModel", DiscoveryReply("QL2293 -1-"), true, {"ORV-MXP9120HD_192.0.2.20"}, {7}},
        ReplyCase{"SimilarNameKept", DiscoveryReply("QL2293-1-"), true, {"QL2293_192.0.2.20"}, {6}},
        ReplyCase{"NoPairNamesNothing", DiscoveryReply("ABC"), true, {"No Device Found"}, {}},
        ReplyCase{"ReplyOf128Bytes", DiscoveryReply("BIG-1-", 128), true, {"BIG_192.0.2.20"}, {3}},
        ReplyCase{
            "ReplyOf129BytesIgnored", OverLongReply("BIG-1-"), false, {"No Device Found"}, {}},
        ReplyCase{
            "NotAFrameIgnored", {'A', 'B', 'C', '-', '1', '-'}, false, {"No Device Found"}, {}}),
    [](const auto& test_case) { return std::string(test_case.param.name); });

TEST_F(LanSearchTest, NothingAnsweringGivesNoDeviceFound) {
    StartLab({});
    const auto result = Search();
    EXPECT_TRUE(result.open_page);
    EXPECT_THAT(result.combo_entries, ElementsAre(kNoDeviceFound));
    EXPECT_EQ(state.m_device_index, -1);
    EXPECT_EQ(state.m_udpSockfd, -1);
    EXPECT_THAT(traces.lines(), ElementsAre("create socket success \n", "recvBuf[4] = 81 \n ",
                                            "time over \n", "m_device_index = -1 \n"));
}

// Many devices answer the one broadcast at once; the table holds 128 of them.
class LanSearchCrowdTest : public LanSearchTest, public ::testing::WithParamInterface<int> {};

TEST_P(LanSearchCrowdTest, KeepsTheFirst128Devices) {
    const int answering = GetParam();
    std::vector<SimulatedDevice> devices;
    std::set<std::u16string> possible_entries;
    for (int host = 20; host < 20 + answering; ++host) {
        const std::string name = "DEV" + std::to_string(host);
        devices.push_back({DeviceIp(host), DiscoveryReply(name + "-1-")});
        possible_entries.insert(Utf16(name + "_" + DeviceIp(host)));
    }
    StartLab(devices);
    const auto result = Search(1500);
    EXPECT_EQ(responder_->requests().size(), 1u) << "the broadcast reaches the devices once";

    // Every reply was read, and exactly the first 128 devices are listed, each entry matching
    // its row.
    EXPECT_EQ(traces.CountStartingWith("recvBuf[4] = a1"), static_cast<size_t>(answering));
    const size_t listed = std::min<size_t>(static_cast<size_t>(answering), kDeviceTableRows);
    EXPECT_EQ(traces.CountStartingWith("nameLength"), listed);
    ASSERT_EQ(result.combo_entries.size(), listed);
    std::set<std::u16string> distinct;
    for (size_t row = 0; row < listed; ++row) {
        const std::u16string& entry = result.combo_entries[row];
        EXPECT_TRUE(possible_entries.count(entry)) << "unexpected entry at " << row;
        const std::string ip = state.device_table[row].IpText();
        EXPECT_TRUE(entry.ends_with(u"_" + Utf16(ip))) << "row " << row << " holds " << ip;
        EXPECT_EQ(state.device_table[row].device_type, kReplyType);
        distinct.insert(entry);
    }
    EXPECT_EQ(distinct.size(), listed);
    EXPECT_EQ(state.m_device_index, 0);
    EXPECT_EQ(state.m_udpSockfd, -1);
}

INSTANTIATE_TEST_SUITE_P(Devices, LanSearchCrowdTest, ::testing::Values(128, 130));

TEST_F(LanSearchTest, SocketThatCannotBindShowsTheBoxAndSendsNothing) {
    StartLab({{DeviceIp(20), DiscoveryReply("ABC-1-")}});
    DeviceSearchResult result;
    result.open_page = true;
    ASSERT_TRUE(RunInNetns(lab_->panel(), [&] {
        const testing_support::UdpPeer squatter("0.0.0.0", kDevicePort);
        if (squatter.valid()) {
            result = SearchLan(state, false, kShortWindowMs);
        }
    }));
    EXPECT_FALSE(result.open_page);
    EXPECT_THAT(result.combo_entries, IsEmpty());
    EXPECT_EQ(state.m_device_index, -1);
    EXPECT_EQ(state.m_udpSockfd, -1);
    EXPECT_THAT(messages.texts, ElementsAre("Create socket err"));
    EXPECT_THAT(traces.lines(), ElementsAre("bind  socket fail \n", "create socket fail \n"));
    ::usleep(100 * 1000);  // a request, had one been sent, would have arrived by now
    EXPECT_THAT(responder_->requests(), IsEmpty());
}

TEST_F(LanSearchTest, FirstAnswerEndsTheWaitAtTheFirstReplyNamingADevice) {
    // A reply naming nobody does not end it; of the two devices only the first to answer is
    // listed (a search aimed at one device's address has only that one to wait for).
    StartLab({{DeviceIp(20), DiscoveryReply("nobody")},
              {DeviceIp(21), DiscoveryReply("ABC-1-")},
              {DeviceIp(22), DiscoveryReply("DEF-2-")}});
    DeviceSearchResult result;
    ASSERT_TRUE(RunInNetns(lab_->panel(), [&] {
        result = SearchLan(state, false, kSearchWindowMs, SearchEnd::FirstAnswer);
    }));
    ASSERT_EQ(result.combo_entries.size(), 1u);
    EXPECT_TRUE(result.combo_entries[0] == u"ABC_" + Utf16(DeviceIp(21)) ||
                result.combo_entries[0] == u"DEF_" + Utf16(DeviceIp(22)))
        << "listed: "
        << std::string(result.combo_entries[0].begin(), result.combo_entries[0].end());
    EXPECT_EQ(state.m_device_index, 0);
    EXPECT_EQ(state.m_udpSockfd, -1);
}

TEST_F(LanSearchTest, TableIsZeroedOnlyWhenTheComboHadEntries) {
    StartLab({{DeviceIp(20), DiscoveryReply("ABC-1-")}});
    state.device_table[5].SetIpText("192.0.2.77");
    state.device_table[5].device_type = 0x60;

    Search(kShortWindowMs, false);
    EXPECT_EQ(state.device_table[0].IpText(), DeviceIp(20));
    EXPECT_EQ(state.device_table[5].IpText(), "192.0.2.77") << "rows are only overwritten";

    Search(kShortWindowMs, true);
    EXPECT_EQ(state.device_table[0].IpText(), DeviceIp(20));
    EXPECT_EQ(state.device_table[5].IpText(), "");
    EXPECT_EQ(state.device_table[5].device_type, 0);
}

TEST_F(LanSearchTest, SearchSocketAimsAtTheBroadcastAddress) {
    StartLab({});
    PeerAddress peer;
    int opened = 0;
    ASSERT_TRUE(RunInNetns(lab_->panel(), [&] {
        opened = OpenSearchSocket(state);
        peer = state.peer_address;
        CloseCommandSocket(state);
    }));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(peer.address, 0xFFFFFFFFu);
    EXPECT_EQ(peer.port, kDevicePort);
    EXPECT_EQ(state.m_udpSockfd, -1);
}

TEST(ModelName, OnlyTheExactNameWithItsSpaceIsRenamed) {
    EXPECT_EQ(DisplayModelName(u"QL2293 "), u"ORV-MXP9120HD");
    EXPECT_EQ(DisplayModelName(u"QL2293"), u"QL2293");
    EXPECT_EQ(DisplayModelName(u"QL2293  "), u"QL2293  ");
    EXPECT_EQ(DisplayModelName(u"ql2293 "), u"ql2293 ");
}

}  // namespace
}  // namespace panoptix
