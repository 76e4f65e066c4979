// The recipes' drawing routines: keys, tabs, crosspoints, layout pictures, title-bar buttons,
// the lever and the icons. Page backgrounds are in skin_backdrops.cpp.
#include "resources/skin_backdrops.h"
#include "resources/skin_catalogue.h"
#include "resources/skin_painter.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>

namespace panoptix::skin {
namespace {

using namespace art;

constexpr int kCanvasWidth = 720;  // the device's output canvas that layout pictures show
constexpr int kCanvasHeight = 480;

struct Window {
    int x, y, w, h, label;
};

QString CaptionOf(const Recipe& recipe) {
    QString caption = QString::fromUtf8(recipe.caption);
    // Two-word legends of the larger keys go on two lines.
    if (caption == QLatin1String("STREAM ON")) {
        caption = QStringLiteral("STREAM\nON");
    }
    return caption;
}

// The colour a glyph shows in on a key.
QColor GlyphColour(Glyph glyph, Lamp lamp) {
    if (lamp != Lamp::Off) {
        return TonesOf(lamp).legend;
    }
    switch (glyph) {
        case Glyph::LockShut:
            return QColor(255, 70, 56);
        case Glyph::Tick:
        case Glyph::Play:
            return QColor(96, 226, 126);
        case Glyph::FanOut:
        case Glyph::Parallel:
        case Glyph::Stream:
            return colour::kAccent;
        default:
            return colour::kLegend;
    }
}

QColor LegendColour(Glyph glyph, Lamp lamp) {
    if (lamp != Lamp::Off) {
        return TonesOf(lamp).legend;
    }
    // The locked LOCK key has a red legend; every other dark key a white one.
    return glyph == Glyph::LockShut ? QColor(255, 70, 56) : colour::kLegend;
}

QColor LegendShadow(Lamp lamp) {
    if (lamp == Lamp::Red) {
        return QColor(90, 6, 4, 180);
    }
    if (lamp == Lamp::Off) {
        return QColor(12, 12, 14, 200);
    }
    return QColor(255, 255, 255, 70);
}

QImage PaintKey(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    const Glyph glyph = static_cast<Glyph>(recipe.variant);
    const qreal radius = std::min(recipe.width, recipe.height) >= 60 ? 7.0 : 5.0;
    DrawKey(painter, rect, recipe.lamp, radius);

    const QString caption = CaptionOf(recipe);
    const QColor legend = LegendColour(glyph, recipe.lamp);
    const QColor shadow = LegendShadow(recipe.lamp);
    const QRectF face = rect.adjusted(8, 6, -8, -6);
    const bool numeric = caption.size() <= 2 && caption.front().isDigit();
    const int max_size = numeric ? recipe.height * 2 / 5 : std::max(11, recipe.height / 4);

    if (glyph == Glyph::None) {
        DrawLegend(painter, face, caption, legend, max_size, shadow);
    } else if (recipe.width >= recipe.height * 3 / 2) {
        // Wide keys: the glyph on the left, the legend beside it.
        const bool small = recipe.height < 50;
        const qreal side = small ? 13.0 : std::min(face.height() * 0.72, 30.0);
        const QRectF glyph_box(face.left() + (small ? 0 : 4), face.center().y() - side / 2, side,
                               side);
        DrawGlyph(painter, glyph, glyph_box, GlyphColour(glyph, recipe.lamp));
        const qreal gap = small ? 4 : 6;
        const QRectF text_box(glyph_box.right() + gap, face.top(),
                              face.right() - glyph_box.right() - gap + (small ? 4 : -2),
                              face.height());
        DrawLegend(painter, text_box, caption, legend, std::min(max_size, 18), shadow);
    } else {
        // Square keys: the glyph above the legend.
        const qreal side = face.height() * 0.36;
        const QRectF glyph_box(face.center().x() - side / 2, face.top() + 3, side, side);
        DrawGlyph(painter, glyph, glyph_box, GlyphColour(glyph, recipe.lamp));
        const QRectF text_box(face.left(), glyph_box.bottom() + 2, face.width(),
                              face.bottom() - glyph_box.bottom() - 2);
        DrawLegend(painter, text_box, caption, legend, std::min(max_size, 14), shadow);
    }
    painter.end();
    return FlattenToBlackKey(canvas);
}

QImage PaintTab(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    const bool lit = recipe.lamp != Lamp::Off;
    DrawKey(painter, rect, Lamp::Off, 7);
    const LampTones tones = TonesOf(recipe.lamp);
    const QColor ink = lit ? tones.core : colour::kLegendDim;
    const QRectF cap = rect.adjusted(2, 2, -2, -2);
    if (lit) {
        // Light rising from the lit strip at the bottom of the tab.
        QLinearGradient wash(cap.bottomLeft(), cap.topLeft());
        QColor warm = tones.glow;
        warm.setAlpha(70);
        wash.setColorAt(0.0, warm);
        warm.setAlpha(0);
        wash.setColorAt(0.7, warm);
        painter.setPen(Qt::NoPen);
        painter.setBrush(wash);
        painter.drawRoundedRect(cap, 7, 7);
        const QRectF strip(cap.left() + 9, cap.bottom() - 8, cap.width() - 18, 3);
        DrawGlow(painter, strip, tones.glow, 4);
        painter.setBrush(tones.core);
        painter.drawRoundedRect(strip, 1.5, 1.5);
    } else {
        const QRectF strip(cap.left() + 9, cap.bottom() - 8, cap.width() - 18, 3);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(30, 31, 35));
        painter.drawRoundedRect(strip, 1.5, 1.5);
    }
    const QRectF glyph_box(cap.center().x() - 14, cap.top() + 9, 28, 28);
    DrawGlyph(painter, static_cast<Glyph>(recipe.variant), glyph_box, ink);
    const QRectF text_box(cap.left() + 4, glyph_box.bottom() + 4, cap.width() - 8, 16);
    DrawLegend(painter, text_box, QString::fromUtf8(recipe.caption),
               lit ? tones.core : colour::kLegend, 12, QColor(12, 12, 14, 200));
    painter.end();
    return FlattenToBlackKey(canvas);
}

QImage PaintCrosspoint(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    const bool lit = recipe.lamp != Lamp::Off;
    const LampTones tones = TonesOf(Lamp::Green);
    DrawKey(painter, rect, Lamp::Off, 7);
    const QRectF cap = rect.adjusted(2, 2, -2, -2);
    if (lit) {
        QRadialGradient wash(cap.center(), cap.width() * 0.6);
        QColor green = tones.glow;
        green.setAlpha(60);
        wash.setColorAt(0.0, green);
        green.setAlpha(0);
        wash.setColorAt(1.0, green);
        painter.setPen(Qt::NoPen);
        painter.setBrush(wash);
        painter.drawRoundedRect(cap, 7, 7);
    }
    // The digit: grey when normal, glowing green when lit.
    const QRectF digit_box(cap.left() + 4, cap.top() + 4, cap.width() - 8, cap.height() - 18);
    const QString digit = QString::fromUtf8(recipe.caption);
    if (lit) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                QColor halo = tones.glow;
                halo.setAlpha(70);
                DrawLegend(painter, digit_box.translated(dx, dy), digit, halo, 30);
            }
        }
        DrawLegend(painter, digit_box, digit, QColor(150, 255, 160), 30);
    } else {
        DrawLegend(painter, digit_box, digit, QColor(150, 154, 162), 30, QColor(12, 12, 14, 200));
    }
    // The tally strip under the digit.
    const QRectF tally(cap.center().x() - 12, cap.bottom() - 10, 24, 4);
    painter.setPen(Qt::NoPen);
    if (lit) {
        DrawGlow(painter, tally, tones.glow, 4);
        painter.setBrush(tones.core);
    } else {
        painter.setBrush(QColor(28, 29, 33));
    }
    painter.drawRoundedRect(tally, 2, 2);
    painter.end();
    return FlattenToBlackKey(canvas);
}

