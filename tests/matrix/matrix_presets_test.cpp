// Router presets without widgets: a record's recall texts and its kept form, what a kept entry
// may hold, the name a router's presets are kept under, and store and recall with the lock, an
// empty preset and a link that cannot take texts.
#include "matrix/core/matrix_presets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

#include "matrix_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::RecordingView;
using testing::RoutesText;
using testing_support::MessageRecorder;
using testing_support::TraceRecorder;

TEST(MatrixPresets, ARecordGivesOneApplyTextPerInputInInputOrderAndEightDigits) {
    const struct {
        MatrixRoutes routes;
        std::vector<std::string> texts;
        const char* kept;
    } cases[] = {
        {{3, 1, 1, 3, 0, 0, 0, 3}, {"1V2,3.", "3V1,4,8."}, "31130003"},
        {{1, 2, 3, 4, 5, 6, 7, 8},
         {"1V1.", "2V2.", "3V3.", "4V4.", "5V5.", "6V6.", "7V7.", "8V8."},
         "12345678"},
        {{5, 5, 5, 5, 5, 5, 5, 5}, {"5V1,2,3,4,5,6,7,8."}, "55555555"},
        {{0, 0, 0, 0, 0, 0, 0, 8}, {"8V8."}, "00000008"},
        {{8, 7, 6, 5, 4, 3, 2, 1},
         {"1V8.", "2V7.", "3V6.", "4V5.", "5V4.", "6V3.", "7V2.", "8V1."},
         "87654321"},
        {{0, 0, 0, 0, 0, 0, 0, 0}, {}, "00000000"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(RecallTexts(c.routes), ElementsAreArray(c.texts)) << c.kept;
        EXPECT_EQ(EncodePreset(c.routes), c.kept);
        const auto decoded = DecodePreset(c.kept);
        if (c.texts.empty()) {
            EXPECT_FALSE(decoded) << "a record that routes nothing is no preset";
        } else {
            ASSERT_TRUE(decoded) << c.kept;
            EXPECT_EQ(*decoded, c.routes);
        }
    }
}

TEST(MatrixPresets, AGarbageEntryIsIgnoredWithATraceAndTheOthersStand) {
    std::array<std::optional<std::string>, kMatrixPresets> texts{};
    texts[0] = "31130003";
    texts[1] = "3113000";     // seven outputs
    texts[2] = "311300031";   // nine
    texts[3] = "31130009";    // input 9
    texts[4] = "3113000a";    // not a digit
    texts[5] = "";            // empty
    texts[6] = " 31130003";   // a space before it
    texts[7] = std::nullopt;  // never stored: no trace
    TraceRecorder traces;
    const MatrixPresetBank bank = DecodePresetBank(texts, "lan-192.0.2.12");
    ASSERT_TRUE(bank[0]);
    EXPECT_EQ(RoutesText(*bank[0]), "31130003");
    for (size_t i = 1; i < bank.size(); ++i) {
        EXPECT_FALSE(bank[i]) << i + 1;
    }
    EXPECT_EQ(traces.lines().size(), 6u);
    EXPECT_EQ(traces.lines().front(),
              "matrix preset 2 of lan-192.0.2.12 ignored: \"3113000\" is not eight inputs 0..8 \n");
}

TEST(MatrixPresets, PresetsAreKeptByTheRoutersAddressOrItsSerialPort) {
    DeviceLink link;
    EXPECT_EQ(PresetRouterKey(link), "") << "no device selected";
    link.device_table[2].SetIpText("192.0.2.12");
    link.m_device_index = 2;
    EXPECT_EQ(PresetRouterKey(link), "lan-192.0.2.12");
    link.SetMode(ConnectionMode::Serial);
    EXPECT_EQ(PresetRouterKey(link), "") << "the port is closed";
    const testing_support::PtyPeer line(testing_support::PtyPeer::Line::HeldOpen);
    ASSERT_TRUE(link.serial_port.OpenPort(line.PortName(), 9600));
    std::string expected = "serial-";
    for (const char c : line.PortName()) {
        const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-';
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "_%02X", static_cast<unsigned>(c));
        expected += plain ? std::string(1, c) : std::string(escaped);
    }
    EXPECT_EQ(PresetRouterKey(link), expected);  // "/dev/pts/3" gives "serial-_2Fdev_2Fpts_2F3"
    link.serial_port.ClosePort();
}

