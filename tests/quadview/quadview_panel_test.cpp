// The panel's rules against a fake quad-view processor on loopback UDP: what each operator
// action stores, shows and sends, and the opening's two queries.
#include "quadview/core/quadview_panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "quadview/core/quadview_frames.h"
#include "quadview/core/quadview_tables.h"
#include "quadview_loopback.h"
#include "support/recorders.h"

namespace panoptix {
namespace {

using testing::Bytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::QuadLoopbackTest;
using testing::SignalReply;
using testing::StatusFields;
using testing::StatusReply;
using testing_support::TraceRecorder;

// The command byte and payload of a frame the device received.
std::vector<uint8_t> CommandAndPayload(const Bytes& frame) {
    if (frame.size() < 20) {
        return {};
    }
    return std::vector<uint8_t>(frame.begin() + 16, frame.end() - 3);
}

using PanelTest = QuadLoopbackTest;

TEST_F(PanelTest, LayoutClickSendsLightsAndRedrawsAndTheModeInForceDoesNothing) {
    panel_.ShowStoredMode();  // mode 0 lit
    panel_.ApplyShowMode(8);
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0x94, 0x08));
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1040));
    EXPECT_EQ(view_.picture[1032], 309);  // the old button is put out
    EXPECT_EQ(quad_.quad_preview_window[0], (PreviewWindow{0, 0, 720, 480, 1}));
    EXPECT_EQ(quad_.quad_preview_window[1], PreviewWindow{});

    const int repaints = view_.repaints;
    panel_.ApplyShowMode(8);
    EXPECT_THAT(Received(), IsEmpty());
    EXPECT_EQ(view_.repaints, repaints);
}

// Mode 16 is the last with a button to put out; a mode beyond it has none.
TEST_F(PanelTest, LayoutClickPutsOutTheLastModesButtonToo) {
    struct Case {
        uint8_t from, to;
        int lit;
    };
    for (const Case c : {Case{16, 15, 1047}, Case{17, 16, 1048}}) {
        SCOPED_TRACE(static_cast<int>(c.from));
        view_.picture.clear();
        block().show_mode = c.from;
        panel_.ShowStoredMode();
        panel_.ApplyShowMode(c.to);
        EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0x94, c.to));
        EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(c.lit));
    }
}

TEST_F(PanelTest, PipModeWithEqualChildrenSendsOnlyTheShowMode) {
    block().kora_kv2718_pip_child_ch = {1, 1};
    panel_.ApplyShowMode(7);
    const auto sent = Received();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_THAT(CommandAndPayload(sent[0]), ElementsAre(0x94, 0x07));
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{1, 2}));
}

TEST_F(PanelTest, LoopButtonAlternatesStopAndStartAndSendsTheNewState) {
    block().show_mode = 11;
    panel_.LoopClicked();
    EXPECT_EQ(view_.picture[qv_id::kLoopButton], qv_picture::kLoopStop);
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0xA6, 0x01));
    EXPECT_FALSE(view_.enabled[qv_id::kFirstPipList]);  // loop running: both disabled

    panel_.LoopClicked();
    EXPECT_EQ(view_.picture[qv_id::kLoopButton], qv_picture::kLoopStart);
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0xA6, 0x00));
    EXPECT_TRUE(view_.enabled[qv_id::kFirstPipList]);
    EXPECT_TRUE(view_.enabled[qv_id::kSecondPipList]);
}

TEST_F(PanelTest, PipChoiceEqualToEitherChildIsPutBackAndNotSent) {
    block().kora_kv2718_pip_child_ch = {1, 3};
    TraceRecorder traces;
    struct Case {
        bool first_list;
        int row;
        std::array<uint8_t, 2> children;
        int shown_row;  // the list's row afterwards; -2 when the list was not touched
        std::vector<uint8_t> sent;
    };
    const Case cases[] = {
        {false, 0, {1, 3}, 2, {}},  // second list picks the first child
        {false, 2, {1, 3}, 2, {}},  // second list picks itself
        {true, 2, {1, 3}, 0, {}},   // first list picks the second child
        {false, 3, {1, 4}, -2, {0xA5, 1, 4}},
        {true, 1, {2, 4}, -2, {0xA5, 2, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.first_list << " row " << c.row);
        view_.selected_row.clear();
        const int list = c.first_list ? qv_id::kFirstPipList : qv_id::kSecondPipList;
        c.first_list ? panel_.FirstPipChosen(c.row) : panel_.SecondPipChosen(c.row);
        EXPECT_EQ(block().kora_kv2718_pip_child_ch, c.children);
        const auto shown = view_.selected_row.find(list);
        EXPECT_EQ(shown == view_.selected_row.end() ? -2 : shown->second, c.shown_row);
        const auto sent = Received();
        if (c.sent.empty()) {
            EXPECT_THAT(sent, IsEmpty());
        } else {
            ASSERT_EQ(sent.size(), 1u);
            EXPECT_EQ(CommandAndPayload(sent[0]), c.sent);
        }
    }
    EXPECT_EQ(traces.Count(" m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data."
                           "kora_kv2718_pip_child_ch[0] == (index + 1)  \n"),
              1u);
    EXPECT_EQ(traces.Count(" m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data."
                           "kora_kv2718_pip_child_ch[1] == (index + 1)  \n"),
              1u);
    EXPECT_EQ(traces.Count("l = 2 ,r = 3 \n"), 1u);  // first list: row, then second child
    EXPECT_EQ(traces.Count("send \n"), 1u);
}

TEST_F(PanelTest, OutputFormatRowStoresItsCodeAndAnyPickSends) {
    block().output_format = 10;
    panel_.OutputFormatChosen(0);
    EXPECT_EQ(block().output_format, 4);
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0x92, 0x04));
    panel_.OutputFormatChosen(-1);  // no row: the stored code goes again
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0x92, 0x04));
}

