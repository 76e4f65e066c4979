#include "matrix/pages/matrix_preset_page.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/control_id.h"
#include "controls/my_group_box.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "controls/user_settings_file.h"
#include "link/trace_events.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_page_keys.h"
#include "matrix/pages/matrix_picture_button.h"

namespace panoptix {
namespace {

constexpr QSize kPageSize{490, 420};
constexpr QRect kFrameRect{5, 5, 480, 410};
// Under the heading: two rows of four preset keys, STORE centred below them, the status line at
// the bottom. The router the presets belong to is named at the right of the heading.
constexpr int kPresetLeft = 28;
constexpr int kPresetPitchX = 111;
constexpr int kPresetTop = 76;
constexpr int kPresetPitchY = 90;
constexpr QSize kPresetSize{100, 75};
constexpr QRect kStoreRect{175, 262, 140, 65};
constexpr QRect kStatusRect{25, 345, 440, 60};
constexpr QRect kRouterRect{200, 34, 262, 18};
constexpr QColor kStatusColour{150, 154, 162};

constexpr char kPresetGroup[] = "matrix_presets";

QRect PresetRect(int k) {
    const int column = (k - 1) % 4;
    const int row = (k - 1) / 4;
    return {QPoint(kPresetLeft + kPresetPitchX * column, kPresetTop + kPresetPitchY * row),
            kPresetSize};
}

size_t Slot(int k) {
    return static_cast<size_t>(k - 1);
}

std::string PresetKey(const std::string& router_key, int k) {
    return std::string(kPresetGroup) + "/" + router_key + "/" + std::to_string(k);
}

}  // namespace

MatrixPresetPage::MatrixPresetPage(DeviceLink& link, MatrixState& matrix,
                                   CrosspointView& crosspoints, QWidget* parent)
    : QWidget(parent), link_(link), matrix_(matrix), crosspoints_(crosspoints) {
    resize(kPageSize);
    CreateControls();
    SwallowEnterAndEsc(this);
    LoadBank();
    SetStatus(
        QStringLiteral("Click a preset to recall its routing. STORE, then a preset (or "
                       "Ctrl+click), keeps the routing shown in it."));
}

void MatrixPresetPage::CreateControls() {
    auto* frame = new CMyGroupBox(this);
    frame->setGeometry(kFrameRect);
    SetControlId(frame, matrix_id::kPresetFrame);

    for (int k = 1; k <= kMatrixPresets; ++k) {
        CShadeButtonST* button = NewMatrixPictureButton(this, matrix_id::PresetId(k), PresetRect(k),
                                                        PresetBitmapId(k, false));
        button->setToolTip(QStringLiteral("Preset %1: click recalls, Ctrl+click stores").arg(k));
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, k] { OnPresetClicked(k); });
        presets_[Slot(k)] = button;
    }
    store_ = NewMatrixPictureButton(this, matrix_id::kStore, kStoreRect, kStoreNormal);
    store_->setToolTip(QStringLiteral("The next preset clicked keeps the routing shown"));
    connect(store_, &QAbstractButton::clicked, this, &MatrixPresetPage::OnStoreClicked);
}

bool MatrixPresetPage::eventFilter(QObject* watched, QEvent* event) {
    // The click comes from the release; Ctrl counts when it is held at the press or the release.
    if (event->type() == QEvent::MouseButtonPress) {
        ctrl_click_ = (static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier) != 0;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        ctrl_click_ = ctrl_click_ ||
                      (static_cast<QMouseEvent*>(event)->modifiers() & Qt::ControlModifier) != 0;
    }
    return QWidget::eventFilter(watched, event);
}

void MatrixPresetPage::LoadBank() {
    const std::string key = PresetRouterKey(link_);
    if (key == router_key_ && !key.empty()) {
        return;
    }
    router_key_ = key;
    std::array<std::optional<std::string>, kMatrixPresets> texts{};
    if (!key.empty()) {
        const std::unique_ptr<QSettings> file = OpenUserSettings();
        for (int k = 1; k <= kMatrixPresets; ++k) {
            texts[Slot(k)] = ReadSettingsValue(*file, PresetKey(key, k));
        }
    }
    bank_ = DecodePresetBank(texts, key);
    ShowPresetPictures();
}

