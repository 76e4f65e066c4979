#include "quadview/pages/quadview_page.h"

#include <QComboBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSocketNotifier>

#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "controls/wait_cursor.h"
#include "link/trace_events.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/core/quadview_tables.h"
#include "quadview/pages/quad_preview_painter.h"
#include "resources/skin.h"

namespace panoptix {
namespace {

using qv_picture::ButtonLook;
using qv_picture::LayoutPicture;

struct Placement {
    int control_id;
    QRect rect;
};

// The buttons of show modes 0..8; modes 9..16 are built but never placed.
constexpr std::array<QRect, 9> kLayoutButtonRects{{
    {830, 160, 68, 48},
    {920, 160, 68, 50},
    {1010, 160, 68, 50},
    {1100, 160, 68, 48},
    {830, 220, 68, 48},
    {920, 220, 68, 48},
    {1010, 220, 68, 48},
    {1100, 220, 68, 48},
    {830, 280, 68, 48},
}};

constexpr std::array<Placement, 3> kGroupBoxes{{
    {qv_id::kGroupBoxMode, {800, 30, 400, 90}},
    {qv_id::kGroupBoxLayout, {800, 130, 400, 300}},
    {qv_id::kGroupBoxLoop, {800, 430, 400, 95}},
}};

constexpr QRect kLoopButtonRect{830, 460, 70, 45};
constexpr QRect kLoopTimeFieldRect{910, 470, 40, 20};
constexpr int kLoopTimeDigits = 3;
constexpr const char* kLoopTimeInitialText = "3";

// The template's hidden controls, placed all the same.
constexpr QRect kPipLabelRect{980, 475, 70, 20};
constexpr QRect kOutputFormatLabelRect{980, 475, 80, 20};
constexpr QRect kFirstPipListRect{1065, 470, 50, 20};
constexpr QRect kOutputFormatListRect{1065, 470, 100, 20};
constexpr QRect kSecondPipListRect{1125, 470, 50, 20};

constexpr QRect kChannelLabelRect{850, 45, 50, 20};
constexpr int kChannelPitch = 40;
constexpr QRect kFirstChannelNumberRect{922, 45, 20, 20};
// A lamp shows its 32 x 32 icon whole, its top-left corner at (910 + 40 i, 63).
constexpr QRect kFirstLampRect{910, 63, 32, 32};

QLabel* MakeLabel(QWidget* parent, int control_id, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetControlId(label, control_id);
    return label;
}

QComboBox* MakeList(QWidget* parent, int control_id, const QStringList& entries) {
    auto* list = new QComboBox(parent);
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->hide();
    SetControlId(list, control_id);
    return list;
}

QStringList OutputFormatTexts() {
    QStringList texts;
    for (const OutputFormatRow& row : kOutputFormatTable) {
        texts << QString::fromLatin1(row.text.data(), static_cast<qsizetype>(row.text.size()));
    }
    return texts;
}

QStringList PipTexts() {
    QStringList texts;
    for (const std::string_view text : kPipListTexts) {
        texts << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    }
    return texts;
}

}  // namespace

QuadviewPage::QuadviewPage(DeviceLink& link, QuadviewState& quad, QWidget* parent)
    : QWidget(parent), quad_(quad), panel_(link, quad, *this) {
    resize(kPageSize);
    signal_timer_.setInterval(static_cast<int>(kSignalPollPeriodMs));
    connect(&signal_timer_, &QTimer::timeout, this, &QuadviewPage::OnSignalTimer);
    poll_deadline_.setSingleShot(true);
    poll_deadline_.setTimerType(Qt::PreciseTimer);
    connect(&poll_deadline_, &QTimer::timeout, this, &QuadviewPage::ContinueSignalPoll);
    CreateControls();
    Open();
}

QuadviewPage::~QuadviewPage() {
    signal_timer_.stop();
    EndSignalPoll();
}

void QuadviewPage::CreateControls() {
    // Every control exists before the opening runs, so that the rules always find the ones
    // they light, fill or enable; the opening then places them in its order.
    preview_anchor_ = new QWidget(this);
    preview_anchor_->setAttribute(Qt::WA_TransparentForMouseEvents);
    preview_anchor_->hide();
    SetControlId(preview_anchor_, qv_id::kPreviewAnchor);

    for (const Placement& box : kGroupBoxes) {
        auto* frame = new CMyGroupBox(this);
        SetControlId(frame, box.control_id);
        frame->hide();
    }

    for (uint8_t mode = 0; mode <= kLastShowMode; ++mode) {
        auto* button = new CShadeButtonST(this);
        SetControlId(button, qv_id::LayoutButtonId(mode));
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QAbstractButton::clicked, this,
                [this, mode] { panel_.ApplyShowMode(mode); });
        layout_buttons_[mode] = button;
    }

    loop_button_ = new CShadeButtonST(this);
    SetControlId(loop_button_, qv_id::kLoopButton);
    loop_button_->setFocusPolicy(Qt::NoFocus);
    loop_button_->hide();
    connect(loop_button_, &QAbstractButton::clicked, this, [this] { panel_.LoopClicked(); });

