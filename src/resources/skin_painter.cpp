#include "resources/skin_painter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace panoptix::skin::art {
namespace {

// Below this alpha an artwork pixel counts as outside the picture.
constexpr int kOpaqueEnough = 100;

QColor Mix(const QColor& a, const QColor& b, qreal b_share) {
    const auto channel = [b_share](int x, int y) {
        return static_cast<int>(std::lround(x + (y - x) * b_share));
    };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

QRgb Over(QRgb premultiplied, const QColor& matte) {
    const int alpha = qAlpha(premultiplied);
    const auto channel = [alpha](int source, int ground) {
        return std::min(255, source + ground * (255 - alpha) / 255);
    };
    return qRgb(channel(qRed(premultiplied), matte.red()),
                channel(qGreen(premultiplied), matte.green()),
                channel(qBlue(premultiplied), matte.blue()));
}

}  // namespace

LampTones TonesOf(Lamp lamp) {
    switch (lamp) {
        case Lamp::Red:
            return {QColor(255, 120, 98), QColor(222, 36, 26), QColor(120, 12, 8),
                    QColor(255, 250, 246), QColor(255, 46, 30)};
        case Lamp::Green:
            return {QColor(176, 255, 168), QColor(44, 200, 76), QColor(12, 96, 30),
                    QColor(10, 42, 16), QColor(70, 255, 110)};
        case Lamp::Amber:
            return {QColor(255, 230, 150), QColor(244, 156, 26), QColor(146, 74, 6),
                    QColor(50, 28, 4), QColor(255, 176, 40)};
        case Lamp::Blue:
            return {QColor(176, 228, 255), QColor(52, 162, 240), QColor(14, 66, 124),
                    QColor(8, 28, 54), QColor(60, 180, 255)};
        case Lamp::Off:
            break;
    }
    return {colour::kCapTop, QColor(68, 71, 77), colour::kCapBottom, colour::kLegend,
            QColor(120, 124, 132)};
}

QImage NewCanvas(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage FlattenToBlackKey(const QImage& artwork, const QColor& matte) {
    QImage source = artwork.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage result(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) < kOpaqueEnough) {
                out[x] = qRgb(0, 0, 0);
                continue;
            }
            QRgb pixel = Over(in[x], matte);
            if ((pixel & 0x00FFFFFFu) == 0) {
                pixel = qRgb(1, 1, 1);  // drawn artwork never turns transparent
            }
            out[x] = pixel;
        }
    }
    return result;
}

QImage FlattenToColourKey(const QImage& artwork, const QColor& key, const QColor& matte) {
    QImage source = artwork.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage result(source.size(), QImage::Format_RGB32);
    const QRgb key_rgb = key.rgb();
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) < kOpaqueEnough) {
                out[x] = key_rgb;
                continue;
            }
            QRgb pixel = Over(in[x], matte);
            if ((pixel & 0x00FFFFFFu) == (key_rgb & 0x00FFFFFFu)) {
                pixel = qRgb(qRed(pixel) ^ 1, qGreen(pixel), qBlue(pixel));
            }
            out[x] = pixel;
        }
    }
    return result;
}

void SetUpPainter(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QFont LegendFont(int pixel_size, bool bold, bool condensed) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, pixel_size));
    font.setBold(bold);
    if (condensed) {
        font.setStretch(QFont::Condensed);
    }
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont FitFont(const QString& text, qreal width, int max_pixel_size, int min_pixel_size) {
    const QStringList lines = text.split('\n');
    const auto fits = [&lines, width](const QFont& font) {
        const QFontMetricsF metrics(font);
        return std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
            return metrics.horizontalAdvance(line) <= width;
        });
    };
    for (int size = max_pixel_size; size >= min_pixel_size; --size) {
        const QFont regular = LegendFont(size);
        if (fits(regular)) {
            return regular;
        }
        const QFont condensed = LegendFont(size, true, true);
        if (fits(condensed)) {
            return condensed;
        }
    }
    return LegendFont(min_pixel_size, true, true);
}

