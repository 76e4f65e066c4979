#pragma once
// MatrixFunctionPage: the matrix page's CONTROL sub page (490 x 420). Four buttons:
// ONE TO ALL and ONE TO ONE send at once, APPLY sends the outputs marked for the selected input,
// LOCK locks and unlocks the crosspoint buttons and the other three. The sends draw on the
// crosspoint page; LOCK draws on itself.
#include <QWidget>

#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

class CShadeButtonST;

namespace panoptix {

class MatrixFunctionPage : public QWidget, public LockView {
    Q_OBJECT

  public:
    static constexpr int kBackgroundBitmap = 230;

    MatrixFunctionPage(DeviceLink& link, MatrixState& matrix, CrosspointView& crosspoints,
                       QWidget* parent);

    void ShowLock(LockPicture picture) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();

    DeviceLink& link_;
    MatrixState& matrix_;
    CrosspointView& crosspoints_;
    CShadeButtonST* lock_ = nullptr;
};

}  // namespace panoptix
