#include "multiviewer/pages/multiviewer_sub_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "link/trace_events.h"

namespace panoptix {
namespace {

constexpr int kVisibleListEntries = 16;
const QColor kSectionLine{168, 168, 168};

}  // namespace

MultiviewerSubPage::MultiviewerSubPage(DeviceLink& link, MultiviewerState& multiviewer,
                                       QWidget* parent)
    : QWidget(parent), link_(link), multiviewer_(multiviewer) {
    resize(kPageSize);
    frame_ = new CMyGroupBox(this);
    frame_->setGeometry(kFrameRect);
}

QLabel* MultiviewerSubPage::AddCaption(const QString& text, const QRect& rect, int control_id) {
    auto* caption = new QLabel(text, this);
    caption->setGeometry(rect);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setIndent(4);
    if (control_id != 0) {
        SetControlId(caption, control_id);
    }
    return caption;
}

QComboBox* MultiviewerSubPage::AddList(int control_id, const QRect& rect,
                                       const QStringList& entries) {
    auto* list = new QComboBox(this);
    list->setGeometry(rect);
    list->setMaxVisibleItems(kVisibleListEntries);
    list->addItems(entries);
    list->setCurrentIndex(-1);
    SetControlId(list, control_id);
    return list;
}

QComboBox* MultiviewerSubPage::AddListRow(const ListRow& row, const QStringList& entries) {
    AddCaption(QString::fromUtf8(row.caption), row.caption_rect);
    return AddList(row.list_id, row.list_rect, entries);
}

QLineEdit* MultiviewerSubPage::AddField(int control_id, const QRect& rect) {
    auto* field = new QLineEdit(this);
    field->setGeometry(rect);
    SetControlId(field, control_id);
    return field;
}

void MultiviewerSubPage::FinishControls() {
    ApplyPageControlColours(this);
    EnterEscFilter::Install(this, [this](EnterEscKey key, QWidget* target) {
        if (key == EnterEscKey::Enter) {
            OnEnterKey(target);
        } else {
            OnEscKey();
        }
    });
}

void MultiviewerSubPage::OnEnterKey(QWidget*) {
    trace::EnterOrEscSwallowed();
}

void MultiviewerSubPage::OnEscKey() {
    trace::EnterOrEscSwallowed();
}

void MultiviewerSubPage::PaintPage(QPainter&) {}

void MultiviewerSubPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    PaintPage(painter);
}

void SelectQuietly(QComboBox* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

QStringList NumberedEntries(const char* pattern, int first, int last) {
    QStringList entries;
    for (int n = first; n <= last; ++n) {
        entries << QString::asprintf(pattern, n);
    }
    return entries;
}

QStringList OffOnEntries() {
    return {QStringLiteral("OFF"), QStringLiteral("ON")};
}

void UseSectionLinePen(QPainter& painter) {
    painter.setPen(QPen(kSectionLine, 1));
}

void UseSectionTextPen(QPainter& painter) {
    painter.setPen(kPageControlText);
    painter.setBackgroundMode(Qt::TransparentMode);
}

}  // namespace panoptix
