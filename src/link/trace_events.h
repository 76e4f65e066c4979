#pragma once
// Every diagnostic trace line the panel writes, by name: the texts are the panel's own
// output and stay byte for byte as they are. Code calls trace::SearchOver() and the like;
// tests assert a trace only where it is the sole observable effect.
#include "link/trace.h"

namespace panoptix::trace {

inline void ApplyLength(int a0) {
    Trace("nomoral  sendLen = %d \n", a0);
}
inline void AudioSource(int a0) {
    Trace("audio source = %d \n", a0);
}
inline void AutoBeignPos(int a0) {
    Trace("auto beign pos  = %d \n ", a0);
}
inline void BindSocketFail() {
    Trace("bind  socket fail \n");
}
inline void CannotStart(const char* a0) {
    Trace("Cannot start %s \n", a0);
}
inline void ClickNullAll() {
    Trace("click the null All\n");
}
inline void CloseCom() {
    Trace("close the com \n");
}
inline void ComSearch() {
    Trace("com search \n");
}
inline void CommandSocketReused() {
    Trace("m_udpSockfd have on live \n");
}
inline void ConfigureClosed() {
    Trace(" close \n");
}
inline void ConfigureCreated() {
    Trace("m_pSetConfigure = null \n");
}
inline void ConfigureFreed() {
    Trace("free the p\n");
}
inline void ConfigureOpened() {
    Trace("CSetConfigure OnInitDialog \n");
}
inline void ConnectionModeText(int a0) {
    Trace("m_eState = %d \n", a0);
}
inline void Count(int a0) {
    Trace("count  %d \n", a0);
}
inline void CreateSocketFail() {
    Trace("create socket fail \n");
}
inline void CreateSocketSuccess() {
    Trace("create socket success \n");
}
inline void CxCy(int a0, int a1) {
    Trace("cx = %d ,cy = %d \n", a0, a1);
}
inline void DecodePageHaveOpen() {
    Trace("decode page have open\n");
}
inline void DeviceSTypeWrong() {
    Trace("the device 's type is wrong \n");
}
inline void DrawUmdColor() {
    Trace("draw  umd color \n");
}
inline void EnterOrEscSwallowed() {
    Trace(" mian  esc  \n");
}
inline void Find(const char* a0) {
    Trace("find %s \n", a0);
}
inline void FindOver0New() {
    Trace("find over, 0 new \n");
}
inline void FindOverNew(int a0) {
    Trace("find over, %d new \n", a0);
}
inline void InitMyRect() {
    Trace("Init my rect \n");
}
inline void InputClicked(int a0) {
    Trace("ch = %d \n ", a0);
}
inline void InputSevenLeft() {
    Trace("aaaaa\n");
}
inline void KeyBlueLevel(int a0) {
    Trace(" b = %d \n", a0);
}
inline void KeyGreenLevel(int a0) {
    Trace(" g = %d \n", a0);
}
inline void KeyRedLevel(int a0) {
    Trace(" r = %d \n", a0);
}
inline void KillTimerPos(int a0) {
    Trace("kill timer pos = %d \n ", a0);
}
inline void LayoutWindowCount(int a0) {
    Trace("m_p_glo_main_set_or_get_dlg->m_cur_window_count = %d \n ", a0);
}
inline void LeverMoving(int a0) {
    Trace("moving %d\n", a0);
}
inline void LineUmdnamelen(int a0, int a1) {
    Trace("line %d umdNameLen = %d \n", a0, a1);
}
inline void LineUmdnamelenWrongPleaseCheckRecv(int a0) {
    Trace("line %d umdNameLen is wrong,please check the recv data. \n", a0);
}
inline void LoopTimeTyped(int a0) {
    Trace("time is %d \n", a0);
}
inline void MatrixChoiceState(int a0) {
    Trace("m_eMatrixState = %d \n", a0);
}
inline void MatrixInput(int a0) {
    Trace("m_p_glo_main_set_or_get_dlg->m_matrix_input = %d \n ", a0);
}
inline void MatrixPresetEmpty(int a0) {
    Trace("matrix preset %d is empty \n", a0);
}
inline void MatrixPresetIgnored(int a0, int a1, const char* a2, const char* a3) {
    Trace("matrix preset %d of %.*s ignored: \"%s\" is not eight inputs 0..8 \n", a0, a1, a2, a3);
}
inline void MatrixPresetRecalledTexts(int a0, int a1) {
    Trace("matrix preset %d recalled: %d texts \n", a0, a1);
}
inline void MatrixPresetStored(int a0, const char* a1) {
    Trace("matrix preset %d stored: %s \n", a0, a1);
}
inline void ModelNameLength(int a0) {
    Trace("nameLength = %d  \n", a0);
}
inline void MoveOver() {
    Trace("move over\n");
}
inline void MultiviewerPainted() {
    Trace("on paint \n");
}
inline void NetSearch() {
    Trace("net search \n");
}
inline void NoPageOpened() {
    Trace("m_p_mian_show_dlg is null \n");
}
inline void OneToAllLength(int a0) {
    Trace("nomoral sendLen = %d  \n", a0);
}
inline void OnlyCom() {
    Trace(" only com \n");
}
inline void OpenComFail() {
    Trace("open com  fail \n");
}
inline void OpenComSuccess() {
    Trace("open com  success \n");
}
inline void OutputFormat(int a0) {
    Trace("output format = %d \n", a0);
}
inline void OutputToggled(int a0, int a1) {
    Trace("ch = %d ,input = %d \n", a0, a1);
}
inline void PageSelection(int a0) {
    Trace("m_device_index = %d \n ", a0);
}
inline void PipChildOneMatches() {
    Trace(
        " m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data.kora_kv2718_pip_child_ch[0] == "
        "(index + 1)  \n");
}
inline void PipChildPicked(int a0, int a1) {
    Trace("l = %d ,r = %d \n", a0, a1);
}
inline void PipChildReported(int a0) {
    Trace("ch = %d \n", a0);
}
inline void PipChildTwoMatches() {
    Trace(
        " m_p_glo_main_set_or_get_dlg->m_all_kv2718_page_data.kora_kv2718_pip_child_ch[1] == "
        "(index + 1)  \n");
}
inline void QuadCommandNotSent(unsigned a0) {
    Trace("cmd 0x%02X not sent: the selected device is no quad-view processor \n", a0);
}
inline void QuadSend() {
    Trace("send \n");
}
inline void RcRx0559ShowModeType(const void* a0) {
    Trace("m_rc_rx0559_show_mode_type =  %p  \n", a0);
}
inline void ReDrawOk() {
    Trace("re draw  ok \n");
}
inline void ReadOver() {
    Trace("read over \n");
}
inline void ReplyCommandOffset(int a0) {
    Trace("index = %d \n", a0);
}
inline void ReplyTypeByte(unsigned a0) {
    Trace("recvBuf[4] = %x \n ", a0);
}
inline void SearchOver() {
    Trace("search  over \n");
}
inline void SearchSelection(int a0) {
    Trace("m_device_index = %d \n", a0);
}
inline void SendDataOk() {
    Trace("send data ok \n");
}
inline void SerialReplyType(unsigned a0) {
    Trace("m_main_com_dev_type = 0x%x \n ", a0);
}
inline void ShowMode(int a0) {
    Trace(
        "**************************** show mode = %d "
        "********************************************\n",
        a0);
}
inline void SignalState(int a0) {
    Trace(" state = %d \n", a0);
}
inline void SignalStatus(int a0) {
    Trace(" signal_status = %d \n", a0);
}
inline void StatusModeAndResolution(int a0, int a1) {
    Trace(" mode = %d ,reso = %d \n", a0, a1);
}
inline void StatusTextLength(int a0) {
    Trace("len = %d \n", a0);
}
inline void StatusTracedByte(int a0) {
    Trace("recvBuf[recvBufIndex] = %d \n", a0);
}
inline void StatusWindowCount(int a0) {
    Trace("m_p_glo_main_set_or_get_dlg.m_cur_window_count = %d \n", a0);
}
inline void Text(const char* a0) {
    Trace("%s", a0);
}
inline void TimeOver() {
    Trace("time over \n");
}
inline void UmdEnableAudioEnableAudioSource(int a0, int a1, int a2, int a3) {
    Trace("umd enable %d, audio enable %d ,audio source %d,reso enable %d  \n", a0, a1, a2, a3);
}
inline void UmdFrameLength(int a0) {
    Trace("sendLen = %d \n ", a0);
}
inline void UmdNameLength(int a0, int a1) {
    Trace("%d line  = %d \n", a0, a1);
}
inline void UmdStringIndex(int a0) {
    Trace("m_umd_string_index = %d \n", a0);
}
inline void UserSettingsCannotBeReadStarting(const char* a0) {
    Trace("user settings: %s cannot be read, starting from the defaults \n", a0);
}
inline void UserSettingsCannotBeWritten(const char* a0) {
    Trace("user settings: %s cannot be written \n", a0);
}
inline void UserSettingsModeDevicesEntrySelected(int a0, int a1, int a2) {
    Trace("user settings: mode %d, %d devices, entry %d selected \n", a0, a1, a2);
}
inline void UserSettingsNoFileYetStarting(const char* a0) {
    Trace("user settings: no file %s yet, starting from the defaults \n", a0);
}
inline void UserSettingsStartingFromDefaults(const char* a0, const char* a1) {
    Trace("user settings: %s: %s, starting from the defaults \n", a0, a1);
}
inline void WindowBottom(int a0) {
    Trace("B = %d \n", a0);
}
inline void WindowHeight(int a0) {
    Trace("H = %d \n", a0);
}
inline void WindowLeft(int a0) {
    Trace("L = %d \n", a0);
}
inline void WindowRight(int a0) {
    Trace("R = %d \n", a0);
}
inline void WindowTop(int a0) {
    Trace("T = %d \n", a0);
}
inline void WindowWidth(int a0) {
    Trace("W = %d \n", a0);
}

}  // namespace panoptix::trace
