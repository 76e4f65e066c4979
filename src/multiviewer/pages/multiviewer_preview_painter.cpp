#include "multiviewer/pages/multiviewer_preview_painter.h"

#include <QPainter>

namespace panoptix {
namespace {

QRect RectOf(const PreviewBar& bar) {
    return {bar.x, bar.y, bar.width, bar.height};
}

QColor ColorOf(const RgbColor& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

}  // namespace

QImage RenderPreview(const MultiviewerState& state, const QFont& number_font) {
    QImage image = NewPreviewCanvas();
    QPainter painter(&image);
    painter.setFont(number_font);
    for (size_t k = 0; k < static_cast<size_t>(kMultiviewerWindows); ++k) {
        DrawPreviewWindow(painter, state.preview_window[k], kMultiviewerNumberLook);
        const PreviewBar& audio = state.audio_bar[k];
        if (state.audio_meter_shown != 0 && HasPreviewSize(audio.width, audio.height)) {
            painter.fillRect(RectOf(audio), kPreviewAudioBar);
        }
        const PreviewBar& umd = state.umd_bar[k];
        if (state.umd_shown != 0 && HasPreviewSize(umd.width, umd.height)) {
            painter.fillRect(RectOf(umd), ColorOf(state.umd_bar_color[k]));
        }
        const PreviewBar& resolution = state.resolution_bar[k];
        if (state.resolution_shown != 0 && HasPreviewSize(resolution.width, resolution.height)) {
            painter.fillRect(RectOf(resolution), ColorOf(state.resolution_bar_color[k]));
        }
    }
    return image;
}

}  // namespace panoptix
