#pragma once
// Control ids of the matrix page and its three sub pages, as their templates number them. Pages
// place their controls by these ids and tests find them with FindControl. The page and its sub
// pages share 1032 and 1033 (the tabs, ONE TO ALL and ONE TO ONE, Connect): look for a sub
// page's control from the sub page.
namespace panoptix::matrix_id {

// The crosspoint page.
inline constexpr int kFirstInput = 1131;   // input buttons 1..8: 1131..1138
inline constexpr int kFirstOutput = 1141;  // output buttons 1..8: 1141..1148
inline constexpr int kControlTab = 1032;
inline constexpr int kSettingTab = 1033;
inline constexpr int kPresetTab = 1034;
inline constexpr int kSubPageArea = 1094;

constexpr int InputId(int k) {
    return kFirstInput + k - 1;
}
constexpr int OutputId(int k) {
    return kFirstOutput + k - 1;
}

// The function sub page (CONTROL).
inline constexpr int kFunctionFrame = 1100;
inline constexpr int kOneToAll = 1032;
inline constexpr int kOneToOne = 1033;
inline constexpr int kLock = 1011;
inline constexpr int kApply = 1097;

// The setting sub page (SETTING).
inline constexpr int kSettingFrame = 1201;
inline constexpr int kModeList = 1102;
inline constexpr int kIpAddress = 1036;
inline constexpr int kPortList = 1014;
inline constexpr int kBaudList = 1098;
inline constexpr int kConnect = 1032;
inline constexpr int kLamp = 1099;

// The preset sub page (PRESET).
inline constexpr int kPresetFrame = 1150;
inline constexpr int kFirstPreset = 1151;  // preset keys 1..8: 1151..1158
inline constexpr int kStore = 1159;

constexpr int PresetId(int k) {
    return kFirstPreset + k - 1;
}

}  // namespace panoptix::matrix_id
