// What every kind of simulated device shares: the search answer, the address settings, the
// handling of what it cannot use, and one readable line for everything it receives.
#include "device_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "device_factory.h"
#include "devsim_test_frames.h"

namespace panoptix::devsim {
namespace {

using testing::Bytes;
using ::testing::HasSubstr;
using testing::IsWellFormedFrame;
using testing::PanelFrame;

// The model name as the panel's search takes it from an answer: bytes 18 up to the first '-'
// that has another '-' two places after it, scanning while k < n - 3.
std::string NameAsThePanelReadsIt(const std::vector<uint8_t>& answer) {
    for (size_t k = 18; k + 3 < answer.size(); ++k) {
        if (answer[k] == '-' && answer[k + 2] == '-') {
            return std::string(answer.begin() + 18, answer.begin() + static_cast<long>(k));
        }
    }
    return "(none)";
}

TEST(DeviceModel, EveryKindAnswersTheSearchOnBothLinks) {
    for (DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                            DeviceKind::QuadView}) {
        SCOPED_TRACE(std::string(KindName(kind)));
        auto model = MakeDeviceModel({kind, "ABC", DefaultTypeByte(kind), 0x07});

        const Response lan = model->ReceiveDatagram(MakeDiscoveryRequest(LinkByte::Udp));
        EXPECT_EQ(lan.account, "search request -> answered as ABC");
        ASSERT_TRUE(IsWellFormedFrame(lan.reply));
        EXPECT_EQ(lan.reply[4], DefaultTypeByte(kind));
        EXPECT_EQ(lan.reply[5], 0x07);
        EXPECT_EQ(lan.reply[6], 1);  // link byte of a UDP reply
        EXPECT_EQ(lan.reply[16], 0xFF);
        EXPECT_EQ(std::string(lan.reply.begin() + 18, lan.reply.end() - 3), "ABC-1-");
        EXPECT_EQ(NameAsThePanelReadsIt(lan.reply), "ABC");

        SerialAccumulator serial;
        serial.Append(MakeDiscoveryRequest(LinkByte::Serial));
        const Response answer = model->ReceiveSerial(*serial.Next());
        ASSERT_TRUE(IsWellFormedFrame(answer.reply));
        EXPECT_EQ(answer.reply[6], 0);  // link byte of a serial reply
    }
}

TEST(DeviceModel, SearchAnswerNeverEndsInAFalseName) {
    // The panel scans the answer as far as the checksum's high byte; names whose sum would put
    // a '-' there still come out whole (byte 17, which nobody reads, takes up the difference).
    int adjusted = 0;
    for (char first = '!'; first <= '~'; ++first) {
        for (size_t length = 1; length <= 104; ++length) {
            const std::string name(length, first == '-' ? '+' : first);
            auto model = MakeDeviceModel({DeviceKind::Switcher, name, 0xA5, 0x01});
            const auto reply = model->ReceiveDatagram(MakeDiscoveryRequest(LinkByte::Udp)).reply;
            ASSERT_TRUE(IsWellFormedFrame(reply));
            ASSERT_NE(reply[reply.size() - 2], '-') << name;
            ASSERT_EQ(NameAsThePanelReadsIt(reply), name);
            adjusted += reply[17] != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(adjusted, 0) << "no name reached the case this test is about";
}

TEST(DeviceModel, ModelNamesThatTheSearchWouldCutShortAreRefused) {
    std::string error;
    EXPECT_TRUE(IsUsableModelName("ORV-MXP9120HD", error));
    EXPECT_TRUE(IsUsableModelName("QL2293 ", error));
    EXPECT_FALSE(IsUsableModelName("A-B-C", error));
    EXPECT_THAT(error, HasSubstr("cuts it short"));
    EXPECT_TRUE(IsUsableModelName("AB-", error));  // "AB--1-": the pair starts after the name
    EXPECT_FALSE(IsUsableModelName("A-B", error));
    EXPECT_FALSE(IsUsableModelName("", error));
    EXPECT_FALSE(IsUsableModelName(std::string(105, 'X'), error));
    EXPECT_FALSE(IsUsableModelName("caf\xC3\xA9", error));
}

TEST(DeviceModel, AddressSettingsAreRecordedAndLogged) {
    auto model = MakeDeviceModel({DeviceKind::Multiviewer, "MV", 0xA1, 0x01});
    DeviceEntry entry;
    entry.device_type = 0xA1;
    entry.device_address = 0x01;
    const Response response = model->ReceiveDatagram(
        MakeAddressFrame(entry, {{10, 0, 0, 7}, {255, 255, 255, 0}, {10, 0, 0, 1}}));
    EXPECT_EQ(response.account,
              "set address 10.0.0.7 mask 255.255.255.0 gateway 10.0.0.1 (recorded; the "
              "simulator keeps its address)");
    EXPECT_TRUE(response.reply.empty());
    EXPECT_EQ(model->ReceivedAddress().gateway[3], 1);
    EXPECT_THAT(model->ReceiveDatagram(PanelFrame(0xA1, 0x05, {10, 0, 0})).account,
                HasSubstr("ignored address settings frame: 3 payload bytes, expected 12"));
}

TEST(DeviceModel, WhatCannotBeUsedIsOneLineSayingWhy) {
    auto model = MakeDeviceModel({DeviceKind::Multiviewer, "MV", 0xA1, 0x01});
    const auto query = PanelFrame(0xA1, 0x32);
    std::vector<uint8_t> with_tail = query;
    with_tail.insert(with_tail.end(), {1, 2, 3});
    std::vector<uint8_t> serial_link_on_udp = PanelFrame(0xA1, 0x33, {4}, LinkByte::Serial);

    struct Case {
        std::vector<uint8_t> datagram;
        const char* account;
    };
    const Case cases[] = {
        {Bytes("hello!!"), "ignored 7 bytes: no frame start"},
        {{query.begin(), query.begin() + 12}, "ignored 12 bytes: incomplete frame: 12 of 20 bytes"},
        {Bytes("3All."), "ignored 5 bytes: matrix text \"3All.\" is not a multiviewer command"},
        {PanelFrame(0xA1, 0x40, {1}),
         "ignored 21-byte frame with command 0x40: not a "
         "multiviewer command"},
        {with_tail, "status query -> sent 669 bytes (3 trailing bytes ignored)"},
        {serial_link_on_udp, "layout 4 windows [link byte 0 on UDP]"},
        // Device bytes of another row of the panel's table: meant for another device.
        {PanelFrame(0xA5, 0x33, {4}),
         "layout 4 windows [device bytes 0xA5 0x01, not this device's]"},
        {PanelFrame(0xA1, 0x33, {4}, LinkByte::Udp, 0x02),
         "layout 4 windows [device bytes 0xA1 0x02, not this device's]"},
        // The search carries fixed bytes of its own.
        {MakeDiscoveryRequest(LinkByte::Udp), "search request -> answered as MV"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(model->ReceiveDatagram(c.datagram).account, c.account);
    }
    // On the serial line the table row may be any device's (zero before any LAN search): the
    // note says so, so that a frame meant for another kind is told from a faulty one.
    SerialAccumulator serial;
    serial.Append(PanelFrame(0x00, 0x33, {4}, LinkByte::Serial, 0x00));
    serial.Append(PanelFrame(0xA1, 0x33, {9}, LinkByte::Serial));
    EXPECT_EQ(model->ReceiveSerial(*serial.Next()).account,
              "layout 4 windows [device bytes 0x00 0x00 on serial, another device's]");
    EXPECT_EQ(model->ReceiveSerial(*serial.Next()).account, "layout 9 windows");
}

TEST(DeviceModel, RandomInputNeverCrashesAndAlwaysGivesOneLine) {
    std::mt19937 random(11);
    for (DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                            DeviceKind::QuadView}) {
        auto model = MakeDeviceModel({kind, "R", DefaultTypeByte(kind), 0x01});
        for (int round = 0; round < 3000; ++round) {
            // A valid frame with a random command and payload, or raw random bytes.
            std::vector<uint8_t> payload(random() % 12);
            for (auto& byte : payload) {
                byte = static_cast<uint8_t>(random());
            }
            std::vector<uint8_t> datagram(kFrameOverhead + payload.size());
            BuildFrameWithDeviceBytes(DefaultTypeByte(kind), 1, LinkByte::Udp,
                                      static_cast<uint8_t>(random()), payload, datagram);
            if (round % 3 == 0) {
                datagram.resize(random() % 40);
                for (auto& byte : datagram) {
                    byte = static_cast<uint8_t>(random());
                }
            }
            const Response response = model->ReceiveDatagram(datagram);
            ASSERT_FALSE(response.account.empty());
            ASSERT_EQ(response.account.find('\n'), std::string::npos) << response.account;
            if (!response.reply.empty()) {
                ASSERT_TRUE(IsWellFormedFrame(response.reply));
            }
        }
    }
}

}  // namespace
}  // namespace panoptix::devsim
