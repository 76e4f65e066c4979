#include "controls/wait_cursor.h"

#include <QApplication>
#include <QGuiApplication>

#if QT_CONFIG(xcb) && defined(PANOPTIX_HAVE_XCB)
#define PANOPTIX_FLUSH_XCB 1
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace panoptix {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FlushWindowSystem();
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
    FlushWindowSystem();
}

void FlushWindowSystem() {
#ifdef PANOPTIX_FLUSH_XCB
    if (const auto* x11 = qGuiApp != nullptr
                              ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr) {
        if (xcb_connection_t* connection = x11->connection()) {
            xcb_flush(connection);
        }
    }
#endif
    // Other platforms (offscreen, Wayland) pass a cursor change on as it is made.
}

}  // namespace panoptix
