#include "controls/bitmap_slider.h"

#include "resources/skin.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The thumb is transparent where it has the colour of its top-left pixel.
QPixmap MaskByTopLeft(const QPixmap& picture) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QRgb key = image.pixel(0, 0) & 0x00FFFFFFu;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0x00FFFFFFu) == key) {
                line[x] = 0;
            }
        }
    }
    return QPixmap::fromImage(image);
}

}  // namespace

CBitmapSlider::CBitmapSlider(QWidget* parent, int control_id)
    : QWidget(parent), control_id_(control_id) {
    setFocusPolicy(Qt::StrongFocus);
}

bool CBitmapSlider::SetChannel(int resource_id) {
    const QPixmap picture = panoptix::skin::Bitmap(resource_id);
    if (picture.isNull()) {
        return false;
    }
    channel_ = picture;
    resize(picture.size());
    update();
    return true;
}

bool CBitmapSlider::SetThumb(int resource_id) {
    const QPixmap picture = panoptix::skin::Bitmap(resource_id);
    if (picture.isNull()) {
        return false;
    }
    thumb_ = MaskByTopLeft(picture);
    update();
    return true;
}

void CBitmapSlider::SetMargins(int left, int top, int right, int bottom) {
    margin_left_ = left;
    margin_top_ = top;
    margin_right_ = right;
    margin_bottom_ = bottom;
    update();
}

void CBitmapSlider::SetVertical(bool on) {
    vertical_ = on;
    update();
}

void CBitmapSlider::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void CBitmapSlider::SetPos(int position) {
    position_ = std::max(std::min(position, maximum_), minimum_);
    update();
}

void CBitmapSlider::SetPageStep(int step) {
    page_step_ = step;
}

void CBitmapSlider::SetDrawFocusRect(bool on) {
    draw_focus_rect_ = on;
    update();
}

int CBitmapSlider::AxisSize() const {
    return vertical_ ? height() : width();
}
int CBitmapSlider::StartMargin() const {
    return vertical_ ? margin_top_ : margin_left_;
}
int CBitmapSlider::EndMargin() const {
    return vertical_ ? margin_bottom_ : margin_right_;
}

int CBitmapSlider::ThumbLength() const {
    if (thumb_.isNull()) {
        return 0;
    }
    return vertical_ ? thumb_.height() : thumb_.width();
}

int CBitmapSlider::Travel() const {
    return AxisSize() - EndMargin() - ThumbLength() - StartMargin();
}

int CBitmapSlider::PositionToPixel(int position) const {
    const int start = StartMargin() + ThumbLength() / 2;
    const int travel = Travel();
    const int range = maximum_ - minimum_;
    // An empty range or no travel would divide by zero: the thumb stays at the start.
    if (travel <= 0 || range <= 0) {
        return start;
    }
    const double fraction = static_cast<double>(position - minimum_) / range;
    return StartMargin() + static_cast<int>(std::trunc(fraction * travel)) + ThumbLength() / 2;
}

int CBitmapSlider::PixelToPosition(int pixel) const {
    const int travel = Travel();
    const int range = maximum_ - minimum_;
    if (travel <= 0 || range <= 0) {
        return minimum_;
    }
    const double fraction = static_cast<double>(pixel - ThumbLength() / 2 - StartMargin()) / travel;
    return static_cast<int>(std::trunc(fraction * range + minimum_));
}

int CBitmapSlider::AxisCoordinate(const QPointF& point) const {
    return static_cast<int>(std::floor(vertical_ ? point.y() : point.x()));
}

void CBitmapSlider::PostMoving() {
    const int id = control_id_;
    const int position = position_;
    QMetaObject::invokeMethod(
        this, [this, id, position] { emit SliderMoving(id, position); }, Qt::QueuedConnection);
}

void CBitmapSlider::PostMoved() {
    const int id = control_id_;
    const int position = position_;
    QMetaObject::invokeMethod(
        this, [this, id, position] { emit SliderMoved(id, position); }, Qt::QueuedConnection);
}

void CBitmapSlider::DragTo(int pointer) {
    const int lowest = StartMargin() + ThumbLength() / 2;
    const int highest = std::max(lowest, AxisSize() - EndMargin() - ThumbLength() / 2);
    const int pixel = std::clamp(pointer - grab_offset_, lowest, highest);
    if (pixel == PositionToPixel(position_)) {
        return;
    }
    const int position = std::max(std::min(PixelToPosition(pixel), maximum_), minimum_);
    if (position == position_) {
        return;
    }
    position_ = position;
    update();
    PostMoving();
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    dragging_ = true;
    const int pointer = AxisCoordinate(event->position());
    const int distance = pointer - PositionToPixel(position_);
    // Near the thumb it keeps its grip; further away it jumps under the pointer.
    grab_offset_ = (std::abs(distance) > ThumbLength() / 2) ? 0 : distance;
    DragTo(pointer);
    update();
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    DragTo(AxisCoordinate(event->position()));
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    update();
    PostMoved();
    emit Clicked(control_id_);
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event) {
    int target = position_;
    switch (event->key()) {
        case Qt::Key_PageUp:
            target = position_ - page_step_;
            break;
        case Qt::Key_PageDown:
            target = position_ + page_step_;
            break;
        case Qt::Key_End:
            target = maximum_;
            break;
        case Qt::Key_Home:
            target = minimum_;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            target = position_ + 1;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            target = position_ - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    SetPos(target);
    PostMoved();
}

void CBitmapSlider::focusInEvent(QFocusEvent* event) {
    focused_ = true;
    update();
    QWidget::focusInEvent(event);
}

void CBitmapSlider::focusOutEvent(QFocusEvent* event) {
    focused_ = false;
    update();
    QWidget::focusOutEvent(event);
}

void CBitmapSlider::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!channel_.isNull()) {
        painter.drawPixmap(0, 0, channel_);
    }
    if (!thumb_.isNull() && isEnabled()) {
        const int centre = PositionToPixel(position_);
        const QPoint origin = vertical_ ? QPoint(margin_left_, centre - thumb_.height() / 2)
                                        : QPoint(centre - thumb_.width() / 2, margin_top_);
        painter.drawPixmap(origin, thumb_);
    }
    if (focused_ && draw_focus_rect_ && isEnabled()) {
        QPen pen(QColor(200, 200, 200));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