// A key with a small screen on it; fills the screen's windows.
struct ScreenColours {
    QColor screen;
    QColor window;
    QColor window_edge;
    QColor number;
};

ScreenColours ScreenColoursFor(Lamp lamp) {
    if (lamp == Lamp::Off) {
        return {QColor(22, 24, 28), QColor(92, 97, 106), QColor(124, 130, 140), QColor(20, 22, 26)};
    }
    return {QColor(58, 32, 6), QColor(255, 196, 96), QColor(255, 236, 180), QColor(70, 38, 4)};
}

void DrawScreenWindows(QPainter& painter, const QRectF& screen, const std::vector<Window>& windows,
                       Lamp lamp, bool numbered) {
    const ScreenColours colours = ScreenColoursFor(lamp);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.screen);
    painter.drawRoundedRect(screen.adjusted(-1, -1, 1, 1), 2, 2);
    const qreal sx = screen.width() / kCanvasWidth;
    const qreal sy = screen.height() / kCanvasHeight;
    for (const Window& window : windows) {
        const QRectF box = QRectF(screen.left() + window.x * sx, screen.top() + window.y * sy,
                                  window.w * sx, window.h * sy)
                               .adjusted(0.7, 0.7, -0.7, -0.7);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colours.screen);
        painter.drawRect(box.adjusted(-1, -1, 1, 1));
        QLinearGradient fill(box.topLeft(), box.bottomLeft());
        fill.setColorAt(0.0, colours.window_edge);
        fill.setColorAt(0.35, colours.window);
        fill.setColorAt(1.0, colours.window.darker(112));
        painter.setBrush(fill);
        painter.drawRect(box);
        if (numbered && box.width() >= 12 && box.height() >= 10) {
            DrawLegend(painter, box, QString::number(window.label), colours.number,
                       std::min(10, static_cast<int>(box.height() * 0.6)));
        }
    }
}

