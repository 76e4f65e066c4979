#include "controls/shade_button_st.h"

#include <QPainter>

#include <algorithm>
#include <random>

namespace {

constexpr int kPaletteSize = 256;
// Ramp: 8 + 119 (width - x) / width + 119 y / height, plus noise of up to 8 either way.
constexpr int kRampBase = 8;
constexpr int kRampSpan = 119;
constexpr int kNoise = 8;
// Tints, in percent toward the target colour.
constexpr int kGreenTintPercent = 5;
constexpr int kHoverTintPercent = 10;
const QColor kTintTarget(55, 255, 55);

QRgb Mix(QRgb from, const QColor& to, int percent) {
    const auto channel = [percent](int old_value, int target) {
        return (percent * target + (100 - percent) * old_value) / 100;
    };
    return qRgb(channel(qRed(from), to.red()), channel(qGreen(from), to.green()),
                channel(qBlue(from), to.blue()));
}

QRgb Between(const QColor& a, const QColor& b, int step, int steps) {
    const auto channel = [step, steps](int from, int to) {
        return from + (to - from) * step / steps;
    };
    return qRgb(channel(a.red(), b.red()), channel(a.green(), b.green()),
                channel(a.blue(), b.blue()));
}

// Entries 0-128 run from the shadow colour to the face colour, 128-255 from the face colour
// to the highlight colour.
QList<QRgb> RampPalette(const QColor& shadow, const QColor& face, const QColor& highlight) {
    QList<QRgb> table(kPaletteSize);
    for (int i = 0; i <= 128; ++i) {
        table[i] = Between(shadow, face, i, 128);
    }
    for (int i = 129; i < kPaletteSize; ++i) {
        table[i] = Between(face, highlight, i - 128, kPaletteSize - 1 - 128);
    }
    return table;
}

void Tint(QList<QRgb>& table, const QColor& target, int percent) {
    for (QRgb& entry : table) {
        entry = Mix(entry, target, percent);
    }
}

}  // namespace

CShadeButtonST::CShadeButtonST(QWidget* parent) : CButtonST(parent) {}

void CShadeButtonST::ApplyShading() {
    const int width = std::max(1, this->width());
    const int height = std::max(1, this->height());
    const QPalette& colours = palette();

    QImage shade(width, height, QImage::Format_Indexed8);
    QList<QRgb> table = RampPalette(colours.color(QPalette::Dark), colours.color(QPalette::Button),
                                    colours.color(QPalette::Light));
    Tint(table, kTintTarget, kGreenTintPercent);
    shade.setColorTable(table);

    // A fixed seed: the same button looks the same every time it is shaded.
    std::minstd_rand noise(0x5EED);
    std::uniform_int_distribution<int> jitter(-kNoise, kNoise);
    for (int y = 0; y < height; ++y) {
        uchar* line = shade.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const int index = kRampBase + kRampSpan * (width - x) / width + kRampSpan * y / height +
                              jitter(noise);
            line[x] = static_cast<uchar>(std::clamp(index, 0, kPaletteSize - 1));
        }
    }
    shade_normal_ = shade;

    shade_hovered_ = shade.copy();
    QList<QRgb> hovered_table = table;
    Tint(hovered_table, colours.color(QPalette::Highlight), kHoverTintPercent);
    shade_hovered_.setColorTable(hovered_table);

    normal_pixmap_ = QPixmap::fromImage(shade_normal_);
    hovered_pixmap_ = QPixmap::fromImage(shade_hovered_);
    update();
}

void CShadeButtonST::DrawBackground(QPainter& painter, bool hovered, bool pressed, bool focused) {
    if (normal_pixmap_.isNull()) {
        CButtonST::DrawBackground(painter, hovered, pressed, focused);
        return;
    }
    if (!hovered) {
        painter.drawPixmap(0, 0, normal_pixmap_);
    } else if (pressed) {
        painter.drawPixmap(1, 1, hovered_pixmap_);
    } else {
        painter.drawPixmap(0, 0, hovered_pixmap_);
    }
}
