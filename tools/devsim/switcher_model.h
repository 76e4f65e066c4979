#pragma once
// The simulated production switcher: program and preview buses, the transition lever, layers,
// transition settings, keys and the PIP window. It has no query; its log tells what it did.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device_model.h"

namespace panoptix::devsim {

struct SwitcherDeviceState {
    uint8_t program_source = 1;  // 1..12 (11 BLK, 12 MP1), 0 none
    uint8_t preview_source = 2;
    uint8_t lever_direction = 1;       // direction of the last lever frame
    uint8_t lever_progress = 0;        // progress 0..129 of the last lever frame
    uint8_t transition_under_way = 0;  // a lever or automatic transition has begun, not ended
    // The last lever frame completed a transition at progress 128: the panel's lever has not
    // reached its end yet and may still come back in the same direction.
    uint8_t transition_complete = 0;
    uint8_t transition_type = 1;  // 1 MIX, 2 DIP, 3 WIPE
    uint8_t on_air = 0;
    uint8_t on_air_2 = 0;
    uint8_t bkgd_on = 1;
    uint8_t pip_on = 0;
    uint8_t key1_on = 0;
    uint8_t key2_on = 0;
    uint8_t ftb_on = 0;
    uint8_t dip_source = 0;
    uint8_t wipe_source = 0;
    uint8_t wipe_style = 0;   // 0..8
    uint8_t key1_source = 0;  // source list index 0..10
    uint8_t key1_red = 16;
    uint8_t key1_green = 16;
    uint8_t key1_blue = 16;
    uint8_t key2_source = 0;
    uint8_t chroma_type = 0;  // 0 blue key, 1 green key
    std::array<uint8_t, 2> chroma_red{32, 32};
    std::array<uint8_t, 2> chroma_green{32, 220};
    std::array<uint8_t, 2> chroma_blue{220, 32};
    uint8_t pip_source = 0;
    uint8_t pip_border_enable = 0;
    uint8_t pip_border_color = 0;  // 0 white, 1 red, 2 green, 3 blue
    uint8_t pip_border_width = 0;  // 0..6 for 1..7
    uint16_t pip_x = 0;
    uint16_t pip_y = 0;
    uint16_t pip_width = 0;
};

class SwitcherModel : public DeviceModel {
  public:
    explicit SwitcherModel(DeviceIdentity identity);

    const SwitcherDeviceState& State() const { return state_; }

    std::vector<std::string> StateLines() const override;
    bool SetStateValue(std::string_view key, std::string_view value, std::string& error) override;

  protected:
    Response OnFrame(const FrameView& frame, Link link) override;

  private:
    Response SelectSource(const FrameView& frame, uint8_t& bus, const char* bus_name);
    Response MoveLever(const FrameView& frame);
    Response Cut();
    Response Toggle(uint8_t& field, const char* what);
    Response SetFromPressedState(const FrameView& frame, uint8_t& field, const char* what);
    Response SetLayer(const FrameView& frame, int layer);
    Response SetBackground(const FrameView& frame);
    Response SetTransitionType(int type);
    Response SetSetting(const FrameView& frame);
    Response SetColour(const FrameView& frame, uint8_t& red, uint8_t& green, uint8_t& blue,
                       const std::string& what);
    Response SetPipGeometry(const FrameView& frame);
    void ExchangeBuses();
    std::string Buses() const;

    SwitcherDeviceState state_;
};

// "3", "11 (BLK)", "12 (MP1)", "none".
std::string SwitcherSourceName(uint8_t source);

}  // namespace panoptix::devsim
