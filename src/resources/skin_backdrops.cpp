// Page backgrounds. Pages stretch their background over themselves without smoothing, so the
// markings that must line up with a page's controls are placed through PageMap: it puts each
// edge on the bitmap column or row that the stretched page shows at the control's pixel.
#include "resources/skin_backdrops.h"
#include "resources/skin_painter.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace panoptix::skin {
namespace {

using namespace art;

// Maps page pixels to the bitmap pixels a nearest-neighbour stretch shows there.
class PageMap {
  public:
    PageMap(int bitmap_width, int bitmap_height, int page_width, int page_height)
        : sx_(static_cast<double>(bitmap_width) / page_width),
          sy_(static_cast<double>(bitmap_height) / page_height) {}

    int X(int page_x) const { return static_cast<int>(std::floor((page_x + 0.5) * sx_)); }
    int Y(int page_y) const { return static_cast<int>(std::floor((page_y + 0.5) * sy_)); }
    QPoint P(int page_x, int page_y) const { return QPoint(X(page_x), Y(page_y)); }
    // The rectangle whose stretched image covers the page rectangle.
    QRect R(const QRect& page) const {
        return QRect(P(page.left(), page.top()), P(page.right(), page.bottom()));
    }

  private:
    double sx_;
    double sy_;
};

// The sizes the pages show their backgrounds at.
constexpr int kDevicePageWidth = 1240;
constexpr int kDevicePageHeight = 580;

// Most of a backdrop is covered by opaque panels drawn over its ground. The ground (gradient,
// vignette, grain) is drawn only where it stays visible; what it would give under the panels is
// overdrawn anyway. The grain's random sequence still runs over every pixel in order, so each
// visible pixel gets the same grain as if the whole ground had been drawn.
void FillGround(QImage& image, const QColor& top, const QColor& bottom, const QRegion& visible) {
    QPainter painter(&image);
    // Whole rows only: the gradients are computed along each span, and a span that started
    // elsewhere in the row could round a pixel differently.
    QRegion rows;
    for (const QRect& rect : visible) {
        rows |= QRect(0, rect.top(), image.width(), rect.height());
    }
    painter.setClipRegion(rows);
    QLinearGradient ground(0, 0, 0, image.height());
    ground.setColorAt(0.0, top);
    ground.setColorAt(1.0, bottom);
    painter.fillRect(image.rect(), ground);
    // A faint vignette toward the corners.
    QRadialGradient vignette(image.width() / 2.0, image.height() * 0.4,
                             std::hypot(image.width(), image.height()) * 0.62);
    vignette.setColorAt(0.0, QColor(255, 255, 255, 10));
    vignette.setColorAt(0.7, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(8, 8, 10, 60));
    painter.fillRect(image.rect(), vignette);
}

// The grain's generator: state' = 1664525 state + 1013904223 (mod 2^32), and a jump over any
// number of its steps at once.
struct Lcg {
    std::uint32_t multiplier = 1;
    std::uint32_t increment = 0;

    // This step after the other one.
    Lcg After(const Lcg& other) const {
        return {multiplier * other.multiplier, multiplier * other.increment + increment};
    }
    std::uint32_t Apply(std::uint32_t state) const { return multiplier * state + increment; }

