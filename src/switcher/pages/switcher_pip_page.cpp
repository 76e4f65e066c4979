#include "switcher/pages/switcher_pip_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "switcher/core/switcher_controls.h"

namespace panoptix {
namespace {

using ListPick = void (SwitcherPanel::*)(int);

struct ListRow {
    int list_id;
    const char* caption;
    int y;
    uint8_t AllSwitcherPageData::*field;
    ListPick pick;
};

struct SliderRow {
    PipSlider slider;
    const char* caption;
    int y;
};

constexpr std::array<SliderRow, 3> kSliderRows{{
    {PipSlider::X, "Window X Pos", 185},
    {PipSlider::Y, "Window Y Pos", 250},
    {PipSlider::Width, "Window Width", 315},
}};

QString FieldText(PipSlider slider, int position) {
    return QString::fromStdString(PipFieldText(slider, position));
}

}  // namespace

SwitcherPipPage::SwitcherPipPage(SwitcherPanel& panel, QWidget* parent)
    : SwitcherSettingsPage(panel, sw_id::kPipGroup, parent) {
    // "Video Source" is a plain drop-down: typed entries would send indexes past the list.
    const ListRow lists[] = {
        {sw_id::kPipSourceList, "Video Source", 30, &AllSwitcherPageData::pip_source,
         &SwitcherPanel::PickPipSource},
        {sw_id::kPipBorderEnableList, "Border Enable", 66, &AllSwitcherPageData::pip_border_enable,
         &SwitcherPanel::PickPipBorderEnable},
        {sw_id::kPipBorderColourList, "Border Color", 102, &AllSwitcherPageData::pip_border_color,
         &SwitcherPanel::PickPipBorderColour},
        {sw_id::kPipBorderWidthList, "Border Width", 138, &AllSwitcherPageData::pip_border_width,
         &SwitcherPanel::PickPipBorderWidth},
    };
    const QStringList entries[] = {SourceListEntries(), ListEntries(kBorderEnableTexts),
                                   ListEntries(kBorderColourTexts), ListEntries(kBorderWidthTexts)};
    for (size_t row = 0; row < std::size(lists); ++row) {
        const ListRow& list_row = lists[row];
        AddCaption(QString::fromUtf8(list_row.caption), ListCaptionAt(list_row.y));
        const int count = static_cast<int>(entries[row].size());
        QComboBox* list = AddList(list_row.list_id, ListAt(list_row.y), entries[row],
                                  StoredListEntry(Data().*list_row.field, count));
        const ListPick pick = list_row.pick;
        connect(list, &QComboBox::activated, this,
                [this, pick](int index) { (Panel().*pick)(index); });
    }

    for (size_t row = 0; row < kSliderRows.size(); ++row) {
        const SliderRow& slider_row = kSliderRows[row];
        const int position = PipSliderPosition(Data(), slider_row.slider);
        AddCaption(QString::fromUtf8(slider_row.caption), SliderCaptionAt(slider_row.y));
        sliders_[row] =
            AddSlider(sw_id::kPipSliders[row], SliderAt(slider_row.y), kPipSliderMax, position);
        fields_[row] = AddField(sw_id::kLevelFields[row], FieldAt(slider_row.y));
        fields_[row]->setText(FieldText(slider_row.slider, position));
        QLineEdit* field = fields_[row];
        const PipSlider slider = slider_row.slider;
        connect(sliders_[row], &QSlider::valueChanged, this,
                [field, slider](int value) { field->setText(FieldText(slider, value)); });
    }
    FinishControls();
}

void SwitcherPipPage::OnSliderReleased(QSlider* slider) {
    for (size_t row = 0; row < sliders_.size(); ++row) {
        if (sliders_[row] == slider) {
            Panel().ReleasePipSlider(kSliderRows[row].slider, slider->value());
            return;
        }
    }
}

}  // namespace panoptix
