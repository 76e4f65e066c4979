#include "preview/painting/preview_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace panoptix {

QImage NewPreviewCanvas() {
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(kPreviewGround);
    return image;
}

void DrawPreviewWindow(QPainter& painter, const PreviewWindow& window,
                       const PreviewNumberLook& number_look) {
    if (!HasPreviewSize(window.width, window.height)) {
        return;
    }
    const QRect outer(window.x, window.y, window.width, window.height);
    painter.fillRect(outer, kPreviewWindowBorder);
    painter.fillRect(outer.adjusted(kPreviewBorderWidth, kPreviewBorderWidth, -kPreviewBorderWidth,
                                    -kPreviewBorderWidth),
                     kPreviewWindowInside);
    const QString text = QString::number(window.label);
    const QFontMetrics metrics(painter.font());
    const QRect cell(window.x + window.width / 2 - 5, window.y + window.height / 2 - 5,
                     metrics.horizontalAdvance(text), metrics.height());
    // An opaque text cell, as a plain text output draws it.
    painter.fillRect(cell, number_look.ground);
    painter.setPen(number_look.text);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace panoptix
