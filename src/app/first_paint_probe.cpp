#include "app/first_paint_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace panoptix {
namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstPaintProbe : public QObject {
  public:
    explicit FirstPaintProbe(QWidget* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::Paint || seen_) {
            return false;
        }
        seen_ = true;
        // Let the paint run (and reach the window) first, then stamp the time and quit.
        QTimer::singleShot(0, this, [] {
            std::printf("first-paint %lld\n", MonotonicNs());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
        return false;
    }

  private:
    QWidget* window_;
    bool seen_ = false;
};

}  // namespace

void InstallFirstPaintProbe(QWidget* window) {
    if (qEnvironmentVariableIsEmpty("PANOPTIX_BENCH_FIRST_PAINT")) {
        return;
    }
    window->installEventFilter(new FirstPaintProbe(window));
}

}  // namespace panoptix
