#include "controls/enter_esc_filter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

namespace panoptix {

EnterEscKey EnterEscKeyOf(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return EnterEscKey::None;
    }
    switch (static_cast<const QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return EnterEscKey::Enter;
        case Qt::Key_Escape:
            return EnterEscKey::Escape;
        default:
            return EnterEscKey::None;
    }
}

bool IsEnterOrEscape(const QEvent* event) {
    return EnterEscKeyOf(event) != EnterEscKey::None;
}

EnterEscFilter::EnterEscFilter(QWidget* page, Handler handler)
    : QObject(page), page_(page), handler_(std::move(handler)) {}

EnterEscFilter* EnterEscFilter::Install(QWidget* page, Handler handler) {
    auto* filter = new EnterEscFilter(page, std::move(handler));
    page->installEventFilter(filter);
    const auto controls = page->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        control->installEventFilter(filter);
    }
    return filter;
}

bool EnterEscFilter::eventFilter(QObject* watched, QEvent* event) {
    const EnterEscKey key = EnterEscKeyOf(event);
    if (key == EnterEscKey::None || !watched->isWidgetType()) {
        return false;
    }
    auto* target = static_cast<QWidget*>(watched);
    // An open drop-down list is a window of its own and keeps its keys.
    if (target->window() != page_->window()) {
        return false;
    }
    if (handler_) {
        handler_(key, target);
    }
    return true;
}

}  // namespace panoptix