    // The Time button: no picture, no action, never shown.
    time_button_ = new CShadeButtonST(this);
    SetControlId(time_button_, qv_id::kTimeButton);
    time_button_->hide();

    loop_time_field_ = new QLineEdit(this);
    SetControlId(loop_time_field_, qv_id::kLoopTimeField);
    loop_time_field_->setMaxLength(kLoopTimeDigits);
    // Digits only, typed or pasted.
    loop_time_field_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,3}")), loop_time_field_));
    loop_time_field_->hide();

    pip_label_ = MakeLabel(this, qv_id::kPipLabel, QStringLiteral("PIP Child Ch"));
    output_format_label_ =
        MakeLabel(this, qv_id::kOutputFormatLabel, QStringLiteral("Output Format"));
    pip_label_->hide();
    output_format_label_->hide();
    output_format_list_ = MakeList(this, qv_id::kOutputFormatList, OutputFormatTexts());
    first_pip_list_ = MakeList(this, qv_id::kFirstPipList, PipTexts());
    second_pip_list_ = MakeList(this, qv_id::kSecondPipList, PipTexts());
    // Operator picks only: selections made by code never run these rules.
    connect(output_format_list_, &QComboBox::activated, this,
            [this](int row) { panel_.OutputFormatChosen(row); });
    connect(first_pip_list_, &QComboBox::activated, this,
            [this](int row) { panel_.FirstPipChosen(row); });
    connect(second_pip_list_, &QComboBox::activated, this,
            [this](int row) { panel_.SecondPipChosen(row); });

    channel_label_ = MakeLabel(this, qv_id::kChannelLabel, QStringLiteral("Channel"));
    channel_label_->hide();
    for (int channel = 0; channel < kQuadChannels; ++channel) {
        const size_t i = static_cast<size_t>(channel);
        channel_numbers_[i] =
            MakeLabel(this, qv_id::kFirstChannelNumber + channel, QString::number(channel + 1));
        channel_numbers_[i]->setAlignment(Qt::AlignCenter);  // over the middle of its lamp
        channel_numbers_[i]->hide();
        lamps_[i] = MakeLabel(this, qv_id::LampId(channel), QString());
        lamps_[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lamps_[i]->hide();
    }
}

void QuadviewPage::Open() {
    // 1. The preview anchor.
    preview_anchor_->setGeometry(QRect(kPreviewOrigin, QSize(1, 1)));
    // 2. The group boxes, bare frames.
    for (const Placement& box : kGroupBoxes) {
        QWidget* frame = FindControl(this, box.control_id);
        frame->setGeometry(box.rect);
        frame->show();
    }
    // 3. The buttons of show modes 0..8 with their normal pictures; then the stored mode lit
    // and drawn, so that the page shows something whether or not the device answers.
    PlaceLayoutButtons();
    panel_.ShowStoredMode();
    {
        const WaitCursor wait;  // the query blocks the window for up to a second
        // 4. The status query; its reply lights the reported mode without sending it back.
        panel_.QueryQuadStatus();
    }
    // 5, 6. The loop button and the loop time field.
    PlaceLoopControls();
    // 7. The template's hidden controls.
    PlaceHiddenControls();
    // 8, 9. The lists show the stored output format and PIP children.
    panel_.SelectStoredOutputFormat();
    panel_.SelectStoredPipChildren();
    // 10. The channel labels and lamps, every lamp red.
    PlaceChannelLamps();
    panel_.ResetLamps();
    FinishControls();
    {
        const WaitCursor wait;
        // 11. The signal query.
        panel_.QuerySignalStatus();
    }
    // 12. Timer 1.
    signal_timer_.start();
    opened_ = true;
    // 13.
    panel_.UpdatePipCombos();
}

void QuadviewPage::PlaceLayoutButtons() {
    for (size_t mode = 0; mode < kLayoutButtonRects.size(); ++mode) {
        CShadeButtonST* button = layout_buttons_[mode];
        button->setGeometry(kLayoutButtonRects[mode]);
        button->SetPictureById(LayoutPicture(static_cast<uint8_t>(mode), ButtonLook::Normal));
        button->SetTransparent();
        button->SetBorder(false);
        button->show();
    }
}

void QuadviewPage::PlaceLoopControls() {
    loop_button_->setGeometry(kLoopButtonRect);
    panel_.ShowLoopButton();
    loop_button_->SetTransparent();
    loop_button_->SetBorder(false);
    loop_button_->show();

    loop_time_field_->setGeometry(kLoopTimeFieldRect);
    loop_time_field_->setText(QString::fromLatin1(kLoopTimeInitialText));
    loop_time_field_->show();
}

void QuadviewPage::PlaceHiddenControls() {
    pip_label_->setGeometry(kPipLabelRect);
    output_format_label_->setGeometry(kOutputFormatLabelRect);
    first_pip_list_->setGeometry(kFirstPipListRect);
    output_format_list_->setGeometry(kOutputFormatListRect);
    second_pip_list_->setGeometry(kSecondPipListRect);
}

