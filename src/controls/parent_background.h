#pragma once
// Captures what a widget's ancestors paint under it, without the widget itself and without
// its siblings: the Qt equivalent of copying the parent's pixels from its screen image.
#include <QPixmap>
#include <QWidget>

namespace panoptix {

// The pixels under rect (in the widget's own coordinates) as the widget's ancestors paint
// them, from the window down to the parent. A null pixmap if the widget has no parent or the
// rectangle is empty.
QPixmap CaptureParentBackground(const QWidget* widget, const QRect& rect);

}  // namespace panoptix
