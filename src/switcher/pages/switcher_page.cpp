#include "switcher/pages/switcher_page.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

#include "controls/bitmap_slider.h"
#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/page_painting.h"
#include "link/trace_events.h"
#include "switcher/core/stream_viewer.h"
#include "switcher/core/switcher_keys.h"
#include "switcher/core/switcher_pictures.h"
#include "switcher/core/switcher_rules.h"
#include "switcher/core/transition_lever.h"
#include "switcher/pages/switcher_chroma_page.h"
#include "switcher/pages/switcher_key_page.h"
#include "switcher/pages/switcher_panel_keys.h"
#include "switcher/pages/switcher_pip_page.h"
#include "switcher/pages/switcher_transition_page.h"

namespace panoptix {
namespace {

// The source (1-12) of a program-row or preview-row button, or 0.
uint8_t SourceOf(const std::array<int, 12>& row, int control_id) {
    const auto it = std::find(row.begin(), row.end(), control_id);
    return it == row.end() ? 0 : static_cast<uint8_t>(it - row.begin() + 1);
}

QWidget* MakeSettingsPage(SettingsPage page, SwitcherPanel& panel, QWidget* parent) {
    switch (page) {
        case SettingsPage::Transition:
            break;
        case SettingsPage::Key1:
            return new SwitcherKeyPage(panel, parent);
        case SettingsPage::Key2:
            return new SwitcherChromaPage(panel, parent);
        case SettingsPage::Pip:
            return new SwitcherPipPage(panel, parent);
    }
    return new SwitcherTransitionPage(panel, parent);
}

}  // namespace

SwitcherPage::SwitcherPage(DeviceLink& link, SwitcherState& state, QWidget* parent)
    : QWidget(parent), panel_(link, state) {
    resize(kPanelSize);
    CreateLever();
    CreateControls();
    // A key runs its button's handler, as a click on the button does.
    new SwitcherPanelKeys(this, [this](int control_id) { OnButton(control_id); });
    ShowBlock();
}

SwitcherPage::~SwitcherPage() {
    // The automatic transition's timer ends with the panel; the block keeps the lever's values.
    for (QTimer* timer : auto_timers_) {
        timer->stop();
    }
}

QTimer* SwitcherPage::AutoTimer(int timer_id) const {
    if (timer_id < 1 || timer_id > static_cast<int>(auto_timers_.size())) {
        return nullptr;
    }
    return auto_timers_[static_cast<size_t>(timer_id - 1)];
}

void SwitcherPage::CreateLever() {
    lever_ = new CBitmapSlider(this, sw_id::kLever);
    SetControlId(lever_, sw_id::kLever);
    lever_->SetChannel(kLeverChannelPicture);
    lever_->SetThumb(kLeverThumbPicture);
    lever_->SetMargins(kLeverMarginLeft, kLeverMarginTop, kLeverMarginRight, kLeverMarginBottom);
    lever_->SetVertical(true);
    lever_->SetRange(0, kLeverEnd);
    lever_->SetPos(panel_.lever().thumb());
    lever_->move(kLeverX, kLeverY);
    // The lever takes no keyboard input: a click hands the focus on to FTB.
    lever_->setFocusPolicy(Qt::NoFocus);
    lever_->SetDrawFocusRect(false);
    connect(lever_, &CBitmapSlider::SliderMoving, this,
            [this](int, int position) { OnLeverMoving(position); });
    connect(lever_, &CBitmapSlider::SliderMoved, this,
            [this](int, int position) { OnLeverMoved(position); });
    connect(lever_, &CBitmapSlider::Clicked, this, [this](int) { OnLeverClicked(); });

    for (size_t i = 0; i < auto_timers_.size(); ++i) {
        auto* timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        const int timer_id = static_cast<int>(i) + 1;
        timer->setInterval(static_cast<int>(AutoTimerForRate(static_cast<uint8_t>(i))->period_ms));
        connect(timer, &QTimer::timeout, this, [this, timer_id] { OnAutoTimer(timer_id); });
        auto_timers_[i] = timer;
    }
}

void SwitcherPage::CreateControls() {
    for (size_t i = 0; i < kPanelControls.size(); ++i) {
        const PanelControl& control = kPanelControls[i];
        if (control.id == sw_id::kSettingsFrame) {
            // The settings area's frame only marks where the settings pages go.
            auto* frame = new QWidget(this);
            frame->setGeometry(control.x, control.y, control.width, control.height);
            frame->hide();
            SetControlId(frame, control.id);
            continue;
        }
        auto* button = new CButtonST(this);
        SetControlId(button, control.id);
        // The pictures carry the captions; the caption stays the button's name.
        button->setAccessibleName(QString::fromUtf8(control.caption).simplified());
        button->setToolTip(QString::fromStdString(PanelKeyToolTip(control.id)));
        button->setGeometry(control.x, control.y, control.width, control.height);
        button->SetTransparent();
        button->SetBorder(false);
        button->setVisible(control.visible);
        const int id = control.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
        button->installEventFilter(this);
        buttons_[i] = button;
    }
    installEventFilter(this);
    lever_->installEventFilter(this);
}

void SwitcherPage::OnButton(int control_id) {
    if (const uint8_t source = SourceOf(sw_id::kProgramRow, control_id); source != 0) {
        panel_.PressProgramSource(source);
    } else if (const uint8_t preview = SourceOf(sw_id::kPreviewRow, control_id); preview != 0) {
        panel_.PressPreviewSource(preview);
    } else {
        switch (control_id) {
            case sw_id::kCut:
                panel_.PressCut();
                break;
            case sw_id::kAuto:
                StartAutoTransition();
                return;
            case sw_id::kPip:
                panel_.PressLayer(SwitcherLayer::Pip);
                break;
            case sw_id::kKey1:
                panel_.PressLayer(SwitcherLayer::Key1);
                break;
            case sw_id::kKey2:
                panel_.PressLayer(SwitcherLayer::Key2);
                break;
            case sw_id::kBackground:
                panel_.PressBackground();
                break;
            case sw_id::kOnAir:
                panel_.PressOnAir();
                break;
            case sw_id::kOnAir2:
                panel_.PressOnAir2();
                break;
            case sw_id::kFadeToBlack:
                panel_.PressFadeToBlack();
                break;
            case sw_id::kMix:
                panel_.PressTransitionType(1);
                break;
            case sw_id::kDip:
                panel_.PressTransitionType(2);
                break;
            case sw_id::kWipe:
                panel_.PressTransitionType(3);
                break;
            case sw_id::kRate1:
                panel_.PressTransitionRate(0);
                break;
            case sw_id::kRate2:
                panel_.PressTransitionRate(1);
                break;
            case sw_id::kRate3:
                panel_.PressTransitionRate(2);
                break;
            case sw_id::kStreamOn:
                LaunchStreamViewer();
                return;
            default:
                return;
        }
    }
    ShowBlock();
}

void SwitcherPage::StartAutoTransition() {
    Apply(panel_.PressAuto());
}

void SwitcherPage::OnLeverMoving(int position) {
    Apply(panel_.LeverMoving(position));
}

void SwitcherPage::OnLeverMoved(int position) {
    Apply(panel_.LeverMoved(position));
}

void SwitcherPage::OnLeverClicked() {
    for (CButtonST* button : buttons_) {
        if (button != nullptr && ControlIdOf(button) == sw_id::kFadeToBlack) {
            button->setFocus(Qt::OtherFocusReason);
        }
    }
}

void SwitcherPage::OnAutoTimer(int timer_id) {
    Apply(panel_.AutoTimerTick(timer_id));
}

void SwitcherPage::Apply(const LeverEffects& effects) {
    if (effects.stop_timer) {
        if (QTimer* timer = AutoTimer(*effects.stop_timer)) {
            timer->stop();
        }
    }
    if (effects.start_timer) {
        if (QTimer* timer = AutoTimer(effects.start_timer->id)) {
            // A timer already running starts its period afresh: one timer, never two.
            timer->start(static_cast<int>(effects.start_timer->period_ms));
        }
    }
    ShowBlock();
}

void SwitcherPage::ShowBlock() {
    const AllSwitcherPageData& block = panel_.data();
    for (CButtonST* button : buttons_) {
        if (button == nullptr) {
            continue;
        }
        const int picture = PanelButtonPicture(block, ControlIdOf(button));
        if (picture != 0 && button->PictureId() != picture) {
            button->SetPictureById(picture);
        }
    }
    // The hand keeps the thumb while it drags; the lever's messages follow it.
    if (!lever_->IsDragging() && lever_->GetPos() != panel_.lever().thumb()) {
        lever_->SetPos(panel_.lever().thumb());
    }
    ShowSettingsPage();
}

void SwitcherPage::ShowSettingsPage() {
    SettingsPage page = SettingsPage::Transition;
    StoredSettingsPage(panel_.data(), page);  // a value that names no page shows page 0
    const auto number = static_cast<uint8_t>(page);
    if (shown_page_ == number && settings_pages_.Current() != nullptr) {
        return;
    }
    settings_pages_.Remove();
    settings_pages_.Show(MakeSettingsPage(page, panel_, this));
    shown_page_ = number;
}

bool SwitcherPage::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterOrEscape(event)) {
        trace::EnterOrEscSwallowed();
        return true;
    }
    if (watched == lever_ &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SwitcherPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kSwitcherBackgroundPicture);
}

}  // namespace panoptix
