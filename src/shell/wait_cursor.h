#pragma once
// Shows the wait cursor while the window blocks on a device (a search, a query, a page that
// queries as it opens), and puts the previous cursor back when the scope ends.
#include <QApplication>

namespace panoptix {

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace panoptix
