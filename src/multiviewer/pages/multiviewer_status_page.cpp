#include "multiviewer/pages/multiviewer_status_page.h"

#include <QLabel>
#include <QLineEdit>

#include "controls/wait_cursor.h"
#include "multiviewer/core/multiviewer_tables.h"
#include "multiviewer/core/preview_geometry.h"
#include "multiviewer/core/status_query.h"
#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {
namespace {

struct FieldRow {
    int field_id;
    const char* caption;
    int y;
};

// "Current Mode" is part of the page but never shown.
constexpr FieldRow kFields[] = {
    {mv_id::kCurrentModeField, "Current Mode", 20},
    {mv_id::kAudioMeterField, "Audio Metra", 60},
    {mv_id::kAudioSourceField, "Audio Source", 105},
    {mv_id::kUmdStateField, "Umd  State", 150},
};
constexpr int kCaptionX = 80;
constexpr int kCaptionWidth = 120;
constexpr int kFieldX = 210;
constexpr int kFieldWidth = 150;
constexpr int kRowHeight = 24;

QString OffOn(uint8_t value) {
    return value == 0 ? QStringLiteral("OFF") : QStringLiteral("ON");
}

}  // namespace

MultiviewerStatusPage::MultiviewerStatusPage(DeviceLink& link, MultiviewerState& multiviewer,
                                             QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    std::array<QLineEdit*, std::size(kFields)> fields{};
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const FieldRow& row = kFields[i];
        QLabel* caption = AddCaption(QString::fromUtf8(row.caption),
                                     {kCaptionX, row.y, kCaptionWidth, kRowHeight});
        fields[i] = AddField(row.field_id, {kFieldX, row.y, kFieldWidth, kRowHeight});
        fields[i]->setReadOnly(true);
        if (row.field_id == mv_id::kCurrentModeField) {
            caption->hide();
            fields[i]->hide();
        }
    }
    FinishControls();

    {
        const WaitCursor wait;
        // The status page reads the device over the LAN whatever the connection mode says.
        QueryStatusOverLan(Link(), Multiviewer());
    }
    RecomputePreview(Multiviewer());

    const All16ViewPageData& block = Multiviewer().m_all_16_view_page_data;
    const std::string_view mode = LayoutText(block.view_mode_type);
    fields[0]->setText(QString::fromUtf8(mode.data(), static_cast<qsizetype>(mode.size())));
    fields[1]->setText(OffOn(block.audio_enable));
    fields[2]->setText(QString::asprintf("CH_%d", block.audio_source));
    fields[3]->setText(OffOn(block.umd_enable));
}

}  // namespace panoptix
