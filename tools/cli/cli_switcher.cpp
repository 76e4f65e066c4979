// The switcher's actions: the panel's buttons, the automatic transition and the settings pages.
// Every switcher frame travels by the LAN. The switcher is never asked for its state, so each
// run starts from the panel's opening block; a toggle named on or off is pressed from the state
// it leaves, since its frame carries the state from before the press.
#include "cli_actions.h"
#include "link/clock.h"
#include "switcher/core/settings_rules.h"
#include "switcher/core/switcher_panel.h"

namespace panoptix::cli {
namespace {

ActionSpec LanAction(
    std::string name, std::string help, std::string example, std::vector<ArgSpec> args,
    std::function<void(Session&, SwitcherPanel&, const std::vector<ArgValue>&)> press) {
    ActionSpec action{std::move(name), std::move(help), std::move(example), std::move(args),
                      ActionLinks::LanOnly};
    action.run = [press](Session& s, const std::vector<ArgValue>& a) {
        SwitcherPanel panel(s.link, s.switcher);
        press(s, panel, a);
    };
    return action;
}

AllSwitcherPageData& Block(Session& s) {
    return s.switcher.m_all_switcher_page_data;
}

// "on" turns on what is off: the block holds the opposite before the press.
uint8_t StateBeforePress(const ArgValue& on_off) {
    return on_off.number == 1 ? 0 : 1;
}

ActionSpec LayerAction(std::string name, std::string help, SwitcherLayer layer,
                       uint8_t AllSwitcherPageData::*field) {
    return LanAction(
        std::move(name), std::move(help), "on", {OnOffArg("state", "on or off")},
        [layer, field](Session& s, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
            Block(s).*field = StateBeforePress(a[0]);
            if (Block(s).*field == 1) {
                Block(s).selected_layer = static_cast<uint8_t>(layer);
            }
            panel.PressLayer(layer);
        });
}

// The source lists of the KEY 1, KEY 2 and PIP pages: Cam 01..Cam 10, MP.
ArgSpec SourceListArg() {
    std::vector<std::string> names;
    for (int camera = 1; camera <= 10; ++camera) {
        names.push_back(std::to_string(camera));
    }
    names.emplace_back("mp");
    return ChoiceArg("source", names, kWordsOnly, "camera 1..10, or mp");
}

// Runs the automatic transition to its end with the panel's timer period: the timers the lever
// asks for are kept here, ticks come by sleeping.
void RunAutoTransition(SwitcherPanel& panel) {
    LeverEffects effects = panel.PressAuto();
    std::optional<AutoTimer> timer = effects.start_timer;
    while (timer) {
        SleepMs(timer->period_ms);
        effects = panel.AutoTimerTick(timer->id);
        if (effects.stop_timer && *effects.stop_timer == timer->id) {
            timer.reset();
        }
        if (effects.start_timer) {
            timer = effects.start_timer;
        }
    }
}

// The lever's drag: up runs a transition from the bottom (the opening panel's thumb), down one
// from the top. The thumb starts at --from (the drag's start end when left out) and passes every
// position to --to (the far end when left out), then the mouse is released there, as a slow hand
// drag reports it. A --from between the ends resumes a transition released there earlier: the
// block holds it as that panel did (lamp lit, progress, the last step sent).
constexpr int kLeverUp = 0;  // index of "up" in the direction choice

int LeverStart(int direction_choice) {
    return direction_choice == kLeverUp ? kLeverEnd : 0;
}
int LeverFarEnd(int direction_choice) {
    return direction_choice == kLeverUp ? 0 : kLeverEnd;
}
int LeverFrom(const std::vector<ArgValue>& a) {
    return a[1].given ? a[1].number : LeverStart(a[0].number);
}
int LeverTo(const std::vector<ArgValue>& a) {
    return a[2].given ? a[2].number : LeverFarEnd(a[0].number);
}

ActionSpec LeverAction() {
    ActionSpec action{
        "lever",
        "Drag the transition lever: up (from the bottom) or down (from the top).",
        "up --to 64 --step-ms 10",
        {ChoiceArg("direction", {"up", "down"}, kWordsOnly, "up or down"),
         AsOption(NumberArg("from", 0, kLeverEnd,
                            "thumb position where the drag starts, 0 top .. 129 bottom; the "
                            "drag's start end when left out"),
                  ""),
         AsOption(NumberArg("to", 0, kLeverEnd,
                            "thumb position where it is released; the far end when left out"),
                  ""),
         AsOption(NumberArg("step-ms", 0, 1000, "pause between positions"), "0")},
        ActionLinks::LanOnly};
    action.check = [](const std::vector<ArgValue>& a) {
        const bool up = a[0].number == kLeverUp;
        const int from = LeverFrom(a);
        const int to = LeverTo(a);
        if (up ? to < from : to > from) {
            return std::string();
        }
        return std::string(up ? "lever up drags toward the top: --to must be below --from "
                                "(0 top .. 129 bottom)"
                              : "lever down drags toward the bottom: --to must be above --from "
                                "(0 top .. 129 bottom)");
    };
    action.run = [](Session& s, const std::vector<ArgValue>& a) {
        const bool up = a[0].number == kLeverUp;
        const auto direction = static_cast<uint8_t>(up ? 1 : 0);
        const int from = LeverFrom(a);
        const int to = LeverTo(a);
        AllSwitcherPageData& block = Block(s);
        block.lever_direction = direction;
        const auto progress = static_cast<uint8_t>(up ? kLeverEnd - from : from);
        if (progress > 0) {
            block.auto_lamp = 1;
            block.lever_value = progress;
            uint8_t last_step = progress;
            while (!IsSentLeverStep(last_step)) {
                --last_step;
            }
            s.switcher.switcher_last_lever_frame = LeverFrameSent{direction, last_step, true};
        }
        SwitcherPanel panel(s.link, s.switcher);
        const int step = up ? -1 : 1;
        for (int position = from + step; position != to + step; position += step) {
            panel.LeverMoving(position);
            if (a[3].number > 0) {
                SleepMs(static_cast<uint32_t>(a[3].number));
            }
        }
        panel.LeverMoved(to);
    };
    return action;
}

}  // namespace

std::vector<ActionSpec> SwitcherActions() {
    std::vector<ActionSpec> actions;
    actions.push_back(LanAction("program", "Put a source on the program bus.", "3",
                                {NumberArg("source", kFirstSwitcherSource, kLastSwitcherSource,
                                           "source 1..12 (11 BLK, 12 MP1)")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PressProgramSource(static_cast<uint8_t>(a[0].number));
                                }));
    actions.push_back(LanAction("preview", "Put a source on the preview bus.", "5",
                                {NumberArg("source", kFirstSwitcherSource, kLastSwitcherSource,
                                           "source 1..12 (11 BLK, 12 MP1)")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PressPreviewSource(static_cast<uint8_t>(a[0].number));
                                }));
    actions.push_back(LanAction(
        "cut", "Cut: program and preview change places.", "", {},
        [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>&) { panel.PressCut(); }));
    actions.push_back(
        LanAction("auto", "Run the automatic transition to its end at a rate.", "--rate 2",
                  {AsOption(NumberArg("rate", 1, 3, "transition rate r1..r3 (1 fastest)"), "1")},
                  [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                      panel.PressTransitionRate(static_cast<uint8_t>(a[0].number - 1));
                      RunAutoTransition(panel);
                  }));
    actions.push_back(LeverAction());
    actions.push_back(LanAction("ftb", "Fade to black (pressed again, back).", "", {},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>&) {
                                    panel.PressFadeToBlack();
                                }));
    actions.push_back(LayerAction("key1", "KEY 1 on or off.", SwitcherLayer::Key1,
                                  &AllSwitcherPageData::key1_on));
    actions.push_back(LayerAction("key2", "KEY 2 on or off.", SwitcherLayer::Key2,
                                  &AllSwitcherPageData::key2_on));
    actions.push_back(
        LayerAction("pip", "PIP on or off.", SwitcherLayer::Pip, &AllSwitcherPageData::pip_on));
    actions.push_back(LanAction(
        "bkgd", "BKGD on or off (with a layer selected).", "off", {OnOffArg("state", "on or off")},
        [](Session& s, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
            Block(s).bkgd_on = StateBeforePress(a[0]);
            Block(s).selected_layer = static_cast<uint8_t>(SwitcherLayer::Key1);
            panel.PressBackground();
        }));
    actions.push_back(
        LanAction("on-air", "ON AIR on or off.", "on", {OnOffArg("state", "on or off")},
                  [](Session& s, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                      Block(s).on_air = StateBeforePress(a[0]);
                      panel.PressOnAir();
                  }));
    actions.push_back(
        LanAction("transition", "The transition type.", "wipe",
                  {ChoiceArg("type", {"mix", "dip", "wipe"}, kWordsOnly, "mix, dip or wipe")},
                  [](Session& s, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                      Block(s).transition_type = 0;  // so that the press always goes out
                      panel.PressTransitionType(static_cast<uint8_t>(a[0].number + 1));
                  }));
    actions.push_back(LanAction(
        "wipe-pattern", "A wipe pattern button of the transition page.", "4",
        {NumberArg("pattern", 1, kWipePatterns, "pattern 1..9")},
        [](Session& s, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
            Block(s).wipe_style = kWipePatterns;  // no pattern chosen yet: the press goes out
            panel.PressWipePattern(a[0].number - 1);
        }));
    actions.push_back(LanAction("dip-source", "The dip source list's entry.", "2",
                                {NumberArg("index", 0, 255, "list entry 0..255")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickDipSource(a[0].number);
                                }));
    actions.push_back(LanAction("wipe-source", "The wipe source list's entry.", "2",
                                {NumberArg("index", 0, 255, "list entry 0..255")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickWipeSource(a[0].number);
                                }));
    actions.push_back(LanAction("key1-source", "KEY 1's source.", "3", {SourceListArg()},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickKey1Source(a[0].number);
                                }));
    actions.push_back(LanAction("key2-source", "KEY 2's source.", "mp", {SourceListArg()},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickKey2Source(a[0].number);
                                }));
    actions.push_back(LanAction("pip-source", "The PIP window's source.", "4", {SourceListArg()},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickPipSource(a[0].number);
                                }));
    const std::vector<ArgSpec> levels{NumberArg("red", 0, kLevelMax, "red level 0..255"),
                                      NumberArg("green", 0, kLevelMax, "green level 0..255"),
                                      NumberArg("blue", 0, kLevelMax, "blue level 0..255")};
    actions.push_back(LanAction("key1-colour", "KEY 1's colour levels (the sliders released).",
                                "16 200 16", levels,
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.ReleaseKey1Sliders({static_cast<uint8_t>(a[0].number),
                                                              static_cast<uint8_t>(a[1].number),
                                                              static_cast<uint8_t>(a[2].number)});
                                }));
    actions.push_back(LanAction("chroma", "KEY 2's chroma key: light blue or light green.", "green",
                                {ChoiceArg("type", {"blue", "green"}, kWordsOnly, "blue or green")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickChromaType(a[0].number);
                                }));
    actions.push_back(LanAction("key2-colour", "KEY 2's colour levels (the sliders released).",
                                "32 220 32", levels,
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.ReleaseKey2Sliders({static_cast<uint8_t>(a[0].number),
                                                              static_cast<uint8_t>(a[1].number),
                                                              static_cast<uint8_t>(a[2].number)});
                                }));
    actions.push_back(LanAction("pip-border", "The PIP window's border on or off.", "on",
                                {OnOffArg("state", "on or off")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickPipBorderEnable(a[0].number);
                                }));
    actions.push_back(LanAction("pip-border-colour", "The PIP border's colour.", "red",
                                {ChoiceArg("colour", {"white", "red", "green", "blue"}, kWordsOnly,
                                           "white, red, green or blue")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickPipBorderColour(a[0].number);
                                }));
    actions.push_back(LanAction("pip-border-width", "The PIP border's width.", "3",
                                {NumberArg("width", 1, 7, "width 1..7")},
                                [](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                                    panel.PickPipBorderWidth(a[0].number - 1);
                                }));
    const PipSlider sliders[] = {PipSlider::X, PipSlider::Y, PipSlider::Width};
    const char* const slider_names[] = {"pip-x", "pip-y", "pip-width"};
    const char* const slider_helps[] = {"The PIP window's left edge (slider 0..120, x 16).",
                                        "The PIP window's top edge (slider 0..120, x 9).",
                                        "The PIP window's width (slider 0..120, x 16)."};
    for (size_t k = 0; k < 3; ++k) {
        const PipSlider slider = sliders[k];
        actions.push_back(
            LanAction(slider_names[k], slider_helps[k], "60",
                      {NumberArg("position", 0, kPipSliderMax, "slider position 0..120")},
                      [slider](Session&, SwitcherPanel& panel, const std::vector<ArgValue>& a) {
                          panel.ReleasePipSlider(slider, a[0].number);
                      }));
    }
    return actions;
}

}  // namespace panoptix::cli
