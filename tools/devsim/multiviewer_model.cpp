#include "multiviewer_model.h"

#include <algorithm>

#include "state_key_table.h"
#include "text_codec.h"

namespace panoptix::devsim {
namespace {

namespace cmd {
constexpr uint8_t kResolution = 0x19;
constexpr uint8_t kLabel = 0x1E;
constexpr uint8_t kStatus = 0x32;
constexpr uint8_t kLayout = 0x33;
constexpr uint8_t kSource = 0x34;
constexpr uint8_t kUmdEnable = 0x36;
constexpr uint8_t kAudioEnable = 0x37;
constexpr uint8_t kDefaults = 0x38;
constexpr uint8_t kAudioSource = 0x39;
constexpr uint8_t kResolutionEnable = 0x3A;
constexpr uint8_t kUmdTextColour = 0x3B;
constexpr uint8_t kUmdBackColour = 0x3C;
constexpr uint8_t kResolutionTextColour = 0x3D;
constexpr uint8_t kResolutionBackColour = 0x3E;
constexpr uint8_t kBorder = 0x3F;
constexpr uint8_t kLock = 0x50;
}  // namespace cmd

constexpr uint8_t kLayoutCodes[] = {1, 4, 6, 8, 9, 10, 16};

struct ResolutionRow {
    uint8_t code;
    const char* name;
};
constexpr ResolutionRow kResolutions[] = {
    {7, "1080p60"},  {11, "1080p50"}, {9, "1080i60"}, {1, "1080i50"}, {3, "1080p30"},
    {13, "1080p25"}, {5, "1080p24"},  {14, "720p60"}, {6, "720p50"},
};

constexpr uint8_t kMaxColour = 15;

// Frame offsets of the status reply's fields.
namespace at {
constexpr size_t kLayout = 18;
constexpr size_t kResolution = 19;
constexpr size_t kUmdEnable = 20;
constexpr size_t kAudioEnable = 21;
constexpr size_t kAudioSource = 22;
constexpr size_t kResolutionEnable = 23;
constexpr size_t kLabelSlots = 24;
constexpr size_t kLabelSlotSize = 33;
constexpr size_t kSources = 552;
constexpr size_t kBorder = 600;
constexpr size_t kLock = 601;
constexpr size_t kUmdTextColours = 602;
constexpr size_t kUmdBackColours = 618;
constexpr size_t kResolutionTextColours = 634;
constexpr size_t kResolutionBackColours = 650;
constexpr size_t kLastField = 665;
}  // namespace at

// The label command's fixed fields after the window number: 01 00 01 00 01 00 01.
constexpr uint8_t kLabelFixedFields[] = {1, 0, 1, 0, 1, 0, 1};
constexpr size_t kLabelTextOffset = 1 + sizeof kLabelFixedFields;

std::string OnOff(uint8_t value) {
    if (value == 0) {
        return "off";
    }
    return value == 1 ? "on" : "on (value " + std::to_string(value) + ")";
}

std::string WindowsText(uint8_t channel) {
    return channel == 0 ? "all windows" : "window " + std::to_string(channel);
}

std::string ShortPayload(const FrameView& frame, size_t expected) {
    return std::to_string(frame.Payload().size()) + " payload bytes, expected " +
           std::to_string(expected);
}

std::string DefaultLabel(int window) {
    return "CAM " + std::to_string(window);
}

}  // namespace

const char* ResolutionName(uint8_t code) {
    for (const auto& row : kResolutions) {
        if (row.code == code) {
            return row.name;
        }
    }
    return nullptr;
}

bool IsLayoutCode(uint8_t code) {
    return std::find(std::begin(kLayoutCodes), std::end(kLayoutCodes), code) !=
           std::end(kLayoutCodes);
}

MultiviewerDeviceState::MultiviewerDeviceState() {
    for (int window = 1; window <= kMultiviewerWindows; ++window) {
        const auto i = static_cast<size_t>(window - 1);
        labels[i] = *Utf8ToUtf16(DefaultLabel(window));
        window_source[i] = static_cast<uint8_t>(window);
        umd_text_color[i] = 0;
        umd_back_color[i] = 1;
        resolution_text_color[i] = 0;
        resolution_back_color[i] = 1;
    }
}

MultiviewerModel::MultiviewerModel(DeviceIdentity identity) : DeviceModel(std::move(identity)) {}

std::vector<uint8_t> MultiviewerModel::StatusPayload() const {
    std::vector<uint8_t> payload(at::kLastField + 1 - kFramePayloadOffset, 0);
    auto put = [&payload](size_t frame_offset, uint8_t value) {
        payload.at(frame_offset - kFramePayloadOffset) = value;
    };
    put(at::kLayout, state_.layout_code);
    put(at::kResolution, state_.resolution_code);
    put(at::kUmdEnable, state_.umd_enable);
    put(at::kAudioEnable, state_.audio_enable);
    put(at::kAudioSource, state_.audio_source);
    put(at::kResolutionEnable, state_.resolution_enable);
    for (size_t w = 0; w < kMultiviewerWindows; ++w) {
        // A slot: the label's byte count, then up to 32 bytes of UTF-16, low byte first.
        const size_t slot = at::kLabelSlots + at::kLabelSlotSize * w;
        const std::string bytes =
            EncodeUtf16Le(std::u16string_view(state_.labels[w]).substr(0, kLabelUnits));
        put(slot, static_cast<uint8_t>(bytes.size()));
        for (size_t b = 0; b < bytes.size(); ++b) {
            put(slot + 1 + b, static_cast<uint8_t>(bytes[b]));
        }
        put(at::kSources + w, state_.window_source[w]);
        put(at::kUmdTextColours + w, state_.umd_text_color[w]);
        put(at::kUmdBackColours + w, state_.umd_back_color[w]);
        put(at::kResolutionTextColours + w, state_.resolution_text_color[w]);
        put(at::kResolutionBackColours + w, state_.resolution_back_color[w]);
    }
    put(at::kBorder, state_.border_enable);
    put(at::kLock, state_.lock_state);
    return payload;
}

Response MultiviewerModel::OnFrame(const FrameView& frame, Link link) {
    switch (frame.Command()) {
        case cmd::kStatus: {
            std::vector<uint8_t> reply = MakeReply(cmd::kStatus, StatusPayload(), link);
            const std::string account =
                "status query -> sent " + std::to_string(reply.size()) + " bytes";
            return Response{account, std::move(reply)};
        }
        case cmd::kLayout:
            return SetLayout(frame);
        case cmd::kResolution:
            return SetResolution(frame);
        case cmd::kResolutionEnable:
            return SetSwitch(frame, state_.resolution_enable, "resolution labels");
        case cmd::kUmdEnable:
            return SetSwitch(frame, state_.umd_enable, "UMD labels");
        case cmd::kAudioEnable:
            return SetSwitch(frame, state_.audio_enable, "audio meters");
        case cmd::kBorder:
            return SetSwitch(frame, state_.border_enable, "window borders");
        case cmd::kLock:
            return SetSwitch(frame, state_.lock_state, "lock");
        case cmd::kAudioSource:
            return SetAudioSource(frame);
        case cmd::kUmdTextColour:
        case cmd::kUmdBackColour:
        case cmd::kResolutionTextColour:
        case cmd::kResolutionBackColour:
            return SetColour(frame);
        case cmd::kDefaults:
            return SetDefaults();
        case cmd::kSource:
            return SetSource(frame);
        case cmd::kLabel:
            return SetLabel(frame);
        default:
            return NotForThisDevice(frame, "multiviewer");
    }
}

Response MultiviewerModel::SetLayout(const FrameView& frame) {
    const auto code = frame.PayloadByte(0);
    if (!code) {
        return Refused("layout", ShortPayload(frame, 1));
    }
    if (!IsLayoutCode(*code)) {
        return Refused("layout", "code " + std::to_string(*code) +
                                     " is not a layout (1, 4, 6, 8, 9, 10, 16 windows)");
    }
    state_.layout_code = *code;
    return Response{"layout " + std::to_string(*code) + (*code == 1 ? " window" : " windows"), {}};
}

Response MultiviewerModel::SetResolution(const FrameView& frame) {
    const auto code = frame.PayloadByte(1);
    if (!code) {
        return Refused("resolution", ShortPayload(frame, 2));
    }
    const char* name = ResolutionName(*code);
    if (name == nullptr) {
        return Refused("resolution", "code " + std::to_string(*code) + " is not a resolution");
    }
    state_.resolution_code = *code;
    return Response{"resolution " + std::string(name) + " (code " + std::to_string(*code) + ")",
                    {}};
}

Response MultiviewerModel::SetSwitch(const FrameView& frame, uint8_t& field, const char* what) {
    const auto value = frame.PayloadByte(0);
    if (!value) {
        return Refused(what, ShortPayload(frame, 1));
    }
    field = *value;
    return Response{std::string(what) + " " + OnOff(*value), {}};
}

Response MultiviewerModel::SetAudioSource(const FrameView& frame) {
    const auto channel = frame.PayloadByte(0);
    if (!channel) {
        return Refused("audio source", ShortPayload(frame, 1));
    }
    if (*channel < 1 || *channel > kMultiviewerWindows) {
        return Refused("audio source", "channel " + std::to_string(*channel) + " is not 1..16");
    }
    state_.audio_source = *channel;
    return Response{"audio source channel " + std::to_string(*channel), {}};
}

Response MultiviewerModel::SetColour(const FrameView& frame) {
    const char* what = "resolution background colour";
    auto* colours = &state_.resolution_back_color;
    switch (frame.Command()) {
        case cmd::kUmdTextColour:
            what = "UMD text colour";
            colours = &state_.umd_text_color;
            break;
        case cmd::kUmdBackColour:
            what = "UMD background colour";
            colours = &state_.umd_back_color;
            break;
        case cmd::kResolutionTextColour:
            what = "resolution text colour";
            colours = &state_.resolution_text_color;
            break;
        default:
            break;
    }
    const auto channel = frame.PayloadByte(0);
    const auto colour = frame.PayloadByte(1);
    if (!channel || !colour) {
        return Refused(what, ShortPayload(frame, 2));
    }
    if (*channel > kMultiviewerWindows) {
        return Refused(what, "window " + std::to_string(*channel) + " is not 0 (all) or 1..16");
    }
    if (*colour > kMaxColour) {
        return Refused(what, "colour " + std::to_string(*colour) + " is not 0..15");
    }
    if (*channel == 0) {
        colours->fill(*colour);
    } else {
        (*colours)[*channel - 1u] = *colour;
    }
    return Response{
        std::string(what) + " " + std::to_string(*colour) + " on " + WindowsText(*channel), {}};
}

Response MultiviewerModel::SetDefaults() {
    // The same defaults the panel assumes after sending this command.
    state_.audio_enable = 1;
    state_.audio_source = 0;
    state_.layout_code = 16;
    state_.resolution_enable = 0;
    state_.resolution_code = kResolutions[0].code;
    state_.umd_enable = 1;
    return Response{
        "set defaults: layout 16 windows, resolution 1080p60, UMD labels on, audio "
        "meters on (source 0), resolution labels off",
        {}};
}

Response MultiviewerModel::SetSource(const FrameView& frame) {
    const auto input = frame.PayloadByte(0);
    const auto window = frame.PayloadByte(1);
    if (!input || !window) {
        return Refused("window source", ShortPayload(frame, 2));
    }
    if (*window < 1 || *window > kMultiviewerWindows || *input < 1 ||
        *input > kMultiviewerWindows) {
        return Refused("window source", "input " + std::to_string(*input) + " or window " +
                                            std::to_string(*window) + " is not 1..16");
    }
    state_.window_source[*window - 1u] = *input;
    return Response{"window " + std::to_string(*window) + " source SDI " + std::to_string(*input),
                    {}};
}

Response MultiviewerModel::SetLabel(const FrameView& frame) {
    const auto payload = frame.Payload();
    if (payload.size() < kLabelTextOffset) {
        return Refused("label", ShortPayload(frame, kLabelTextOffset));
    }
    const uint8_t window = payload[0];
    if (window < 1 || window > kMultiviewerWindows) {
        return Refused("label", "window " + std::to_string(window) + " is not 1..16");
    }
    const auto text_bytes = payload.subspan(kLabelTextOffset);
    std::u16string label = DecodeUtf16Le(text_bytes);
    std::string notes;
    if (!std::equal(std::begin(kLabelFixedFields), std::end(kLabelFixedFields),
                    payload.begin() + 1)) {
        notes += " (unusual fixed fields " + PrintableBytes(payload.subspan(1, 7)) + ")";
    }
    if (text_bytes.size() % 2 != 0) {
        notes += " (odd byte count " + std::to_string(text_bytes.size()) + ")";
    }
    if (label.size() > kLabelUnits) {
        label.resize(kLabelUnits);
        notes += " (cut to 16 characters for the 32-byte slot)";
    }
    state_.labels[window - 1u] = label;
    return Response{
        "label window " + std::to_string(window) + " " + QuoteForLog(Utf16ToUtf8(label)) + notes,
        {}};
}

namespace {

bool IsResolutionCode(uint8_t code) {
    return ResolutionName(code) != nullptr;
}

std::string LabelText(const MultiviewerDeviceState& state, size_t window) {
    return Utf16ToUtf8(state.labels[window]);
}

bool SetLabelText(MultiviewerDeviceState& state, size_t window, std::string_view text,
                  std::string& error) {
    const auto label = Utf8ToUtf16(text);
    if (!label) {
        error = "the label is not UTF-8";
        return false;
    }
    if (label->size() > kLabelUnits) {
        error = "a label holds at most 16 UTF-16 characters";
        return false;
    }
    state.labels[window] = *label;
    return true;
}

using S = MultiviewerDeviceState;
constexpr auto kPerWindow = KeyIndex::PerUnit;

const StateKeyEntry<S> kStateKeys[] = {
    NumberKey<&S::layout_code>("layout", 0, 255)
        .Accepting(IsLayoutCode, "not a layout (1, 4, 6, 8, 9, 10, 16)"),
    NumberKey<&S::resolution_code>("resolution", 0, 255)
        .Accepting(IsResolutionCode, "not a resolution code (7, 11, 9, 1, 3, 13, 5, 14, 6)"),
    NumberKey<&S::umd_enable>("umd_enable", 0, 255),
    NumberKey<&S::audio_enable>("audio_enable", 0, 255),
    NumberKey<&S::audio_source>("audio_source", 0, 16),
    NumberKey<&S::resolution_enable>("resolution_enable", 0, 255),
    NumberKey<&S::border_enable>("border_enable", 0, 255),
    NumberKey<&S::lock_state>("lock_state", 0, 255),
    TextKey<S>("label", LabelText, SetLabelText).Indexed(kPerWindow, kMultiviewerWindows),
    NumberKey<&S::window_source>("source", 0, 16).Indexed(kPerWindow, kMultiviewerWindows),
    NumberKey<&S::umd_text_color>("umd_text_color", 0, kMaxColour)
        .Indexed(kPerWindow, kMultiviewerWindows),
    NumberKey<&S::umd_back_color>("umd_back_color", 0, kMaxColour)
        .Indexed(kPerWindow, kMultiviewerWindows),
    NumberKey<&S::resolution_text_color>("resolution_text_color", 0, kMaxColour)
        .Indexed(kPerWindow, kMultiviewerWindows),
    NumberKey<&S::resolution_back_color>("resolution_back_color", 0, kMaxColour)
        .Indexed(kPerWindow, kMultiviewerWindows),
};

}  // namespace

std::vector<std::string> MultiviewerModel::StateLines() const {
    return StateKeyLines<S>(kStateKeys, state_);
}

bool MultiviewerModel::SetStateValue(std::string_view key, std::string_view value,
                                     std::string& error) {
    return SetStateKey<S>(kStateKeys, state_, key, value, error, "not a multiviewer key");
}

}  // namespace panoptix::devsim
