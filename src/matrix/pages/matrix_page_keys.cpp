#include "matrix/pages/matrix_page_keys.h"

#include <QEvent>
#include <QKeyEvent>

#include "link/trace_events.h"

namespace panoptix {
namespace {

class EnterEscFilter : public QObject {
  public:
    explicit EnterEscFilter(QWidget* page) : QObject(page), page_(page) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
            return false;
        }
        if (static_cast<QWidget*>(watched)->window() != page_->window()) {
            return false;
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Escape) {
            return false;
        }
        trace::EnterOrEscSwallowed();
        return true;
    }

  private:
    QWidget* page_;
};

}  // namespace

void SwallowEnterAndEsc(QWidget* page) {
    auto* filter = new EnterEscFilter(page);
    page->installEventFilter(filter);
    const auto controls = page->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        control->installEventFilter(filter);
    }
}

}  // namespace panoptix
