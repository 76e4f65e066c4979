// Finding one device by its address: the address rules, then the find itself, unicast to a
// scripted device on 127.0.0.1 on a port other than 7000.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "link/command_frame.h"
#include "link/device_address.h"
#include "link/discovery.h"
#include "link/udp_transport.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing_support::FreeLoopbackPort;
using testing_support::kLoopbackIp;
using testing_support::MessageRecorder;
using testing_support::PeerScript;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;
using Fault = DeviceAddressFault;

constexpr uint32_t kWindowMs = 300;  // the device is on loopback: it answers at once

struct AddressCase {
    const char* text;
    Fault fault;
    uint8_t first_octet = 0;  // of an accepted address
    uint8_t last_octet = 0;
};

TEST(DeviceAddress, AcceptsFourDecimalOctetsOfOneDeviceOnly) {
    const AddressCase cases[] = {
        {"192.0.2.140", Fault::None, 192, 140},
        {"127.0.0.1", Fault::None, 127, 1},
        {"10.0.0.0", Fault::None, 10, 0},
        {"0.0.0.1", Fault::None, 0, 1},
        {"223.255.255.255", Fault::None, 223, 255},  // the last address below multicast
        {"240.0.0.1", Fault::None, 240, 1},          // reserved, but no group: left to the net
        {"", Fault::Empty},
        {"1.2.3", Fault::NotFourOctets},
        {"1.2.3.4.5", Fault::NotFourOctets},
        {"1.2.3.", Fault::NotFourOctets},
        {".1.2.3", Fault::NotFourOctets},
        {"1..2.3", Fault::NotFourOctets},
        {" 1.2.3.4", Fault::NotFourOctets},
        {"1.2.3.4 ", Fault::NotFourOctets},
        {"1.2.3.4\n", Fault::NotFourOctets},
        {"+1.2.3.4", Fault::NotFourOctets},
        {"1.2.3.-4", Fault::NotFourOctets},
        {"1234.1.1.1", Fault::NotFourOctets},
        {"0x7f.0.0.1", Fault::NotFourOctets},
        {"a.b.c.d", Fault::NotFourOctets},
        {"localhost", Fault::NotFourOctets},
        {"1.2.3.256", Fault::OctetTooLarge},
        {"999.0.0.1", Fault::OctetTooLarge},
        {"01.2.3.4", Fault::LeadingZero},  // octal to inet_aton, decimal to a person
        {"10.0.0.010", Fault::LeadingZero},
        {"0.0.0.0", Fault::Unspecified},
        {"255.255.255.255", Fault::Broadcast},
        {"224.0.0.1", Fault::Multicast},
        {"239.255.255.250", Fault::Multicast},
    };
    for (const AddressCase& c : cases) {
        const DeviceAddressCheck check = CheckDeviceAddress(c.text);
        EXPECT_EQ(check.fault, c.fault) << '"' << c.text << '"';
        if (c.fault == Fault::None) {
            // Network byte order: the first octet is the first byte in memory.
            const auto* bytes = reinterpret_cast<const uint8_t*>(&check.address);
            EXPECT_EQ(bytes[0], c.first_octet) << c.text;
            EXPECT_EQ(bytes[3], c.last_octet) << c.text;
        } else if (c.fault != Fault::Empty) {
            EXPECT_THAT(RefusedAddressMessage(c.text, c.fault),
                        HasSubstr("\"" + std::string(c.text) + "\""));
        }
    }
    EXPECT_EQ(RefusedAddressMessage("", Fault::Empty), "Find: type the device's IP address first");
    EXPECT_EQ(RefusedAddressMessage("1.2.3", Fault::NotFourOctets),
              "Find: \"1.2.3\" is not an IP address (four numbers 0 to 255 with dots between "
              "them)");
}

// A discovery reply: bytes 18 on hold the text, whose '-' pairs end the model names.
std::vector<uint8_t> DiscoveryReply(uint8_t type_byte, uint8_t address_byte,
                                    const std::string& text) {
    DeviceEntry device;
    device.device_type = type_byte;
    device.device_address = address_byte;
    std::vector<uint8_t> payload = {0x00};
    payload.insert(payload.end(), text.begin(), text.end());
    return MakeCommandFrame(device, LinkByte::Udp, command::kDiscovery, payload);
}

std::vector<std::string> Narrow(const std::vector<std::u16string>& texts) {
    std::vector<std::string> narrow;
    for (const auto& text : texts) {
        narrow.emplace_back(text.begin(), text.end());  // the names here are ASCII
    }
    return narrow;
}

class DeviceFindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device_.valid());
        state_.endpoints.device_port = device_.port();
        state_.endpoints.local_port = FreeLoopbackPort();
        // One device listed by an earlier search, and selected.
        state_.device_table[0].SetIpText("192.0.2.10");
        state_.device_table[0].device_type = device_type::kSwitcher;
        state_.device_table[0].device_address = 0x01;
        state_.m_device_index = 0;
        entries_ = {u"SW1_192.0.2.10"};
    }

    DeviceFindResult Find(const std::string& address = kLoopbackIp) {
        return FindLanDevice(state_, address, entries_, kWindowMs);
    }

    UdpPeer device_{kLoopbackIp, 0};
    DeviceLink state_;
    std::vector<std::u16string> entries_;
    MessageRecorder messages_;
};

