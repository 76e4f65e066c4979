// Every named trace event writes its text exactly: the texts are the panel's own output, which
// scripts and people read.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "link/trace_events.h"

namespace panoptix {
namespace {

TEST(TraceEvents, WriteTheirTextsExactly) {
    struct Row {
        std::function<void()> event;
        const char* text;
    };
    const Row rows[] = {
        {[] { trace::ApplyLength(7); }, "nomoral  sendLen = 7 \n"},
        {[] { trace::AudioSource(7); }, "audio source = 7 \n"},
        {[] { trace::AutoBeignPos(7); }, "auto beign pos  = 7 \n "},
        {[] { trace::BindSocketFail(); }, "bind  socket fail \n"},
        {[] { trace::CannotStart("x"); }, "Cannot start x \n"},
        {[] { trace::ClickNullAll(); }, "click the null All\n"},
        {[] { trace::CloseCom(); }, "close the com \n"},
        {[] { trace::ComSearch(); }, "com search \n"},
        {[] { trace::CommandSocketReused(); }, "m_udpSockfd have on live \n"},
        {[] { trace::ConfigureClosed(); }, " close \n"},
        {[] { trace::ConfigureCreated(); }, "m_pSetConfigure = null \n"},
        {[] { trace::ConfigureFreed(); }, "free the p\n"},
        {[] { trace::ConfigureOpened(); }, "CSetConfigure OnInitDialog \n"},
        {[] { trace::ConnectionModeText(7); }, "m_eState = 7 \n"},
        {[] { trace::Count(7); }, "count  7 \n"},
        {[] { trace::CreateSocketFail(); }, "create socket fail \n"},
        {[] { trace::CreateSocketSuccess(); }, "create socket success \n"},
        {[] { trace::CxCy(7, 7); }, "cx = 7 ,cy = 7 \n"},
        {[] { trace::DecodePageHaveOpen(); }, "decode page have open\n"},
        {[] { trace::DeviceSTypeWrong(); }, "the device 's type is wrong \n"},
        {[] { trace::DrawUmdColor(); }, "draw  umd color \n"},
        {[] { trace::EnterOrEscSwallowed(); }, " mian  esc  \n"},
        {[] { trace::Find("x"); }, "find x \n"},
        {[] { trace::FindOver0New(); }, "find over, 0 new \n"},
        {[] { trace::FindOverNew(7); }, "find over, 7 new \n"},
        {[] { trace::InitMyRect(); }, "Init my rect \n"},
        {[] { trace::InputClicked(7); }, "ch = 7 \n "},
        {[] { trace::InputSevenLeft(); }, "aaaaa\n"},
        {[] { trace::KeyBlueLevel(7); }, " b = 7 \n"},
        {[] { trace::KeyGreenLevel(7); }, " g = 7 \n"},
        {[] { trace::KeyRedLevel(7); }, " r = 7 \n"},
        {[] { trace::KillTimerPos(7); }, "kill timer pos = 7 \n "},
        {[] { trace::LayoutWindowCount(7); },
         "m_p_glo_main_set_or_get_dlg->m_cur_window_count = 7 \n "},
        {[] { trace::LeverMoving(7); }, "moving 7\n"},
        {[] { trace::LineUmdnamelen(7, 7); }, "line 7 umdNameLen = 7 \n"},
        {[] { trace::LineUmdnamelenWrongPleaseCheckRecv(7); },
         "line 7 umdNameLen is wrong,please check the recv data. \n"},
        {[] { trace::LoopTimeTyped(7); }, "time is 7 \n"},
        {[] { trace::MatrixChoiceState(7); }, "m_eMatrixState = 7 \n"},
        {[] { trace::MatrixInput(7); }, "m_p_glo_main_set_or_get_dlg->m_matrix_input = 7 \n "},
        {[] { trace::MatrixPresetEmpty(7); }, "matrix preset 7 is empty \n"},
        {[] { trace::MatrixPresetIgnored(7, 3, "abcdef", "x"); },
         "matrix preset 7 of abc ignored: \"x\" is not eight inputs 0..8 \n"},
        {[] { trace::MatrixPresetRecalledTexts(7, 7); }, "matrix preset 7 recalled: 7 texts \n"},
        {[] { trace::MatrixPresetStored(7, "x"); }, "matrix preset 7 stored: x \n"},
        {[] { trace::ModelNameLength(7); }, "nameLength = 7  \n"},
        {[] { trace::MoveOver(); }, "move over\n"},
        {[] { trace::MultiviewerPainted(); }, "on paint \n"},
        {[] { trace::NetSearch(); }, "net search \n"},
        {[] { trace::NoPageOpened(); }, "m_p_mian_show_dlg is null \n"},
        {[] { trace::OneToAllLength(7); }, "nomoral sendLen = 7  \n"},
        {[] { trace::OnlyCom(); }, " only com \n"},
        {[] { trace::OpenComFail(); }, "open com  fail \n"},
        {[] { trace::OpenComSuccess(); }, "open com  success \n"},
        {[] { trace::OutputFormat(7); }, "output format = 7 \n"},
        {[] { trace::OutputToggled(7, 7); }, "ch = 7 ,input = 7 \n"},
        {[] { trace::PageSelection(7); }, "m_device_index = 7 \n "},
        {[] { trace::PipChildOneMatches(); },
         " m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data.kora_kv2718_pip_child_ch[0] == "
         "(index + 1)  \n"},
        {[] { trace::PipChildPicked(7, 7); }, "l = 7 ,r = 7 \n"},
        {[] { trace::PipChildReported(7); }, "ch = 7 \n"},
        {[] { trace::PipChildTwoMatches(); },
         " m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data.kora_kv2718_pip_child_ch[1] == "
         "(index + 1)  \n"},
        {[] { trace::QuadCommandNotSent(171); },
         "cmd 0xAB not sent: the selected device is no quad-view processor \n"},
        {[] { trace::QuadSend(); }, "send \n"},
        {[] { trace::ReDrawOk(); }, "re draw  ok \n"},
        {[] { trace::ReadOver(); }, "read over \n"},
        {[] { trace::ReplyCommandOffset(7); }, "index = 7 \n"},
        {[] { trace::ReplyTypeByte(171); }, "recvBuf[4] = ab \n "},
        {[] { trace::SearchOver(); }, "search  over \n"},
        {[] { trace::SearchSelection(7); }, "m_device_index = 7 \n"},
        {[] { trace::SendDataOk(); }, "send data ok \n"},
        {[] { trace::SerialReplyType(171); }, "m_main_com_dev_type = 0xab \n "},
        {[] { trace::ShowMode(7); },
         "**************************** show mode = 7 "
         "********************************************\n"},
        {[] { trace::SignalState(7); }, " state = 7 \n"},
        {[] { trace::SignalStatus(7); }, " signal_status = 7 \n"},
        {[] { trace::StatusModeAndResolution(7, 7); }, " mode = 7 ,reso = 7 \n"},
        {[] { trace::StatusTextLength(7); }, "len = 7 \n"},
        {[] { trace::StatusTracedByte(7); }, "recvBuf[recvBufIndex] = 7 \n"},
        {[] { trace::StatusWindowCount(7); },
         "m_p_glo_main_set_or_get_dlg.m_cur_window_count = 7 \n"},
        {[] { trace::Text("x"); }, "x"},
        {[] { trace::TimeOver(); }, "time over \n"},
        {[] { trace::UmdEnableAudioEnableAudioSource(7, 7, 7, 7); },
         "umd enable 7, audio enable 7 ,audio source 7,reso enable 7  \n"},
        {[] { trace::UmdFrameLength(7); }, "sendLen = 7 \n "},
        {[] { trace::UmdNameLength(7, 7); }, "7 line  = 7 \n"},
        {[] { trace::UmdStringIndex(7); }, "m_umd_string_index = 7 \n"},
        {[] { trace::UserSettingsCannotBeReadStarting("x"); },
         "user settings: x cannot be read, starting from the defaults \n"},
        {[] { trace::UserSettingsCannotBeWritten("x"); }, "user settings: x cannot be written \n"},
        {[] { trace::UserSettingsModeDevicesEntrySelected(7, 7, 7); },
         "user settings: mode 7, 7 devices, entry 7 selected \n"},
        {[] { trace::UserSettingsNoFileYetStarting("x"); },
         "user settings: no file x yet, starting from the defaults \n"},
        {[] { trace::UserSettingsStartingFromDefaults("x", "x"); },
         "user settings: x: x, starting from the defaults \n"},
        {[] { trace::WindowBottom(7); }, "B = 7 \n"},
        {[] { trace::WindowHeight(7); }, "H = 7 \n"},
        {[] { trace::WindowLeft(7); }, "L = 7 \n"},
        {[] { trace::WindowRight(7); }, "R = 7 \n"},
        {[] { trace::WindowTop(7); }, "T = 7 \n"},
        {[] { trace::WindowWidth(7); }, "W = 7 \n"},
    };
    std::string line;
    SetTraceSink([&line](std::string_view text) { line = text; });
    for (const Row& row : rows) {
        line.clear();
        row.event();
        EXPECT_EQ(line, row.text);
    }
    SetTraceSink(nullptr);
}

}  // namespace
}  // namespace panoptix
