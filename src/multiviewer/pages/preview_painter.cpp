#include "multiviewer/pages/preview_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

namespace panoptix {
namespace {

bool HasSize(int32_t width, int32_t height) {
    return width > 0 && height > 0;
}

QRect RectOf(const PreviewBar& bar) {
    return {bar.x, bar.y, bar.width, bar.height};
}

QColor ColorOf(const RgbColor& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

void DrawWindowNumber(QPainter& painter, const PreviewWindow& window) {
    const QString text = QString::number(window.label);
    const QFontMetrics metrics(painter.font());
    const QRect cell(window.x + window.width / 2 - 5, window.y + window.height / 2 - 5,
                     metrics.horizontalAdvance(text), metrics.height());
    // An opaque text cell, as a plain text output draws it.
    painter.fillRect(cell, kPreviewWindowNumberGround);
    painter.setPen(kPreviewWindowNumber);
    painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

QImage RenderPreview(const MultiviewerState& state, const QFont& number_font) {
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(kPreviewGround);
    QPainter painter(&image);
    painter.setFont(number_font);
    for (size_t k = 0; k < static_cast<size_t>(kMultiviewerWindows); ++k) {
        const PreviewWindow& window = state.preview_window[k];
        if (HasSize(window.width, window.height)) {
            const QRect outer(window.x, window.y, window.width, window.height);
            painter.fillRect(outer, kPreviewWindowBorder);
            painter.fillRect(outer.adjusted(kPreviewBorderWidth, kPreviewBorderWidth,
                                            -kPreviewBorderWidth, -kPreviewBorderWidth),
                             kPreviewWindowInside);
            DrawWindowNumber(painter, window);
        }
        const PreviewBar& audio = state.audio_bar[k];
        if (state.audio_meter_shown != 0 && HasSize(audio.width, audio.height)) {
            painter.fillRect(RectOf(audio), kPreviewAudioBar);
        }
        const PreviewBar& umd = state.umd_bar[k];
        if (state.umd_shown != 0 && HasSize(umd.width, umd.height)) {
            painter.fillRect(RectOf(umd), ColorOf(state.umd_bar_color[k]));
        }
        const PreviewBar& resolution = state.resolution_bar[k];
        if (state.resolution_shown != 0 && HasSize(resolution.width, resolution.height)) {
            painter.fillRect(RectOf(resolution), ColorOf(state.resolution_bar_color[k]));
        }
    }
    return image;
}

}  // namespace panoptix