void DrawGlow(QPainter& painter, const QRectF& rect, const QColor& colour, qreal spread) {
    painter.save();
    painter.setPen(Qt::NoPen);
    const int steps = std::max(1, static_cast<int>(spread));
    for (int i = steps; i >= 1; --i) {
        QColor halo = colour;
        halo.setAlpha(static_cast<int>(34.0 * (1.0 - static_cast<qreal>(i) / (steps + 1))));
        painter.setBrush(halo);
        const qreal grow = i;
        painter.drawRoundedRect(rect.adjusted(-grow, -grow, grow, grow), 6 + grow, 6 + grow);
    }
    painter.restore();
}

void DrawKey(QPainter& painter, const QRectF& rect, Lamp lamp, qreal radius) {
    painter.save();
    const LampTones tones = TonesOf(lamp);
    const bool lit = lamp != Lamp::Off;

    // The well the cap sits in; lit keys spill light into it.
    QColor well = colour::kRecessDeep;
    if (lit) {
        well = Mix(well, tones.glow, 0.38);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(well);
    painter.drawRoundedRect(rect, radius + 1, radius + 1);

    const QRectF cap = rect.adjusted(2, 2, -2, -2);
    if (lit) {
        QRadialGradient light(cap.center() - QPointF(0, cap.height() * 0.08),
                              std::max(cap.width(), cap.height()) * 0.72);
        light.setColorAt(0.0, tones.core);
        light.setColorAt(0.5, tones.body);
        light.setColorAt(1.0, tones.edge);
        painter.setBrush(light);
    } else {
        QLinearGradient face(cap.topLeft(), cap.bottomLeft());
        face.setColorAt(0.0, colour::kCapTop);
        face.setColorAt(1.0, colour::kCapBottom);
        painter.setBrush(face);
    }
    painter.drawRoundedRect(cap, radius, radius);

    // Gloss on the upper part of the cap.
    QLinearGradient gloss(cap.topLeft(), QPointF(cap.left(), cap.top() + cap.height() * 0.5));
    gloss.setColorAt(0.0, QColor(255, 255, 255, lit ? 70 : 34));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawRoundedRect(cap.adjusted(1, 1, -1, -cap.height() * 0.45), radius - 1, radius - 1);

    // Bevel: light along the top, dark along the bottom.
    QLinearGradient bevel(cap.topLeft(), cap.bottomLeft());
    bevel.setColorAt(0.0, QColor(255, 255, 255, lit ? 150 : 80));
    bevel.setColorAt(0.3, QColor(255, 255, 255, lit ? 40 : 18));
    bevel.setColorAt(1.0, QColor(8, 8, 10, 120));
    painter.setPen(QPen(QBrush(bevel), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(cap.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void DrawLegend(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour,
                int max_pixel_size, const QColor& shadow) {
    if (text.isEmpty()) {
        return;
    }
    painter.save();
    const QStringList lines = text.split('\n');
    const QFont font = FitFont(text, rect.width(), max_pixel_size);
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    const qreal line_height = metrics.capHeight() * 1.55;
    const qreal block = metrics.capHeight() + line_height * (lines.size() - 1);
    qreal baseline = rect.center().y() - block / 2 + metrics.capHeight();
    for (const QString& line : lines) {
        const qreal x = rect.center().x() - metrics.horizontalAdvance(line) / 2;
        if (shadow.isValid()) {
            painter.setPen(shadow);
            painter.drawText(QPointF(x, baseline + 1), line);
        }
        painter.setPen(colour);
        painter.drawText(QPointF(x, baseline), line);
        baseline += line_height;
    }
    painter.restore();
}

void DrawSilkscreen(QPainter& painter, const QPointF& baseline_left, const QString& text,
                    int pixel_size, const QColor& colour) {
    painter.save();
    QFont font = LegendFont(pixel_size, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, pixel_size * 0.14);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(baseline_left, text);
    painter.restore();
}

void DrawRecess(QPainter& painter, const QRect& rect, int radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, colour::kRecessDeep);
    fill.setColorAt(0.08, colour::kRecess);
    fill.setColorAt(1.0, QColor(34, 36, 40));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect), radius, radius);
    QLinearGradient edge(rect.topLeft(), rect.bottomLeft());
    edge.setColorAt(0.0, QColor(6, 6, 8, 200));
    edge.setColorAt(0.5, QColor(6, 6, 8, 60));
    edge.setColorAt(1.0, QColor(120, 126, 136, 150));
    painter.setPen(QPen(QBrush(edge), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

void DrawRaised(QPainter& painter, const QRect& rect, int radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0.0, QColor(62, 65, 71));
    fill.setColorAt(1.0, QColor(46, 48, 53));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect), radius, radius);
    QLinearGradient edge(rect.topLeft(), rect.bottomLeft());
    edge.setColorAt(0.0, QColor(140, 146, 156, 170));
    edge.setColorAt(0.1, QColor(110, 116, 126, 60));
    edge.setColorAt(1.0, QColor(6, 6, 8, 170));
    painter.setPen(QPen(QBrush(edge), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.restore();
}

namespace {

// What a glyph painter draws on: the painter (antialiased, stroking with `pen`, no brush), the
// square the glyph fills, centred in the rectangle asked for, and its side.
struct GlyphCanvas {
    QPainter& painter;
    QRectF r;
    qreal w;
    QPen pen;
    QColor colour;

    // A thinner stroke for glyphs with finer detail: share_of_side of the side, at least 1.2.
    void StrokeWidth(qreal share_of_side) {
        pen.setWidthF(std::max(1.2, w * share_of_side));
        painter.setPen(pen);
    }
    // Fills with the glyph's colour and no outline.
    void SolidFill() {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
    }
};

using GlyphPainter = void (*)(GlyphCanvas&);

void Gear(QPainter& painter, const QRectF& r, const QColor& colour) {
    const QPointF c = r.center();
    const qreal outer = std::min(r.width(), r.height()) / 2;
    const qreal inner = outer * 0.72;
    QPainterPath path;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal a0 = (i - 0.5) * M_PI / kTeeth;
        const qreal a1 = (i + 0.5) * M_PI / kTeeth;
        const qreal radius = (i % 2 == 0) ? outer : inner;
        const QPointF p0(c.x() + radius * std::cos(a0), c.y() + radius * std::sin(a0));
        const QPointF p1(c.x() + radius * std::cos(a1), c.y() + radius * std::sin(a1));
        if (i == 0) {
            path.moveTo(p0);
        } else {
            path.lineTo(p0);
        }
        path.lineTo(p1);
    }
    path.closeSubpath();
    path.addEllipse(c, outer * 0.34, outer * 0.34);
    path.setFillRule(Qt::OddEvenFill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path);
}

void Lock(QPainter& painter, const QRectF& r, const QColor& colour, bool shut) {
    const qreal w = std::min(r.width(), r.height());
    const QRectF body(r.center().x() - w * 0.36, r.center().y() - w * 0.02, w * 0.72, w * 0.5);
    QPen pen(colour, w * 0.11, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const qreal lift = shut ? 0.0 : w * 0.16;
    const QRectF shackle(body.left() + w * 0.14, body.top() - w * 0.42 - lift, w * 0.44, w * 0.6);
    QPainterPath arc;
    arc.moveTo(shackle.left(), body.top() - (shut ? 0 : lift));
    arc.arcTo(shackle, 180, -180);
    if (shut) {
        arc.lineTo(shackle.right(), body.top());
    }
    painter.drawPath(arc);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(body, w * 0.07, w * 0.07);
}

void PaintNone(GlyphCanvas&) {}

void PaintMinimise(GlyphCanvas& g) {
    g.painter.drawLine(QPointF(g.r.left() + g.w * 0.2, g.r.top() + g.w * 0.72),
                       QPointF(g.r.right() - g.w * 0.2, g.r.top() + g.w * 0.72));
}

void PaintMaximise(GlyphCanvas& g) {
    g.painter.drawRect(g.r.adjusted(g.w * 0.22, g.w * 0.22, -g.w * 0.22, -g.w * 0.22));
}

void PaintClose(GlyphCanvas& g) {
    const qreal inset = g.w * 0.24;
    g.painter.drawLine(g.r.topLeft() + QPointF(inset, inset),
                       g.r.bottomRight() - QPointF(inset, inset));
    g.painter.drawLine(g.r.topRight() + QPointF(-inset, inset),
                       g.r.bottomLeft() + QPointF(inset, -inset));
}

void PaintGrid(GlyphCanvas& g) {
    g.StrokeWidth(0.07);
    const qreal cell = g.w * 0.36;
    const qreal gap = g.w * 0.08;
    const qreal left = g.r.center().x() - cell - gap / 2;
    const qreal top = g.r.center().y() - cell - gap / 2;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 2; ++col) {
            g.painter.drawRoundedRect(
                QRectF(left + col * (cell + gap), top + row * (cell + gap), cell, cell * 0.8), 1.5,
                1.5);
        }
    }
}

void PaintLabel(GlyphCanvas& g) {
    g.StrokeWidth(0.07);
    const qreal w = g.w;
    const QRectF frame = g.r.adjusted(w * 0.06, w * 0.2, -w * 0.06, -w * 0.2);
    g.painter.drawRoundedRect(frame, 2, 2);
    const qreal y1 = frame.center().y() - frame.height() * 0.14;
    const qreal y2 = frame.center().y() + frame.height() * 0.16;
    g.painter.drawLine(QPointF(frame.left() + w * 0.14, y1), QPointF(frame.right() - w * 0.14, y1));
    g.painter.drawLine(QPointF(frame.left() + w * 0.14, y2),
                       QPointF(frame.center().x() + w * 0.1, y2));
}

void PaintPalette(GlyphCanvas& g) {
    g.painter.setPen(Qt::NoPen);
    const qreal w = g.w;
    const qreal d = w * 0.44;
    const QColor hues[3] = {QColor(236, 64, 52), QColor(60, 210, 96), QColor(64, 150, 255)};
    const QPointF centres[3] = {QPointF(g.r.center().x(), g.r.top() + w * 0.3),
                                QPointF(g.r.center().x() - w * 0.17, g.r.top() + w * 0.6),
                                QPointF(g.r.center().x() + w * 0.17, g.r.top() + w * 0.6)};
    for (int i = 0; i < 3; ++i) {
        g.painter.setBrush(Mix(hues[i], g.colour, 0.35));
        g.painter.drawEllipse(centres[i], d / 2, d / 2);
    }
}

void PaintGear(GlyphCanvas& g) {
    Gear(g.painter, g.r.adjusted(g.w * 0.08, g.w * 0.08, -g.w * 0.08, -g.w * 0.08), g.colour);
}

void PaintPulse(GlyphCanvas& g) {
    const QRectF& r = g.r;
    const qreal w = g.w;
    const qreal mid = r.center().y();
    QPainterPath path;
    path.moveTo(r.left() + w * 0.04, mid);
    path.lineTo(r.left() + w * 0.3, mid);
    path.lineTo(r.left() + w * 0.4, mid - w * 0.3);
    path.lineTo(r.left() + w * 0.54, mid + w * 0.3);
    path.lineTo(r.left() + w * 0.64, mid);
    path.lineTo(r.right() - w * 0.04, mid);
    g.painter.drawPath(path);
}

void PaintMeter(GlyphCanvas& g) {
    g.SolidFill();
    const qreal w = g.w;
    const qreal heights[4] = {0.45, 0.8, 0.6, 0.95};
    const qreal bar = w * 0.16;
    for (int i = 0; i < 4; ++i) {
        const qreal h = w * 0.8 * heights[i];
        g.painter.drawRect(
            QRectF(g.r.left() + w * 0.1 + i * bar * 1.5, g.r.bottom() - w * 0.1 - h, bar, h));
    }
}

void PaintPlay(GlyphCanvas& g) {
    g.SolidFill();
    const QRectF& r = g.r;
    QPolygonF triangle;
    triangle << QPointF(r.left() + g.w * 0.26, r.top() + g.w * 0.18)
             << QPointF(r.right() - g.w * 0.16, r.center().y())
             << QPointF(r.left() + g.w * 0.26, r.bottom() - g.w * 0.18);
    g.painter.drawPolygon(triangle);
}

void PaintStop(GlyphCanvas& g) {
    g.SolidFill();
    g.painter.drawRoundedRect(g.r.adjusted(g.w * 0.22, g.w * 0.22, -g.w * 0.22, -g.w * 0.22), 2, 2);
}

void PaintLockOpen(GlyphCanvas& g) {
    Lock(g.painter, g.r, g.colour, false);
}

void PaintLockShut(GlyphCanvas& g) {
    Lock(g.painter, g.r, g.colour, true);
}

void PaintFanOut(GlyphCanvas& g) {
    g.StrokeWidth(0.07);
    const qreal w = g.w;
    const QPointF from(g.r.left() + w * 0.16, g.r.center().y());
    for (int i = 0; i < 4; ++i) {
        const QPointF to(g.r.right() - w * 0.14, g.r.top() + w * (0.14 + i * 0.24));
        g.painter.drawLine(from, to);
        g.painter.setBrush(g.colour);
        g.painter.drawEllipse(to, w * 0.06, w * 0.06);
        g.painter.setBrush(Qt::NoBrush);
    }
    g.painter.setBrush(g.colour);
    g.painter.drawEllipse(from, w * 0.1, w * 0.1);
}

void PaintParallel(GlyphCanvas& g) {
    g.StrokeWidth(0.07);
    const QRectF& r = g.r;
    const qreal w = g.w;
    for (int i = 0; i < 3; ++i) {
        const qreal y = r.top() + w * (0.2 + i * 0.3);
        g.painter.setBrush(g.colour);
        g.painter.drawEllipse(QPointF(r.left() + w * 0.14, y), w * 0.06, w * 0.06);
        g.painter.drawEllipse(QPointF(r.right() - w * 0.14, y), w * 0.06, w * 0.06);
        g.painter.drawLine(QPointF(r.left() + w * 0.2, y), QPointF(r.right() - w * 0.2, y));
    }
}

void PaintTick(GlyphCanvas& g) {
    QPainterPath path;
    path.moveTo(g.r.left() + g.w * 0.16, g.r.top() + g.w * 0.54);
    path.lineTo(g.r.left() + g.w * 0.4, g.r.top() + g.w * 0.76);
    path.lineTo(g.r.right() - g.w * 0.14, g.r.top() + g.w * 0.24);
    g.painter.drawPath(path);
}

void PaintPresets(GlyphCanvas& g) {
    // Three cards, each a step down and to the right of the one behind it.
    g.StrokeWidth(0.07);
    const qreal side = g.w * 0.58;
    const qreal step = g.w * 0.16;
    for (int card = 0; card < 3; ++card) {
        const QRectF face(g.r.left() + g.w * 0.05 + card * step,
                          g.r.top() + g.w * 0.08 + card * step, side, side * 0.78);
        g.painter.setBrush(card == 2 ? g.colour : Qt::NoBrush);
        g.painter.drawRoundedRect(face, 1.5, 1.5);
    }
}

void PaintStore(GlyphCanvas& g) {
    g.StrokeWidth(0.08);
    const QRectF& r = g.r;
    const qreal w = g.w;
    // The tray.
    QPainterPath tray;
    tray.moveTo(r.left() + w * 0.12, r.top() + w * 0.58);
    tray.lineTo(r.left() + w * 0.12, r.top() + w * 0.86);
    tray.lineTo(r.right() - w * 0.12, r.top() + w * 0.86);
    tray.lineTo(r.right() - w * 0.12, r.top() + w * 0.58);
    g.painter.setBrush(Qt::NoBrush);
    g.painter.drawPath(tray);
    // The arrow down into it.
    const qreal x = r.center().x();
    g.painter.drawLine(QPointF(x, r.top() + w * 0.1), QPointF(x, r.top() + w * 0.64));
    QPainterPath head;
    head.moveTo(x - w * 0.18, r.top() + w * 0.46);
    head.lineTo(x, r.top() + w * 0.66);
    head.lineTo(x + w * 0.18, r.top() + w * 0.46);
    g.painter.drawPath(head);
}

void PaintStream(GlyphCanvas& g) {
    g.StrokeWidth(0.08);
    const QPointF c = g.r.center();
    g.painter.setBrush(g.colour);
    g.painter.drawEllipse(c, g.w * 0.09, g.w * 0.09);
    g.painter.setBrush(Qt::NoBrush);
    for (int ring = 1; ring <= 2; ++ring) {
        const qreal radius = g.w * (0.18 + 0.16 * ring);
        const QRectF box(c.x() - radius, c.y() - radius, radius * 2, radius * 2);
        g.painter.drawArc(box, -40 * 16, 80 * 16);
        g.painter.drawArc(box, 140 * 16, 80 * 16);
    }
}

// One painter per glyph, in the order of the Glyph enumeration.
struct GlyphEntry {
    Glyph glyph;
    GlyphPainter paint;
};

constexpr GlyphEntry kGlyphPainters[] = {
    {Glyph::None, PaintNone},         {Glyph::Minimise, PaintMinimise},
    {Glyph::Maximise, PaintMaximise}, {Glyph::Close, PaintClose},
    {Glyph::Grid, PaintGrid},         {Glyph::Label, PaintLabel},
    {Glyph::Palette, PaintPalette},   {Glyph::Gear, PaintGear},
    {Glyph::Pulse, PaintPulse},       {Glyph::Meter, PaintMeter},
    {Glyph::Play, PaintPlay},         {Glyph::Stop, PaintStop},
    {Glyph::LockOpen, PaintLockOpen}, {Glyph::LockShut, PaintLockShut},
    {Glyph::FanOut, PaintFanOut},     {Glyph::Parallel, PaintParallel},
    {Glyph::Tick, PaintTick},         {Glyph::Stream, PaintStream},
    {Glyph::Presets, PaintPresets},   {Glyph::Store, PaintStore},
};

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < std::size(kGlyphPainters); ++i) {
        if (static_cast<std::size_t>(kGlyphPainters[i].glyph) != i) {
            return false;
        }
    }
    return static_cast<std::size_t>(Glyph::Store) + 1 == std::size(kGlyphPainters);
}
static_assert(InEnumOrder(), "one painter per glyph, in the order of the enumeration");

}  // namespace

void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& rect, const QColor& colour) {
    const auto index = static_cast<std::size_t>(glyph);
    if (index >= std::size(kGlyphPainters)) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal w = std::min(rect.width(), rect.height());
    GlyphCanvas canvas{
        painter, QRectF(rect.center().x() - w / 2, rect.center().y() - w / 2, w, w), w,
        QPen(colour, std::max(1.4, w * 0.1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), colour};
    painter.setPen(canvas.pen);
    painter.setBrush(Qt::NoBrush);
    kGlyphPainters[index].paint(canvas);
    painter.restore();
}

}  // namespace panoptix::skin::art
