#include "switcher/pages/switcher_chroma_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "switcher/core/settings_rules.h"
#include "switcher/core/switcher_controls.h"

namespace panoptix {
namespace {

constexpr int kSourceRowY = 30;
constexpr int kChromaTypeRowY = 66;
constexpr std::array<int, 3> kSliderRowsY{120, 190, 260};
constexpr std::array<const char*, 3> kChannelCaptions{"Red", "Green", "Blue"};

std::array<int, 3> StoredLevels(const AllSwitcherPageData& data) {
    ColourLevels levels;
    if (!Key2Levels(data, levels)) {
        return {0, 0, 0};
    }
    return {levels.red, levels.green, levels.blue};
}

}  // namespace

SwitcherChromaPage::SwitcherChromaPage(SwitcherPanel& panel, QWidget* parent)
    : SwitcherSettingsPage(panel, sw_id::kKey2Group, parent) {
    AddCaption(QStringLiteral("Video Source"), ListCaptionAt(kSourceRowY));
    QComboBox* source = AddList(sw_id::kKey2SourceList, ListAt(kSourceRowY), SourceListEntries(),
                                StoredListEntry(Data().key2_source, kSourceListEntries));
    connect(source, &QComboBox::activated, this,
            [this](int index) { Panel().PickKey2Source(index); });

    AddCaption(QStringLiteral("Chorma Type"), ListCaptionAt(kChromaTypeRowY));
    QComboBox* chroma_type =
        AddList(sw_id::kChromaTypeList, ListAt(kChromaTypeRowY), ListEntries(kChromaTypeTexts),
                StoredListEntry(Data().chroma_type, static_cast<int>(kChromaTypeTexts.size())));
    connect(chroma_type, &QComboBox::activated, this,
            [this](int index) { OnChromaTypePicked(index); });

    const std::array<int, 3> levels = StoredLevels(Data());
    for (size_t channel = 0; channel < sliders_.size(); ++channel) {
        const int y = kSliderRowsY[channel];
        AddCaption(QString::fromUtf8(kChannelCaptions[channel]), SliderCaptionAt(y));
        sliders_[channel] =
            AddSlider(sw_id::kKey2Sliders[channel], SliderAt(y), kLevelMax, levels[channel]);
        fields_[channel] = AddField(sw_id::kLevelFields[channel], FieldAt(y));
        connect(sliders_[channel], &QSlider::valueChanged, this,
                [this, channel](int level) { OnLevelChanged(channel, level); });
    }
    ShowLevels();
    FinishControls();
}

void SwitcherChromaPage::OnChromaTypePicked(int index) {
    Panel().PickChromaType(index);
    if (index < 0) {
        return;
    }
    const std::array<int, 3> levels = StoredLevels(Data());
    for (size_t channel = 0; channel < sliders_.size(); ++channel) {
        sliders_[channel]->setValue(levels[channel]);
    }
    ShowLevels();
}

void SwitcherChromaPage::ShowLevels() {
    for (size_t channel = 0; channel < sliders_.size(); ++channel) {
        fields_[channel]->setText(QString::fromStdString(KeyLevelText(sliders_[channel]->value())));
    }
}

void SwitcherChromaPage::OnLevelChanged(size_t channel, int level) {
    // The slider shows its position; the trace tells the level stored for the current type.
    fields_[channel]->setText(QString::fromStdString(KeyLevelText(level)));
    TraceKey2Level(Data(), static_cast<ColourChannel>(channel));
}

void SwitcherChromaPage::OnSliderReleased(QSlider*) {
    Panel().ReleaseKey2Sliders({static_cast<uint8_t>(sliders_[0]->value()),
                                static_cast<uint8_t>(sliders_[1]->value()),
                                static_cast<uint8_t>(sliders_[2]->value())});
}

}  // namespace panoptix