class MatrixPresetRecallTest : public testing::MatrixLinkTest {
  protected:
    MatrixState matrix_;
    RecordingView view_;
    MatrixPresetBank bank_{};
};

TEST_F(MatrixPresetRecallTest, StoreAndRecallWithTheLockAnEmptyPresetAndAClosedLink) {
    matrix_.m_matrix_route = {3, 1, 1, 3, 0, 0, 0, 3};
    matrix_.m_matrix_input = 3;
    EXPECT_EQ(StorePreset(matrix_, bank_, 2), PresetOutcome::kStored);
    matrix_.m_matrix_lock = ~0;  // storing changes nothing on the router: allowed while locked
    matrix_.m_matrix_route = {0, 0, 0, 0, 0, 0, 6, 6};
    EXPECT_EQ(StorePreset(matrix_, bank_, 6), PresetOutcome::kStored);
    MatrixState nothing;
    EXPECT_EQ(StorePreset(nothing, bank_, 7), PresetOutcome::kNothingToStore);
    EXPECT_EQ(StorePreset(matrix_, bank_, 9), PresetOutcome::kNoSuchPreset);
    EXPECT_EQ(TakeDatagram(), "") << "a store sends nothing";

    // Locked, empty, no such preset, a closed serial port: nothing changes, nothing goes.
    const struct {
        int32_t lock;
        ConnectionMode mode;
        int preset;
        PresetOutcome outcome;
    } refused[] = {
        {~0, ConnectionMode::Lan, 2, PresetOutcome::kLocked},
        {0, ConnectionMode::Lan, 7, PresetOutcome::kEmpty},
        {0, ConnectionMode::Lan, 0, PresetOutcome::kNoSuchPreset},
        {0, ConnectionMode::Serial, 2, PresetOutcome::kLinkRefused},  // the port is closed
    };
    for (const auto& c : refused) {
        matrix_.m_matrix_lock = c.lock;
        link_.SetMode(c.mode);
        EXPECT_EQ(RecallPreset(matrix_, link_, view_, bank_, c.preset), c.outcome) << c.preset;
        EXPECT_EQ(RoutesText(matrix_.m_matrix_route), "00000066");
        EXPECT_EQ(view_.TakeDraws(), 0);
        EXPECT_EQ(TakeDatagram(), "");
    }

    // Unlocked on the LAN: the record is the preset's, the selected input's outputs are redrawn
    // and two texts go, input 1 before input 3.
    matrix_.m_matrix_lock = 0;
    link_.SetMode(ConnectionMode::Lan);
    int sent = 0;
    EXPECT_EQ(RecallPreset(matrix_, link_, view_, bank_, 2, &sent), PresetOutcome::kRecalled);
    EXPECT_EQ(sent, 2);
    EXPECT_EQ(RoutesText(matrix_.m_matrix_route), "31130003");
    EXPECT_EQ(view_.Screen(), "in ???????? out +--+---+ lock ?");
    EXPECT_EQ(router_.Receive(kQuietMs)->bytes,
              std::vector<uint8_t>({'1', 'V', '2', ',', '3', '.'}));
    EXPECT_EQ(TakeDatagram(), "3V1,4,8.");

    // On the serial line, the same texts as one write each.
    UseSerialLine();
    EXPECT_EQ(RecallPreset(matrix_, link_, view_, bank_, 6), PresetOutcome::kRecalled);
    EXPECT_EQ(TakeSerialBytes(), "6V7,8.");
    EXPECT_EQ(TakeDatagram(), "");
}

TEST_F(MatrixPresetRecallTest, WithNoDeviceSelectedTheOperatorIsToldOnceAndNothingChanges) {
    bank_[0] = MatrixRoutes{1, 2, 3, 4, 5, 6, 7, 8};
    link_.m_device_index = -1;
    MessageRecorder messages;
    EXPECT_EQ(RecallPreset(matrix_, link_, view_, bank_, 1), PresetOutcome::kNoDevice);
    EXPECT_THAT(messages.texts, ElementsAre("Please choose a device"));
    EXPECT_EQ(RoutesText(matrix_.m_matrix_route), "00000000");
    EXPECT_EQ(TakeDatagram(), "");
}

}  // namespace
}  // namespace panoptix
