#pragma once

#include <QRect>

#include "controls/shade_button_st.h"

namespace panoptix {

// A skinned button of the router's pages: its control id, its place and its picture, drawn
// transparent and borderless; it never takes the focus (the page's keys stay the page's).
CShadeButtonST* NewMatrixPictureButton(QWidget* parent, int control_id, const QRect& rect,
                                       int picture_id);

}  // namespace panoptix
