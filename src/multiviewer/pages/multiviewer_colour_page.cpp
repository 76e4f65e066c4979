#include "multiviewer/pages/multiviewer_colour_page.h"

#include <QPainter>

#include <algorithm>

#include "controls/control_id.h"
#include "multiviewer/core/color_table.h"
#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {
namespace {

// Captions on the left, lists on the right; three rows under each section's heading.
constexpr int kCaptionX = 40;
constexpr int kCaptionWidth = 200;
constexpr int kListX = 250;
constexpr int kListWidth = 190;
constexpr int kRowHeight = 24;

constexpr QRect CaptionAt(int y) {
    return {kCaptionX, y, kCaptionWidth, kRowHeight};
}
constexpr QRect ListAt(int y) {
    return {kListX, y, kListWidth, kRowHeight};
}

constexpr int kUmdRowsTop = 78;
constexpr int kResolutionRowsTop = 258;
constexpr int kRowPitch = 42;

// Headings and dividers painted on the page.
constexpr QPoint kUmdHeading{30, 40};
constexpr QLine kUmdDivider{20, 60, 470, 60};
constexpr QPoint kResolutionHeading{30, 220};
constexpr QLine kResolutionDivider{20, 240, 470, 240};

// The four colour lists: the section whose channel list they follow and the field they set.
struct ColourList {
    int list_id;
    ColourSection section;
    ColourField field;
};
const std::array<ColourList, 4> kColourLists{{
    {mv_id::kUmdTextColorList, ColourSection::Umd, ColourField::UmdText},
    {mv_id::kUmdBackColorList, ColourSection::Umd, ColourField::UmdBack},
    {mv_id::kResolutionTextColorList, ColourSection::Resolution, ColourField::ResolutionText},
    {mv_id::kResolutionBackColorList, ColourSection::Resolution, ColourField::ResolutionBack},
}};

QStringList ChannelEntries(int window_count) {
    QStringList entries{QStringLiteral("All Channel")};
    entries << NumberedEntries("CH_%d", 1, window_count);
    return entries;
}

QStringList ColourEntries() {
    QStringList entries;
    for (const ColorRow& row : kColorTable) {
        entries << QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size()));
    }
    return entries;
}

void DrawHeading(QPainter& painter, const QPoint& top_left, const QString& text) {
    const QFontMetrics metrics(painter.font());
    painter.drawText(QRect(top_left, metrics.size(Qt::TextSingleLine, text)),
                     Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

MultiviewerColourPage::MultiviewerColourPage(DeviceLink& link, MultiviewerState& multiviewer,
                                             QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    CreateControls();
    FinishControls();
}

void MultiviewerColourPage::CreateControls() {
    const int window_count =
        std::clamp<int>(Multiviewer().m_cur_window_count, 1, kMultiviewerWindows);
    const QStringList channels = ChannelEntries(window_count);
    const QStringList colours = ColourEntries();

    const ListRow rows[] = {
        {mv_id::kUmdChannelList, "Source Channel", CaptionAt(kUmdRowsTop), ListAt(kUmdRowsTop)},
        {mv_id::kUmdTextColorList, "UMD Text Color", CaptionAt(kUmdRowsTop + kRowPitch),
         ListAt(kUmdRowsTop + kRowPitch)},
        {mv_id::kUmdBackColorList, "UMD Background Color", CaptionAt(kUmdRowsTop + 2 * kRowPitch),
         ListAt(kUmdRowsTop + 2 * kRowPitch)},
        {mv_id::kResolutionChannelList, "Window Channel", CaptionAt(kResolutionRowsTop),
         ListAt(kResolutionRowsTop)},
        {mv_id::kResolutionTextColorList, "Resolution Text Color",
         CaptionAt(kResolutionRowsTop + kRowPitch), ListAt(kResolutionRowsTop + kRowPitch)},
        {mv_id::kResolutionBackColorList, "Resolution Background Color",
         CaptionAt(kResolutionRowsTop + 2 * kRowPitch), ListAt(kResolutionRowsTop + 2 * kRowPitch)},
    };
    umd_channel_ = AddListRow(rows[0], channels);
    umd_text_ = AddListRow(rows[1], colours);
    umd_back_ = AddListRow(rows[2], colours);
    resolution_channel_ = AddListRow(rows[3], channels);
    resolution_text_ = AddListRow(rows[4], colours);
    resolution_back_ = AddListRow(rows[5], colours);

    // A channel beyond the layout's windows falls back to all windows.
    for (const ColourSection section : {ColourSection::Umd, ColourSection::Resolution}) {
        uint8_t& channel = ChannelOf(section);
        if (channel > window_count) {
            channel = 0;
        }
        SelectQuietly(section == ColourSection::Umd ? umd_channel_ : resolution_channel_, channel);
        ShowChannelColours(section);
    }

    connect(umd_channel_, &QComboBox::activated, this,
            [this](int entry) { OnChannelChanged(ColourSection::Umd, entry); });
    connect(resolution_channel_, &QComboBox::activated, this,
            [this](int entry) { OnChannelChanged(ColourSection::Resolution, entry); });
    for (QComboBox* list : {umd_text_, umd_back_, resolution_text_, resolution_back_}) {
        const int list_id = ControlIdOf(list);
        connect(list, &QComboBox::activated, this,
                [this, list_id](int entry) { OnColourChanged(list_id, entry); });
    }
}

uint8_t& MultiviewerColourPage::ChannelOf(ColourSection section) const {
    All16ViewPageData& block = Multiviewer().m_all_16_view_page_data;
    return section == ColourSection::Umd ? block.umd_color_channel : block.resolution_color_channel;
}

void MultiviewerColourPage::ShowChannelColours(ColourSection section) {
    // Channel 0 (all windows) shows the colours of window 1.
    const uint8_t channel = ChannelOf(section);
    const size_t window = channel == 0 ? 0 : static_cast<size_t>(channel - 1);
    if (window >= static_cast<size_t>(kMultiviewerWindows)) {
        return;
    }
    const All16ViewPageData& block = Multiviewer().m_all_16_view_page_data;
    if (section == ColourSection::Umd) {
        SelectQuietly(umd_text_, block.umd_text_color[window]);
        SelectQuietly(umd_back_, block.umd_back_color[window]);
    } else {
        SelectQuietly(resolution_text_, block.resolution_text_color[window]);
        SelectQuietly(resolution_back_, block.resolution_back_color[window]);
    }
}

void MultiviewerColourPage::OnChannelChanged(ColourSection section, int entry) {
    if (entry < 0) {
        return;
    }
    ChannelOf(section) = static_cast<uint8_t>(entry);
    ShowChannelColours(section);
}

void MultiviewerColourPage::OnColourChanged(int list_id, int entry) {
    const auto row = std::find_if(kColourLists.begin(), kColourLists.end(),
                                  [list_id](const ColourList& r) { return r.list_id == list_id; });
    if (entry < 0 || row == kColourLists.end()) {
        return;
    }
    ChooseColour(Link(), Multiviewer(), CommandLink(), row->field, ChannelOf(row->section),
                 static_cast<uint8_t>(entry));
}

void MultiviewerColourPage::PaintPage(QPainter& painter) {
    UseSectionTextPen(painter);
    DrawHeading(painter, kUmdHeading, QStringLiteral("The UMD"));
    DrawHeading(painter, kResolutionHeading, QStringLiteral("The Resolution"));
    UseSectionLinePen(painter);
    painter.drawLine(kUmdDivider);
    painter.drawLine(kResolutionDivider);
}

}  // namespace panoptix