    static Lcg Steps(std::uint32_t count) {
        Lcg jump;
        Lcg power{1664525u, 1013904223u};
        for (; count != 0; count >>= 1) {
            if ((count & 1u) != 0) {
                jump = power.After(jump);
            }
            power = power.After(power);
        }
        return jump;
    }
};

// A fine grain, like a powder-coated panel; deterministic.
void AddGrain(QImage& image, int strength, const QRegion& visible) {
    const auto clamp = [](int value) { return std::max(1, std::min(255, value)); };
    std::uint32_t state = 0x2545F491u;
    std::vector<std::pair<int, int>> spans;  // [first, end) of the visible pixels of a row
    for (int y = 0; y < image.height(); ++y) {
        spans.clear();
        for (const QRect& rect : visible) {
            if (rect.top() <= y && y <= rect.bottom()) {
                spans.emplace_back(std::max(0, rect.left()),
                                   std::min(image.width(), rect.right() + 1));
            }
        }
        std::sort(spans.begin(), spans.end());
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        int x = 0;
        for (const auto& [first, end] : spans) {
            if (first > x) {
                state = Lcg::Steps(static_cast<std::uint32_t>(first - x)).Apply(state);
                x = first;
            }
            for (; x < end; ++x) {
                state = state * 1664525u + 1013904223u;
                const int delta = static_cast<int>((state >> 24) % (2 * strength + 1)) - strength;
                const QRgb pixel = line[x];
                line[x] = qRgb(clamp(qRed(pixel) + delta), clamp(qGreen(pixel) + delta),
                               clamp(qBlue(pixel) + delta));
            }
        }
        if (x < image.width()) {
            state = Lcg::Steps(static_cast<std::uint32_t>(image.width() - x)).Apply(state);
        }
    }
}

// The pixels that an antialiased rounded panel filled opaquely over rect covers completely
// (one pixel in from its edges, its corners left out).
QRegion PanelInterior(const QRect& rect, int radius) {
    return QRegion(rect.adjusted(radius + 1, 1, -(radius + 1), -1)) |
           QRegion(rect.adjusted(1, radius + 1, -1, -(radius + 1)));
}

// A ground of the given size; hidden is what the caller covers opaquely afterwards.
QImage NewGround(int width, int height, const QColor& top = colour::kGroundTop,
                 const QColor& bottom = colour::kGroundBottom, const QRegion& hidden_by_panels = {},
                 Ground ground = Ground::WhereVisible) {
    const QRegion hidden = ground == Ground::WhereVisible ? hidden_by_panels : QRegion();
    QImage image(width, height, QImage::Format_RGB32);
    const QRegion visible = QRegion(image.rect()) - hidden;
    if (!hidden.isEmpty()) {
        image.fill(top);  // defined pixels under the panels, whatever covers them
    }
    FillGround(image, top, bottom, visible);
    AddGrain(image, 2, visible);
    return image;
}

void Led(QPainter& painter, const QPointF& centre, const QColor& colour) {
    painter.save();
    painter.setPen(Qt::NoPen);
    QRadialGradient light(centre, 5);
    light.setColorAt(0.0, colour.lighter(150));
    light.setColorAt(0.5, colour);
    QColor fade = colour;
    fade.setAlpha(0);
    light.setColorAt(1.0, fade);
    painter.setBrush(light);
    painter.drawEllipse(centre, 5, 5);
    painter.restore();
}

void Logo(QPainter& painter, const QPoint& at, int tile) {
    const QColor tiles[4] = {QColor(230, 50, 36), QColor(50, 200, 84), QColor(60, 180, 255),
                             QColor(246, 164, 32)};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(tiles[i]);
        painter.drawRoundedRect(
            QRectF(at.x() + (i % 2) * (tile + 2), at.y() + (i / 2) * (tile + 2), tile, tile), 1.5,
            1.5);
    }
}

QImage Main(int width, int height, Ground ground) {
    // The title band and its two lines, the footer, the device bar and the page well are
    // opaque.
    const QRect device_bar(10, 51, width - 20, 55);
    const QRect page_well(16, 106, 1248, 586);
    const QRegion hidden = QRegion(0, 0, width, 47) | QRegion(0, 696, width, height - 696) |
                           PanelInterior(device_bar, 5) | PanelInterior(page_well, 6);
    QImage image =
        NewGround(width, height, colour::kGroundTop, colour::kGroundBottom, hidden, ground);
    QPainter painter(&image);
    SetUpPainter(painter);

    // Title band.
    QLinearGradient band(0, 0, 0, 45);
    band.setColorAt(0.0, QColor(36, 38, 42));
    band.setColorAt(1.0, QColor(26, 27, 30));
    painter.fillRect(QRect(0, 0, width, 45), band);
    painter.fillRect(QRect(0, 45, width, 1), QColor(14, 15, 17));
    painter.fillRect(QRect(0, 46, width, 1), QColor(74, 78, 86));
    Logo(painter, QPoint(16, 12), 9);
    QFont brand = LegendFont(20, true);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    painter.setFont(brand);
    painter.setPen(QColor(226, 230, 236));
    painter.drawText(QPointF(46, 31), QStringLiteral("PANOPTIX"));
    DrawSilkscreen(painter, QPointF(186, 30), QStringLiteral("BROADCAST DEVICE CONTROL"), 10);

    // Device bar: the device list and the scan key sit on it.
    DrawRaised(painter, device_bar, 5);
    DrawSilkscreen(painter, QPointF(22, 85), QStringLiteral("DEVICE"), 10);

    // The page well, with a watermark for the time no page is shown.
    DrawRecess(painter, page_well, 6);
    QFont mark = LegendFont(72, true);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 12);
    painter.setFont(mark);
    painter.setPen(QColor(44, 46, 51));
    painter.drawText(QRect(16, 300, 1248, 110), Qt::AlignCenter, QStringLiteral("PANOPTIX"));
    // The line under the watermark depends on the search: the main window writes it.

    // Footer band.
    painter.fillRect(QRect(0, 696, width, 1), QColor(14, 15, 17));
    painter.fillRect(QRect(0, 697, width, height - 697), QColor(28, 29, 33));
    return image;
}