QImage PaintScreenKey(const Recipe& recipe, const std::vector<Window>& windows, bool numbered) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    DrawKey(painter, rect, recipe.lamp, 6);
    // The largest 3:2 screen inside the cap, centred.
    const QRectF room = rect.adjusted(7, 6, -7, -6);
    qreal width = room.width();
    qreal height = width * kCanvasHeight / kCanvasWidth;
    if (height > room.height()) {
        height = room.height();
        width = height * kCanvasWidth / kCanvasHeight;
    }
    const QRectF screen(room.center().x() - width / 2, room.center().y() - height / 2, width,
                        height);
    DrawScreenWindows(painter, screen, windows, recipe.lamp, numbered);
    painter.end();
    return FlattenToBlackKey(canvas);
}

std::vector<Window> MultiviewWindows(int layout) {
    std::vector<Window> windows;
    const auto grid = [&windows](int columns, int rows, int x0, int y0, int w, int h, int first) {
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < columns; ++c) {
                windows.push_back({x0 + c * w, y0 + r * h, w, h, first++});
            }
        }
    };
    switch (layout) {
        case 0:
            windows.push_back({0, 0, 720, 480, 1});
            break;
        case 1:
            grid(2, 2, 0, 0, 360, 240, 1);
            break;
        case 2:
            windows.push_back({0, 0, 480, 320, 1});
            windows.push_back({480, 0, 240, 160, 2});
            windows.push_back({480, 160, 240, 160, 3});
            grid(3, 1, 0, 320, 240, 160, 4);
            break;
        case 3:
            grid(4, 2, 0, 120, 180, 120, 1);
            break;
        case 4:
            grid(3, 3, 0, 0, 240, 160, 1);
            break;
        case 5:
            grid(2, 1, 0, 0, 360, 240, 1);
            grid(4, 2, 0, 240, 180, 120, 3);
            break;
        default:
            grid(4, 4, 0, 0, 180, 120, 1);
            break;
    }
    return windows;
}

// The quad-view show modes' windows, as the processor lays them out.
std::vector<Window> QuadWindows(int mode) {
    const Window full1{0, 0, 720, 480, 1};
    switch (mode) {
        case 0:
            return {{0, 0, 360, 240, 1},
                    {360, 0, 360, 240, 2},
                    {0, 240, 360, 240, 3},
                    {360, 240, 360, 240, 4}};
        case 1:
            return {{0, 120, 360, 240, 1}, {360, 120, 360, 240, 2}};
        case 2:
            return {{0, 120, 360, 240, 3}, {360, 120, 360, 240, 4}};
        case 3:
        case 11:
            return {{0, 0, 360, 480, 1}, {360, 0, 360, 480, 2}};
        case 4:
            return {{0, 0, 360, 480, 3}, {360, 0, 360, 480, 4}};
        case 5:
        case 12:
            return {{0, 0, 720, 480, 4}};
        case 6:
        case 13:
            return {{0, 0, 720, 480, 3}};
        case 7:
        case 14:
            return {{0, 0, 720, 480, 2}};
        case 8:
        case 15:
            return {full1};
        case 9:
            return {full1, {40, 330, 180, 120, 2}};
        case 10:
            return {full1, {500, 330, 180, 120, 2}};
        case 16:
            return {{180, 0, 360, 240, 1}, {180, 240, 360, 240, 2}};
        default:
            return {};
    }
}

