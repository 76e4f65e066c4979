#include "shell/message_box_sink.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace panoptix {

void MessageBoxSink::ShowError(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Err"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok | QMessageBox::Cancel, nullptr);
    // A box can come up in the middle of a wait; the operator should not see the wait cursor
    // over it.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    box.exec();
    if (waiting) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace panoptix
