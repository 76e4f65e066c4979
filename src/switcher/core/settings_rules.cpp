#include "switcher/core/settings_rules.h"

#include <algorithm>
#include <cstdio>

#include "link/trace_events.h"

namespace panoptix {
namespace {

// A list pick: an index within 0..max is stored in field and sent with code.
SwitcherCommands PickListEntry(uint8_t& field, SwitcherCode code, int index, int max) {
    if (index < 0 || index > max) {
        return {};
    }
    field = static_cast<uint8_t>(index);
    return {MakeSwitcherCommand(code, field)};
}

bool IsLevel(int level) {
    return level >= 0 && level <= kLevelMax;
}

constexpr int kPipStep[] = {16, 9, 16};
constexpr SwitcherCode kPipCodes[] = {SwitcherCode::PipX, SwitcherCode::PipY,
                                      SwitcherCode::PipWidth};

uint16_t AllSwitcherPageData::*PipField(PipSlider slider) {
    switch (slider) {
        case PipSlider::X:
            return &AllSwitcherPageData::pip_x;
        case PipSlider::Y:
            return &AllSwitcherPageData::pip_y;
        case PipSlider::Width:
            break;
    }
    return &AllSwitcherPageData::pip_width;
}

size_t PipIndex(PipSlider slider) {
    return std::min<size_t>(static_cast<size_t>(slider), 2);
}

constexpr const char* kLevelTraces[] = {" r = %d \n", " g = %d \n", " b = %d \n"};

}  // namespace

std::array<std::string, kSourceListEntries> SourceListTexts() {
    std::array<std::string, kSourceListEntries> texts;
    for (int number = 1; number <= 10; ++number) {
        char text[16];
        std::snprintf(text, sizeof text, "Cam %02d", number);
        texts[static_cast<size_t>(number - 1)] = text;
    }
    texts[10] = "MP";
    return texts;
}

SwitcherCommands SelectWipeStyle(AllSwitcherPageData& data, int pattern) {
    if (pattern < 0 || pattern >= kWipePatterns || data.wipe_style == pattern) {
        return {};
    }
    data.wipe_style = static_cast<uint8_t>(pattern);
    return {MakeSwitcherCommand(SwitcherCode::WipeStyle, data.wipe_style)};
}

SwitcherCommands PickDipSource(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.dip_source, SwitcherCode::DipSource, index, 255);
}

SwitcherCommands PickWipeSource(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.wipe_source, SwitcherCode::WipeSource, index, 255);
}

SwitcherCommands PickWipeStyle(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.wipe_style, SwitcherCode::WipeStyle, index, kWipePatterns - 1);
}

SwitcherCommands PickKey1Source(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.key1_source, SwitcherCode::Key1Source, index, kSourceListEntries - 1);
}

void MoveKey1Slider(AllSwitcherPageData& data, ColourChannel channel, int level) {
    if (!IsLevel(level)) {
        return;
    }
    const auto value = static_cast<uint8_t>(level);
    switch (channel) {
        case ColourChannel::Red:
            data.key1_red = value;
            break;
        case ColourChannel::Green:
            data.key1_green = value;
            break;
        case ColourChannel::Blue:
            data.key1_blue = value;
            break;
    }
}

SwitcherCommands ReleaseKey1Sliders(AllSwitcherPageData& data, ColourLevels levels) {
    data.key1_red = levels.red;
    data.key1_green = levels.green;
    data.key1_blue = levels.blue;
    return {MakeSwitcherCommand(SwitcherCode::Key1Colour, data.key1_red, data.key1_green,
                                data.key1_blue)};
}

ColourLevels Key1Levels(const AllSwitcherPageData& data) {
    return {data.key1_red, data.key1_green, data.key1_blue};
}

SwitcherCommands PickKey2Source(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.key2_source, SwitcherCode::Key2Source, index, kSourceListEntries - 1);
}

SwitcherCommands PickChromaType(AllSwitcherPageData& data, int index) {
    if (index < 0 || index > 1) {
        return {};
    }
    const auto type = static_cast<size_t>(index);
    Trace(type == 0 ? "1 \n" : "2 \n");
    trace::KeyRedLevel(data.chroma_red[type]);
    trace::KeyGreenLevel(data.chroma_green[type]);
    trace::KeyBlueLevel(data.chroma_blue[type]);
    data.chroma_type = static_cast<uint8_t>(index);
    return {MakeSwitcherCommand(SwitcherCode::ChromaType, data.chroma_type)};
}

bool Key2Levels(const AllSwitcherPageData& data, ColourLevels& levels) {
    if (data.chroma_type > 1) {
        return false;
    }
    const size_t type = data.chroma_type;
    levels = {data.chroma_red[type], data.chroma_green[type], data.chroma_blue[type]};
    return true;
}

void TraceKey2Level(const AllSwitcherPageData& data, ColourChannel channel) {
    ColourLevels levels;
    if (!Key2Levels(data, levels)) {
        return;
    }
    const uint8_t values[] = {levels.red, levels.green, levels.blue};
    const auto at = static_cast<size_t>(channel);
    if (at < 3) {
        Trace(kLevelTraces[at], values[at]);
    }
}

SwitcherCommands ReleaseKey2Sliders(AllSwitcherPageData& data, ColourLevels levels) {
    if (data.chroma_type > 1) {
        return {};
    }
    const size_t type = data.chroma_type;
    data.chroma_red[type] = levels.red;
    data.chroma_green[type] = levels.green;
    data.chroma_blue[type] = levels.blue;
    trace::ReplyCommandOffset(data.chroma_type);
    return {MakeSwitcherCommand(SwitcherCode::Key2Colour, data.chroma_red[type],
                                data.chroma_green[type], data.chroma_blue[type])};
}

SwitcherCommands PickPipSource(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.pip_source, SwitcherCode::PipSource, index, kSourceListEntries - 1);
}

SwitcherCommands PickPipBorderEnable(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.pip_border_enable, SwitcherCode::PipBorderEnable, index,
                         static_cast<int>(kBorderEnableTexts.size()) - 1);
}

SwitcherCommands PickPipBorderColour(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.pip_border_color, SwitcherCode::PipBorderColour, index,
                         static_cast<int>(kBorderColourTexts.size()) - 1);
}

SwitcherCommands PickPipBorderWidth(AllSwitcherPageData& data, int index) {
    return PickListEntry(data.pip_border_width, SwitcherCode::PipBorderWidth, index,
                         static_cast<int>(kBorderWidthTexts.size()) - 1);
}

int PipSliderValue(PipSlider slider, int position) {
    return position * kPipStep[PipIndex(slider)];
}

int PipSliderPosition(const AllSwitcherPageData& data, PipSlider slider) {
    const int value = data.*PipField(slider);
    return std::min(value / kPipStep[PipIndex(slider)], kPipSliderMax);
}

SwitcherCommands ReleasePipSlider(AllSwitcherPageData& data, PipSlider slider, int position) {
    if (position < 0 || position > kPipSliderMax) {
        return {};
    }
    uint16_t& field = data.*PipField(slider);
    field = static_cast<uint16_t>(PipSliderValue(slider, position));
    return {MakeSwitcherWordCommand(kPipCodes[PipIndex(slider)], field)};
}

int StoredListEntry(uint8_t stored, int entries) {
    return stored < entries ? stored : -1;
}

std::string KeyLevelText(int level) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", level);
    return text;
}

std::string PipFieldText(PipSlider slider, int position) {
    return std::to_string(PipSliderValue(slider, position));
}

}  // namespace panoptix