QImage PaintWipe(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    const bool lit = recipe.lamp != Lamp::Off;
    DrawKey(painter, rect, recipe.lamp, 5);
    const QRectF screen = rect.adjusted(9, 9, -9, -9);
    const QColor a_side = lit ? QColor(70, 40, 8) : QColor(30, 32, 36);
    const QColor b_side = lit ? QColor(255, 206, 110) : QColor(158, 163, 172);
    painter.setPen(Qt::NoPen);
    painter.setBrush(a_side);
    painter.drawRect(screen);
    painter.save();
    painter.setClipRect(screen);
    painter.setBrush(b_side);
    const QPointF c = screen.center();
    const qreal w = screen.width();
    const qreal h = screen.height();
    switch (static_cast<WipeShape>(recipe.variant)) {
        case WipeShape::Horizontal:
            painter.drawRect(QRectF(screen.left(), screen.top(), w * 0.5, h));
            break;
        case WipeShape::Vertical:
            painter.drawRect(QRectF(screen.left(), screen.top(), w, h * 0.5));
            break;
        case WipeShape::Box:
            painter.drawRect(QRectF(c.x() - w * 0.27, c.y() - h * 0.27, w * 0.54, h * 0.54));
            break;
        case WipeShape::DiagonalDown: {
            QPolygonF shape;
            shape << screen.topLeft() << QPointF(screen.left() + w * 0.8, screen.top())
                  << QPointF(screen.left(), screen.top() + h * 0.8);
            painter.drawPolygon(shape);
            break;
        }
        case WipeShape::BarnDoor:
            painter.drawRect(QRectF(c.x() - w * 0.2, screen.top(), w * 0.4, h));
            break;
        case WipeShape::DiagonalUp: {
            QPolygonF shape;
            shape << screen.topRight() << QPointF(screen.right() - w * 0.8, screen.top())
                  << QPointF(screen.right(), screen.top() + h * 0.8);
            painter.drawPolygon(shape);
            break;
        }
        case WipeShape::Iris:
            painter.drawEllipse(c, w * 0.3, h * 0.3);
            break;
        case WipeShape::Diamond: {
            QPolygonF shape;
            shape << QPointF(c.x(), c.y() - h * 0.36) << QPointF(c.x() + w * 0.36, c.y())
                  << QPointF(c.x(), c.y() + h * 0.36) << QPointF(c.x() - w * 0.36, c.y());
            painter.drawPolygon(shape);
            break;
        }
    }
    painter.restore();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(lit ? QColor(255, 226, 160, 160) : QColor(110, 116, 126, 160), 1));
    painter.drawRect(screen.adjusted(-0.5, -0.5, 0.5, 0.5));
    painter.end();
    return FlattenToBlackKey(canvas);
}

