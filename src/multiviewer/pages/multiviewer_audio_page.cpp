#include "multiviewer/pages/multiviewer_audio_page.h"

#include <QLabel>

#include "multiviewer/pages/multiviewer_control_ids.h"

namespace panoptix {

MultiviewerAudioPage::MultiviewerAudioPage(DeviceLink& link, MultiviewerState& multiviewer,
                                           QWidget* parent)
    : MultiviewerSubPage(link, multiviewer, parent) {
    const ListRow histogram_row{
        mv_id::kAudioHistogramList, "Audio Histogram", {80, 60, 120, 24}, {210, 60, 120, 24}};
    const ListRow source_row{
        mv_id::kAudioPageSourceList, "Audio Source", {80, 105, 120, 24}, {210, 105, 120, 24}};
    QComboBox* histogram = AddListRow(histogram_row, OffOnEntries());
    QComboBox* source = AddListRow(source_row, NumberedEntries("CH_%d", 1, kMultiviewerWindows));
    const All16ViewPageData& block = Multiviewer().m_all_16_view_page_data;
    SelectQuietly(histogram, block.audio_enable);
    SelectQuietly(source, block.audio_source - 1);
    connect(histogram, &QComboBox::activated, this, &MultiviewerAudioPage::OnHistogramChanged);
    connect(source, &QComboBox::activated, this, &MultiviewerAudioPage::OnSourceChanged);
    // The operator never sees this page's controls; the settings page offers the same.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<QLabel*>(control) != nullptr || qobject_cast<QComboBox*>(control)) {
            control->hide();
        }
    }
    FinishControls();
}

void MultiviewerAudioPage::OnHistogramChanged(int entry) {
    if (entry < 0) {
        return;
    }
    // This page always uses the LAN.
    ChooseAudioMeters(Link(), Multiviewer(), CommandRoute::Lan, static_cast<uint8_t>(entry));
}

void MultiviewerAudioPage::OnSourceChanged(int entry) {
    if (entry < 0) {
        return;
    }
    SendAudioSource(Link(), Multiviewer(), CommandRoute::Lan, static_cast<uint8_t>(entry + 1));
}

}  // namespace panoptix
