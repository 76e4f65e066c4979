// The simulated router reads every text the panel's matrix page can build, on UDP and on the
// serial line, and moves exactly the outputs the text names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devsim_test_frames.h"
#include "matrix/core/matrix_texts.h"
#include "matrix_model.h"
#include "serial_accumulator.h"

namespace panoptix::devsim {
namespace {

using testing::Bytes;
using testing::Identity;

struct PanelText {
    std::string text;
    MatrixDeviceState after;  // the router's routes after the text, from routes k = k
    std::string account;
};

std::string OutputList(const std::vector<int>& outputs) {
    std::string list;
    for (int output : outputs) {
        list += (list.empty() ? "" : ", ") + std::to_string(output);
    }
    return list;
}

// Every text the panel builds: each input to all outputs, one to one, and each input applied to
// every non-empty set of outputs (the other outputs carry another input in the panel's record).
std::vector<PanelText> AllPanelTexts() {
    std::vector<PanelText> texts;
    for (int input = 1; input <= 8; ++input) {
        MatrixDeviceState all;
        all.routes.fill(static_cast<uint8_t>(input));
        texts.push_back(
            {OneToAllText(input), all, "route input " + std::to_string(input) + " to all outputs"});
    }
    texts.push_back({OneToOneText(), {}, "route each input to its own output (one to one)"});
    for (int input = 1; input <= 8; ++input) {
        const auto other = static_cast<uint8_t>(input % 8 + 1);
        for (unsigned set = 1; set < 256; ++set) {
            MatrixRoutes record{};
            MatrixDeviceState after;
            std::vector<int> outputs;
            for (int k = 1; k <= 8; ++k) {
                const bool listed = (set >> (k - 1)) & 1u;
                record[static_cast<size_t>(k - 1)] = listed ? static_cast<uint8_t>(input) : other;
                if (listed) {
                    after.routes[static_cast<size_t>(k - 1)] = static_cast<uint8_t>(input);
                    outputs.push_back(k);
                }
            }
            texts.push_back({ApplyText(input, record), after,
                             "route input " + std::to_string(input) +
                                 (outputs.size() == 1 ? " to output " : " to outputs ") +
                                 OutputList(outputs)});
        }
    }
    return texts;
}

TEST(MatrixAgreement, EveryPanelTextByUdp) {
    for (const PanelText& expected : AllPanelTexts()) {
        MatrixModel model(Identity(DeviceKind::Matrix, "MX", 0x81));
        const Response response = model.ReceiveDatagram(Bytes(expected.text));
        EXPECT_EQ(response.account, expected.account) << expected.text;
        EXPECT_EQ(model.State().routes, expected.after.routes) << expected.text;
        EXPECT_TRUE(response.reply.empty());
    }
}

// On the serial line the texts follow each other without separator, in pieces of any size.
TEST(MatrixAgreement, EveryPanelTextOnTheSerialLine) {
    const std::vector<PanelText> texts = AllPanelTexts();
    std::string stream;
    std::vector<std::string> expected;
    for (const PanelText& text : texts) {
        stream += text.text;
        expected.push_back(text.account);
    }
    MatrixModel model(Identity(DeviceKind::Matrix, "MX", 0x81));
    SerialAccumulator serial;
    std::vector<std::string> accounts;
    constexpr size_t kPiece = 7;
    for (size_t at = 0; at < stream.size(); at += kPiece) {
        serial.Append(Bytes(std::string_view(stream).substr(at, kPiece)));
        while (auto cut = serial.Next()) {
            accounts.push_back(model.ReceiveSerial(*cut).account);
        }
    }
    EXPECT_EQ(serial.Pending(), 0u);
    EXPECT_EQ(accounts, expected);
    EXPECT_EQ(model.State().routes, texts.back().after.routes);
}

// Nothing may follow the '.' in a datagram: a NUL after it is reported, the text still acts.
TEST(MatrixAgreement, NulAfterTheTextIsReported) {
    MatrixModel model(Identity(DeviceKind::Matrix, "MX", 0x81));
    const Response response = model.ReceiveDatagram(Bytes(std::string_view("3All.\0", 6)));
    EXPECT_EQ(response.account, "route input 3 to all outputs (1 trailing bytes ignored)");
}

TEST(MatrixAgreement, RouterStartsWithEachInputOnItsOwnOutput) {
    const MatrixModel model(Identity(DeviceKind::Matrix, "MX", 0x81));
    EXPECT_THAT(model.State().routes, ::testing::ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_THAT(model.StateLines(),
                ::testing::ElementsAre("route.1=1", "route.2=2", "route.3=3", "route.4=4",
                                       "route.5=5", "route.6=6", "route.7=7", "route.8=8"));
}

}  // namespace
}  // namespace panoptix::devsim