// The right-hand control area shared by the container pages.
QRect ControlAreaRect(const PageMap& map) {
    return map.R(QRect(738, 8, 496, 566));
}
void ControlArea(QPainter& painter, const PageMap& map) {
    DrawRaised(painter, ControlAreaRect(map), 6);
}

QImage Container(int width, int height, Ground ground) {
    const PageMap map(width, height, kDevicePageWidth, kDevicePageHeight);
    // The preview picture is drawn at (5, 40), 720 x 480: a bezel around it.
    const QRect bezel = map.R(QRect(0, 34, 731, 492));
    QImage image =
        NewGround(width, height, colour::kGroundTop, colour::kGroundBottom,
                  PanelInterior(bezel, 5) | PanelInterior(ControlAreaRect(map), 6), ground);
    QPainter painter(&image);
    SetUpPainter(painter);
    DrawRecess(painter, bezel, 5);
    Led(painter, map.P(12, 20), QColor(70, 255, 110));
    DrawSilkscreen(painter, map.P(24, 25), QStringLiteral("OUTPUT PREVIEW"), 11);
    ControlArea(painter, map);
    return image;
}

QImage MatrixPage(int width, int height, Ground ground) {
    const PageMap map(width, height, kDevicePageWidth, kDevicePageHeight);
    QImage image = NewGround(width, height, colour::kGroundTop, colour::kGroundBottom,
                             PanelInterior(map.R(QRect(60, 136, 636, 124)), 6) |
                                 PanelInterior(map.R(QRect(60, 336, 636, 124)), 6) |
                                 PanelInterior(ControlAreaRect(map), 6),
                             ground);
    QPainter painter(&image);
    SetUpPainter(painter);
    DrawSilkscreen(painter, map.P(62, 72), QStringLiteral("8 \u00D7 8 MATRIX ROUTER"), 16,
                   colour::kLegend);
    DrawSilkscreen(painter, map.P(62, 94), QStringLiteral("SELECT AN INPUT, THEN ITS OUTPUTS"), 10);
    // Input and output rows: keys at x = 80 + 68 k, y = 180 and 380, 60 x 65.
    DrawRecess(painter, map.R(QRect(60, 136, 636, 124)), 6);
    DrawRecess(painter, map.R(QRect(60, 336, 636, 124)), 6);
    Led(painter, map.P(74, 156), QColor(70, 255, 110));
    DrawSilkscreen(painter, map.P(86, 161), QStringLiteral("INPUT"), 11);
    Led(painter, map.P(74, 356), QColor(255, 176, 40));
    DrawSilkscreen(painter, map.P(86, 361), QStringLiteral("OUTPUT"), 11);
    // Signal flow from the inputs down to the outputs.
    painter.setPen(QPen(QColor(70, 74, 82), 2));
    for (int k = 0; k < 8; ++k) {
        const int x = map.X(80 + 68 * k + 30);
        painter.drawLine(QPoint(x, map.Y(266)), QPoint(x, map.Y(322)));
        QPolygon head;
        head << QPoint(x - 5, map.Y(320)) << QPoint(x + 5, map.Y(320)) << QPoint(x, map.Y(329));
        painter.setBrush(QColor(70, 74, 82));
        painter.drawPolygon(head);
    }
    ControlArea(painter, map);
    return image;
}

