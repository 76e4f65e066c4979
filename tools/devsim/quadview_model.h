#pragma once
// The simulated four-channel quad-view processor: show mode, output format, PIP child channels,
// channel loop and per-channel signal. Answers the status query (0x90) and the signal query
// (0xAA).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device_model.h"

namespace panoptix::devsim {

inline constexpr int kQuadChannels = 4;
inline constexpr uint8_t kLastShowMode = 16;
inline constexpr size_t kQuadStatusReplyLength = 261;
inline constexpr size_t kQuadSignalReplyLength = 29;

struct QuadViewDeviceState {
    uint8_t show_mode = 0;       // 0..16
    uint8_t output_format = 10;  // 4 = 1280x1024_60, 10 = 1920x1080_60
    std::array<uint8_t, 2> pip_child{1, 2};
    uint8_t loop_state = 0;
    uint16_t loop_time_s = 3;
    std::array<uint8_t, kQuadChannels> signal{1, 1, 1, 1};  // 1 = signal present
    std::array<std::string, kQuadChannels> labels{"CH 1", "CH 2", "CH 3", "CH 4"};
    std::string title;  // the text of the status reply, at most 16 characters
};

// What a show mode puts on screen ("window 1 full screen"), or nullptr past 16.
const char* ShowModeDescription(uint8_t mode);

class QuadViewModel : public DeviceModel {
  public:
    explicit QuadViewModel(DeviceIdentity identity);

    const QuadViewDeviceState& State() const { return state_; }
    std::vector<uint8_t> StatusPayload() const;
    std::vector<uint8_t> SignalPayload() const;

    std::vector<std::string> StateLines() const override;
    bool SetStateValue(std::string_view key, std::string_view value, std::string& error) override;

  protected:
    Response OnFrame(const FrameView& frame, Link link) override;

  private:
    Response SetShowMode(const FrameView& frame);
    Response SetOutputFormat(const FrameView& frame);
    Response SetPipChildren(const FrameView& frame);
    Response SetLoopState(const FrameView& frame);
    Response SetLoopTime(const FrameView& frame);

    QuadViewDeviceState state_;
};

}  // namespace panoptix::devsim
