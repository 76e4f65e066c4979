// The panel's application object: creates the main window and runs it until it closes.
#include <QApplication>

#include "app/first_paint_probe.h"
#include "app/liveness_probe.h"
#include "link/operator_messages.h"
#include "shell/main_window.h"
#include "shell/message_box_sink.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Panoptix"));

    panoptix::MessageBoxSink message_boxes;
    panoptix::SetOperatorMessages(&message_boxes);

    int result = 0;
    {
        panoptix::MainWindow dialog;
        panoptix::InstallFirstPaintProbe(&dialog);
        panoptix::InstallLivenessProbe(&dialog);
        dialog.show();
        result = QApplication::exec();
    }
    panoptix::SetOperatorMessages(nullptr);
    return result;
}
