#include "resources/skin_catalogue.h"

#include <QImage>
#include <QPainter>

namespace panoptix::skin {

QImage Paint(const Recipe& recipe) {
    const bool icon = recipe.kind == ResourceKind::Icon;
    QImage image(recipe.width, recipe.height,
                 icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(icon ? QColor(0, 0, 0, 0) : QColor(40, 42, 46));
    QPainter painter(&image);
    QColor face(70, 72, 78);
    if (recipe.lamp == Lamp::Red) {
        face = QColor(200, 40, 30);
    } else if (recipe.lamp == Lamp::Green) {
        face = QColor(40, 190, 70);
    } else if (recipe.lamp == Lamp::Amber) {
        face = QColor(240, 160, 30);
    }
    painter.setPen(QColor(150, 150, 150));
    painter.setBrush(face);
    painter.drawRect(image.rect().adjusted(1, 1, -2, -2));
    painter.setPen(QColor(230, 230, 230));
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(recipe.caption));
    return image;
}

}  // namespace panoptix::skin
