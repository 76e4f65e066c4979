// The simulated matrix router and its text commands.
#include "matrix_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devsim_test_frames.h"

namespace panoptix::devsim {
namespace {

using testing::Bytes;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

class MatrixTest : public ::testing::Test {
  protected:
    MatrixModel model_{testing::Identity(DeviceKind::Matrix, "MX", 0x81)};

    std::string Send(std::string_view text) {
        const Response response = model_.ReceiveDatagram(Bytes(text));
        EXPECT_TRUE(response.reply.empty());
        return response.account;
    }
};

TEST_F(MatrixTest, TextsRouteInputsToOutputs) {
    EXPECT_EQ(Send("3All."), "route input 3 to all outputs");
    EXPECT_THAT(model_.State().routes, ElementsAreArray<uint8_t>({3, 3, 3, 3, 3, 3, 3, 3}));
    EXPECT_EQ(Send("1V2,3."), "route input 1 to outputs 2, 3");
    EXPECT_EQ(Send("8V8."), "route input 8 to output 8");
    EXPECT_THAT(model_.State().routes, ElementsAreArray<uint8_t>({3, 1, 1, 3, 3, 3, 3, 8}));
    EXPECT_EQ(Send("All#."), "route each input to its own output (one to one)");
    EXPECT_THAT(model_.State().routes, ElementsAreArray<uint8_t>({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Send("5V1,2,3,4,5,6,7,8."), "route input 5 to outputs 1, 2, 3, 4, 5, 6, 7, 8");
}

TEST_F(MatrixTest, MalformedTextsAreIgnoredWithTheirReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"9All.", "ignored text \"9All.\": input 9 is not 1..8"},
        {"0All.", "input 0 is not 1..8"},
        {"12All.", "input 12 is not 1..8"},
        {"1V9.", "output 9 is not 1..8"},
        {"1V2,,3.", "the output list is not numbers separated by ','"},
        {"1V.", "the output list is not numbers separated by ','"},
        {"1V2,3,.", "the output list is not numbers separated by ','"},
        {"1V2#3.", "the output list is not numbers separated by ','"},
        {"1X2.", "not a matrix command"},
        {"All.", "not a matrix command"},
        {"3All", "ignored 4 bytes: text without its final '.'"},
        {"3All.x", "route input 3 to all outputs (1 trailing bytes ignored)"},
    };
    for (const auto& [text, account] : cases) {
        EXPECT_THAT(Send(text), HasSubstr(account)) << text;
    }
}

TEST_F(MatrixTest, TextsArriveInPiecesOnTheSerialLine) {
    SerialAccumulator serial;
    std::vector<std::string> accounts;
    for (char c : std::string("2All.All#.")) {
        serial.Append(Bytes(std::string(1, c)));
        while (auto cut = serial.Next()) {
            accounts.push_back(model_.ReceiveSerial(*cut).account);
        }
    }
    EXPECT_THAT(accounts, ElementsAreArray({"route input 2 to all outputs",
                                            "route each input to its own output (one to one)"}));
}

TEST_F(MatrixTest, AnswersTheSearchButNoOtherFrame) {
    EXPECT_EQ(model_.ReceiveDatagram(MakeDiscoveryRequest(LinkByte::Udp)).reply[4], 0x81);
    EXPECT_THAT(model_.ReceiveDatagram(testing::PanelFrame(0x81, 0x33, {4})).account,
                HasSubstr("not a matrix command"));
}

}  // namespace
}  // namespace panoptix::devsim
