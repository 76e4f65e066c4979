#include "controls/parent_background.h"

#include <QPainter>

#include <vector>

namespace panoptix {

QPixmap CaptureParentBackground(const QWidget* widget, const QRect& rect) {
    if (widget == nullptr || widget->parentWidget() == nullptr || rect.isEmpty()) {
        return QPixmap();
    }
    // Ancestors from the window down to the parent: each paints over what the ones above it
    // left, as on the screen.
    std::vector<QWidget*> ancestors;
    for (QWidget* ancestor = widget->parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        ancestors.push_back(ancestor);
        if (ancestor->isWindow()) {
            break;
        }
    }
    const qreal ratio = widget->devicePixelRatioF();
    QPixmap capture(rect.size() * ratio);
    capture.setDevicePixelRatio(ratio);
    capture.fill(ancestors.back()->palette().color(QPalette::Window));
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        QWidget* ancestor = *it;
        const QPoint origin = widget->mapTo(ancestor, rect.topLeft());
        const bool opaque = ancestor->isWindow() || ancestor->autoFillBackground();
        const QWidget::RenderFlags flags =
            opaque ? QWidget::RenderFlags(QWidget::DrawWindowBackground) : QWidget::RenderFlags();
        ancestor->render(&capture, QPoint(0, 0), QRegion(QRect(origin, rect.size())), flags);
    }
    return capture;
}

}  // namespace panoptix
