// Decoding the two replies and applying them, against a recording view. No device is selected,
// so a send the panel must not make would show "Please choose a device".
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "quadview/core/quadview_panel.h"
#include "quadview/core/quadview_tables.h"
#include "quadview_test_support.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using testing::FirstBytes;
using ::testing::IsEmpty;
using testing::RecordingView;
using testing::SignalReply;
using testing::StatusFields;
using testing::StatusReply;
using testing_support::MessageRecorder;
using testing_support::TraceRecorder;

class QuadRepliesTest : public ::testing::Test {
  protected:
    void ApplyStatus(const Bytes& reply) { panel_.ApplyStatusReport(DecodeQuadStatusReply(reply)); }
    void ApplySignal(const Bytes& reply) { panel_.ApplySignalReport(DecodeQuadSignalReply(reply)); }
    AllKv2718PageData& block() { return quad_.m_all_kv2718_page_data; }

    MessageRecorder messages_;
    DeviceLink link_;
    QuadviewState quad_;
    RecordingView view_;
    QuadviewPanel panel_{link_, quad_, view_};
};

TEST_F(QuadRepliesTest, StatusReplyWithModeThreeIsAppliedWithItsTracesAndNotSentBack) {
    TraceRecorder traces;
    StatusFields fields;
    fields.show_mode = 3;
    fields.pip_child = {2, 4};
    fields.loop_state = 1;
    ApplyStatus(StatusReply(fields));

    EXPECT_EQ(block().show_mode, 3);
    EXPECT_EQ(block().output_format, 10);
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{2, 4}));
    EXPECT_EQ(block().loop_state, 1);
    EXPECT_EQ(panel_.applying_status(), 0);
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1035));
    EXPECT_EQ(quad_.quad_preview_window[0], (PreviewWindow{0, 0, 360, 480, 1}));
    EXPECT_EQ(quad_.quad_preview_window[1], (PreviewWindow{360, 0, 360, 480, 2}));
    EXPECT_EQ(view_.repaints, 1);
    EXPECT_THAT(messages_.texts, IsEmpty());  // nothing was sent

    auto lines = traces.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.back().starts_with("m_rc_rx0559_show_mode_type =  ")) << lines.back();
    lines.pop_back();
    EXPECT_THAT(lines,
                ElementsAre("recvBuf[recvBufIndex] = 0 \n", "output format = 10 \n",
                            "**************************** show mode = 3 "
                            "********************************************\n",
                            "len = 1 \n", "line 0 umdNameLen = 4 \n", "line 1 umdNameLen = 4 \n",
                            "line 2 umdNameLen = 4 \n", "line 3 umdNameLen = 4 \n", "ch = 2 \n",
                            "ch = 4 \n", "ch = 1 \n"));
}

TEST_F(QuadRepliesTest, PipModeWithEqualChildrenIsFixedUpWithoutSending) {
    StatusFields fields;
    fields.show_mode = 9;
    fields.pip_child = {1, 1};
    ApplyStatus(StatusReply(fields));

    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{1, 2}));
    EXPECT_EQ(view_.selected_row[qv_id::kFirstPipList], 0);
    EXPECT_EQ(view_.selected_row[qv_id::kSecondPipList], 1);
    EXPECT_EQ(view_.enabled[qv_id::kFirstPipList], false);  // loop stopped: second only
    EXPECT_EQ(view_.enabled[qv_id::kSecondPipList], true);
    EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(QuadRepliesTest, ModeWithoutAButtonLightsNoneEmptiesThePreviewAndTheNextClickIsSent) {
    for (uint8_t reported : {17, 255}) {
        SCOPED_TRACE(static_cast<int>(reported));
        block().show_mode = 3;
        panel_.ShowStoredMode();
        StatusFields fields;
        fields.show_mode = reported;
        ApplyStatus(StatusReply(fields));

        EXPECT_EQ(block().show_mode, reported);
        EXPECT_THAT(view_.LitLayoutButtons(), IsEmpty());
        EXPECT_EQ(quad_.quad_preview_window, (std::array<PreviewWindow, 4>{}));
        EXPECT_EQ(panel_.applying_status(), 0);

        // The stored mode's button is lit again and the click goes to the device.
        messages_.texts.clear();
        panel_.ApplyShowMode(3);
        EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1035));
        EXPECT_THAT(messages_.texts, ElementsAre("Please choose a device"));
    }
}

TEST_F(QuadRepliesTest, ReportedModeEqualToTheStoredOneStaysLitAndIsNotSent) {
    block().show_mode = 5;
    panel_.ShowStoredMode();
    StatusFields fields;
    fields.show_mode = 5;
    ApplyStatus(StatusReply(fields));
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1037));
    EXPECT_EQ(panel_.applying_status(), 0);
    EXPECT_THAT(messages_.texts, IsEmpty());
}

