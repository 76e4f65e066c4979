#include "multiviewer/pages/multiviewer_control_page.h"

#include <QLabel>
#include <QPainter>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "controls/wait_cursor.h"
#include "link/trace_events.h"
#include "multiviewer/core/multiviewer_tables.h"
#include "multiviewer/core/preview_geometry.h"
#include "multiviewer/core/status_query.h"
#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {
namespace {

struct LayoutButtonRow {
    QPoint position;
    int face_normal;
    int face_lit;
    int8_t windows;
};

constexpr QSize kLayoutButtonSize{80, 57};
constexpr std::array<LayoutButtonRow, MultiviewerControlPage::kLayoutButtons> kLayoutButtonRows{{
    {{40, 60}, 171, 172, 1},
    {{140, 60}, 173, 174, 4},
    {{40, 130}, 175, 176, 6},
    {{140, 130}, 177, 178, 8},
    {{40, 200}, 179, 180, 9},
    {{140, 200}, 181, 182, 10},
    {{40, 270}, 183, 184, 16},
}};

// The sixteen source rows stand in one column right of the divider, row k below row k - 1.
constexpr int kRowTop = 22;
constexpr int kRowPitch = 23;
constexpr int kRowHeight = 21;
constexpr QRect kFirstSourceLabel{262, kRowTop, 64, kRowHeight};
constexpr QRect kFirstSourceList{332, kRowTop, 130, kRowHeight};

constexpr QLine kDivider{240, 20, 240, 400};

QRect RowRect(const QRect& first, int window) {
    return first.translated(0, kRowPitch * (window - 1));
}

}  // namespace

MultiviewerControlPage::MultiviewerControlPage(DeviceLink& link, MultiviewerState& multiviewer,
                                               QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    CreateControls();
    FinishControls();

    {
        const WaitCursor wait;  // the query blocks the window for its wait
        QueryStatus(Link(), Multiviewer());
    }
    SelectQuietly(layout_names_, Multiviewer().m_all_16_view_page_data.view_mode_type);
    // current_layout is still unset: this lights the button and sets the rows, nothing more.
    SelectLayout(Multiviewer().m_all_16_view_page_data.view_mode_type + 1);
    for (int k = 1; k <= kMultiviewerWindows; ++k) {
        const uint8_t input = Multiviewer().window_source[static_cast<size_t>(k - 1)];
        SelectQuietly(source_lists_[static_cast<size_t>(k - 1)], input - 1);
    }
    RecomputePreview(Multiviewer());
}

void MultiviewerControlPage::CreateControls() {
    for (size_t i = 0; i < kLayoutButtonRows.size(); ++i) {
        const LayoutButtonRow& row = kLayoutButtonRows[i];
        auto* button = new CButtonST(this);
        button->setGeometry(QRect(row.position, kLayoutButtonSize));
        button->SetPictureById(row.face_normal);
        button->SetTransparent();
        button->SetBorder(false);
        SetControlId(button, mv_id::kFirstLayoutButton + static_cast<int>(i));
        const int t = static_cast<int>(i) + 1;
        connect(button, &QAbstractButton::clicked, this, [this, t] { OnLayoutButton(t); });
        layout_buttons_[i] = button;
    }

    const QStringList inputs = NumberedEntries("SDI %d", 1, kMultiviewerWindows);
    for (int k = 1; k <= kMultiviewerWindows; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        source_labels_[i] =
            AddCaption(QString::asprintf("WIN %3d", k), RowRect(kFirstSourceLabel, k),
                       mv_id::kFirstSourceLabel + k - 1);
        source_lists_[i] =
            AddList(mv_id::kFirstSourceList + k - 1, RowRect(kFirstSourceList, k), inputs);
        connect(source_lists_[i], &QComboBox::activated, this,
                [this, k](int entry) { OnSourceChanged(k, entry); });
    }

    // The template's list of layout names is never shown; it follows the layout all the same.
    QStringList layout_names;
    for (const LayoutRow& row : kLayoutTable) {
        layout_names << QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size()));
    }
    layout_names_ = new QComboBox(this);
    layout_names_->addItems(layout_names);
    layout_names_->hide();
}

void MultiviewerControlPage::SelectLayout(int t) {
    if (t < 1 || t > kLayoutButtons || t == current_layout_) {
        return;
    }
    if (current_layout_ != kNoLayout) {
        const size_t old_row = static_cast<size_t>(current_layout_ - 1);
        layout_buttons_[old_row]->SetPictureById(kLayoutButtonRows[old_row].face_normal);
    }
    const size_t row = static_cast<size_t>(t - 1);
    layout_buttons_[row]->SetPictureById(kLayoutButtonRows[row].face_lit);

    for (int k = 1; k <= kMultiviewerWindows; ++k) {
        const bool in_layout = k <= Multiviewer().m_cur_window_count;
        source_labels_[static_cast<size_t>(k - 1)]->setEnabled(in_layout);
        source_lists_[static_cast<size_t>(k - 1)]->setEnabled(in_layout);
    }

    const uint8_t old_layout = current_layout_;
    current_layout_ = static_cast<uint8_t>(t);
    if (old_layout == kNoLayout) {
        return;  // the page is opening: show what the device has, send nothing
    }
    Multiviewer().m_all_16_view_page_data.view_mode_type = static_cast<uint8_t>(t - 1);
    const uint8_t layout_code = LayoutCodeOfIndex(static_cast<uint8_t>(t - 1)).value_or(1);
    SendLayout(Link(), Multiviewer(), CommandLink(), layout_code);
    Multiviewer().m_cur_window_count = static_cast<int8_t>(layout_code);
    trace::LayoutWindowCount(Multiviewer().m_cur_window_count);
}

void MultiviewerControlPage::OnLayoutButton(int t) {
    // A device reported locked refuses layout changes until a status query has ended (one
    // that reached no open serial port does not count); a refused press changes nothing.
    if (!LayoutSelectionAllowed(Multiviewer())) {
        return;
    }
    // The count first, so that the selection enables the rows of the new layout.
    Multiviewer().m_cur_window_count = kLayoutButtonRows[static_cast<size_t>(t - 1)].windows;
    SelectLayout(t);
}

void MultiviewerControlPage::OnSourceChanged(int window, int entry) {
    if (entry < 0) {
        return;
    }
    const auto input = static_cast<uint8_t>(entry + 1);
    Multiviewer().source_window_index = static_cast<uint8_t>(window);
    Multiviewer().window_source[static_cast<size_t>(window - 1)] = input;
    SendWindowSource(Link(), Multiviewer(), CommandLink(), input, static_cast<uint8_t>(window));
}

void MultiviewerControlPage::PaintPage(QPainter& painter) {
    UseSectionLinePen(painter);
    painter.drawLine(kDivider);
}

}  // namespace panoptix
