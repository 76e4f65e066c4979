#pragma once
// Drawing primitives shared by the skin's recipes: the panel's colours, key caps, legends,
// glyphs and the step that turns anti-aliased artwork into a black-keyed button picture.
#include "resources/skin_catalogue.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace panoptix::skin::art {

// The panel's palette. No colour here is pure black: that one is the transparent colour of
// button pictures.
namespace colour {
inline const QColor kGroundTop{52, 54, 59};
inline const QColor kGroundBottom{38, 40, 44};
inline const QColor kRecess{29, 30, 34};
inline const QColor kRecessDeep{19, 20, 23};
inline const QColor kBevelLight{92, 96, 104};
inline const QColor kBevelDark{16, 17, 19};
inline const QColor kSilkscreen{150, 156, 166};
inline const QColor kLegend{214, 218, 226};
inline const QColor kLegendDim{150, 154, 162};
inline const QColor kAccent{60, 180, 255};  // the page control text colour
inline const QColor kMatte{40, 42, 46};     // what button edges are blended against
inline const QColor kCapTop{84, 87, 94};
inline const QColor kCapBottom{54, 56, 62};
}  // namespace colour

// The three tones of a lamp: the hot core, the body and the deep edge, and the legend
// colour that reads on it.
struct LampTones {
    QColor core;
    QColor body;
    QColor edge;
    QColor legend;
    QColor glow;  // the lamp's pure colour, for halos and lit legends
};
LampTones TonesOf(Lamp lamp);

// A new transparent ARGB canvas for artwork.
QImage NewCanvas(int width, int height);
// Button pictures: nearly transparent pixels become pure black (transparent when drawn);
// the rest is blended over the matte and kept away from pure black.
QImage FlattenToBlackKey(const QImage& artwork, const QColor& matte = colour::kMatte);
// The lever thumb: transparent pixels take the key colour, which the thumb's top-left pixel
// then carries.
QImage FlattenToColourKey(const QImage& artwork, const QColor& key, const QColor& matte);

void SetUpPainter(QPainter& painter);
QFont LegendFont(int pixel_size, bool bold = true, bool condensed = false);
// Largest bold font, at most max_pixel_size, whose text fits in width (condensed if need be).
QFont FitFont(const QString& text, qreal width, int max_pixel_size, int min_pixel_size = 7);

// A key: a dark well around a cap; lit caps glow in the lamp's colour.
void DrawKey(QPainter& painter, const QRectF& rect, Lamp lamp, qreal radius = 6.0);
// A legend centred in rect; lines separated by '\n'.
void DrawLegend(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour,
                int max_pixel_size, const QColor& shadow = QColor());
// Letter-spaced small capitals, as printed on a panel.
void DrawSilkscreen(QPainter& painter, const QPointF& baseline_left, const QString& text,
                    int pixel_size, const QColor& colour = colour::kSilkscreen);
// A recessed and a raised panel area.
void DrawRecess(QPainter& painter, const QRect& rect, int radius = 4);
void DrawRaised(QPainter& painter, const QRect& rect, int radius = 4);
// A small pictogram inside rect.
void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& rect, const QColor& colour);
// A soft halo of the given colour around rect.
void DrawGlow(QPainter& painter, const QRectF& rect, const QColor& colour, qreal spread);

}  // namespace panoptix::skin::art
