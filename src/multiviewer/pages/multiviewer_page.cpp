#include "multiviewer/pages/multiviewer_page.h"

#include <QPainter>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/enter_esc_filter.h"
#include "controls/page_painting.h"
#include "link/trace_events.h"
#include "multiviewer/pages/multiviewer_audio_page.h"
#include "multiviewer/pages/multiviewer_colour_page.h"
#include "multiviewer/pages/multiviewer_control_ids.h"
#include "multiviewer/pages/multiviewer_control_page.h"
#include "multiviewer/pages/multiviewer_preview_painter.h"
#include "multiviewer/pages/multiviewer_settings_page.h"
#include "multiviewer/pages/multiviewer_status_page.h"
#include "multiviewer/pages/multiviewer_umd_page.h"

namespace panoptix {
namespace {

using SubPageFactory = QWidget* (*)(DeviceLink& link, MultiviewerState& multiviewer,
                                    QWidget* parent);

template <class Page>
QWidget* MakeSubPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent) {
    return new Page(link, multiviewer, parent);
}

// The page table: page n is row n - 1. A button without placement exists but is never shown.
struct PageRow {
    int button_id;
    int face_normal;
    int face_selected;
    QRect button_rect;
    SubPageFactory create;
};

const std::array<PageRow, MultiviewerPage::kPageCount> kPages{{
    {mv_id::kStatusPageButton, 202, 203, {}, &MakeSubPage<MultiviewerStatusPage>},
    {mv_id::kControlPageButton, 192, 193, {748, 25, 80, 75}, &MakeSubPage<MultiviewerControlPage>},
    {mv_id::kUmdPageButton, 204, 205, {840, 25, 80, 75}, &MakeSubPage<MultiviewerUmdPage>},
    {mv_id::kAudioPageButton, 185, 186, {}, &MakeSubPage<MultiviewerAudioPage>},
    {mv_id::kColorPageButton, 189, 190, {932, 25, 72, 75}, &MakeSubPage<MultiviewerColourPage>},
    {mv_id::kSetPageButton, 200, 201, {1012, 25, 92, 75}, &MakeSubPage<MultiviewerSettingsPage>},
}};

constexpr int kFirstShownPage = 2;

}  // namespace

MultiviewerPage::MultiviewerPage(DeviceLink& link, MultiviewerState& multiviewer, QWidget* parent)
    : QWidget(parent), link_(link), multiviewer_(multiviewer) {
    resize(1240, 580);
    // Every preview computation marks the preview for redrawing, from now on.
    multiviewer_.mark_preview_area = PreviewMarker{this};
    CreateControls();
    ShowPage(kFirstShownPage);
}

MultiviewerPage::~MultiviewerPage() {
    // A container replaced by a newer one is deleted later, after the newer one has taken the
    // hook: only a hook that still names this container is cleared.
    const auto* marker = multiviewer_.mark_preview_area.target<PreviewMarker>();
    if (marker != nullptr && marker->container == this) {
        multiviewer_.mark_preview_area = nullptr;
    }
}

QRect MultiviewerPage::PreviewRect() {
    return kPreviewRect;
}

void MultiviewerPage::CreateControls() {
    for (size_t i = 0; i < kPages.size(); ++i) {
        const PageRow& row = kPages[i];
        auto* button = new CButtonST(this);
        SetControlId(button, row.button_id);
        button->SetPictureById(row.face_normal);
        button->SetTransparent();
        button->SetBorder(false);
        button->setFocusPolicy(Qt::NoFocus);
        if (row.button_rect.isEmpty()) {
            button->hide();
        } else {
            button->setGeometry(row.button_rect);
        }
        const int page = static_cast<int>(i) + 1;
        connect(button, &QAbstractButton::clicked, this, [this, page] { ShowPage(page); });
        page_buttons_[i] = button;
    }

    // Markers of the template: the page area, and the preview's drawing origin.
    auto* page_area = new QWidget(this);
    page_area->setGeometry(kPageArea);
    page_area->hide();
    SetControlId(page_area, mv_id::kPageArea);
    for (const int marker_id : {mv_id::kPreviewOrigin, mv_id::kPreviewSpare}) {
        auto* marker = new QWidget(this);
        marker->setGeometry(QRect(kPreviewOrigin, QSize(1, 1)));
        marker->setAttribute(Qt::WA_TransparentForMouseEvents);
        marker->hide();
        SetControlId(marker, marker_id);
    }

    installEventFilter(this);
    for (CButtonST* button : page_buttons_) {
        button->installEventFilter(this);
    }
}

void MultiviewerPage::ShowPage(int n) {
    if (n < 1 || n > kPageCount || n == current_page_) {
        return;
    }
    if (current_page_ != kNoPage) {
        const size_t old_row = static_cast<size_t>(current_page_ - 1);
        page_buttons_[old_row]->SetPictureById(kPages[old_row].face_normal);
    }
    sub_pages_.Remove();
    const size_t row = static_cast<size_t>(n - 1);
    QWidget* page = kPages[row].create(link_, multiviewer_, this);
    page_buttons_[row]->SetPictureById(kPages[row].face_selected);
    sub_pages_.Show(page);
    current_page_ = static_cast<uint8_t>(n);
}

void MultiviewerPage::MarkPreviewArea() {
    update(PreviewRect());
}

bool MultiviewerPage::eventFilter(QObject* watched, QEvent* event) {
    // The container swallows Enter and Esc like its pages do, so that neither closes it.
    if (IsEnterOrEscape(event)) {
        trace::EnterOrEscSwallowed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void MultiviewerPage::paintEvent(QPaintEvent*) {
    trace::MultiviewerPainted();
    QPainter painter(this);
    DrawPageBackground(painter, rect(), kBackgroundBitmap);
    // The window numbers in the page's font, bold so that they read on the small cells.
    QFont number_font = font();
    number_font.setBold(true);
    painter.drawImage(kPreviewOrigin, RenderPreview(multiviewer_, number_font));
}

}  // namespace panoptix
