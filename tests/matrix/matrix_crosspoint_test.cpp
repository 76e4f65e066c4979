// The crosspoint page and its function buttons, run as operator scripts against a recording view
// and a router on loopback UDP: after every click, what reached the router, what the operator
// sees, and the record.
#include "matrix/core/matrix_crosspoint.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "matrix/core/matrix_function.h"
#include "matrix_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::RecordingView;
using testing::RoutesText;
using testing_support::MessageRecorder;
using testing_support::TraceRecorder;

enum class Act {
    kOpen,      // the page (and its function sub page) opens: a new view
    kNewPage,   // another device page was opened, then this one again
    kInput,     // input button k
    kOutput,    // output button k
    kOneToAll,  // the function sub page's buttons
    kOneToOne,
    kApply,
    kLock,
    kMode,  // the link's mode numbered k (the serial port stays closed)
};

struct Step {
    Act act;
    int k;
    const char* sent;    // the datagram the router receives, "" for none
    const char* screen;  // what the operator sees afterwards; nullptr: nothing was drawn
    const char* routes;  // the record afterwards, output 1 first
    int input;           // the selected input afterwards
};

class MatrixScriptTest : public testing::MatrixLinkTest {
  protected:
    void Do(Act act, int k) {
        switch (act) {
            case Act::kNewPage:
                ResetMatrixPageState(matrix_);
                [[fallthrough]];
            case Act::kOpen:
                view_.Clear();
                ShowOpeningPictures(matrix_, view_);
                ShowLockPicture(matrix_, view_);
                break;
            case Act::kInput:
                ClickInput(matrix_, view_, k);
                break;
            case Act::kOutput:
                ToggleOutput(matrix_, view_, k);
                break;
            case Act::kOneToAll:
                ClickOneToAll(matrix_, link_, view_);
                break;
            case Act::kOneToOne:
                ClickOneToOne(matrix_, link_, view_);
                break;
            case Act::kApply:
                ClickApply(matrix_, link_);
                break;
            case Act::kLock:
                ToggleLock(matrix_, view_);
                break;
            case Act::kMode:
                link_.SetMode(ConnectionModeOf(k).value_or(ConnectionMode::Lan));
                break;
        }
    }

    void Run(const std::vector<Step>& script) {
        for (size_t i = 0; i < script.size(); ++i) {
            const Step& step = script[i];
            SCOPED_TRACE("step " + std::to_string(i + 1));
            const std::string before = view_.Screen();
            Do(step.act, step.k);
            EXPECT_EQ(TakeDatagram(), step.sent);
            const int draws = view_.TakeDraws();
            if (step.screen == nullptr) {
                EXPECT_EQ(draws, 0);
                EXPECT_EQ(view_.Screen(), before);
            } else {
                EXPECT_EQ(view_.Screen(), step.screen);
            }
            EXPECT_EQ(RoutesText(matrix_.m_matrix_route), step.routes);
            EXPECT_EQ(matrix_.m_matrix_input, step.input);
        }
    }

    MatrixState matrix_;
    RecordingView view_;
};

TEST_F(MatrixScriptTest, InputRuleAndOutputsAddedRemovedAndMoved) {
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        // With no input chosen, outputs and the function buttons do nothing.
        {Act::kOutput, 2, "", nullptr, "00000000", 0},
        {Act::kOneToAll, 0, "", nullptr, "00000000", 0},
        {Act::kApply, 0, "", nullptr, "00000000", 0},
        {Act::kInput, 3, "", "in --+----- out -------- lock unlocked", "00000000", 3},
        {Act::kInput, 3, "", nullptr, "00000000", 3},
        // Output clicks change the record and the pictures; nothing is sent before APPLY.
        {Act::kOutput, 2, "", "in --+----- out -+------ lock unlocked", "03000000", 3},
        {Act::kOutput, 2, "", "in --+----- out -------- lock unlocked", "00000000", 3},
        {Act::kOutput, 2, "", "in --+----- out -+------ lock unlocked", "03000000", 3},
        {Act::kOutput, 5, "", "in --+----- out -+--+--- lock unlocked", "03003000", 3},
        {Act::kInput, 5, "", "in ----+--- out -------- lock unlocked", "03003000", 5},
        // Output 2 carried input 3: it moves to input 5.
        {Act::kOutput, 2, "", "in ----+--- out -+------ lock unlocked", "05003000", 5},
        {Act::kApply, 0, "5V2.", nullptr, "05003000", 5},
        {Act::kInput, 3, "", "in --+----- out ----+--- lock unlocked", "05003000", 3},
        {Act::kApply, 0, "3V5.", nullptr, "05003000", 3},
        // Buttons that do not exist change nothing.
        {Act::kInput, 9, "", nullptr, "05003000", 3},
        {Act::kOutput, 0, "", nullptr, "05003000", 3},
        {Act::kOutput, 9, "", nullptr, "05003000", 3},
    });
}