TEST_F(PanelTest, SerialModeWithThePortClosedStoresAndLightsButSendsNothing) {
    link_.SetMode(ConnectionMode::Serial);
    panel_.ApplyShowMode(5);
    EXPECT_EQ(block().show_mode, 5);
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1037));
    EXPECT_EQ(quad_.quad_preview_window[3], (PreviewWindow{0, 0, 720, 480, 4}));
    EXPECT_THAT(Received(), IsEmpty());
}

TEST_F(PanelTest, OutsideLanModeUdpFramesGoOnlyToAQuadViewRow) {
    link_.SetMode(ConnectionMode::Serial);
    link_.device_table[0].device_type = 0xA5;  // a switcher left by an earlier LAN search
    TraceRecorder traces;
    panel_.LoopClicked();
    panel_.OutputFormatChosen(1);
    EXPECT_FALSE(panel_.QueryQuadStatus());
    EXPECT_EQ(panel_.StartSignalPoll(), PollStart::NotSent);
    EXPECT_THAT(Received(), IsEmpty());
    EXPECT_EQ(block().loop_state, 1);  // stored all the same
    EXPECT_EQ(block().output_format, 10);
    EXPECT_EQ(traces.Count("cmd 0xA6 not sent: the selected device is no quad-view processor \n"),
              1u);
    EXPECT_EQ(traces.CountStartingWith("cmd 0x"), 4u);

    link_.device_table[0].device_type = testing::kQuadType;
    panel_.LoopClicked();
    EXPECT_THAT(CommandAndPayload(ReceivedOne()), ElementsAre(0xA6, 0x00));
}

TEST_F(PanelTest, OpeningAsksForStatusThenSignalsAndSendsNoShowMode) {
    block().show_mode = 2;
    block().signal_lamp = {1, 1, 1, 1};
    std::vector<Bytes> requests;
    std::thread peer([&] {
        StatusFields fields;
        fields.show_mode = 10;
        fields.output_format = 4;
        fields.pip_child = {3, 1};
        const Bytes replies[] = {StatusReply(fields), SignalReply({1, 0, 1, 1})};
        for (const Bytes& reply : replies) {
            if (auto request = device_.Receive(3000)) {
                requests.push_back(request->bytes);
                device_.Reply(reply);
            }
        }
        // Anything more the opening sends.
        while (auto extra = device_.Receive(300)) {
            requests.push_back(extra->bytes);
        }
    });
    TraceRecorder traces;
    panel_.Open();
    peer.join();

    ASSERT_EQ(requests.size(), 2u);
    EXPECT_THAT(CommandAndPayload(requests[0]), ElementsAre(0x90));
    EXPECT_THAT(CommandAndPayload(requests[1]), ElementsAre(0xAA));
    EXPECT_EQ(block().show_mode, 10);
    EXPECT_THAT(view_.LitLayoutButtons(), ElementsAre(1042));
    EXPECT_EQ(block().kora_kv2718_pip_child_ch, (std::array<uint8_t, 2>{1, 2}));
    EXPECT_EQ(view_.selected_row[qv_id::kOutputFormatList], 0);
    EXPECT_EQ(view_.selected_row[qv_id::kFirstPipList], 0);
    EXPECT_EQ(view_.selected_row[qv_id::kSecondPipList], 1);
    EXPECT_EQ(view_.picture[qv_id::kLoopButton], qv_picture::kLoopStart);
    EXPECT_EQ(view_.LampIcons(),
              (std::array<int, 4>{qv_picture::kLampGreen, qv_picture::kLampRed,
                                  qv_picture::kLampGreen, qv_picture::kLampGreen}));
    EXPECT_TRUE(view_.enabled[qv_id::kSecondPipList]);
    EXPECT_EQ(traces.Count("read over \n"), 1u);
    EXPECT_EQ(traces.Count("wait time over \n"), 0u);
    EXPECT_EQ(link_.m_udpSockfd, -1);
}

TEST_F(PanelTest, QueriesTellWhetherTheDeviceAnswered) {
    std::thread peer([&] {
        if (device_.Receive(3000)) {
            device_.Reply(StatusReply(StatusFields{}));
        }
        device_.Receive(3000);  // the signal query goes unanswered
    });
    EXPECT_TRUE(panel_.QueryQuadStatus());
    EXPECT_FALSE(panel_.QuerySignalStatus());
    peer.join();
}

}  // namespace
}  // namespace panoptix
