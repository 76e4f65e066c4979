#include "qt_test_environment.h"

#include <QPainter>

namespace panoptix::test {

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

SolidPage::SolidPage(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {}

void SolidPage::SetColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void SolidPage::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), colour_);
}

}  // namespace panoptix::test