TEST_F(MatrixScriptTest, OneToAllOneToOneAndApply) {
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        {Act::kInput, 3, "", "in --+----- out -------- lock unlocked", "00000000", 3},
        {Act::kOneToAll, 0, "3All.", "in --+----- out ++++++++ lock unlocked", "33333333", 3},
        {Act::kApply, 0, "3V1,2,3,4,5,6,7,8.", nullptr, "33333333", 3},
        {Act::kOneToOne, 0, "All#.", "in -------- out -------- lock unlocked", "12345678", 0},
        // No input is selected afterwards: outputs, ONE TO ALL and APPLY do nothing.
        {Act::kOutput, 4, "", nullptr, "12345678", 0},
        {Act::kOneToAll, 0, "", nullptr, "12345678", 0},
        {Act::kApply, 0, "", nullptr, "12345678", 0},
        {Act::kInput, 8, "", "in -------+ out -------+ lock unlocked", "12345678", 8},
        {Act::kApply, 0, "8V8.", nullptr, "12345678", 8},
        // APPLY with no output carrying the input sends nothing.
        {Act::kOutput, 8, "", "in -------+ out -------- lock unlocked", "12345670", 8},
        {Act::kApply, 0, "", nullptr, "12345670", 8},
        // ONE TO ONE does not look at the selection.
        {Act::kOneToOne, 0, "All#.", "in -------- out -------- lock unlocked", "12345678", 0},
        {Act::kOneToOne, 0, "All#.", "in -------- out -------- lock unlocked", "12345678", 0},
    });
}

TEST_F(MatrixScriptTest, LockStopsEveryClickButLock) {
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        {Act::kInput, 2, "", "in -+------ out -------- lock unlocked", "00000000", 2},
        {Act::kOutput, 1, "", "in -+------ out +------- lock unlocked", "20000000", 2},
        {Act::kLock, 0, "", "in -+------ out +------- lock locked", "20000000", 2},
        {Act::kInput, 4, "", nullptr, "20000000", 2},
        {Act::kOutput, 1, "", nullptr, "20000000", 2},
        {Act::kOneToAll, 0, "", nullptr, "20000000", 2},
        {Act::kOneToOne, 0, "", nullptr, "20000000", 2},
        {Act::kApply, 0, "", nullptr, "20000000", 2},
        // Another tab and back: the LOCK picture follows the lock.
        {Act::kOpen, 0, "", "in -+------ out +------- lock locked", "20000000", 2},
        {Act::kLock, 0, "", "in -+------ out +------- lock unlocked", "20000000", 2},
        {Act::kInput, 4, "", "in ---+---- out -------- lock unlocked", "20000000", 4},
        {Act::kLock, 0, "", "in ---+---- out -------- lock locked", "20000000", 4},
        // Opening any device page clears the lock; selection and routes stay.
        {Act::kNewPage, 0, "", "in ---+---- out -------- lock unlocked", "20000000", 4},
        {Act::kOutput, 1, "", "in ---+---- out +------- lock unlocked", "40000000", 4},
    });
}

TEST_F(MatrixScriptTest, LockedValueIsAllBitsSet) {
    RecordingView view;
    ToggleLock(matrix_, view);
    EXPECT_EQ(matrix_.m_matrix_lock, ~0);
    ToggleLock(matrix_, view);
    EXPECT_EQ(matrix_.m_matrix_lock, 0);
}

