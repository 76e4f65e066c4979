#pragma once
// The simulated sixteen-window multiviewer: layout, output resolution, labels, sources, colours,
// border and lock. Answers the status query (0x32) with its whole state.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device_model.h"

namespace panoptix::devsim {

inline constexpr int kMultiviewerWindows = 16;
// A label slot of the status reply holds 32 bytes: sixteen UTF-16 code units.
inline constexpr size_t kLabelUnits = 16;
inline constexpr size_t kStatusReplyLength = 669;

struct MultiviewerDeviceState {
    uint8_t layout_code = 16;     // windows of the layout: 1, 4, 6, 8, 9, 10, 16
    uint8_t resolution_code = 7;  // 7 = 1080p60
    uint8_t umd_enable = 1;
    uint8_t audio_enable = 1;
    uint8_t audio_source = 1;  // channel 1..16
    uint8_t resolution_enable = 1;
    std::array<std::u16string, kMultiviewerWindows> labels;    // at most kLabelUnits each
    std::array<uint8_t, kMultiviewerWindows> window_source{};  // input 1..16 of each window
    uint8_t border_enable = 1;
    uint8_t lock_state = 0;
    std::array<uint8_t, kMultiviewerWindows> umd_text_color{};
    std::array<uint8_t, kMultiviewerWindows> umd_back_color{};
    std::array<uint8_t, kMultiviewerWindows> resolution_text_color{};
    std::array<uint8_t, kMultiviewerWindows> resolution_back_color{};

    MultiviewerDeviceState();
};

// Name of a resolution code ("1080p60"), or nullptr for a code the device does not have.
const char* ResolutionName(uint8_t code);
bool IsLayoutCode(uint8_t code);

class MultiviewerModel : public DeviceModel {
  public:
    explicit MultiviewerModel(DeviceIdentity identity);

    const MultiviewerDeviceState& State() const { return state_; }
    // The status reply's payload (frame bytes 17 .. 665) built from the current state.
    std::vector<uint8_t> StatusPayload() const;

    std::vector<std::string> StateLines() const override;
    bool SetStateValue(std::string_view key, std::string_view value, std::string& error) override;

  protected:
    Response OnFrame(const FrameView& frame, Link link) override;

  private:
    Response SetLayout(const FrameView& frame);
    Response SetResolution(const FrameView& frame);
    Response SetSwitch(const FrameView& frame, uint8_t& field, const char* what);
    Response SetAudioSource(const FrameView& frame);
    Response SetColour(const FrameView& frame);
    Response SetDefaults();
    Response SetSource(const FrameView& frame);
    Response SetLabel(const FrameView& frame);

    MultiviewerDeviceState state_;
};

}  // namespace panoptix::devsim
