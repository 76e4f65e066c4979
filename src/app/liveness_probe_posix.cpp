#include "app/liveness_probe.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QVariant>
#include <QWidget>

#include <cstdio>
#include <string>

#include "controls/control_id.h"

namespace panoptix {
namespace {

QString Clean(QString text) {
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QString Rect(const QWidget* widget) {
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(at.x())
        .arg(at.y())
        .arg(widget->width())
        .arg(widget->height());
}

// A button's text; a list's current entry, then a tab, its index and every entry after a '|'.
QString Caption(const QWidget* widget) {
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        QString text = Clean(combo->currentText()) + QLatin1Char('\t') +
                       QString::number(combo->currentIndex());
        for (int i = 0; i < combo->count(); ++i) {
            text += QLatin1Char('|') + Clean(combo->itemText(i)).remove(QLatin1Char('|'));
        }
        return text;
    }
    const QVariant text = widget->property("text");
    return text.isValid() ? Clean(text.toString()) : QString();
}

void DescribeControls(const QWidget* parent, QString& out) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow() || !widget->isVisible()) {
            continue;
        }
        if (widget->isEnabled()) {
            out += QStringLiteral("control\t%1\t%2\t%3\t%4\n")
                       .arg(ControlIdOf(widget))
                       .arg(QString::fromLatin1(widget->metaObject()->className()))
                       .arg(Rect(widget))
                       .arg(Caption(widget));
        }
        DescribeControls(widget, out);
    }
}

class LivenessProbe : public QObject {
  public:
    LivenessProbe(QObject* owner, const QString& folder) : QObject(owner), folder_(folder) {
        const QByteArray ask = QFile::encodeName(QDir(folder).filePath(QStringLiteral("ask")));
        read_fd_ = open(ask.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // A writer of our own keeps the FIFO from reading as ended between requests.
        keep_fd_ = open(ask.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (read_fd_ < 0 || keep_fd_ < 0) {
            std::fprintf(stderr, "liveness probe: cannot open %s\n", ask.constData());
            return;
        }
        auto* notifier = new QSocketNotifier(read_fd_, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { OnReadable(); });
    }

    ~LivenessProbe() override {
        if (read_fd_ >= 0) {
            close(read_fd_);
        }
        if (keep_fd_ >= 0) {
            close(keep_fd_);
        }
    }

    LivenessProbe(const LivenessProbe&) = delete;
    LivenessProbe& operator=(const LivenessProbe&) = delete;

  private:
    void OnReadable() {
        char buffer[512];
        const ssize_t size = read(read_fd_, buffer, sizeof buffer);
        if (size <= 0) {
            return;
        }
        pending_.append(buffer, static_cast<size_t>(size));
        size_t end = 0;
        while ((end = pending_.find('\n')) != std::string::npos) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            Answer(line);
        }
    }

    void Answer(const std::string& request) {
        QString text = QString::fromStdString(request) + QLatin1Char('\n');
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) {
                continue;
            }
            text += QStringLiteral("window\t%1\t%2\t%3\t%4\n")
                        .arg(QString::fromLatin1(window->metaObject()->className()))
                        .arg(Clean(window->windowTitle()))
                        .arg(Rect(window))
                        .arg(window->isModal() ? 1 : 0);
            DescribeControls(window, text);
        }
        // The monkey presses Space only where it knows what has the focus: Space presses a
        // focused button, and some buttons (Find, close) it must never press.
        const QWidget* focus = QApplication::focusWidget();
        text += QStringLiteral("focus\t%1\n").arg(focus != nullptr ? ControlIdOf(focus) : 0);
        text += QStringLiteral("end\n");
        const QDir folder(folder_);
        QFile file(folder.filePath(QStringLiteral("answer.tmp")));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file.write(text.toUtf8());
            file.close();
            const QByteArray from = QFile::encodeName(file.fileName());
            const QByteArray to = QFile::encodeName(folder.filePath(QStringLiteral("answer")));
            std::rename(from.constData(), to.constData());
        }
        if (request.find(" quit") != std::string::npos) {
            QCoreApplication::exit(0);
        }
    }

    QString folder_;
    int read_fd_ = -1;
    int keep_fd_ = -1;
    std::string pending_;
};

}  // namespace

void InstallLivenessProbe(QObject* owner) {
    const QString folder = qEnvironmentVariable("PANOPTIX_LIVENESS_PROBE");
    if (folder.isEmpty()) {
        return;
    }
    new LivenessProbe(owner, folder);
}

}  // namespace panoptix
