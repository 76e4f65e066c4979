#include "controls/my_group_box.h"

#include "controls/page_painting.h"
#include "controls/parent_background.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {
// The caption starts this far right of the box's left edge, on its top line.
constexpr int kCaptionLeft = 10;
}  // namespace

CMyGroupBox::CMyGroupBox(QWidget* parent) : QWidget(parent) {
    // Like the platform's group boxes: clicks go to whatever lies below, and the box sits
    // below the controls it frames.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    lower();
}

void CMyGroupBox::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void CMyGroupBox::SnapshotParentBackground() {
    if (!snapshot_.isNull()) {
        return;
    }
    // Only the caption is ever drawn from the snapshot, and the caption sits on the box's top
    // rows: the snapshot keeps the band of rows a caption in the box's font covers, not the
    // whole box (a page-sized box would hold a page-sized copy of its background).
    const int band = std::min(height(), QFontMetrics(font()).height());
    snapshot_ = panoptix::CaptureParentBackground(this, QRect(0, 0, width(), band));
}

void CMyGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    SnapshotParentBackground();

    // The outline runs from (2, 8) to (right - 8, bottom - 8), both ends exclusive, as the
    // platform's rounded rectangle does: the last column and row drawn are width - 9 and
    // height - 9.
    const int last_x = width() - kInsetRight - 1;
    const int last_y = height() - kInsetBottom - 1;
    if (last_x > kInsetLeft && last_y > kInsetTop) {
        painter.setPen(QPen(kGroupBoxFrame, 1));
        painter.setBrush(Qt::NoBrush);
        const QRect outline(kInsetLeft, kInsetTop, last_x - kInsetLeft, last_y - kInsetTop);
        painter.drawRoundedRect(outline, kCornerSize / 2, kCornerSize / 2);
    }

    if (caption_.isEmpty()) {
        return;
    }
    const QFontMetrics metrics(font());
    const QRect caption_rect(kCaptionLeft, 0, metrics.horizontalAdvance(caption_),
                             metrics.height());
    // Cover the frame line behind the whole caption with the page as it was under the box.
    if (!snapshot_.isNull()) {
        painter.drawPixmap(caption_rect, snapshot_, caption_rect);
    }
    painter.setFont(font());
    painter.setPen(kGroupBoxCaption);
    painter.drawText(caption_rect, Qt::AlignLeft | Qt::AlignTop, caption_);
}
