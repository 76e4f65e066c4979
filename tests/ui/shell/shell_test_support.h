#pragma once
// Helpers of the shell's widget tests: discovery replies for the scripted peers of
// tests/support, and a stand-in device page.
#include <QWidget>

#include <string>
#include <vector>

#include "link/command_frame.h"
#include "shell/device_page_choice.h"
#include "support/pty_peer.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix::testing_support {

// A discovery reply: bytes 18 on hold the model name, then "-1-" closes it.
inline std::vector<uint8_t> DiscoveryReply(uint8_t type_byte, uint8_t address_byte,
                                           const std::string& model_name) {
    std::vector<uint8_t> payload = {0x00};
    payload.insert(payload.end(), model_name.begin(), model_name.end());
    for (const char c : std::string("-1-")) {
        payload.push_back(static_cast<uint8_t>(c));
    }
    std::vector<uint8_t> frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(type_byte, address_byte, LinkByte::Udp, command::kDiscovery, payload,
                              frame);
    return frame;
}

// What a device page would be, for the tests: remembers its kind.
class StandInPage : public QWidget {
  public:
    StandInPage(DevicePageKind kind, QWidget* parent) : QWidget(parent), kind_(kind) {}
    DevicePageKind kind() const { return kind_; }

  private:
    DevicePageKind kind_;
};

}  // namespace panoptix::testing_support
