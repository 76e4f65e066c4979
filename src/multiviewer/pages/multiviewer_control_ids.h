#pragma once
// Control ids of the multiviewer container and its sub-pages, as the page templates number
// them. Pages place their controls by these ids and tests find them with FindControl.
namespace panoptix::mv_id {

// Container: page buttons (pages 1-6), the sub-page area and the preview origin.
inline constexpr int kStatusPageButton = 1019;  // exists, never shown
inline constexpr int kControlPageButton = 1020;
inline constexpr int kUmdPageButton = 1011;
inline constexpr int kAudioPageButton = 1021;  // exists, never shown
inline constexpr int kColorPageButton = 1022;
inline constexpr int kSetPageButton = 1023;
inline constexpr int kPageArea = 1024;
inline constexpr int kPreviewOrigin = 1069;
inline constexpr int kPreviewSpare = 1017;  // moved to the preview origin, otherwise unused

// Layout and source page.
inline constexpr int kFirstLayoutButton = 1032;  // layout buttons 1-7: 1032..1038
inline constexpr int kFirstSourceLabel = 1075;   // "WIN   1".."WIN  16": 1075..1090
inline constexpr int kFirstSourceList = 1101;    // "SDI %d" lists of windows 1-16: 1101..1116

// UMD page.
inline constexpr int kUmdOnOffList = 1072;
inline constexpr int kFirstUmdField = 1035;  // label field of window k: 1033 + 2k
inline constexpr int UmdFieldId(int window) {
    return 1033 + 2 * window;
}

// Colour page.
inline constexpr int kUmdChannelList = 1060;
inline constexpr int kUmdTextColorList = 1044;
inline constexpr int kUmdBackColorList = 1015;
inline constexpr int kResolutionChannelList = 1061;
inline constexpr int kResolutionTextColorList = 1031;
inline constexpr int kResolutionBackColorList = 1039;

// Settings page.
inline constexpr int kAudioMeterEnableList = 1014;
inline constexpr int kAudioSourceList = 1039;
inline constexpr int kResolutionEnableList = 1074;
inline constexpr int kResolutionTypeList = 1073;
inline constexpr int kBorderEnableList = 1105;
inline constexpr int kLockStateList = 1106;
inline constexpr int kSetDefaultButton = 1033;
inline constexpr int kIpAddressField = 1036;
inline constexpr int kSubnetMaskField = 1037;
inline constexpr int kGatewayField = 1038;
inline constexpr int kSetIpButton = 1032;

// Status page.
inline constexpr int kCurrentModeField = 1040;  // never shown
inline constexpr int kAudioMeterField = 1041;
inline constexpr int kAudioSourceField = 1042;
inline constexpr int kUmdStateField = 1043;

// Audio page (every control hidden).
inline constexpr int kAudioHistogramList = 1014;
inline constexpr int kAudioPageSourceList = 1068;

}  // namespace panoptix::mv_id
