#include "switcher/pages/switcher_key_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "switcher/core/settings_rules.h"
#include "switcher/core/switcher_controls.h"

namespace panoptix {
namespace {

constexpr int kSourceRowY = 30;
constexpr std::array<int, 3> kSliderRowsY{90, 160, 230};
constexpr std::array<const char*, 3> kChannelCaptions{"Red", "Green", "Blue"};

}  // namespace

SwitcherKeyPage::SwitcherKeyPage(SwitcherPanel& panel, QWidget* parent)
    : SwitcherSettingsPage(panel, sw_id::kKey1Group, parent) {
    AddCaption(QStringLiteral("Video Source"), ListCaptionAt(kSourceRowY));
    QComboBox* source = AddList(sw_id::kKey1SourceList, ListAt(kSourceRowY), SourceListEntries(),
                                StoredListEntry(Data().key1_source, kSourceListEntries));
    connect(source, &QComboBox::activated, this,
            [this](int index) { Panel().PickKey1Source(index); });

    const ColourLevels stored = Key1Levels(Data());
    const std::array<int, 3> levels{stored.red, stored.green, stored.blue};
    for (size_t channel = 0; channel < sliders_.size(); ++channel) {
        const int y = kSliderRowsY[channel];
        AddCaption(QString::fromUtf8(kChannelCaptions[channel]), SliderCaptionAt(y));
        sliders_[channel] =
            AddSlider(sw_id::kKey1Sliders[channel], SliderAt(y), kLevelMax, levels[channel]);
        fields_[channel] = AddField(sw_id::kLevelFields[channel], FieldAt(y));
        fields_[channel]->setText(QString::fromStdString(KeyLevelText(levels[channel])));
        connect(sliders_[channel], &QSlider::valueChanged, this,
                [this, channel](int level) { OnLevelChanged(channel, level); });
    }
    FinishControls();
}

void SwitcherKeyPage::OnLevelChanged(size_t channel, int level) {
    Panel().MoveKey1Slider(static_cast<ColourChannel>(channel), level);
    fields_[channel]->setText(QString::fromStdString(KeyLevelText(level)));
}

void SwitcherKeyPage::OnSliderReleased(QSlider*) {
    Panel().ReleaseKey1Sliders({static_cast<uint8_t>(sliders_[0]->value()),
                                static_cast<uint8_t>(sliders_[1]->value()),
                                static_cast<uint8_t>(sliders_[2]->value())});
}

}  // namespace panoptix
