#include "switcher_model.h"

#include <cstdio>
#include <utility>

#include "state_key_table.h"

namespace panoptix::devsim {
namespace {

namespace cmd {
constexpr uint8_t kProgram = 0x80;
constexpr uint8_t kPreview = 0x81;
constexpr uint8_t kLever = 0x82;
constexpr uint8_t kCut = 0x83;
constexpr uint8_t kAuto = 0x84;
constexpr uint8_t kFadeToBlack = 0x85;
constexpr uint8_t kPip = 0x86;
constexpr uint8_t kOnAir = 0x88;
constexpr uint8_t kOnAir2 = 0x89;
constexpr uint8_t kBackground = 0x8A;
constexpr uint8_t kKey1 = 0x8B;
constexpr uint8_t kKey2 = 0x8C;
constexpr uint8_t kMix = 0x8D;
constexpr uint8_t kDip = 0x8E;
constexpr uint8_t kWipe = 0x8F;
constexpr uint8_t kKey1Colour = 0x94;
constexpr uint8_t kKey2Colour = 0x99;
constexpr uint8_t kPipX = 0xA0;
constexpr uint8_t kPipY = 0xA1;
constexpr uint8_t kPipWidth = 0xA2;
}  // namespace cmd

constexpr uint8_t kLastSource = 12;
constexpr uint8_t kLeverEnd = 129;
// The last progress the panel sends; 129 itself is never sent.
constexpr uint8_t kLeverLastStep = 128;

enum class Layer { Pip = 1, Key1 = 2, Key2 = 3 };

const char* TransitionTypeName(int type) {
    switch (type) {
        case 1:
            return "MIX";
        case 2:
            return "DIP";
        case 3:
            return "WIPE";
        default:
            return "?";
    }
}

std::string SourceListName(uint8_t index) {
    if (index == 10) {
        return "MP (index 10)";
    }
    char text[32];
    std::snprintf(text, sizeof text, "Cam %02d (index %u)", index + 1, index);
    return text;
}

std::string PlainIndex(uint8_t value) {
    return std::to_string(value);
}

std::string BorderColourName(uint8_t value) {
    static const char* const kNames[] = {"White", "Red", "Green", "Blue"};
    return value < 4 ? kNames[value] : std::to_string(value);
}

std::string BorderWidthName(uint8_t value) {
    return std::to_string(value + 1) + " (index " + std::to_string(value) + ")";
}

std::string ChromaTypeName(uint8_t value) {
    return value == 0 ? "Key Light Blue" : "Key Light Green";
}

std::string EnableName(uint8_t value) {
    return value == 0 ? "off" : "on";
}

std::string OnOff(uint8_t value) {
    return value == 0 ? "off" : "on";
}

std::string ShortPayload(const FrameView& frame, size_t expected) {
    return std::to_string(frame.Payload().size()) + " payload bytes, expected " +
           std::to_string(expected);
}

// A one-byte setting: its command, field, highest value, words, state file key and how to
// name a value.
struct Setting {
    uint8_t command;
    uint8_t SwitcherDeviceState::*field;
    uint8_t max;
    const char* what;
    const char* key;
    std::string (*name)(uint8_t);
};

constexpr Setting kSettings[] = {
    {0x90, &SwitcherDeviceState::dip_source, 255, "dip source", "dip_source", PlainIndex},
    {0x91, &SwitcherDeviceState::wipe_source, 255, "wipe source", "wipe_source", PlainIndex},
    {0x92, &SwitcherDeviceState::wipe_style, 8, "wipe style", "wipe_style", PlainIndex},
    {0x93, &SwitcherDeviceState::key1_source, 10, "KEY 1 source", "key1_source", SourceListName},
    {0x97, &SwitcherDeviceState::key2_source, 10, "KEY 2 source", "key2_source", SourceListName},
    {0x98, &SwitcherDeviceState::chroma_type, 1, "chroma type", "chroma_type", ChromaTypeName},
    {0x9C, &SwitcherDeviceState::pip_source, 10, "PIP source", "pip_source", SourceListName},
    {0x9D, &SwitcherDeviceState::pip_border_enable, 1, "PIP border", "pip_border_enable",
     EnableName},
    {0x9E, &SwitcherDeviceState::pip_border_color, 3, "PIP border colour", "pip_border_color",
     BorderColourName},
    {0x9F, &SwitcherDeviceState::pip_border_width, 6, "PIP border width", "pip_border_width",
     BorderWidthName},
};

const Setting* FindSetting(uint8_t command) {
    for (const auto& setting : kSettings) {
        if (setting.command == command) {
            return &setting;
        }
    }
    return nullptr;
}

}  // namespace

std::string SwitcherSourceName(uint8_t source) {
    switch (source) {
        case 0:
            return "none";
        case 11:
            return "11 (BLK)";
        case 12:
            return "12 (MP1)";
        default:
            return std::to_string(source);
    }
}

SwitcherModel::SwitcherModel(DeviceIdentity identity) : DeviceModel(std::move(identity)) {}

Response SwitcherModel::OnFrame(const FrameView& frame, Link) {
    switch (frame.Command()) {
        case cmd::kProgram:
            return SelectSource(frame, state_.program_source, "program");
        case cmd::kPreview:
            return SelectSource(frame, state_.preview_source, "preview");
        case cmd::kLever:
            return MoveLever(frame);
        case cmd::kCut:
            return Cut();
        case cmd::kAuto:
            // The panel moves the lever itself and sends its steps; they carry the transition.
            return Response{"auto transition (" + Buses() + ")", {}};
        case cmd::kFadeToBlack:
            return Toggle(state_.ftb_on, "fade to black");
        case cmd::kPip:
            return SetLayer(frame, static_cast<int>(Layer::Pip));
        case cmd::kOnAir:
            return SetFromPressedState(frame, state_.on_air, "ON AIR");
        case cmd::kOnAir2:
            return SetFromPressedState(frame, state_.on_air_2, "second ON AIR");
        case cmd::kBackground:
            return SetBackground(frame);
        case cmd::kKey1:
            return SetLayer(frame, static_cast<int>(Layer::Key1));
        case cmd::kKey2:
            return SetLayer(frame, static_cast<int>(Layer::Key2));
        case cmd::kMix:
            return SetTransitionType(1);
        case cmd::kDip:
            return SetTransitionType(2);
        case cmd::kWipe:
            return SetTransitionType(3);
        case cmd::kKey1Colour:
            return SetColour(frame, state_.key1_red, state_.key1_green, state_.key1_blue,
                             "KEY 1 colour");
        case cmd::kKey2Colour: {
            const size_t t = state_.chroma_type & 1u;
            return SetColour(frame, state_.chroma_red[t], state_.chroma_green[t],
                             state_.chroma_blue[t],
                             "KEY 2 " + ChromaTypeName(state_.chroma_type) + " colour");
        }
        case cmd::kPipX:
        case cmd::kPipY:
        case cmd::kPipWidth:
            return SetPipGeometry(frame);
        default:
            if (FindSetting(frame.Command()) != nullptr) {
                return SetSetting(frame);
            }
            return NotForThisDevice(frame, "switcher");
    }
}

std::string SwitcherModel::Buses() const {
    return "program " + SwitcherSourceName(state_.program_source) + ", preview " +
           SwitcherSourceName(state_.preview_source);
}

void SwitcherModel::ExchangeBuses() {
    std::swap(state_.program_source, state_.preview_source);
}

Response SwitcherModel::SelectSource(const FrameView& frame, uint8_t& bus, const char* bus_name) {
    const auto source = frame.PayloadByte(0);
    if (!source) {
        return Refused(std::string(bus_name) + " source", ShortPayload(frame, 1));
    }
    if (*source > kLastSource) {
        return Refused(std::string(bus_name) + " source",
                       "source " + std::to_string(*source) + " is not 1..12");
    }
    bus = *source;
    return Response{std::string(bus_name) + " source " + SwitcherSourceName(*source), {}};
}

Response SwitcherModel::MoveLever(const FrameView& frame) {
    const auto direction = frame.PayloadByte(0);
    const auto progress = frame.PayloadByte(1);
    if (!direction || !progress) {
        return Refused("lever", ShortPayload(frame, 2));
    }
    if (*direction > 1 || *progress > kLeverEnd) {
        return Refused("lever", "direction " + std::to_string(*direction) + " progress " +
                                    std::to_string(*progress) + " is not a lever step");
    }
    std::string account =
        "lever direction " + std::to_string(*direction) + " progress " + std::to_string(*progress);
    // The switcher completes at progress 128, the panel only when its lever reaches 129, which
    // it never sends. Until the panel turns the direction, the same step again changes nothing,
    // and a step back below 128 means the lever was released short of its end and pulled back:
    // the transition is open again and its exchange undone.
    if (state_.transition_complete != 0 && *direction == state_.lever_direction) {
        if (*progress >= kLeverLastStep) {
            return Response{account + " -> transition already complete", {}};
        }
        ExchangeBuses();
        state_.transition_complete = 0;
        state_.transition_under_way = 1;
        account += " -> transition re-opened: " + Buses();
    }
    state_.transition_complete = 0;
    // A transition that was under way in the other direction has reached its end on the
    // panel even if its last step did not arrive (a fast drag skips steps).
    if (state_.transition_under_way != 0 && *direction != state_.lever_direction) {
        ExchangeBuses();
        state_.transition_under_way = 0;
        account += " -> previous transition ended: " + Buses();
    }
    state_.lever_direction = *direction;
    state_.lever_progress = *progress;
    if (*progress >= kLeverLastStep) {
        ExchangeBuses();
        state_.transition_under_way = 0;
        state_.transition_complete = 1;
        account += " -> transition complete: " + Buses();
    } else if (*progress > 0) {
        state_.transition_under_way = 1;
    } else if (state_.transition_under_way != 0) {
        state_.transition_under_way = 0;
        account += " -> lever back at its start, transition abandoned";
    }
    return Response{account, {}};
}

Response SwitcherModel::Cut() {
    ExchangeBuses();
    return Response{"cut -> " + Buses(), {}};
}

Response SwitcherModel::Toggle(uint8_t& field, const char* what) {
    field = field == 0 ? 1 : 0;
    return Response{std::string(what) + " " + OnOff(field), {}};
}

Response SwitcherModel::SetFromPressedState(const FrameView& frame, uint8_t& field,
                                            const char* what) {
    // The frame carries the state from before the press.
    const auto before = frame.PayloadByte(0);
    if (!before) {
        return Refused(what, ShortPayload(frame, 1));
    }
    field = *before == 0 ? 1 : 0;
    return Response{std::string(what) + " " + OnOff(field), {}};
}

Response SwitcherModel::SetLayer(const FrameView& frame, int layer) {
    uint8_t* field = &state_.pip_on;
    const char* what = "PIP layer";
    if (layer == static_cast<int>(Layer::Key1)) {
        field = &state_.key1_on;
        what = "KEY 1 layer";
    } else if (layer == static_cast<int>(Layer::Key2)) {
        field = &state_.key2_on;
        what = "KEY 2 layer";
    }
    if (layer == static_cast<int>(Layer::Pip)) {
        // The PIP frame has no payload: it toggles.
        *field = *field == 0 ? 1 : 0;
    } else {
        const auto before = frame.PayloadByte(0);
        if (!before) {
            return Refused(what, ShortPayload(frame, 1));
        }
        *field = *before == 0 ? 1 : 0;
    }
    if (*field != 0) {
        // At most one layer is on.
        state_.pip_on = layer == static_cast<int>(Layer::Pip) ? 1 : 0;
        state_.key1_on = layer == static_cast<int>(Layer::Key1) ? 1 : 0;
        state_.key2_on = layer == static_cast<int>(Layer::Key2) ? 1 : 0;
    }
    return Response{std::string(what) + " " + OnOff(*field), {}};
}

Response SwitcherModel::SetBackground(const FrameView& frame) {
    const auto before = frame.PayloadByte(0);
    if (!before) {
        return Refused("background", ShortPayload(frame, 1));
    }
    if (state_.pip_on == 0 && state_.key1_on == 0 && state_.key2_on == 0) {
        state_.bkgd_on = 1;
        return Response{"background stays selected (no layer is on)", {}};
    }
    state_.bkgd_on = *before == 0 ? 1 : 0;
    return Response{std::string("background ") + (state_.bkgd_on != 0 ? "selected" : "deselected"),
                    {}};
}

Response SwitcherModel::SetTransitionType(int type) {
    state_.transition_type = static_cast<uint8_t>(type);
    return Response{std::string("transition type ") + TransitionTypeName(type), {}};
}

Response SwitcherModel::SetSetting(const FrameView& frame) {
    const Setting& setting = *FindSetting(frame.Command());
    const auto value = frame.PayloadByte(0);
    if (!value) {
        return Refused(setting.what, ShortPayload(frame, 1));
    }
    if (*value > setting.max) {
        return Refused(setting.what, "value " + std::to_string(*value) + " is not 0.." +
                                         std::to_string(setting.max));
    }
    state_.*setting.field = *value;
    return Response{std::string(setting.what) + " " + setting.name(*value), {}};
}

Response SwitcherModel::SetColour(const FrameView& frame, uint8_t& red, uint8_t& green,
                                  uint8_t& blue, const std::string& what) {
    const auto r = frame.PayloadByte(0);
    const auto g = frame.PayloadByte(1);
    const auto b = frame.PayloadByte(2);
    if (!r || !g || !b) {
        return Refused(what, ShortPayload(frame, 3));
    }
    red = *r;
    green = *g;
    blue = *b;
    return Response{what + " red " + std::to_string(red) + " green " + std::to_string(green) +
                        " blue " + std::to_string(blue),
                    {}};
}

Response SwitcherModel::SetPipGeometry(const FrameView& frame) {
    const char* what = "PIP width";
    uint16_t* field = &state_.pip_width;
    if (frame.Command() == cmd::kPipX) {
        what = "PIP horizontal position";
        field = &state_.pip_x;
    } else if (frame.Command() == cmd::kPipY) {
        what = "PIP vertical position";
        field = &state_.pip_y;
    }
    const auto value = frame.PayloadWord(0);
    if (!value) {
        return Refused(what, ShortPayload(frame, 2));
    }
    *field = *value;
    return Response{std::string(what) + " " + std::to_string(*value), {}};
}

namespace {

using S = SwitcherDeviceState;

// The state key of the one-byte setting kSettings[i].
template <size_t i>
constexpr StateKeyEntry<S> SettingKey() {
    return NumberKey<kSettings[i].field>(kSettings[i].key, 0, kSettings[i].max);
}

constexpr auto kByChromaType = KeyIndex::Chosen;  // chroma_red.0: blue key, .1: green key

const StateKeyEntry<S> kStateKeys[] = {
    NumberKey<&S::program_source>("program", 0, kLastSource),
    NumberKey<&S::preview_source>("preview", 0, kLastSource),
    NumberKey<&S::lever_direction>("lever_direction", 0, 1),
    NumberKey<&S::transition_type>("transition_type", 0, 3),
    NumberKey<&S::on_air>("on_air", 0, 1),
    NumberKey<&S::on_air_2>("on_air_2", 0, 1),
    NumberKey<&S::bkgd_on>("bkgd", 0, 1),
    NumberKey<&S::pip_on>("pip", 0, 1),
    NumberKey<&S::key1_on>("key1", 0, 1),
    NumberKey<&S::key2_on>("key2", 0, 1),
    NumberKey<&S::ftb_on>("ftb", 0, 1),
    NumberKey<&S::key1_red>("key1_red", 0, 255),
    NumberKey<&S::key1_green>("key1_green", 0, 255),
    NumberKey<&S::key1_blue>("key1_blue", 0, 255),
    NumberKey<&S::chroma_red>("chroma_red", 0, 255).Indexed(kByChromaType, 2),
    NumberKey<&S::chroma_green>("chroma_green", 0, 255).Indexed(kByChromaType, 2),
    NumberKey<&S::chroma_blue>("chroma_blue", 0, 255).Indexed(kByChromaType, 2),
    NumberKey<&S::pip_x>("pip_x", 0, 65535),
    NumberKey<&S::pip_y>("pip_y", 0, 65535),
    NumberKey<&S::pip_width>("pip_width", 0, 65535),
    SettingKey<0>(),
    SettingKey<1>(),
    SettingKey<2>(),
    SettingKey<3>(),
    SettingKey<4>(),
    SettingKey<5>(),
    SettingKey<6>(),
    SettingKey<7>(),
    SettingKey<8>(),
    SettingKey<9>(),
};
static_assert(std::size(kSettings) == 10, "every one-byte setting has its state key");

}  // namespace

std::vector<std::string> SwitcherModel::StateLines() const {
    return StateKeyLines<S>(kStateKeys, state_);
}

bool SwitcherModel::SetStateValue(std::string_view key, std::string_view value,
                                  std::string& error) {
    return SetStateKey<S>(kStateKeys, state_, key, value, error, "not a switcher key");
}

}  // namespace panoptix::devsim
