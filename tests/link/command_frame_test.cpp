#include "link/command_frame.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

namespace panoptix {
namespace {

using ::testing::ElementsAreArray;

DeviceEntry Switcher() {
    DeviceEntry entry;
    entry.SetIpText("192.0.2.20");
    entry.device_type = 0xA5;
    entry.device_address = 0x01;
    return entry;
}

TEST(CommandFrame, DiscoveryRequestOnBothLinks) {
    EXPECT_THAT(MakeDiscoveryRequest(LinkByte::Udp),
                ElementsAreArray<uint8_t>({0xA5, 0x6C, 0x14, 0x00,  // markers, length 20
                                           0x81, 0xFF, 0x01,        // fixed device bytes, UDP
                                           0,    0,    0,    0,    0, 0, 0, 0, 0,  // reserved
                                           0xFF,                 // command: search
                                           0xA5, 0x03, 0xAE}));  // checksum, end
    EXPECT_THAT(
        MakeDiscoveryRequest(LinkByte::Serial),
        ElementsAreArray<uint8_t>({0xA5, 0x6C, 0x14, 0x00, 0x81, 0xFF, 0x00, 0,    0,    0,
                                   0,    0,    0,    0,    0,    0,    0xFF, 0xA4, 0x03, 0xAE}));
}

TEST(CommandFrame, SenderFramesCopyTheSelectedRowsDeviceBytes) {
    const uint8_t program_source = 3;
    EXPECT_THAT(
        MakeCommandFrame(Switcher(), LinkByte::Udp, 0x80, {&program_source, 1}),
        ElementsAreArray<uint8_t>({0xA5, 0x6C, 0x15, 0x00, 0xA5, 0x01, 0x01, 0,    0,    0,   0,
                                   0,    0,    0,    0,    0,    0x80, 0x03, 0x50, 0x02, 0xAE}));
    // No payload: 20 bytes, length field 14 00.
    EXPECT_THAT(
        MakeCommandFrame(Switcher(), LinkByte::Udp, 0x83),
        ElementsAreArray<uint8_t>({0xA5, 0x6C, 0x14, 0x00, 0xA5, 0x01, 0x01, 0,    0,    0,
                                   0,    0,    0,    0,    0,    0,    0x83, 0x4F, 0x02, 0xAE}));
    // A serial command before any LAN search carries the zero row's 00 00.
    const auto serial = MakeCommandFrame(DeviceEntry{}, LinkByte::Serial, 0x32);
    EXPECT_EQ(serial[4], 0x00);
    EXPECT_EQ(serial[5], 0x00);
    EXPECT_EQ(serial[6], 0x00);
}

TEST(CommandFrame, AddressFrameIs32BytesWithIpMaskGateway) {
    NetworkAddress address{{10, 0, 0, 7}, {255, 255, 255, 0}, {10, 0, 0, 1}};
    const auto frame = MakeAddressFrame(Switcher(), address);
    ASSERT_EQ(frame.size(), 32u);
    EXPECT_EQ(frame[2], 0x20);
    EXPECT_EQ(frame[6], 0x01);  // only ever sent by UDP
    EXPECT_EQ(frame[16], 0x05);
    EXPECT_THAT(std::vector<uint8_t>(frame.begin() + 17, frame.begin() + 29),
                ElementsAreArray<uint8_t>({10, 0, 0, 7, 255, 255, 255, 0, 10, 0, 0, 1}));
    const uint16_t sum = FrameChecksum({frame.data(), 29});
    EXPECT_EQ(frame[29], sum & 0xFF);
    EXPECT_EQ(frame[30], sum >> 8);
    EXPECT_EQ(frame[31], 0xAE);
}

TEST(CommandFrame, ConfigureAddressTakesMask24AndGatewayDotOneOfItsSubnet) {
    const uint8_t ip[4] = {10, 0, 0, 7};
    const NetworkAddress address = AddressOnOwnSubnet(ip);
    EXPECT_THAT(address.ip, ElementsAreArray<uint8_t>({10, 0, 0, 7}));
    EXPECT_THAT(address.mask, ElementsAreArray<uint8_t>({255, 255, 255, 0}));
    EXPECT_THAT(address.gateway, ElementsAreArray<uint8_t>({10, 0, 0, 1}));
    // A blank address control reads 0.0.0.0: the gateway is 0.0.0.1.
    const uint8_t blank[4] = {};
    EXPECT_THAT(AddressOnOwnSubnet(blank).gateway, ElementsAreArray<uint8_t>({0, 0, 0, 1}));
}

TEST(CommandFrame, ChecksumAboveFFFFWrapsToSixteenBits) {
    // 300 payload bytes of 0xFF: the sum is far above 0xFFFF.
    std::vector<uint8_t> payload(300, 0xFF);
    const auto frame = MakeCommandFrame(Switcher(), LinkByte::Udp, 0x1E, payload);
    ASSERT_EQ(frame.size(), 320u);
    EXPECT_EQ(frame[2], 0x40);  // 320 = 0x0140, low byte first
    EXPECT_EQ(frame[3], 0x01);
    const uint32_t full_sum = std::accumulate(frame.begin(), frame.end() - 3, uint32_t{0});
    ASSERT_GT(full_sum, 0xFFFFu);
    EXPECT_EQ(frame[317], full_sum & 0xFF);
    EXPECT_EQ(frame[318], (full_sum >> 8) & 0xFF);
    EXPECT_EQ(frame[319], 0xAE);
}

TEST(CommandFrame, RefusesAnOutputBufferThatIsTooSmall) {
    uint8_t out[20];
    const uint8_t payload[1] = {4};
    EXPECT_EQ(BuildCommandFrame(Switcher(), LinkByte::Udp, 0x33, payload, out), 0);
    EXPECT_EQ(BuildCommandFrame(Switcher(), LinkByte::Udp, 0x32, {}, out), 20);
}

TEST(DeviceEntry, TypeByteNamesTheKindAndUnknownTypesFallToTheQuadView) {
    struct Row {
        uint8_t type;
        DeviceKind kind;
        bool known;
    };
    const Row rows[] = {
        {0x60, DeviceKind::QuadView, true},  {0x81, DeviceKind::Matrix, true},
        {0x82, DeviceKind::Matrix, true},    {0xA1, DeviceKind::Multiviewer, true},
        {0xA5, DeviceKind::Switcher, true},  {0x00, DeviceKind::QuadView, false},
        {0xA3, DeviceKind::QuadView, false}, {0xFF, DeviceKind::QuadView, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(DeviceKindOfType(row.type), row.kind) << int{row.type};
        EXPECT_EQ(IsKnownDeviceType(row.type), row.known) << int{row.type};
    }
}

}  // namespace
}  // namespace panoptix
