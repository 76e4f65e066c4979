#include "matrix/pages/matrix_page.h"

#include <QPainter>

#include "controls/control_id.h"
#include "controls/page_painting.h"
#include "controls/shade_button_st.h"
#include "matrix/core/matrix_crosspoint.h"
#include "matrix/pages/matrix_control_ids.h"
#include "matrix/pages/matrix_function_page.h"
#include "matrix/pages/matrix_page_keys.h"
#include "matrix/pages/matrix_picture_button.h"
#include "matrix/pages/matrix_preset_page.h"
#include "matrix/pages/matrix_setting_page.h"

namespace panoptix {
namespace {

constexpr QSize kPageSize{1240, 580};

// Input k at (80 + 68 (k - 1), 180), output k below it at y 380; each 60 x 65.
constexpr int kFirstButtonX = 80;
constexpr int kButtonPitch = 68;
constexpr int kInputRowY = 180;
constexpr int kOutputRowY = 380;
constexpr QSize kCrosspointSize{60, 65};

QRect CrosspointRect(int k, int row_y) {
    return {QPoint(kFirstButtonX + kButtonPitch * (k - 1), row_y), kCrosspointSize};
}

// The tabs: id, place, normal picture, picture while its sub page is shown.
struct TabRow {
    int id;
    QRect rect;
    int face_normal;
    int face_shown;
};
constexpr TabRow kTabs[] = {
    {matrix_id::kControlTab, {748, 25, 80, 75}, 192, 193},
    {matrix_id::kSettingTab, {840, 25, 90, 75}, 200, 201},
    {matrix_id::kPresetTab, {942, 25, 80, 75}, 380, 381},
};

size_t Slot(int k) {
    return static_cast<size_t>(k - 1);
}

}  // namespace

MatrixPage::MatrixPage(DeviceLink& link, MatrixState& matrix, QWidget* parent)
    : QWidget(parent), link_(link), matrix_(matrix) {
    resize(kPageSize);
    CreateControls();
    SwallowEnterAndEsc(this);
    // The page shows the record it finds: the selected input and the outputs that carry it.
    ShowOpeningPictures(matrix_, *this);
    ShowSubPage(kFunctionSubPage);
}

void MatrixPage::CreateControls() {
    for (int k = 1; k <= kMatrixPorts; ++k) {
        const int normal = CrosspointBitmapId(k, CrosspointPicture::kNormal);
        inputs_[Slot(k)] = NewMatrixPictureButton(this, matrix_id::InputId(k),
                                                  CrosspointRect(k, kInputRowY), normal);
        outputs_[Slot(k)] = NewMatrixPictureButton(this, matrix_id::OutputId(k),
                                                   CrosspointRect(k, kOutputRowY), normal);
        connect(inputs_[Slot(k)], &QAbstractButton::clicked, this,
                [this, k] { ClickInput(matrix_, *this, k); });
        connect(outputs_[Slot(k)], &QAbstractButton::clicked, this,
                [this, k] { ToggleOutput(matrix_, *this, k); });
    }

    // The template's marker of the sub-page area.
    auto* area = new QWidget(this);
    area->setGeometry(kSubPageArea);
    area->hide();
    SetControlId(area, matrix_id::kSubPageArea);

    for (size_t i = 0; i < tabs_.size(); ++i) {
        tabs_[i] = NewMatrixPictureButton(this, kTabs[i].id, kTabs[i].rect, kTabs[i].face_normal);
        const int n = static_cast<int>(i) + 1;
        connect(tabs_[i], &QAbstractButton::clicked, this, [this, n] { ShowSubPage(n); });
    }
}

void MatrixPage::ShowSubPage(int n) {
    if (n < kFunctionSubPage || n > kPresetSubPage || n == current_sub_page_) {
        return;
    }
    if (current_sub_page_ != kNoSubPage) {
        const size_t old = current_sub_page_ - 1;
        tabs_[old]->SetPictureById(kTabs[old].face_normal);
    }
    sub_pages_.Remove();
    QWidget* page = nullptr;
    if (n == kFunctionSubPage) {
        page = new MatrixFunctionPage(link_, matrix_, *this, this);
    } else if (n == kSettingSubPage) {
        page = new MatrixSettingPage(link_, this);
    } else {
        page = new MatrixPresetPage(link_, matrix_, *this, this);
    }
    tabs_[static_cast<size_t>(n - 1)]->SetPictureById(kTabs[n - 1].face_shown);
    sub_pages_.Show(page);
    current_sub_page_ = static_cast<uint8_t>(n);
}

void MatrixPage::ShowInput(int k, CrosspointPicture picture) {
    if (IsMatrixPort(k)) {
        inputs_[Slot(k)]->SetPictureById(CrosspointBitmapId(k, picture));
    }
}

void MatrixPage::ShowOutput(int k, CrosspointPicture picture) {
    if (IsMatrixPort(k)) {
        outputs_[Slot(k)]->SetPictureById(CrosspointBitmapId(k, picture));
    }
}

void MatrixPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
}

}  // namespace panoptix
