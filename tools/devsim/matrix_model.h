#pragma once
// The simulated eight-by-eight matrix router. It is commanded with short ASCII texts:
// "nAll." (input n to every output), "All#." (input k to output k) and "nVk,k,...,k." (input n
// to the listed outputs). It answers the device search like the other devices.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "device_model.h"

namespace panoptix::devsim {

inline constexpr int kMatrixPorts = 8;

struct MatrixDeviceState {
    // Entry k-1: the input on output k (1..8).
    std::array<uint8_t, kMatrixPorts> routes{1, 2, 3, 4, 5, 6, 7, 8};
};

class MatrixModel : public DeviceModel {
  public:
    explicit MatrixModel(DeviceIdentity identity);

    const MatrixDeviceState& State() const { return state_; }

    std::vector<std::string> StateLines() const override;
    bool SetStateValue(std::string_view key, std::string_view value, std::string& error) override;

  protected:
    Response OnFrame(const FrameView& frame, Link link) override;
    Response OnText(std::string_view text) override;

  private:
    MatrixDeviceState state_;
};

}  // namespace panoptix::devsim
