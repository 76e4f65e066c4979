#pragma once
// What the matrix rules draw, as two small interfaces the pages implement: the crosspoint page
// shows its sixteen input and output buttons, the function sub page its LOCK button. The rules
// call them; the pages map a picture to its bitmap. Tests implement them with recorders.
#include <cstdint>

namespace panoptix {

enum class CrosspointPicture { kNormal, kLit };
enum class LockPicture { kUnlocked, kLocked };

// Input button k and output button k (1..8) share their pictures: the digit k, grey when
// normal (211 + 2k), green when lit (212 + 2k).
constexpr int CrosspointBitmapId(int k, CrosspointPicture picture) {
    return 211 + 2 * k + (picture == CrosspointPicture::kLit ? 1 : 0);
}
// LOCK: white caption while unlocked (231), red while locked (232).
constexpr int LockBitmapId(LockPicture picture) {
    return picture == LockPicture::kLocked ? 232 : 231;
}

class CrosspointView {
  public:
    virtual ~CrosspointView() = default;
    // k is 1..8.
    virtual void ShowInput(int k, CrosspointPicture picture) = 0;
    virtual void ShowOutput(int k, CrosspointPicture picture) = 0;
};

class LockView {
  public:
    virtual ~LockView() = default;
    virtual void ShowLock(LockPicture picture) = 0;
};

}  // namespace panoptix
