#include "matrix/pages/matrix_function_page.h"

#include <QPainter>

#include "controls/control_id.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "matrix/core/matrix_function.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page_keys.h"
#include "matrix/pages/matrix_picture_button.h"

namespace panoptix {
namespace {

constexpr QSize kPageSize{490, 420};
constexpr QRect kFrameRect{5, 5, 480, 410};

struct ButtonRow {
    int id;
    QRect rect;
    int picture;  // LOCK's is set from the lock as the page opens
};
constexpr ButtonRow kOneToAllRow{matrix_id::kOneToAll, {200, 100, 220, 60}, 233};
constexpr ButtonRow kOneToOneRow{matrix_id::kOneToOne, {200, 195, 220, 65}, 234};
constexpr ButtonRow kLockRow{
    matrix_id::kLock, {272, 300, 140, 65}, LockBitmapId(LockPicture::kUnlocked)};
constexpr ButtonRow kApplyRow{matrix_id::kApply, {100, 300, 140, 65}, 235};

}  // namespace

MatrixFunctionPage::MatrixFunctionPage(DeviceLink& link, MatrixState& matrix,
                                       CrosspointView& crosspoints, QWidget* parent)
    : QWidget(parent), link_(link), matrix_(matrix), crosspoints_(crosspoints) {
    resize(kPageSize);
    CreateControls();
    SwallowEnterAndEsc(this);
    ShowLockPicture(matrix_, *this);
}

void MatrixFunctionPage::CreateControls() {
    auto* frame = new CMyGroupBox(this);
    frame->setGeometry(kFrameRect);
    SetControlId(frame, matrix_id::kFunctionFrame);

    auto* one_to_all =
        NewMatrixPictureButton(this, kOneToAllRow.id, kOneToAllRow.rect, kOneToAllRow.picture);
    auto* one_to_one =
        NewMatrixPictureButton(this, kOneToOneRow.id, kOneToOneRow.rect, kOneToOneRow.picture);
    lock_ = NewMatrixPictureButton(this, kLockRow.id, kLockRow.rect, kLockRow.picture);
    auto* apply = NewMatrixPictureButton(this, kApplyRow.id, kApplyRow.rect, kApplyRow.picture);
    connect(one_to_all, &QAbstractButton::clicked, this,
            [this] { ClickOneToAll(matrix_, link_, crosspoints_); });
    connect(one_to_one, &QAbstractButton::clicked, this,
            [this] { ClickOneToOne(matrix_, link_, crosspoints_); });
    connect(lock_, &QAbstractButton::clicked, this, [this] { ToggleLock(matrix_, *this); });
    connect(apply, &QAbstractButton::clicked, this, [this] { ClickApply(matrix_, link_); });
}

void MatrixFunctionPage::ShowLock(LockPicture picture) {
    lock_->SetPictureById(LockBitmapId(picture));
}

void MatrixFunctionPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
}

}  // namespace panoptix
