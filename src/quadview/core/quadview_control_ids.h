#pragma once
// Control ids of the quad-view page (dialog 308) and the pictures its controls show. The page
// places its controls by these ids and tests find them by id.
#include <cstdint>

namespace panoptix::qv_id {

inline constexpr int kDialog = 308;

inline constexpr int kFirstLayoutButton = 1032;  // show modes 0..16: 1032..1048
inline constexpr int kLoopButton = 1011;
inline constexpr int kTimeButton = 1161;
inline constexpr int kPreviewAnchor = 1185;
inline constexpr int kGroupBoxMode = 1186;
inline constexpr int kOutputFormatList = 1187;
inline constexpr int kGroupBoxLayout = 1188;
inline constexpr int kFirstPipList = 1189;
inline constexpr int kGroupBoxLoop = 1190;
inline constexpr int kLoopTimeField = 1191;
inline constexpr int kSecondPipList = 1192;
inline constexpr int kPipLabel = 1193;            // "PIP Child Ch"
inline constexpr int kOutputFormatLabel = 1194;   // "Output Format"
inline constexpr int kFirstLamp = 1196;           // channels 1..4: 1196..1199
inline constexpr int kChannelLabel = 1200;        // "Channel"
inline constexpr int kFirstChannelNumber = 1201;  // "1".."4": 1201..1204

constexpr int LayoutButtonId(uint8_t mode) {
    return kFirstLayoutButton + mode;
}
constexpr int LampId(int channel_index) {
    return kFirstLamp + channel_index;
}

}  // namespace panoptix::qv_id

namespace panoptix::qv_picture {

inline constexpr int kBackground = 187;
inline constexpr int kLoopStart = 373;  // shown while the loop is stopped
inline constexpr int kLoopStop = 374;   // shown while it runs
inline constexpr int kLampGreen = 375;  // icon, 32 x 32
inline constexpr int kLampRed = 376;

enum class ButtonLook { Normal, Lit };

// Show mode m = 0..15 shows 309 + 2m (normal) and 310 + 2m (lit); mode 16 shows 371 and 372.
constexpr int LayoutPicture(uint8_t mode, ButtonLook look) {
    const int normal = mode == 16 ? 371 : 309 + 2 * mode;
    return look == ButtonLook::Lit ? normal + 1 : normal;
}

}  // namespace panoptix::qv_picture
