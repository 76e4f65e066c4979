#pragma once
// The shared look of the pages: a skin bitmap stretched over the whole page, light-blue text
// on dark grey for edit, list and static controls, and the group-box frame colours.
#include <QColor>
#include <QPainter>
#include <QRect>
#include <QWidget>

inline const QColor kPageControlText{60, 180, 255};
inline const QColor kPageControlBackground{58, 58, 58};
inline const QColor kGroupBoxFrame{168, 168, 168};
inline const QColor kGroupBoxCaption{128, 128, 128};

// Copies the whole bitmap onto client_rect, stretched in both directions without smoothing
// (rows and columns the stretch drops are dropped) and without tiling. An unknown id fills
// the rectangle with the page control background.
void DrawPageBackground(QPainter& painter, const QRect& client_rect, int bitmap_id);

// Edit, list (and combo) and static controls among the page's descendants get the page
// colours and a solid background of the page control background colour; buttons, scroll bars
// and group boxes keep theirs. Call after the page has created its controls.
void ApplyPageControlColours(QWidget* page);

// Whether a control counts as an edit, list or static control for the page colours.
bool TakesPageControlColours(const QWidget* control);

// Also reachable in namespace panoptix.
namespace panoptix {
using ::ApplyPageControlColours;
using ::DrawPageBackground;
using ::kGroupBoxCaption;
using ::kGroupBoxFrame;
using ::kPageControlBackground;
using ::kPageControlText;
using ::TakesPageControlColours;
}  // namespace panoptix
