// The quad-view processor's actions and status. The show mode follows the connection (the LAN
// with --ip, the serial port with --serial); every other command and both queries travel by the
// LAN only.
#include "cli_actions.h"
#include "cli_status.h"
#include "quadview/core/quadview_frames.h"
#include "quadview/core/quadview_panel.h"
#include "quadview/core/quadview_tables.h"
#include "quiet_views.h"

namespace panoptix::cli {
namespace {

// No show mode in force: any mode chosen goes out.
constexpr uint8_t kNoShowMode = 0xFF;

ActionSpec PanelAction(
    std::string name, std::string help, std::string example, std::vector<ArgSpec> args,
    ActionLinks links,
    std::function<void(Session&, QuadviewPanel&, const std::vector<ArgValue>&)> act) {
    ActionSpec action{std::move(name), std::move(help), std::move(example), std::move(args), links};
    action.run = [act](Session& s, const std::vector<ArgValue>& a) {
        QuietQuadviewView view;
        QuadviewPanel panel(s.link, s.quadview, view);
        act(s, panel, a);
    };
    return action;
}

AllKv2718PageData& Block(Session& s) {
    return s.quadview.m_all_kv2718_page_data;
}

std::vector<std::string> OutputFormatNames() {
    std::vector<std::string> names;
    for (const OutputFormatRow& row : kOutputFormatTable) {
        names.emplace_back(row.text);
    }
    return names;
}

}  // namespace

std::vector<ActionSpec> QuadviewActions() {
    std::vector<ActionSpec> actions;
    actions.push_back(PanelAction(
        "mode", "The show mode (layout button 0..16).", "8",
        {NumberArg("mode", 0, kLastShowMode, "show mode 0..16")}, ActionLinks::LanOrSerial,
        [](Session& s, QuadviewPanel& panel, const std::vector<ArgValue>& a) {
            Block(s).show_mode = kNoShowMode;
            panel.ApplyShowMode(static_cast<uint8_t>(a[0].number));
        }));
    actions.push_back(PanelAction(
        "loop", "The channel loop on or off.", "on", {OnOffArg("state", "on or off")},
        ActionLinks::LanOnly, [](Session& s, QuadviewPanel& panel, const std::vector<ArgValue>& a) {
            Block(s).loop_state = a[0].number == 1 ? 0 : 1;  // the button toggles it
            panel.LoopClicked();
        }));
    actions.push_back(PanelAction(
        "loop-time", "Seconds on each channel while the loop runs.", "30",
        {NumberArg("seconds", kLoopTimeMinS, kLoopTimeMaxS, "seconds 3..999")},
        ActionLinks::LanOnly, [](Session&, QuadviewPanel& panel, const std::vector<ArgValue>& a) {
            panel.SendLoopTime(std::to_string(a[0].number));
        }));
    actions.push_back(PanelAction(
        "pip-children", "The two channels inset in a PIP mode (they differ).", "2 3",
        {NumberArg("first", 1, kQuadChannels, "channel 1..4"),
         NumberArg("second", 1, kQuadChannels, "channel 1..4")},
        ActionLinks::LanOnly, [](Session& s, QuadviewPanel& panel, const std::vector<ArgValue>& a) {
            // The first list holds the first channel; the pick in the second list sends both.
            Block(s).kora_kv2718_pip_child_ch = {static_cast<uint8_t>(a[0].number), 0};
            panel.SecondPipChosen(a[1].number - 1);
        }));
    actions.back().check = [](const std::vector<ArgValue>& a) {
        return a[0].number == a[1].number
                   ? std::string("pip-children must be two different channels")
                   : std::string();
    };
    actions.push_back(PanelAction(
        "output-format", "The output format.", "1920x1080_60",
        {ChoiceArg("format", OutputFormatNames(), kWordsOnly, "1280x1024_60 or 1920x1080_60")},
        ActionLinks::LanOnly, [](Session&, QuadviewPanel& panel, const std::vector<ArgValue>& a) {
            panel.OutputFormatChosen(a[0].number);
        }));
    return actions;
}

Outcome QueryQuadviewStatus(Session& session, QuadviewStatus& status) {
    QuietQuadviewView view;
    QuadviewPanel panel(session.link, session.quadview, view);
    status.answered = panel.QueryQuadStatus();
    status.signal_answered = panel.QuerySignalStatus();
    if (!status.answered || !status.signal_answered) {
        return {ExitCode::NoReply, "no " + std::string(status.answered ? "signal" : "status") +
                                       " reply from " + session.where()};
    }
    return {};
}

}  // namespace panoptix::cli
