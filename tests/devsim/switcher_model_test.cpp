// The simulated switcher: buses, the lever's transitions, layers and settings.
#include "switcher_model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "devsim_test_frames.h"

namespace panoptix::devsim {
namespace {

using ::testing::HasSubstr;
using testing::PanelFrame;

constexpr uint8_t kType = 0xA5;

class SwitcherTest : public ::testing::Test {
  protected:
    SwitcherModel model_{testing::Identity(DeviceKind::Switcher, "SW", kType)};

    std::string Send(uint8_t command, std::initializer_list<uint8_t> payload = {}) {
        const Response response = model_.ReceiveDatagram(PanelFrame(kType, command, payload));
        EXPECT_TRUE(response.reply.empty()) << "the switcher never answers";
        return response.account;
    }
    // The lever frames of a whole transition as the panel's automatic transition sends them.
    std::vector<std::string> AutoTransition(uint8_t direction) {
        std::vector<std::string> accounts{Send(0x84)};
        for (int progress = 1; progress <= 128; progress = progress == 1 ? 8 : progress + 8) {
            accounts.push_back(Send(0x82, {direction, static_cast<uint8_t>(progress)}));
        }
        return accounts;
    }
    const SwitcherDeviceState& State() { return model_.State(); }
};

TEST_F(SwitcherTest, BusesAndCut) {
    EXPECT_EQ(Send(0x80, {3}), "program source 3");
    EXPECT_EQ(Send(0x81, {5}), "preview source 5");
    EXPECT_EQ(Send(0x83), "cut -> program 5, preview 3");
    EXPECT_EQ(Send(0x80, {11}), "program source 11 (BLK)");
    EXPECT_EQ(Send(0x81, {12}), "preview source 12 (MP1)");
    EXPECT_THAT(Send(0x80, {13}), HasSubstr("ignored program source frame: source 13"));
    EXPECT_EQ(State().program_source, 11);
}

TEST_F(SwitcherTest, AutomaticTransitionsExchangeTheBusesOnceEach) {
    Send(0x80, {1});
    Send(0x81, {2});
    const auto up = AutoTransition(1);
    ASSERT_EQ(up.size(), 18u);  // 0x84 and 17 lever frames
    EXPECT_EQ(up[0], "auto transition (program 1, preview 2)");
    EXPECT_EQ(up[1], "lever direction 1 progress 1");
    EXPECT_EQ(up[17],
              "lever direction 1 progress 128 -> transition complete: program 2, "
              "preview 1");
    EXPECT_EQ(State().transition_under_way, 0);

    const auto down = AutoTransition(0);
    EXPECT_EQ(down[17],
              "lever direction 0 progress 128 -> transition complete: program 1, "
              "preview 2");
}

TEST_F(SwitcherTest, DragToTheTopEndsWithAFrameAtRest) {
    Send(0x80, {1});
    Send(0x81, {2});
    for (int progress = 1; progress <= 128; progress = progress == 1 ? 8 : progress + 8) {
        Send(0x82, {1, static_cast<uint8_t>(progress)});
    }
    // On arriving at the top the panel sends direction 0, progress 0: no second exchange.
    EXPECT_EQ(Send(0x82, {0, 0}), "lever direction 0 progress 0");
    EXPECT_EQ(State().program_source, 2);
    EXPECT_EQ(State().lever_direction, 0);
}

TEST_F(SwitcherTest, TransitionWhoseLastStepWasSkippedEndsWhenTheDirectionTurns) {
    Send(0x80, {1});
    Send(0x81, {2});
    Send(0x82, {1, 1});
    Send(0x82, {1, 120});  // a fast drag skipped 128
    EXPECT_EQ(Send(0x82, {0, 0}),
              "lever direction 0 progress 0 -> previous transition ended: program 2, preview 1");
}

TEST_F(SwitcherTest, LeverBackAtItsStartAbandonsTheTransition) {
    Send(0x82, {0, 1});
    Send(0x82, {0, 8});
    EXPECT_EQ(Send(0x82, {0, 0}),
              "lever direction 0 progress 0 -> lever back at its start, transition abandoned");
    EXPECT_EQ(State().program_source, 1);
    EXPECT_THAT(Send(0x82, {2, 8}), HasSubstr("is not a lever step"));
    EXPECT_THAT(Send(0x82, {1}), HasSubstr("1 payload bytes, expected 2"));
}

// The switcher completes at 128, the panel at 129, which it never sends: until the panel's
// direction turns, the last step again is no second exchange, and a step back below 128 (the
// lever released at 128 and pulled back) re-opens the transition and undoes its exchange.
TEST_F(SwitcherTest, CompletionAt128WaitsForThePanelsEnd) {
    Send(0x80, {1});
    Send(0x81, {2});
    for (const uint8_t direction : {uint8_t{0}, uint8_t{1}}) {
        SCOPED_TRACE(direction);
        Send(0x82, {direction, 120});
        EXPECT_EQ(Send(0x82, {direction, 128}),
                  "lever direction " + std::to_string(direction) +
                      " progress 128 -> transition complete: program 2, preview 1");
        EXPECT_EQ(Send(0x82, {direction, 128}), "lever direction " + std::to_string(direction) +
                                                    " progress 128 -> transition already complete");
        EXPECT_EQ(State().program_source, 2);
        EXPECT_EQ(Send(0x82, {direction, 120}),
                  "lever direction " + std::to_string(direction) +
                      " progress 120 -> transition re-opened: program 1, preview 2");
        EXPECT_EQ(State().transition_under_way, 1);
        // Back at the start: abandoned, the buses as before the transition.
        Send(0x82, {direction, 0});
        EXPECT_EQ(State().program_source, 1);
        EXPECT_EQ(State().transition_under_way, 0);
    }
    // Pulled straight back to the start after completing: undone and abandoned at once.
    Send(0x82, {0, 128});
    EXPECT_EQ(Send(0x82, {0, 0}),
              "lever direction 0 progress 0 -> transition re-opened: program 1, preview 2 -> "
              "lever back at its start, transition abandoned");
    // The panel's end turns the direction: the next transition starts from the exchanged buses.
    Send(0x82, {0, 128});
    EXPECT_EQ(Send(0x82, {1, 1}), "lever direction 1 progress 1");
    EXPECT_EQ(State().program_source, 2);
}

TEST_F(SwitcherTest, TogglesTakeTheStateFromBeforeThePress) {
    EXPECT_EQ(Send(0x88, {0}), "ON AIR on");
    EXPECT_EQ(Send(0x88, {1}), "ON AIR off");
    EXPECT_EQ(Send(0x89, {0}), "second ON AIR on");
    EXPECT_EQ(Send(0x85), "fade to black on");
    EXPECT_EQ(Send(0x85), "fade to black off");
}

TEST_F(SwitcherTest, OneLayerAtATimeAndBackgroundFollowsThem) {
    EXPECT_EQ(Send(0x8A, {1}), "background stays selected (no layer is on)");
    EXPECT_EQ(Send(0x86), "PIP layer on");
    EXPECT_EQ(Send(0x8B, {0}), "KEY 1 layer on");
    EXPECT_EQ(State().pip_on, 0);
    EXPECT_EQ(Send(0x8A, {1}), "background deselected");
    EXPECT_EQ(Send(0x8C, {0}), "KEY 2 layer on");
    EXPECT_EQ(State().key1_on, 0);
    EXPECT_EQ(Send(0x8C, {1}), "KEY 2 layer off");
    EXPECT_EQ(Send(0x8F), "transition type WIPE");
    EXPECT_EQ(State().transition_type, 3);
}

TEST_F(SwitcherTest, SettingsPagesCommands) {
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {PanelFrame(kType, 0x90, {2}), "dip source 2"},
        {PanelFrame(kType, 0x91, {3}), "wipe source 3"},
        {PanelFrame(kType, 0x92, {4}), "wipe style 4"},
        {PanelFrame(kType, 0x93, {2}), "KEY 1 source Cam 03 (index 2)"},
        {PanelFrame(kType, 0x94, {100, 16, 16}), "KEY 1 colour red 100 green 16 blue 16"},
        {PanelFrame(kType, 0x97, {10}), "KEY 2 source MP (index 10)"},
        {PanelFrame(kType, 0x98, {1}), "chroma type Key Light Green"},
        {PanelFrame(kType, 0x99, {32, 220, 90}),
         "KEY 2 Key Light Green colour red 32 green 220 blue 90"},
        {PanelFrame(kType, 0x9C, {0}), "PIP source Cam 01 (index 0)"},
        {PanelFrame(kType, 0x9D, {1}), "PIP border on"},
        {PanelFrame(kType, 0x9E, {3}), "PIP border colour Blue"},
        {PanelFrame(kType, 0x9F, {6}), "PIP border width 7 (index 6)"},
        {PanelFrame(kType, 0xA0, {0xC0, 0x03}), "PIP horizontal position 960"},
        {PanelFrame(kType, 0xA1, {0x38, 0x04}), "PIP vertical position 1080"},
        {PanelFrame(kType, 0xA2, {0x80, 0x07}), "PIP width 1920"},
        {PanelFrame(kType, 0x92, {9}), "ignored wipe style frame: value 9 is not 0..8"},
        {PanelFrame(kType, 0x94, {1, 2}), "ignored KEY 1 colour frame: 2 payload bytes"},
        {PanelFrame(kType, 0x87), "ignored 20-byte frame with command 0x87: not a switcher"},
        {PanelFrame(kType, 0x32), "ignored 20-byte frame with command 0x32: not a switcher"},
    };
    for (const auto& [frame, account] : cases) {
        EXPECT_THAT(model_.ReceiveDatagram(frame).account, HasSubstr(account));
    }
    EXPECT_EQ(State().chroma_green[1], 220);
    EXPECT_EQ(State().chroma_blue[1], 90);
    EXPECT_EQ(State().chroma_blue[0], 220);  // the blue key's levels are untouched
    EXPECT_EQ(State().pip_width, 1920);
    EXPECT_EQ(State().wipe_style, 4);
}

}  // namespace
}  // namespace panoptix::devsim
