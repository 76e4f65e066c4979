// Matrix texts on the wire: exactly the text's bytes, as one datagram on the LAN and as one write
// on the serial line, and nothing at all when the text cannot go.
#include "matrix/core/matrix_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "matrix/core/matrix_crosspoint.h"
#include "matrix/core/matrix_function.h"
#include "matrix_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::RecordingView;
using testing_support::MessageRecorder;

const char* const kTexts[] = {"3All.", "All#.", "1V2,3.", "8V8.", "1V1,2,3,4,5,6,7,8."};

class MatrixSendTest : public testing::MatrixLinkTest {};

TEST_F(MatrixSendTest, OneDatagramOfExactlyTheTextOnTheLan) {
    for (const std::string text : kTexts) {
        EXPECT_TRUE(SendMatrixText(link_, text));
        EXPECT_EQ(TakeDatagram(), text);
        EXPECT_EQ(link_.m_udpSockfd, -1) << "the command socket is closed after the send";
    }
    EXPECT_EQ(TakeSerialBytes(), "");
}

TEST_F(MatrixSendTest, ExactlyTheTextOnTheSerialLine) {
    UseSerialLine();
    for (const std::string text : kTexts) {
        EXPECT_TRUE(SendMatrixText(link_, text));
        EXPECT_EQ(TakeSerialBytes(), text);
    }
    EXPECT_EQ(TakeDatagram(), "");
}

TEST_F(MatrixSendTest, NothingWhenTheTextCannotGo) {
    UseSerialLine();
    link_.serial_port.ClosePort();
    EXPECT_FALSE(MatrixTextCanGo(link_));
    EXPECT_FALSE(SendMatrixText(link_, "3All."));
    link_.SetMode(ConnectionMode::Lan);
    EXPECT_FALSE(SendMatrixText(link_, ""));
    EXPECT_EQ(TakeSerialBytes(), "");
    EXPECT_EQ(TakeDatagram(), "");
}

TEST_F(MatrixSendTest, LanWithoutADeviceShowsTheBoxAndSendsNothing) {
    MessageRecorder boxes;
    link_.m_device_index = -1;
    EXPECT_TRUE(SendMatrixText(link_, "All#."));
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Please choose a device"});
    EXPECT_EQ(TakeDatagram(), "");
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

// The function buttons on the serial line: the texts follow each other without separator.
TEST_F(MatrixSendTest, FunctionButtonsOnTheSerialLine) {
    UseSerialLine();
    MatrixState matrix;
    RecordingView view;
    ClickInput(matrix, view, 1);
    ClickOneToAll(matrix, link_, view);
    ToggleOutput(matrix, view, 2);
    ClickApply(matrix, link_);
    ClickOneToOne(matrix, link_, view);
    EXPECT_EQ(TakeSerialBytes(), "1All.1V1,3,4,5,6,7,8.All#.");
    EXPECT_EQ(TakeDatagram(), "");
}

}  // namespace
}  // namespace panoptix