void MatrixPresetPage::SavePreset(int k) {
    const std::unique_ptr<QSettings> file = OpenUserSettings();
    const QString key = QString::fromStdString(PresetKey(router_key_, k));
    if (const std::optional<MatrixRoutes>& preset = bank_[Slot(k)]) {
        file->setValue(key, QString::fromStdString(EncodePreset(*preset)));
    } else {
        file->remove(key);
    }
    file->sync();
    if (file->status() != QSettings::NoError) {
        trace::UserSettingsCannotBeWritten(file->fileName().toLocal8Bit().constData());
    }
}

void MatrixPresetPage::ShowPresetPictures() {
    for (int k = 1; k <= kMatrixPresets; ++k) {
        presets_[Slot(k)]->SetPictureById(PresetBitmapId(k, bank_[Slot(k)].has_value()));
    }
}

void MatrixPresetPage::OnStoreClicked() {
    store_armed_ = !store_armed_;
    store_->SetPictureById(store_armed_ ? kStoreArmed : kStoreNormal);
    SetStatus(store_armed_ ? QStringLiteral("STORE: click the preset that is to keep the routing.")
                           : QStringLiteral("STORE off."));
}

void MatrixPresetPage::OnPresetClicked(int k) {
    const bool store = store_armed_ || ctrl_click_;
    ctrl_click_ = false;
    LoadBank();
    if (store) {
        if (store_armed_) {
            store_armed_ = false;
            store_->SetPictureById(kStoreNormal);
        }
        if (router_key_.empty()) {
            SetStatus(
                QStringLiteral("No router to keep presets for: choose the device, or "
                               "connect its serial port."));
            return;
        }
        if (StorePreset(matrix_, bank_, k) == PresetOutcome::kNothingToStore) {
            SetStatus(QStringLiteral("Nothing to store: no output carries an input."));
            return;
        }
        SavePreset(k);
        ShowPresetPictures();
        SetStatus(QStringLiteral("Preset %1 stored.").arg(k));
        return;
    }
    int texts_sent = 0;
    switch (RecallPreset(matrix_, link_, crosspoints_, bank_, k, &texts_sent)) {
        case PresetOutcome::kRecalled:
            SetStatus(QStringLiteral("Preset %1 recalled: %2 %3 sent.")
                          .arg(k)
                          .arg(texts_sent)
                          .arg(texts_sent == 1 ? QStringLiteral("text") : QStringLiteral("texts")));
            break;
        case PresetOutcome::kEmpty:
            SetStatus(QStringLiteral("Preset %1 is empty: nothing recalled. STORE, then %1, "
                                     "keeps the routing shown in it.")
                          .arg(k));
            break;
        default:
            // Locked, or the texts cannot go: nothing changes, as with every other change.
            break;
    }
}

void MatrixPresetPage::SetStatus(const QString& text) {
    status_ = text;
    update(kStatusRect);
}

void MatrixPresetPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    QFont font(QStringLiteral("DejaVu Sans"));  // the skin's legend face
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(kStatusColour);
    painter.drawText(kStatusRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, status_);

    QString router;
    if (link_.mode() == ConnectionMode::Lan && link_.SelectedEntry() != nullptr) {
        router = QString::fromStdString(link_.SelectedEntry()->IpText());
    } else if (link_.mode() == ConnectionMode::Serial) {
        router = QString::fromStdString(link_.SerialPort().PortName());
    }
    font.setPixelSize(11);
    painter.setFont(font);
    painter.drawText(kRouterRect, Qt::AlignRight | Qt::AlignBottom,
                     router.isEmpty() ? QStringLiteral("no router") : router);
}

}  // namespace panoptix
