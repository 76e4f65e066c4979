#include "quadview/pages/quad_preview_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include "multiviewer/preview_records.h"

namespace panoptix {
namespace {

const QColor kGround{152, 152, 152};
const QColor kBorder{89, 187, 255};
const QColor kInside{55, 55, 55};
constexpr int kBorderWidth = 2;

void DrawWindow(QPainter& painter, const PreviewWindow& window) {
    const QRect outer(window.x, window.y, window.width, window.height);
    painter.fillRect(outer, kBorder);
    painter.fillRect(outer.adjusted(kBorderWidth, kBorderWidth, -kBorderWidth, -kBorderWidth),
                     kInside);
    const QString text = QString::number(window.label);
    const QFontMetrics metrics(painter.font());
    const QRect cell(window.x + window.width / 2 - 5, window.y + window.height / 2 - 5,
                     metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(cell, kQuadPreviewNumberGround);
    painter.setPen(kQuadPreviewNumber);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

QImage RenderQuadPreview(const QuadviewState& quad, const QFont& number_font) {
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter painter(&image);
    painter.setFont(number_font);
    for (const PreviewWindow& window : quad.quad_preview_window) {
        if (window.width > 0 && window.height > 0) {
            DrawWindow(painter, window);
        }
    }
    return image;
}

}  // namespace panoptix