QImage Switcher(int width, int height, Ground ground) {
    const PageMap map(width, height, kDevicePageWidth, kDevicePageHeight);
    QRegion hidden;
    for (const QRect& recess :
         {QRect(4, 112, 434, 166), QRect(4, 332, 434, 166), QRect(459, 112, 228, 166),
          QRect(459, 332, 228, 82), QRect(459, 416, 228, 88), QRect(864, 112, 92, 392),
          QRect(956, 96, 258, 408)}) {
        hidden |= PanelInterior(map.R(recess), 6);
    }
    QImage image =
        NewGround(width, height, colour::kGroundTop, colour::kGroundBottom, hidden, ground);
    QPainter painter(&image);
    SetUpPainter(painter);
    DrawSilkscreen(painter, map.P(12, 44), QStringLiteral("PRODUCTION SWITCHER"), 16,
                   colour::kLegend);
    DrawSilkscreen(painter, map.P(12, 66), QStringLiteral("M/E 1"), 10);

    const QColor program(236, 84, 70);
    const QColor preview(92, 214, 120);
    // Program and preview buses: keys at y 120/200 and 340/420, x 10-290 and 360-430.
    DrawRecess(painter, map.R(QRect(4, 112, 434, 166)), 6);
    DrawRecess(painter, map.R(QRect(4, 332, 434, 166)), 6);
    Led(painter, map.P(12, 98), program);
    DrawSilkscreen(painter, map.P(22, 103), QStringLiteral("PROGRAM"), 11, program);
    Led(painter, map.P(12, 318), preview);
    DrawSilkscreen(painter, map.P(22, 323), QStringLiteral("PREVIEW"), 11, preview);
    // Layers and ON AIR, transition styles, CUT and AUTO.
    DrawRecess(painter, map.R(QRect(459, 112, 228, 166)), 6);
    DrawSilkscreen(painter, map.P(463, 103), QStringLiteral("NEXT TRANSITION"), 11);
    DrawRecess(painter, map.R(QRect(459, 332, 228, 82)), 6);
    DrawSilkscreen(painter, map.P(463, 323), QStringLiteral("TRANSITION STYLE"), 11);
    DrawRecess(painter, map.R(QRect(459, 416, 228, 88)), 6);
    // STREAM ON, the rates and FTB in one column.
    DrawRecess(painter, map.R(QRect(864, 112, 92, 392)), 6);
    DrawSilkscreen(painter, map.P(868, 103), QStringLiteral("OUTPUT"), 11);
    // The settings page area.
    DrawRecess(painter, map.R(QRect(956, 96, 258, 408)), 6);
    DrawSilkscreen(painter, map.P(962, 88), QStringLiteral("SETTINGS"), 11);
    return image;
}

QImage SubPage(int width, int height) {
    return NewGround(width, height, QColor(58, 60, 66), QColor(44, 46, 51));
}

// A matrix sub page's ground with its heading silkscreened above a rule.
QImage MatrixSubPage(int width, int height, const QString& heading) {
    QImage image = NewGround(width, height, QColor(58, 60, 66), QColor(44, 46, 51));
    QPainter painter(&image);
    SetUpPainter(painter);
    DrawSilkscreen(painter, QPointF(28, 48), heading, 11);
    painter.fillRect(QRect(28, 56, 434, 1), QColor(30, 31, 35));
    painter.fillRect(QRect(28, 57, 434, 1), QColor(84, 88, 96));
    return image;
}

QImage MatrixFunction(int width, int height) {
    return MatrixSubPage(width, height, QStringLiteral("ROUTING FUNCTIONS"));
}

QImage Configure(int width, int height) {
    return NewGround(width, height, QColor(60, 62, 68), QColor(42, 44, 49));
}

}  // namespace

QImage PaintBackdrop(Backdrop backdrop, int width, int height, Ground ground) {
    switch (backdrop) {
        case Backdrop::Main:
            return Main(width, height, ground);
        case Backdrop::Configure:
            return Configure(width, height);
        case Backdrop::Container:
            return Container(width, height, ground);
        case Backdrop::SubPage:
            return SubPage(width, height);
        case Backdrop::MatrixPage:
            return MatrixPage(width, height, ground);
        case Backdrop::MatrixFunction:
            return MatrixFunction(width, height);
        case Backdrop::Switcher:
            return Switcher(width, height, ground);
        case Backdrop::MatrixPresets:
            return MatrixSubPage(width, height, QStringLiteral("ROUTER PRESETS"));
    }
    return NewGround(width, height);
}

}  // namespace panoptix::skin