// The record must never claim a route that did not leave the panel: with the serial port closed,
// or a mode neither LAN nor serial, the sends change no route, selection or picture.
TEST_F(MatrixScriptTest, NothingSentNothingChanged) {
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        {Act::kInput, 3, "", "in --+----- out -------- lock unlocked", "00000000", 3},
        {Act::kOutput, 2, "", "in --+----- out -+------ lock unlocked", "03000000", 3},
        {Act::kMode, kModeSerial, "", nullptr, "03000000", 3},
        {Act::kOneToAll, 0, "", nullptr, "03000000", 3},
        {Act::kOneToOne, 0, "", nullptr, "03000000", 3},
        {Act::kApply, 0, "", nullptr, "03000000", 3},
        // The crosspoint clicks send nothing and still act.
        {Act::kInput, 5, "", "in ----+--- out -------- lock unlocked", "03000000", 5},
        {Act::kOneToAll, 0, "", nullptr, "03000000", 5},
        {Act::kOneToOne, 0, "", nullptr, "03000000", 5},
        {Act::kOutput, 3, "", "in ----+--- out --+----- lock unlocked", "03500000", 5},
        {Act::kApply, 0, "", nullptr, "03500000", 5},
        {Act::kMode, kModeLan, "", nullptr, "03500000", 5},
        {Act::kApply, 0, "5V3.", nullptr, "03500000", 5},
        {Act::kOneToAll, 0, "5All.", "in ----+--- out ++++++++ lock unlocked", "55555555", 5},
    });
}

// A reopened page lights the selected input and its outputs, so what output clicks and APPLY
// act on is in sight.
TEST_F(MatrixScriptTest, ReopenedPageShowsItsRecord) {
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        {Act::kInput, 3, "", "in --+----- out -------- lock unlocked", "00000000", 3},
        {Act::kOutput, 2, "", "in --+----- out -+------ lock unlocked", "03000000", 3},
        {Act::kOutput, 5, "", "in --+----- out -+--+--- lock unlocked", "03003000", 3},
        {Act::kNewPage, 0, "", "in --+----- out -+--+--- lock unlocked", "03003000", 3},
        {Act::kInput, 3, "", nullptr, "03003000", 3},
        {Act::kOutput, 5, "", "in --+----- out -+------ lock unlocked", "03000000", 3},
        {Act::kInput, 7, "", "in ------+- out -------- lock unlocked", "03000000", 7},
        {Act::kOpen, 0, "", "in ------+- out -------- lock unlocked", "03000000", 7},
        {Act::kOneToOne, 0, "All#.", "in -------- out -------- lock unlocked", "12345678", 0},
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "12345678", 0},
    });
}

TEST_F(MatrixScriptTest, OpeningDrawsEveryButtonOnce) {
    matrix_.m_matrix_input = 4;
    matrix_.m_matrix_route = {4, 0, 4, 1, 0, 0, 0, 4};
    matrix_.m_matrix_lock = ~0;
    Do(Act::kOpen, 0);
    EXPECT_EQ(view_.TakeDraws(), 17);
    EXPECT_EQ(view_.Screen(), "in ---+---- out +-+----+ lock locked");
}

// On the LAN with no device selected the operator sees the box and the record changes as if the
// text had gone.
TEST_F(MatrixScriptTest, LanWithoutADeviceShowsTheBoxAndKeepsTheRoutes) {
    MessageRecorder boxes;
    link_.m_device_index = -1;
    Run({
        {Act::kOpen, 0, "", "in -------- out -------- lock unlocked", "00000000", 0},
        {Act::kInput, 6, "", "in -----+-- out -------- lock unlocked", "00000000", 6},
        {Act::kOneToAll, 0, "", "in -----+-- out ++++++++ lock unlocked", "66666666", 6},
    });
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Please choose a device"});
}

struct TraceCase {
    const char* what;
    MatrixState start;
    ConnectionMode mode;
    std::vector<std::pair<Act, int>> clicks;  // the last one is traced
    std::vector<std::string> traces;
};

