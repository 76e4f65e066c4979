// The panel's application object: creates the main window and runs it until it closes.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>

#include "link/operator_messages.h"
#include "shell/message_box_sink.h"
#include "shell/panoptix_dlg.h"

namespace {

// With PANOPTIX_EXIT_AFTER_FIRST_PAINT set, the program prints "first paint" and ends once the
// main window has painted itself the first time: an installed copy can be checked to start and
// draw without anyone closing it.
class ExitAfterFirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Queued, so that the paint now under way finishes first.
            QTimer::singleShot(0, [] {
                std::puts("first paint");
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptix"));

    panoptix::MessageBoxSink message_boxes;
    panoptix::SetOperatorMessages(&message_boxes);

    int result = 0;
    {
        panoptix::CPanoptixDlg dialog;
        ExitAfterFirstPaint first_paint;
        if (!qEnvironmentVariableIsEmpty("PANOPTIX_EXIT_AFTER_FIRST_PAINT")) {
            dialog.installEventFilter(&first_paint);
        }
        dialog.show();
        result = QApplication::exec();
    }
    panoptix::SetOperatorMessages(nullptr);
    return result;
}
