#pragma once
// The function sub page's four buttons: ONE TO ALL, ONE TO ONE, LOCK and APPLY. Each click is one
// call here; the sends draw on the crosspoint page, LOCK on its own button. While the panel is
// locked only LOCK acts.
#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

namespace panoptix {

// ONE TO ALL: nothing while locked, else SendOneToAll.
void ClickOneToAll(MatrixState& matrix, DeviceLink& link, CrosspointView& view);
// ONE TO ONE: nothing while locked, else SendOneToOne.
void ClickOneToOne(MatrixState& matrix, DeviceLink& link, CrosspointView& view);
// APPLY: nothing while locked or with no input selected, else SendApply.
void ClickApply(MatrixState& matrix, DeviceLink& link);
// LOCK: the button takes the picture of the state it enters, then the lock is complemented.
void ToggleLock(MatrixState& matrix, LockView& view);
// The LOCK picture at the sub page's opening: locked or unlocked as the block says.
void ShowLockPicture(const MatrixState& matrix, LockView& view);

}  // namespace panoptix