TEST_F(MatrixScriptTest, TracesWordForWord) {
    const MatrixState chosen_3{1, 3, {}, 0};
    const TraceCase cases[] = {
        {"first input",
         {},
         ConnectionMode::Lan,
         {{Act::kInput, 3}},
         {"m_p_glo_main_set_or_get_dlg->m_matrix_input = 0 \n ", "ch = 3 \n "}},
        {"input after input 7",
         {},
         ConnectionMode::Lan,
         {{Act::kInput, 7}, {Act::kInput, 2}},
         {"m_p_glo_main_set_or_get_dlg->m_matrix_input = 7 \n ", "aaaaa\n", "ch = 2 \n "}},
        {"the selected input again",
         {},
         ConnectionMode::Lan,
         {{Act::kInput, 3}, {Act::kInput, 3}},
         {}},
        {"output", chosen_3, ConnectionMode::Lan, {{Act::kOutput, 4}}, {"ch = 4 ,input = 3 \n"}},
        {"one to all",
         chosen_3,
         ConnectionMode::Lan,
         {{Act::kOneToAll, 0}},
         {"m_eMatrixState = 1 \n", "nomoral sendLen = 5  \n", "m_eState = 0 \n",
          "send data ok \n"}},
        {"one to all, serial port closed",
         chosen_3,
         ConnectionMode::Serial,
         {{Act::kOneToAll, 0}},
         {"m_eMatrixState = 1 \n", "nomoral sendLen = 5  \n", "m_eState = 1 \n"}},
        {"one to all before any input click",
         {0, 3, {}, 0},
         ConnectionMode::Lan,
         {{Act::kOneToAll, 0}},
         {"m_eMatrixState = 0 \n", "click the null All\n"}},
        {"one to all in state 2",
         {2, 3, {}, 0},
         ConnectionMode::Lan,
         {{Act::kOneToAll, 0}},
         {"m_eMatrixState = 2 \n"}},
        {"apply",
         chosen_3,
         ConnectionMode::Lan,
         {{Act::kOutput, 2}, {Act::kOutput, 3}, {Act::kApply, 0}},
         {"m_eMatrixState = 1 \n", "nomoral  sendLen = 6 \n", "m_eState = 0 \n", "send data ok \n",
          "re draw  ok \n"}},
        {"apply, serial port closed",
         chosen_3,
         ConnectionMode::Serial,
         {{Act::kOutput, 2}, {Act::kApply, 0}},
         {"m_eMatrixState = 1 \n", "nomoral  sendLen = 4 \n", "m_eState = 1 \n"}},
        {"apply with nothing routed",
         chosen_3,
         ConnectionMode::Lan,
         {{Act::kApply, 0}},
         {"m_eMatrixState = 1 \n"}},
        {"apply before any input click",
         {0, 3, {3, 0, 0, 0, 0, 0, 0, 0}, 0},
         ConnectionMode::Lan,
         {{Act::kApply, 0}},
         {"m_eMatrixState = 0 \n"}},
        {"one to one",
         chosen_3,
         ConnectionMode::Lan,
         {{Act::kOneToOne, 0}},
         {"m_eState = 0 \n", "m_p_glo_main_set_or_get_dlg->m_matrix_input = 3 \n ",
          "ch = 200 \n "}},
        {"one to one, serial port closed",
         chosen_3,
         ConnectionMode::Serial,
         {{Act::kOneToOne, 0}},
         {"m_eState = 1 \n"}},
    };
    for (const TraceCase& c : cases) {
        SCOPED_TRACE(c.what);
        matrix_ = c.start;
        link_.SetMode(c.mode);
        for (size_t i = 0; i + 1 < c.clicks.size(); ++i) {
            Do(c.clicks[i].first, c.clicks[i].second);
        }
        TraceRecorder traces;
        Do(c.clicks.back().first, c.clicks.back().second);
        EXPECT_EQ(traces.lines(), c.traces);
        router_.Receive(0);
    }
}

}  // namespace
}  // namespace panoptix