TEST_F(DeviceFindTest, SendsTheSearchRequestOnceToTheAddressAndListsTheAnswer) {
    device_.Play(PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA1, 0x07, "MV9-1-")}));
    TraceRecorder traces;

    const DeviceFindResult result = Find();

    const auto requests = device_.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes, MakeDiscoveryRequest(LinkByte::Udp));
    EXPECT_EQ(requests[0].bytes.size(), 20u);
    EXPECT_EQ(requests[0].sender_port, state_.endpoints.local_port);
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.named, 1u);
    EXPECT_EQ(result.added, 1u);
    EXPECT_THAT(Narrow(entries_), ElementsAre("SW1_192.0.2.10", "MV9_127.0.0.1"));
    EXPECT_EQ(state_.device_table[1].IpText(), "127.0.0.1");
    EXPECT_EQ(state_.device_table[1].device_type, 0xA1);
    EXPECT_EQ(state_.device_table[1].device_address, 0x07);
    EXPECT_EQ(state_.device_table[0].IpText(), "192.0.2.10");  // the listed row stays
    EXPECT_EQ(state_.m_device_index, 0);                       // and so does the selection
    EXPECT_EQ(state_.m_udpSockfd, -1);
    EXPECT_THAT(messages_.texts, IsEmpty());
    EXPECT_THAT(traces.lines(), ElementsAre("find 127.0.0.1 \n", "recvBuf[4] = a1 \n ",
                                            "nameLength = 3  \n", "find over, 1 new \n"));
}

TEST_F(DeviceFindTest, NothingAnsweringSaysSoWithTheAddressAndListsNothing) {
    device_.Play(PeerScript::Silent());
    const DeviceFindResult result = Find();
    EXPECT_EQ(device_.Requests().size(), 1u);
    EXPECT_TRUE(result.sent);
    EXPECT_EQ(result.added, 0u);
    EXPECT_THAT(Narrow(entries_), ElementsAre("SW1_192.0.2.10"));
    EXPECT_THAT(messages_.texts, ElementsAre("Find: no device answered at 127.0.0.1"));
    EXPECT_EQ(state_.m_udpSockfd, -1);
}

TEST_F(DeviceFindTest, ADeviceAlreadyListedIsNotListedTwice) {
    // The device answers every request twice; its reply names two devices, as a search lists
    // them (the second name is the longer prefix).
    const auto reply = DiscoveryReply(0xA5, 0x02, "A-B-C-");
    device_.Play(PeerScript::Reply(command::kDiscovery, {reply, reply}));

    EXPECT_EQ(Find().added, 2u);
    EXPECT_THAT(Narrow(entries_), ElementsAre("SW1_192.0.2.10", "A_127.0.0.1", "A-B_127.0.0.1"));
    // A second find hears the same answers: nothing new, and no box (the device did answer).
    const DeviceFindResult again = Find();
    EXPECT_EQ(again.named, 4u);
    EXPECT_EQ(again.added, 0u);
    EXPECT_THAT(Narrow(entries_), ElementsAre("SW1_192.0.2.10", "A_127.0.0.1", "A-B_127.0.0.1"));
    EXPECT_EQ(device_.Requests().size(), 2u);
    EXPECT_THAT(messages_.texts, IsEmpty());

    // The same address and name with other device bytes is another device.
    const UdpPeer other(
        PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA1, 0x02, "A-1-")}));
    state_.endpoints.device_port = other.port();
    EXPECT_EQ(Find().added, 1u);
    EXPECT_THAT(Narrow(entries_),
                ElementsAre("SW1_192.0.2.10", "A_127.0.0.1", "A-B_127.0.0.1", "A_127.0.0.1"));
    EXPECT_EQ(state_.device_table[3].device_type, 0xA1);
}

TEST_F(DeviceFindTest, TheListKeepsItsLimitOf128Devices) {
    device_.Play(PeerScript::Reply(command::kDiscovery, {DiscoveryReply(0xA1, 0x01, "OLD-1-"),
                                                         DiscoveryReply(0xA1, 0x01, "NEW-1-")}));
    // 127 listed: OLD fills the last row, NEW finds no room.
    entries_.assign(kDeviceTableRows - 1, u"SW1_192.0.2.10");
    const DeviceFindResult result = Find();
    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(result.unlisted, 1u);
    ASSERT_EQ(entries_.size(), static_cast<size_t>(kDeviceTableRows));
    EXPECT_EQ(entries_.back(), u"OLD_127.0.0.1");
    EXPECT_THAT(messages_.texts, ElementsAre("Find: the device list is full (128 devices); 1 "
                                             "answering at 127.0.0.1 not listed"));
}

TEST_F(DeviceFindTest, ARefusedAddressSendsNothing) {
    device_.Play(PeerScript::Silent());
    for (const char* address : {"", "1.2.3", "127.0.0.01", "127.0.0.256", "0.0.0.0",
                                "255.255.255.255", "224.0.0.1", " 127.0.0.1"}) {
        messages_.texts.clear();
        const DeviceFindResult result = Find(address);
        EXPECT_NE(result.address_fault, Fault::None) << address;
        EXPECT_FALSE(result.sent);
        EXPECT_EQ(messages_.texts.size(), 1u) << address;
        EXPECT_EQ(messages_.texts.at(0), RefusedAddressMessage(address, result.address_fault));
    }
    EXPECT_THAT(Narrow(entries_), ElementsAre("SW1_192.0.2.10"));
    EXPECT_EQ(state_.m_udpSockfd, -1);
    // A well-formed find afterwards is the first thing the device hears.
    Find();
    EXPECT_EQ(device_.Requests().size(), 1u);
}

}  // namespace
}  // namespace panoptix
