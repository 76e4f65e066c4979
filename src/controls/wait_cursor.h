#pragma once
// Shows the wait cursor while the window blocks on a device (a search, a query, a page that
// queries as it opens), and puts the previous cursor back when the scope ends. The window
// system is told at once: the wait itself gives the event loop no chance to pass it on.
#include <QApplication>

namespace panoptix {

class WaitCursor {
  public:
    WaitCursor() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::sync();
    }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace panoptix
