#include "matrix/pages/matrix_picture_button.h"

#include "controls/control_id.h"

namespace panoptix {

CShadeButtonST* NewMatrixPictureButton(QWidget* parent, int control_id, const QRect& rect,
                                       int picture_id) {
    auto* button = new CShadeButtonST(parent);
    SetControlId(button, control_id);
    button->setGeometry(rect);
    button->SetPictureById(picture_id);
    button->SetTransparent();
    button->SetBorder(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace panoptix
