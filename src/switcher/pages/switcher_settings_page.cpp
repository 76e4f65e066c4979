#include "switcher/pages/switcher_settings_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "link/trace_events.h"
#include "switcher/core/settings_rules.h"

namespace panoptix {
namespace {

constexpr int kCaptionIndent = 2;

}  // namespace

SwitcherSettingsPage::SwitcherSettingsPage(SwitcherPanel& panel, int frame_id, QWidget* parent)
    : QWidget(parent), panel_(panel) {
    resize(kPageSize);
    auto* frame = new CMyGroupBox(this);
    frame->setGeometry(kFrameRect);
    SetControlId(frame, frame_id);
}

QLabel* SwitcherSettingsPage::AddCaption(const QString& text, const QRect& rect) {
    auto* caption = new QLabel(text, this);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setIndent(kCaptionIndent);
    // A static control is filled with the page control brush: only as wide as its text.
    const int text_width = caption->fontMetrics().horizontalAdvance(text) + 3 * kCaptionIndent;
    caption->setGeometry(rect.x(), rect.y(), std::min(rect.width(), text_width), rect.height());
    return caption;
}

QComboBox* SwitcherSettingsPage::AddList(int control_id, const QRect& rect,
                                         const QStringList& entries, int shown) {
    auto* list = new QComboBox(this);
    list->setGeometry(rect);
    list->setMaxVisibleItems(static_cast<int>(entries.size()));
    list->addItems(entries);
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(shown >= 0 && shown < list->count() ? shown : -1);
    SetControlId(list, control_id);
    return list;
}

QSlider* SwitcherSettingsPage::AddSlider(int control_id, const QRect& rect, int maximum,
                                         int position) {
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setGeometry(rect);
    slider->setRange(0, maximum);
    slider->setTickInterval(1);
    slider->setTickPosition(QSlider::TicksBelow);
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
    SetControlId(slider, control_id);
    return slider;
}

QLineEdit* SwitcherSettingsPage::AddField(int control_id, const QRect& rect) {
    auto* field = new QLineEdit(this);
    field->setGeometry(rect);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFocusPolicy(Qt::NoFocus);
    SetControlId(field, control_id);
    return field;
}

void SwitcherSettingsPage::FinishControls() {
    ApplyPageControlColours(this);
    EnterEscFilter::Install(this, [](EnterEscKey, QWidget*) { trace::EnterOrEscSwallowed(); });
    // The sliders' releases.
    const auto controls = findChildren<QSlider*>();
    for (QSlider* slider : controls) {
        slider->installEventFilter(this);
    }
}

void SwitcherSettingsPage::OnSliderReleased(QSlider*) {}

bool SwitcherSettingsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (auto* slider = qobject_cast<QSlider*>(watched);
            slider != nullptr && slider->parent() == this) {
            OnSliderReleased(slider);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SwitcherSettingsPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
}

QStringList SourceListEntries() {
    QStringList entries;
    for (const std::string& text : SourceListTexts()) {
        entries << QString::fromStdString(text);
    }
    return entries;
}

}  // namespace panoptix
