#pragma once
// Enter and Esc on the panel's pages: neither may close a window, so the pages swallow both
// before their controls see them. IsEnterOrEscape names the keys; EnterEscFilter swallows them
// on a page and the controls it holds, and tells the page which key came (the page writes its
// trace or acts on Enter itself).
#include <QObject>

#include <functional>

class QEvent;
class QWidget;

namespace panoptix {

enum class EnterEscKey { None, Enter, Escape };

// Enter for a key press of Return or the keypad's Enter, Escape for one of Esc, None for any
// other event.
EnterEscKey EnterEscKeyOf(const QEvent* event);
// A key press of Return, the keypad's Enter or Esc.
bool IsEnterOrEscape(const QEvent* event);

// Swallows every Enter and Esc key press on a page and on the controls it held when the filter
// was installed, and hands each to its handler first (with the widget the key was sent to). An
// open drop-down list is a window of its own and keeps its keys (Esc closes the list); other
// keys and events go on as usual.
class EnterEscFilter : public QObject {
    Q_OBJECT

  public:
    using Handler = std::function<void(EnterEscKey key, QWidget* target)>;

    // Installs a filter, owned by page, on page and every widget it holds now.
    static EnterEscFilter* Install(QWidget* page, Handler handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EnterEscFilter(QWidget* page, Handler handler);

    QWidget* page_;
    Handler handler_;
};

}  // namespace panoptix