void QuadviewPage::PlaceChannelLamps() {
    channel_label_->setGeometry(kChannelLabelRect);
    channel_label_->show();
    for (size_t i = 0; i < lamps_.size(); ++i) {
        const int dx = kChannelPitch * static_cast<int>(i);
        channel_numbers_[i]->setGeometry(kFirstChannelNumberRect.translated(dx, 0));
        channel_numbers_[i]->show();
        lamps_[i]->setGeometry(kFirstLampRect.translated(dx, 0));
        lamps_[i]->show();
    }
}

void QuadviewPage::FinishControls() {
    ApplyPageControlColours(this);
    // The lamps show their icons over the page itself.
    for (QLabel* lamp : lamps_) {
        lamp->setAutoFillBackground(false);
        lamp->setAttribute(Qt::WA_TranslucentBackground);
    }
    EnterEscFilter::Install(this, [this](EnterEscKey key, QWidget* target) {
        if (key == EnterEscKey::Escape) {
            trace::EnterOrEscSwallowed();
        } else if (target == loop_time_field_) {
            // Enter is sent from the loop time field; swallowed anywhere.
            panel_.SendLoopTime(loop_time_field_->text().toStdString());
        }
    });
}

void QuadviewPage::OnSignalTimer() {
    if (panel_.StartSignalPoll() == PollStart::Started) {
        WatchSignalPoll();
    }
}

void QuadviewPage::WatchSignalPoll() {
    poll_notifier_ = new QSocketNotifier(panel_.SignalPollSocket(), QSocketNotifier::Read, this);
    connect(poll_notifier_, &QSocketNotifier::activated, this, &QuadviewPage::ContinueSignalPoll);
    poll_deadline_.start(static_cast<int>(panel_.SignalPollRemainingMs()) + 1);
}

void QuadviewPage::ContinueSignalPoll() {
    if (panel_.ContinueSignalPoll() == PollProgress::Pending) {
        poll_deadline_.start(static_cast<int>(panel_.SignalPollRemainingMs()) + 1);
    }
}

void QuadviewPage::SignalPollEnded() {
    StopWatchingSignalPoll();
}

void QuadviewPage::StopWatchingSignalPoll() {
    poll_deadline_.stop();
    if (QSocketNotifier* notifier = poll_notifier_.data()) {
        // Off before the socket closes; removed once its own signal has returned.
        notifier->setEnabled(false);
        notifier->deleteLater();
        poll_notifier_ = nullptr;
    }
}

void QuadviewPage::EndSignalPoll() {
    StopWatchingSignalPoll();
    panel_.EndSignalPoll();
}

void QuadviewPage::ShowButtonPicture(int control_id, int picture_id) {
    if (CShadeButtonST* button = ButtonOf(control_id)) {
        button->SetPictureById(picture_id);
    }
}

void QuadviewPage::ShowLampIcon(int control_id, int icon_id) {
    const int channel = control_id - qv_id::kFirstLamp;
    if (channel >= 0 && channel < kQuadChannels) {
        lamps_[static_cast<size_t>(channel)]->setPixmap(skin::Bitmap(icon_id));
    }
}

void QuadviewPage::SelectListRow(int control_id, int row) {
    if (QComboBox* list = ListOf(control_id)) {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(row >= 0 && row < list->count() ? row : -1);
    }
}

void QuadviewPage::EnableList(int control_id, ListEnablement enablement) {
    if (QComboBox* list = ListOf(control_id)) {
        list->setEnabled(enablement == ListEnablement::Enabled);
    }
}

void QuadviewPage::RepaintPreview() {
    update(kPreviewRect);
}

CShadeButtonST* QuadviewPage::ButtonOf(int control_id) const {
    if (control_id == qv_id::kLoopButton) {
        return loop_button_;
    }
    const int mode = control_id - qv_id::kFirstLayoutButton;
    if (mode >= 0 && mode <= kLastShowMode) {
        return layout_buttons_[static_cast<size_t>(mode)];
    }
    return nullptr;
}

QComboBox* QuadviewPage::ListOf(int control_id) const {
    switch (control_id) {
        case qv_id::kOutputFormatList:
            return output_format_list_;
        case qv_id::kFirstPipList:
            return first_pip_list_;
        case qv_id::kSecondPipList:
            return second_pip_list_;
        default:
            return nullptr;
    }
}

void QuadviewPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    painter.drawImage(kPreviewOrigin, RenderQuadPreview(quad_, font()));
}

void QuadviewPage::showEvent(QShowEvent* event) {
    // A page shown again after the program hid it polls again.
    if (opened_ && !event->spontaneous() && !signal_timer_.isActive()) {
        signal_timer_.start();
    }
    QWidget::showEvent(event);
}

void QuadviewPage::hideEvent(QHideEvent* event) {
    // The main window hides a page it replaces and deletes it later: from then on it neither
    // polls nor holds the socket.
    if (!event->spontaneous()) {
        signal_timer_.stop();
        EndSignalPoll();
    }
    QWidget::hideEvent(event);
}

}  // namespace panoptix