QImage PaintTitleButton(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const Glyph glyph = static_cast<Glyph>(recipe.variant);
    const QRectF plate(1, 5, recipe.width - 2, recipe.height - 11);
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    if (glyph == Glyph::Close) {
        fill.setColorAt(0.0, QColor(168, 44, 36));
        fill.setColorAt(1.0, QColor(112, 24, 20));
    } else {
        fill.setColorAt(0.0, QColor(64, 67, 74));
        fill.setColorAt(1.0, QColor(42, 44, 49));
    }
    painter.setPen(QPen(QColor(18, 19, 22), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.setPen(QPen(QColor(255, 255, 255, 46), 1));
    painter.drawLine(QPointF(plate.left() + 4, plate.top() + 1.5),
                     QPointF(plate.right() - 4, plate.top() + 1.5));
    const qreal side = std::min(plate.height(), 18.0);
    const QRectF glyph_box(plate.center().x() - side / 2, plate.center().y() - side / 2, side,
                           side);
    DrawGlyph(painter, glyph, glyph_box, QColor(232, 234, 238));
    painter.end();
    return FlattenToBlackKey(canvas, QColor(30, 31, 35));
}

QImage PaintScanButton(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF rect(0, 0, recipe.width, recipe.height);
    DrawKey(painter, rect, Lamp::Off, 7);
    // A radar sweep beside the legend.
    const QRectF radar(14, rect.center().y() - 13, 26, 26);
    QColor accent = colour::kAccent;
    painter.setPen(QPen(accent, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(radar.adjusted(1, 1, -1, -1));
    painter.setPen(QPen(accent, 1.2));
    painter.drawEllipse(radar.adjusted(7, 7, -7, -7));
    QConicalGradient sweep(radar.center(), 90);
    accent.setAlpha(170);
    sweep.setColorAt(0.0, accent);
    accent.setAlpha(0);
    sweep.setColorAt(0.25, accent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sweep);
    painter.drawPie(radar.adjusted(1, 1, -1, -1), 90 * 16, -90 * 16);
    painter.setPen(QPen(colour::kAccent.lighter(130), 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(radar.center(), QPointF(radar.center().x(), radar.top() + 2));
    const QRectF text_box(radar.right() + 8, 6, rect.width() - radar.right() - 20,
                          rect.height() - 12);
    DrawLegend(painter, text_box, QString::fromUtf8(recipe.caption), colour::kLegend, 19,
               QColor(12, 12, 14, 200));
    painter.end();
    return FlattenToBlackKey(canvas);
}

QImage PaintSettingsButton(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF plate(1, 3, recipe.width - 2, recipe.height - 6);
    painter.setPen(QPen(QColor(18, 19, 22), 1));
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, QColor(66, 69, 76));
    fill.setColorAt(1.0, QColor(42, 44, 49));
    painter.setBrush(fill);
    painter.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    DrawGlyph(painter, Glyph::Gear, plate.adjusted(3, 3, -3, -3), QColor(200, 206, 214));
    painter.end();
    return FlattenToBlackKey(canvas, QColor(30, 31, 35));
}

// The lever's channel: a slot with a scale; drawn opaque.
QImage PaintLeverChannel(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRect rect(0, 0, recipe.width, recipe.height);
    painter.fillRect(rect, QColor(38, 40, 44));
    DrawRaised(painter, rect.adjusted(1, 1, -1, -1), 6);
    // The thumb centre travels from 50 to 364 (margins 30 and 35, thumb 41 high).
    constexpr int kTop = 50;
    constexpr int kBottom = 364;
    const int centre_x = recipe.width / 2;
    DrawRecess(painter, QRect(centre_x - 7, kTop - 22, 14, kBottom - kTop + 44), 7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(12, 13, 15));
    painter.drawRoundedRect(QRectF(centre_x - 2.5, kTop - 16, 5, kBottom - kTop + 32), 2.5, 2.5);
    // Scale: eleven marks, the ends longer.
    for (int i = 0; i <= 10; ++i) {
        const qreal y = kTop + (kBottom - kTop) * i / 10.0;
        const bool major = i == 0 || i == 5 || i == 10;
        const qreal length = major ? 26 : 16;
        painter.setPen(
            QPen(major ? QColor(176, 182, 192) : QColor(120, 126, 136), major ? 2 : 1.2));
        painter.drawLine(QPointF(centre_x - 16 - length, y), QPointF(centre_x - 16, y));
        painter.drawLine(QPointF(centre_x + 16, y), QPointF(centre_x + 16 + length, y));
    }
    DrawSilkscreen(painter, QPointF(10, 18), QStringLiteral("T-BAR"), 10);
    painter.end();
    return canvas.convertToFormat(QImage::Format_RGB32);
}

// The lever's thumb: a T-bar grip on a magenta key that its top-left pixel carries.
QImage PaintLeverThumb(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF grip(1, 3, recipe.width - 2, recipe.height - 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(14, 15, 17, 150));
    painter.drawRoundedRect(grip.translated(0, 2), 9, 9);
    QLinearGradient body(grip.topLeft(), grip.bottomLeft());
    body.setColorAt(0.0, QColor(150, 155, 164));
    body.setColorAt(0.12, QColor(96, 100, 108));
    body.setColorAt(0.55, QColor(58, 61, 67));
    body.setColorAt(1.0, QColor(34, 36, 40));
    painter.setBrush(body);
    painter.drawRoundedRect(grip, 9, 9);
    // Ridges for the fingers and the bright index line in the middle.
    painter.setPen(QPen(QColor(20, 21, 24, 170), 1));
    for (int i = 0; i < 5; ++i) {
        const qreal x = grip.left() + 14 + i * 4;
        painter.drawLine(QPointF(x, grip.top() + 8), QPointF(x, grip.bottom() - 8));
        painter.drawLine(QPointF(grip.right() - x + grip.left(), grip.top() + 8),
                         QPointF(grip.right() - x + grip.left(), grip.bottom() - 8));
    }
    const QRectF index(grip.left() + 40, grip.center().y() - 1.5, grip.width() - 80, 3);
    DrawGlow(painter, index, QColor(255, 60, 40), 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 96, 72));
    painter.drawRoundedRect(index, 1.5, 1.5);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 60), 1));
    painter.drawRoundedRect(grip.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    painter.end();
    return FlattenToColourKey(canvas, QColor(255, 0, 255), QColor(38, 40, 44));
}

QImage PaintLampIcon(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const LampTones tones = TonesOf(recipe.lamp);
    const QRectF bezel(2, 2, recipe.width - 4, recipe.height - 4);
    QLinearGradient metal(bezel.topLeft(), bezel.bottomLeft());
    metal.setColorAt(0.0, QColor(150, 154, 162));
    metal.setColorAt(1.0, QColor(40, 42, 46));
    painter.setPen(Qt::NoPen);
    painter.setBrush(metal);
    painter.drawEllipse(bezel);
    const QRectF lens = bezel.adjusted(3, 3, -3, -3);
    QRadialGradient light(lens.center() - QPointF(0, 2), lens.width() * 0.62);
    light.setColorAt(0.0, tones.core);
    light.setColorAt(0.55, tones.body);
    light.setColorAt(1.0, tones.edge);
    painter.setBrush(light);
    painter.drawEllipse(lens);
    QRadialGradient shine(QPointF(lens.center().x() - 3, lens.top() + 6), 7);
    shine.setColorAt(0.0, QColor(255, 255, 255, 200));
    shine.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(shine);
    painter.drawEllipse(lens);
    painter.end();
    return canvas;
}

QImage PaintAppIcon(const Recipe& recipe) {
    QImage canvas = NewCanvas(recipe.width, recipe.height);
    QPainter painter(&canvas);
    SetUpPainter(painter);
    const QRectF plate(1, 1, recipe.width - 2, recipe.height - 2);
    QLinearGradient fill(plate.topLeft(), plate.bottomLeft());
    fill.setColorAt(0.0, QColor(70, 74, 82));
    fill.setColorAt(1.0, QColor(30, 32, 36));
    painter.setPen(QPen(QColor(12, 12, 14), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(plate.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    const std::array<QColor, 4> tiles = {QColor(230, 50, 36), QColor(50, 200, 84),
                                         QColor(60, 180, 255), QColor(246, 164, 32)};
    for (int i = 0; i < 4; ++i) {
        const QRectF tile(6 + (i % 2) * 11, 6 + (i / 2) * 11, 9, 9);
        painter.setPen(Qt::NoPen);
        painter.setBrush(tiles[i]);
        painter.drawRoundedRect(tile, 2, 2);
    }
    painter.end();
    return canvas;
}

}  // namespace

QImage Paint(const Recipe& recipe) {
    switch (recipe.art) {
        case Art::Background:
            return PaintBackdrop(static_cast<Backdrop>(recipe.variant), recipe.width,
                                 recipe.height);
        case Art::Key:
            return PaintKey(recipe);
        case Art::Tab:
            return PaintTab(recipe);
        case Art::Crosspoint:
            return PaintCrosspoint(recipe);
        case Art::MultiviewLayout:
            return PaintScreenKey(recipe, MultiviewWindows(recipe.variant), false);
        case Art::QuadLayout:
            return PaintScreenKey(recipe, QuadWindows(recipe.variant), true);
        case Art::WipePattern:
            return PaintWipe(recipe);
        case Art::TitleButton:
            return PaintTitleButton(recipe);
        case Art::ScanButton:
            return PaintScanButton(recipe);
        case Art::SettingsButton:
            return PaintSettingsButton(recipe);
        case Art::LeverChannel:
            return PaintLeverChannel(recipe);
        case Art::LeverThumb:
            return PaintLeverThumb(recipe);
        case Art::LampIcon:
            return PaintLampIcon(recipe);
        case Art::AppIcon:
            return PaintAppIcon(recipe);
    }
    return QImage();
}

}  // namespace panoptix::skin
