#include "quadview_model.h"

#include "state_key_table.h"

namespace panoptix::devsim {
namespace {

namespace cmd {
constexpr uint8_t kStatus = 0x90;
constexpr uint8_t kOutputFormat = 0x92;
constexpr uint8_t kShowMode = 0x94;
constexpr uint8_t kPipChildren = 0xA5;
constexpr uint8_t kLoopState = 0xA6;
constexpr uint8_t kLoopTime = 0xA7;
constexpr uint8_t kSignal = 0xAA;
}  // namespace cmd

// Frame offsets of the status reply's fields.
namespace at {
constexpr size_t kOutputFormat = 20;
constexpr size_t kShowMode = 22;
constexpr size_t kTitle = 30;
constexpr size_t kTitleSize = 17;  // zero-terminated within these bytes
constexpr size_t kLabelRecords = 47;
constexpr size_t kLabelRecordSize = 40;
constexpr size_t kLabelLength = 7;  // within a record; the name follows it
constexpr size_t kLabelText = 8;
constexpr size_t kLabelMax = 32;
constexpr size_t kPipChild1 = 255;
constexpr size_t kPipChild2 = 256;
constexpr size_t kLoopState = 257;
constexpr size_t kSignalPairs = 18;
constexpr size_t kSignalLast = 25;
}  // namespace at

std::string ShortPayload(const FrameView& frame, size_t expected) {
    return std::to_string(frame.Payload().size()) + " payload bytes, expected " +
           std::to_string(expected);
}

std::string OutputFormatName(uint8_t code) {
    switch (code) {
        case 4:
            return "4 (1280x1024_60)";
        case 10:
            return "10 (1920x1080_60)";
        default:
            return std::to_string(code);
    }
}

bool IsAsciiText(std::string_view text) {
    for (char c : text) {
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

}  // namespace

const char* ShowModeDescription(uint8_t mode) {
    static const char* const kDescriptions[] = {
        "four windows",                        // 0
        "windows 1 and 2 side by side",        // 1
        "windows 3 and 4 side by side",        // 2
        "windows 1 and 2, full height",        // 3
        "windows 3 and 4, full height",        // 4
        "window 4 full screen",                // 5
        "window 3 full screen",                // 6
        "window 2 full screen",                // 7
        "window 1 full screen",                // 8
        "window 1 with window 2 inset left",   // 9
        "window 1 with window 2 inset right",  // 10
        "windows 1 and 2, full height",        // 11
        "window 4 full screen",                // 12
        "window 3 full screen",                // 13
        "window 2 full screen",                // 14
        "window 1 full screen",                // 15
        "window 1 above window 2",             // 16
    };
    return mode <= kLastShowMode ? kDescriptions[mode] : nullptr;
}

QuadViewModel::QuadViewModel(DeviceIdentity identity) : DeviceModel(std::move(identity)) {
    state_.title = Identity().model_name.substr(0, at::kTitleSize - 1);
}

std::vector<uint8_t> QuadViewModel::StatusPayload() const {
    std::vector<uint8_t> payload(at::kLoopState + 1 - kFramePayloadOffset, 0);
    auto put = [&payload](size_t frame_offset, uint8_t value) {
        payload.at(frame_offset - kFramePayloadOffset) = value;
    };
    put(at::kOutputFormat, state_.output_format);
    put(at::kShowMode, state_.show_mode);
    for (size_t i = 0; i < state_.title.size() && i + 1 < at::kTitleSize; ++i) {
        put(at::kTitle + i, static_cast<uint8_t>(state_.title[i]));
    }
    for (size_t c = 0; c < kQuadChannels; ++c) {
        const size_t record = at::kLabelRecords + at::kLabelRecordSize * c;
        const std::string& label = state_.labels[c];
        const size_t length = label.size() < at::kLabelMax ? label.size() : at::kLabelMax;
        put(record + at::kLabelLength, static_cast<uint8_t>(length));
        for (size_t i = 0; i < length; ++i) {
            put(record + at::kLabelText + i, static_cast<uint8_t>(label[i]));
        }
    }
    put(at::kPipChild1, state_.pip_child[0]);
    put(at::kPipChild2, state_.pip_child[1]);
    put(at::kLoopState, state_.loop_state);
    return payload;
}

std::vector<uint8_t> QuadViewModel::SignalPayload() const {
    std::vector<uint8_t> payload(at::kSignalLast + 1 - kFramePayloadOffset, 0);
    for (size_t c = 0; c < kQuadChannels; ++c) {
        // Each channel: its signal status, then a byte the panel does not use.
        payload.at(at::kSignalPairs + 2 * c - kFramePayloadOffset) = state_.signal[c];
    }
    return payload;
}

Response QuadViewModel::OnFrame(const FrameView& frame, Link link) {
    switch (frame.Command()) {
        case cmd::kStatus: {
            std::vector<uint8_t> reply = MakeReply(cmd::kStatus, StatusPayload(), link);
            const std::string account =
                "status query -> sent " + std::to_string(reply.size()) + " bytes";
            return Response{account, std::move(reply)};
        }
        case cmd::kSignal: {
            std::vector<uint8_t> reply = MakeReply(cmd::kSignal, SignalPayload(), link);
            const std::string account =
                "signal query -> sent " + std::to_string(reply.size()) + " bytes";
            return Response{account, std::move(reply)};
        }
        case cmd::kShowMode:
            return SetShowMode(frame);
        case cmd::kOutputFormat:
            return SetOutputFormat(frame);
        case cmd::kPipChildren:
            return SetPipChildren(frame);
        case cmd::kLoopState:
            return SetLoopState(frame);
        case cmd::kLoopTime:
            return SetLoopTime(frame);
        default:
            return NotForThisDevice(frame, "quad-view");
    }
}

Response QuadViewModel::SetShowMode(const FrameView& frame) {
    const auto mode = frame.PayloadByte(0);
    if (!mode) {
        return Refused("show mode", ShortPayload(frame, 1));
    }
    const char* description = ShowModeDescription(*mode);
    if (description == nullptr) {
        return Refused("show mode", "mode " + std::to_string(*mode) + " is not 0..16");
    }
    state_.show_mode = *mode;
    std::string account = "show mode " + std::to_string(*mode) + " (" + description + ")";
    // The picture-in-picture modes show channel 1 with another channel inset, as the panel
    // shows them without sending anything for it.
    if (*mode >= 7 && *mode <= 10) {
        const auto before = state_.pip_child;
        state_.pip_child[0] = 1;
        if (state_.pip_child[1] == 1) {
            state_.pip_child[1] = 2;
        }
        if (state_.pip_child != before) {
            account += ", PIP child channels " + std::to_string(state_.pip_child[0]) + " and " +
                       std::to_string(state_.pip_child[1]);
        }
    }
    return Response{account, {}};
}

Response QuadViewModel::SetOutputFormat(const FrameView& frame) {
    const auto format = frame.PayloadByte(0);
    if (!format) {
        return Refused("output format", ShortPayload(frame, 1));
    }
    state_.output_format = *format;
    return Response{"output format " + OutputFormatName(*format), {}};
}

Response QuadViewModel::SetPipChildren(const FrameView& frame) {
    const auto first = frame.PayloadByte(0);
    const auto second = frame.PayloadByte(1);
    if (!first || !second) {
        return Refused("PIP children", ShortPayload(frame, 2));
    }
    if (*first < 1 || *first > kQuadChannels || *second < 1 || *second > kQuadChannels) {
        return Refused("PIP children", "channels " + std::to_string(*first) + " and " +
                                           std::to_string(*second) + " are not 1..4");
    }
    state_.pip_child = {*first, *second};
    return Response{
        "PIP child channels " + std::to_string(*first) + " and " + std::to_string(*second), {}};
}

Response QuadViewModel::SetLoopState(const FrameView& frame) {
    const auto running = frame.PayloadByte(0);
    if (!running) {
        return Refused("channel loop", ShortPayload(frame, 1));
    }
    state_.loop_state = *running;
    return Response{std::string("channel loop ") + (*running != 0 ? "running" : "stopped"), {}};
}

Response QuadViewModel::SetLoopTime(const FrameView& frame) {
    const auto seconds = frame.PayloadWord(0);
    if (!seconds) {
        return Refused("loop time", ShortPayload(frame, 2));
    }
    state_.loop_time_s = *seconds;
    return Response{"loop time " + std::to_string(*seconds) + " s", {}};
}

namespace {

// Printable ASCII of at most max characters; false with error otherwise.
bool CheckAsciiText(std::string_view text, size_t max, std::string& error) {
    if (text.size() > max || !IsAsciiText(text)) {
        error = "takes printable ASCII of at most " + std::to_string(max) + " characters";
        return false;
    }
    return true;
}

std::string TitleText(const QuadViewDeviceState& state, size_t) {
    return state.title;
}

bool SetTitleText(QuadViewDeviceState& state, size_t, std::string_view text, std::string& error) {
    if (!CheckAsciiText(text, at::kTitleSize - 1, error)) {
        return false;
    }
    state.title = std::string(text);
    return true;
}

std::string LabelText(const QuadViewDeviceState& state, size_t channel) {
    return state.labels[channel];
}

bool SetLabelText(QuadViewDeviceState& state, size_t channel, std::string_view text,
                  std::string& error) {
    if (!CheckAsciiText(text, at::kLabelMax, error)) {
        return false;
    }
    state.labels[channel] = std::string(text);
    return true;
}

using S = QuadViewDeviceState;

const StateKeyEntry<S> kStateKeys[] = {
    NumberKey<&S::show_mode>("show_mode", 0, kLastShowMode),
    NumberKey<&S::output_format>("output_format", 0, 255),
    NumberKey<&S::pip_child>("pip_child", 1, kQuadChannels).Indexed(KeyIndex::Each, 2),
    NumberKey<&S::loop_state>("loop_state", 0, 255),
    NumberKey<&S::loop_time_s>("loop_time", 0, 65535),
    TextKey<S>("title", TitleText, SetTitleText),
    NumberKey<&S::signal>("signal", 0, 255).Indexed(KeyIndex::PerUnit, kQuadChannels),
    TextKey<S>("label", LabelText, SetLabelText).Indexed(KeyIndex::PerUnit, kQuadChannels),
};

}  // namespace

std::vector<std::string> QuadViewModel::StateLines() const {
    return StateKeyLines<S>(kStateKeys, state_);
}

bool QuadViewModel::SetStateValue(std::string_view key, std::string_view value,
                                  std::string& error) {
    return SetStateKey<S>(kStateKeys, state_, key, value, error, "not a quad-view key");
}

}  // namespace panoptix::devsim
