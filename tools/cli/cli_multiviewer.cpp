// The multiviewer's actions: the layout and source page, the UMD, colour and settings pages.
// Commands follow the connection: the LAN with --ip, the serial port with --serial.
#include <string>

#include "cli_actions.h"
#include "cli_status.h"
#include "link/transmit.h"
#include "multiviewer/core/color_table.h"
#include "multiviewer/core/multiviewer_actions.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/multiviewer_tables.h"

namespace panoptix::cli {
namespace {

// The UMD page's label fields take this many characters.
constexpr int kLabelFieldChars = 10;

CommandRoute Route(const Session& session) {
    return RouteForMode(session.link.mode());
}

std::vector<std::string> LayoutCodes() {
    std::vector<std::string> codes;
    for (const LayoutRow& row : kLayoutTable) {
        codes.push_back(std::to_string(row.code));
    }
    return codes;
}

std::vector<std::string> ResolutionNames() {
    std::vector<std::string> names;
    for (const ResolutionRow& row : kResolutionTable) {
        names.emplace_back(row.text);
    }
    return names;
}

std::vector<std::string> ColourNames() {
    std::vector<std::string> names;
    for (const ColorRow& row : kColorTable) {
        names.emplace_back(row.name);
    }
    return names;
}

// A window 1..16, or "all" (channel 0).
ArgSpec WindowOrAllArg() {
    std::vector<std::string> windows{"all"};
    for (int window = 1; window <= kMultiviewerWindows; ++window) {
        windows.push_back(std::to_string(window));
    }
    // Only the words count: "0" names no window.
    return ChoiceArg("window", windows, kWordsOnly, "window 1..16, or all");
}

ActionSpec OnOffAction(std::string name, std::string help,
                       void (*choose)(DeviceLink&, MultiviewerState&, CommandRoute, uint8_t)) {
    ActionSpec action{std::move(name), std::move(help), "on", {OnOffArg("state", "on or off")}};
    action.run = [choose](Session& s, const std::vector<ArgValue>& a) {
        choose(s.link, s.multiviewer, Route(s), static_cast<uint8_t>(a[0].number));
    };
    return action;
}

ActionSpec ColourAction(std::string name, std::string help, ColourField field,
                        uint8_t All16ViewPageData::*channel) {
    ActionSpec action{std::move(name),
                      std::move(help),
                      "3 White",
                      {WindowOrAllArg(),
                       ChoiceArg("colour", ColourNames(), 0, "a colour name, or its code 0..15")}};
    action.run = [field, channel](Session& s, const std::vector<ArgValue>& a) {
        // The colour page's window list first (choice 0 is "all", channel 0), then the colour.
        const auto window = static_cast<uint8_t>(a[0].number);
        s.multiviewer.m_all_16_view_page_data.*channel = window;
        ChooseColour(s.link, s.multiviewer, Route(s), field, window,
                     static_cast<uint8_t>(a[1].number));
    };
    return action;
}

}  // namespace

std::vector<ActionSpec> MultiviewerActions() {
    std::vector<ActionSpec> actions;

    ActionSpec layout{"layout",
                      "Choose the layout: the number of windows.",
                      "4",
                      {ChoiceArg("windows", LayoutCodes(), kWordsOnly, "1, 4, 6, 8, 9, 10 or 16")}};
    layout.run = [](Session& s, const std::vector<ArgValue>& a) {
        const auto index = static_cast<uint8_t>(a[0].number);
        s.multiviewer.m_all_16_view_page_data.view_mode_type = index;
        SendLayout(s.link, s.multiviewer, Route(s), kLayoutTable[index].code);
    };
    actions.push_back(layout);

    ActionSpec source{"source",
                      "Show an input in a window.",
                      "3 5",
                      {NumberArg("window", 1, kMultiviewerWindows, "window 1..16"),
                       NumberArg("source", 1, kMultiviewerWindows, "input 1..16")}};
    source.run = [](Session& s, const std::vector<ArgValue>& a) {
        const auto window = static_cast<uint8_t>(a[0].number);
        const auto input = static_cast<uint8_t>(a[1].number);
        s.multiviewer.source_window_index = window;
        s.multiviewer.window_source[window - 1u] = input;
        SendWindowSource(s.link, s.multiviewer, Route(s), input, window);
    };
    actions.push_back(source);

    ActionSpec label{"label",
                     "Set a window's UMD label.",
                     "3 \"CAM 3\"",
                     {NumberArg("window", 1, kMultiviewerWindows, "window 1..16"),
                      TextArg("label", kLabelFieldChars, "the label, at most 10 characters")}};
    label.run = [](Session& s, const std::vector<ArgValue>& a) {
        ChooseUmdLabel(s.link, s.multiviewer, Route(s), static_cast<uint8_t>(a[0].number),
                       a[1].text);
    };
    actions.push_back(label);

    actions.push_back(OnOffAction("umd", "UMD labels on or off.", &ChooseUmdLabels));
    actions.push_back(OnOffAction("audio", "Audio meters on or off.", &ChooseAudioMeters));
    actions.push_back(
        OnOffAction("resolution-labels", "Resolution labels on or off.", &ChooseResolutionLabels));
    actions.push_back(OnOffAction("border", "Window borders on or off.", &ChooseBorder));
    actions.push_back(OnOffAction("lock", "Lock the device's front panel on or off.", &ChooseLock));

    ActionSpec audio_source{"audio-source",
                            "The channel the audio meters follow.",
                            "5",
                            {NumberArg("channel", 1, kMultiviewerWindows, "channel 1..16")}};
    audio_source.run = [](Session& s, const std::vector<ArgValue>& a) {
        SendAudioSource(s.link, s.multiviewer, Route(s), static_cast<uint8_t>(a[0].number));
    };
    actions.push_back(audio_source);

    ActionSpec resolution{"resolution",
                          "The output resolution.",
                          "1080p50",
                          {ChoiceArg("resolution", ResolutionNames(), 1,
                                     "a resolution name, or its place 1..9 in the list")}};
    resolution.run = [](Session& s, const std::vector<ArgValue>& a) {
        ChooseResolutionType(s.link, s.multiviewer, Route(s), static_cast<uint8_t>(a[0].number));
    };
    actions.push_back(resolution);

    actions.push_back(ColourAction("umd-text-colour", "UMD label text colour of a window or all.",
                                   ColourField::UmdText, &All16ViewPageData::umd_color_channel));
    actions.push_back(ColourAction("umd-back-colour",
                                   "UMD label background colour of a window or all.",
                                   ColourField::UmdBack, &All16ViewPageData::umd_color_channel));
    actions.push_back(
        ColourAction("resolution-text-colour", "Resolution label text colour of a window or all.",
                     ColourField::ResolutionText, &All16ViewPageData::resolution_color_channel));
    actions.push_back(ColourAction(
        "resolution-back-colour", "Resolution label background colour of a window or all.",
        ColourField::ResolutionBack, &All16ViewPageData::resolution_color_channel));

    ActionSpec set_default{"set-default", "Restore the device's factory settings.", "", {}};
    set_default.run = [](Session& s, const std::vector<ArgValue>&) {
        RestoreDefaults(s.link, s.multiviewer, Route(s));
    };
    actions.push_back(set_default);

    return actions;
}

}  // namespace panoptix::cli

namespace panoptix::cli {

Outcome QueryMultiviewerStatus(Session& session) {
    if (!QueryStatus(session.link, session.multiviewer)) {
        return {ExitCode::NoReply, "no status reply from " + session.where()};
    }
    return {};
}

}  // namespace panoptix::cli
