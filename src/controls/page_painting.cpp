#include "controls/page_painting.h"

#include "controls/my_group_box.h"
#include "resources/skin.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

namespace {

QPalette PageControlPalette(QPalette palette) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, kPageControlText);
        palette.setColor(group, QPalette::WindowText, kPageControlText);
        palette.setColor(group, QPalette::ButtonText, kPageControlText);
        palette.setColor(group, QPalette::Base, kPageControlBackground);
        palette.setColor(group, QPalette::Window, kPageControlBackground);
        palette.setColor(group, QPalette::Button, kPageControlBackground);
    }
    // Disabled controls keep the dark ground and show their text dimmed.
    palette.setColor(QPalette::Disabled, QPalette::Base, kPageControlBackground);
    palette.setColor(QPalette::Disabled, QPalette::Window, kPageControlBackground);
    palette.setColor(QPalette::Disabled, QPalette::Button, kPageControlBackground);
    const QColor dimmed = kPageControlText.darker(180);
    palette.setColor(QPalette::Disabled, QPalette::Text, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, dimmed);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, dimmed);
    return palette;
}

}  // namespace

void DrawPageBackground(QPainter& painter, const QRect& client_rect, int bitmap_id) {
    const QPixmap bitmap = panoptix::skin::Bitmap(bitmap_id);
    if (bitmap.isNull()) {
        painter.fillRect(client_rect, kPageControlBackground);
        return;
    }
    painter.save();
    // Nearest-neighbour stretching: dropped rows and columns are dropped, not blended.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawPixmap(client_rect, bitmap, bitmap.rect());
    painter.restore();
}

bool TakesPageControlColours(const QWidget* control) {
    if (qobject_cast<const QAbstractButton*>(control) != nullptr ||
        qobject_cast<const QScrollBar*>(control) != nullptr ||
        qobject_cast<const CMyGroupBox*>(control) != nullptr) {
        return false;
    }
    return qobject_cast<const QLineEdit*>(control) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(control) != nullptr ||
           qobject_cast<const QTextEdit*>(control) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(control) != nullptr ||
           qobject_cast<const QAbstractItemView*>(control) != nullptr ||
           qobject_cast<const QComboBox*>(control) != nullptr ||
           qobject_cast<const QLabel*>(control) != nullptr;
}

void ApplyPageControlColours(QWidget* page) {
    if (page == nullptr) {
        return;
    }
    const auto children = page->findChildren<QWidget*>();
    for (QWidget* control : children) {
        if (!TakesPageControlColours(control)) {
            continue;
        }
        control->setPalette(PageControlPalette(control->palette()));
        if (qobject_cast<QLabel*>(control) != nullptr) {
            // A static control is filled with the page control brush.
            control->setAutoFillBackground(true);
        }
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            // The drop-down list is a window of its own and does not inherit the palette.
            combo->view()->setPalette(PageControlPalette(combo->view()->palette()));
        }
    }
}