TEST_F(QuadRepliesTest, ShortRepliesDecodeOnlyTheBytesThatArrived) {
    block().show_mode = 6;
    block().output_format = 4;
    block().kora_kv2718_pip_child_ch = {3, 4};
    block().loop_state = 1;
    panel_.ShowStoredMode();
    StatusFields fields;
    fields.output_format = 10;
    fields.show_mode = 0;
    fields.pip_child = {1, 2};
    fields.loop_state = 0;
    const Bytes full = StatusReply(fields);

    // Cut before the show mode: the output format is taken, nothing else changes.
    ApplyStatus(FirstBytes(full, quad_reply::kShowMode));
    EXPECT_EQ(block().output_format, 10);
    EXPECT_EQ(block().show_mode, 6);
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1038));
    EXPECT_EQ(panel_.applying_status(), 0);

    // Cut before the PIP children: the mode is applied, children and loop keep their values.
    ApplyStatus(FirstBytes(full, quad_reply::kPipChildren));
    EXPECT_EQ(block().show_mode, 0);
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1032));
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{3, 4}));
    EXPECT_EQ(block().loop_state, 1);
    EXPECT_THAT(messages_.texts, IsEmpty());

    // Nothing but the header: nothing at all.
    const AllKv2718PageData before = block();
    ApplyStatus(FirstBytes(full, 17));
    EXPECT_EQ(block(), before);
}

TEST_F(QuadRepliesTest, LabelLengthsAreKeptAndOneAbove32IsReportedOnly) {
    TraceRecorder traces;
    StatusFields fields;
    fields.label_length = {32, 4, 33, 0};
    const Bytes full = StatusReply(fields);
    ApplyStatus(full);
    EXPECT_EQ(traces.Count("line 2 umdNameLen = 33 \n"), 1u);
    EXPECT_EQ(traces.CountStartingWith("line "), 5u);
    EXPECT_EQ(traces.Count("line 2 umdNameLen is wrong,please check the recv data. \n"), 1u);
    EXPECT_EQ(quad_.umd_name_length, (std::array<uint8_t, 4>{32, 4, 33, 0}));

    // A reply cut inside the third record: lines 1 and 2 are new, 3 and 4 keep their lengths.
    fields.label_length = {5, 6, 7, 8};
    const size_t third_length_byte =
        quad_reply::kLabelRecords + 2 * quad_reply::kLabelRecordSize + quad_reply::kLabelLength;
    ApplyStatus(FirstBytes(StatusReply(fields), third_length_byte));
    EXPECT_EQ(quad_.umd_name_length, (std::array<uint8_t, 4>{5, 6, 33, 0}));
}

TEST_F(QuadRepliesTest, SignalReplyLightsTheLampsAndARepeatChangesNothing) {
    panel_.ResetLamps();
    TraceRecorder traces;
    ApplySignal(SignalReply({1, 0, 2, 1}));
    EXPECT_EQ(view_.LampIcons(),
              (std::array<int, 4>{qv_picture::kLampGreen, qv_picture::kLampRed,
                                  qv_picture::kLampRed, qv_picture::kLampGreen}));
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{1, 0, 2, 1}));
    EXPECT_THAT(traces.lines(),
                ElementsAre(" signal_status = 1 \n", " state = 1 \n", " signal_status = 0 \n",
                            " signal_status = 2 \n", " state = 2 \n", " signal_status = 1 \n",
                            " state = 1 \n"));

    TraceRecorder again;
    view_.icon.clear();
    ApplySignal(SignalReply({1, 0, 2, 1}));
    EXPECT_TRUE(view_.icon.empty());
    EXPECT_EQ(again.CountStartingWith(" signal_status = "), 4u);
    EXPECT_EQ(again.CountStartingWith(" state = "), 0u);
}

TEST_F(QuadRepliesTest, ShortSignalReplyKeepsTheMissingChannels) {
    panel_.ResetLamps();
    ApplySignal(FirstBytes(SignalReply({1, 1, 1, 1}), 21));  // channels 1 and 2 only
    EXPECT_EQ(block().signal_lamp, (std::array<uint8_t, 4>{1, 1, 0, 0}));
}

TEST_F(QuadRepliesTest, OpeningShowsTheStoredModeAndTheStoredListRows) {
    struct Case {
        uint8_t show_mode, output_format, child1, child2;
        std::vector<int> lit;
        int format_row, first_row, second_row;
    };
    const Case cases[] = {
        {5, 4, 2, 3, {1037}, 0, 1, 2},
        {16, 10, 4, 1, {1048}, 1, 3, 0},
        {0, 0, 0, 0, {1032}, kNoRow, 0, 0},  // nothing reported yet
        {17, 1, 5, 9, {}, kNoRow, kNoRow, kNoRow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.show_mode));
        QuadviewState quad;
        RecordingView view;
        QuadviewPanel panel(link_, quad, view);
        quad.m_all_kv2718_page_data.show_mode = c.show_mode;
        quad.m_all_kv2718_page_data.output_format = c.output_format;
        quad.m_all_kv2718_page_data.kora_kv2718_pip_child_ch = {c.child1, c.child2};
        panel.ShowStoredMode();
        panel.SelectStoredOutputFormat();
        panel.SelectStoredPipChildren();
        EXPECT_EQ(view.LitLayoutButtons(), c.lit);
        EXPECT_EQ(view.repaints, 1);
        EXPECT_EQ(view.selected_row[qv_id::kOutputFormatList], c.format_row);
        EXPECT_EQ(view.selected_row[qv_id::kFirstPipList], c.first_row);
        EXPECT_EQ(view.selected_row[qv_id::kSecondPipList], c.second_row);
    }
    EXPECT_THAT(messages_.texts, IsEmpty());
}

}  // namespace
}  // namespace panoptix
