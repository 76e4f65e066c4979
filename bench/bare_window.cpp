// The yardstick of the GUI bench: a bare Qt 6 program that shows one frameless 1280 x 720
// window painting one colour, with the same start-up probe as the panel (see README.md).
#include <QApplication>
#include <QPainter>
#include <QWidget>

#include "app/first_paint_probe.h"

namespace {

class BareWindow : public QWidget {
  public:
    BareWindow() {
        setWindowFlags(Qt::FramelessWindowHint);
        resize(1280, 720);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x20, 0x30, 0x40));
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BareWindow window;
    panoptix::InstallFirstPaintProbe(&window);
    window.show();
    return QApplication::exec();
}
