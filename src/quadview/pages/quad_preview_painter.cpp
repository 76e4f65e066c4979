#include "quadview/pages/quad_preview_painter.h"

#include <QPainter>

namespace panoptix {

QImage RenderQuadPreview(const QuadviewState& quad, const QFont& number_font) {
    QImage image = NewPreviewCanvas();
    QPainter painter(&image);
    painter.setFont(number_font);
    for (const PreviewWindow& window : quad.quad_preview_window) {
        DrawPreviewWindow(painter, window, kQuadNumberLook);
    }
    return image;
}

}  // namespace panoptix
