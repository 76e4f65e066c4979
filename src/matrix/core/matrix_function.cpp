#include "matrix/core/matrix_function.h"

#include "matrix/core/matrix_commands.h"

namespace panoptix {
namespace {

bool Locked(const MatrixState& matrix) {
    return matrix.m_matrix_lock != 0;
}

}  // namespace

void ClickOneToAll(MatrixState& matrix, DeviceLink& link, CrosspointView& view) {
    if (!Locked(matrix)) {
        SendOneToAll(matrix, link, view);
    }
}

void ClickOneToOne(MatrixState& matrix, DeviceLink& link, CrosspointView& view) {
    if (!Locked(matrix)) {
        SendOneToOne(matrix, link, view);
    }
}

void ClickApply(MatrixState& matrix, DeviceLink& link) {
    if (!Locked(matrix) && matrix.m_matrix_input != kMatrixNoInput) {
        SendApply(matrix, link);
    }
}

void ToggleLock(MatrixState& matrix, LockView& view) {
    view.ShowLock(Locked(matrix) ? LockPicture::kUnlocked : LockPicture::kLocked);
    matrix.m_matrix_lock = ~matrix.m_matrix_lock;
}

void ShowLockPicture(const MatrixState& matrix, LockView& view) {
    view.ShowLock(Locked(matrix) ? LockPicture::kLocked : LockPicture::kUnlocked);
}

}  // namespace panoptix
