// The other direction of the cross-check: every multiviewer sender of the panel, run as the
// panel runs it (the serial form through the serial engine; the address settings by UDP), and
// the frame it put on the line fed into the simulated multiviewer, which must change its state
// as the command intends. The simulator cuts and decodes the bytes with its own code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "link/clock.h"
#include "link/device_link.h"
#include "multiviewer/core/multiviewer_commands.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer_model.h"
#include "pseudo_terminal.h"
#include "serial_accumulator.h"
#include "support/udp_peer.h"

namespace panoptix::devsim {
namespace {

using ::testing::HasSubstr;

constexpr uint8_t kType = 0xA1;
constexpr CommandRoute kSerial = CommandRoute::Serial;

struct SenderCase {
    const char* what;
    // Prepares the panel's state and runs one sender.
    std::function<void(DeviceLink&, MultiviewerState&)> send;
    const char* account;  // the simulator's log line for the frame
    // What the simulator's state must show afterwards.
    std::function<bool(const MultiviewerDeviceState&)> applied;
};

std::vector<SenderCase> SenderCases() {
    return {
        {"layout", [](auto& link, auto& mv) { SendLayout(link, mv, kSerial, 4); },
         "layout 4 windows", [](const auto& s) { return s.layout_code == 4; }},
        {"resolution", [](auto& link, auto& mv) { SendResolutionType(link, mv, kSerial, 1); },
         "resolution 1080i50 (code 1)", [](const auto& s) { return s.resolution_code == 1; }},
        {"resolution labels",
         [](auto& link, auto& mv) { SendResolutionEnable(link, mv, kSerial, 0); },
         "resolution labels off", [](const auto& s) { return s.resolution_enable == 0; }},
        {"UMD labels", [](auto& link, auto& mv) { SendUmdEnable(link, mv, kSerial, 0); },
         "UMD labels off", [](const auto& s) { return s.umd_enable == 0; }},
        {"label",
         [](auto& link, auto& mv) {
             mv.umd_name[2] = u"Studio \u00DC";
             SendUmdLabel(link, mv, kSerial, 3);
         },
         "label window 3 \"Studio \xC3\x9C\"",
         [](const auto& s) { return s.labels[2] == u"Studio \u00DC"; }},
        {"audio meters", [](auto& link, auto& mv) { SendAudioEnable(link, mv, kSerial, 0); },
         "audio meters off", [](const auto& s) { return s.audio_enable == 0; }},
        {"audio source", [](auto& link, auto& mv) { SendAudioSource(link, mv, kSerial, 5); },
         "audio source channel 5", [](const auto& s) { return s.audio_source == 5; }},
        {"UMD text colour, one window",
         [](auto& link, auto& mv) {
             mv.m_all_16_view_page_data.umd_color_channel = 2;
             SendUmdTextColor(link, mv, kSerial, 9);
         },
         "UMD text colour 9 on window 2",
         [](const auto& s) { return s.umd_text_color[1] == 9 && s.umd_text_color[0] != 9; }},
        {"UMD background colour, all windows",
         [](auto& link, auto& mv) {
             mv.m_all_16_view_page_data.umd_color_channel = 0;
             SendUmdBackColor(link, mv, kSerial, 6);
         },
         "UMD background colour 6 on all windows",
         [](const auto& s) {
             return std::count(s.umd_back_color.begin(), s.umd_back_color.end(), 6) == 16;
         }},
        {"resolution text colour",
         [](auto& link, auto& mv) {
             mv.m_all_16_view_page_data.resolution_color_channel = 1;
             SendResolutionTextColor(link, mv, kSerial, 15);
         },
         "resolution text colour 15 on window 1",
         [](const auto& s) { return s.resolution_text_color[0] == 15; }},
        {"resolution background colour",
         [](auto& link, auto& mv) {
             mv.m_all_16_view_page_data.resolution_color_channel = 7;
             SendResolutionBackColor(link, mv, kSerial, 3);
         },
         "resolution background colour 3 on window 7",
         [](const auto& s) { return s.resolution_back_color[6] == 3; }},
        {"window borders", [](auto& link, auto& mv) { SendBorderEnable(link, mv, kSerial, 0); },
         "window borders off", [](const auto& s) { return s.border_enable == 0; }},
        {"lock", [](auto& link, auto& mv) { SendLockState(link, mv, kSerial, 1); }, "lock on",
         [](const auto& s) { return s.lock_state == 1; }},
        {"window source", [](auto& link, auto& mv) { SendWindowSource(link, mv, kSerial, 5, 3); },
         "window 3 source SDI 5", [](const auto& s) { return s.window_source[2] == 5; }},
        // After the cases above changed them, Set Default puts back what the panel assumes.
        {"set default", [](auto& link, auto& mv) { SendSetDefault(link, mv, kSerial); },
         "set defaults",
         [](const auto& s) {
             return s.layout_code == 16 && s.umd_enable == 1 && s.audio_enable == 1 &&
                    s.audio_source == 0 && s.resolution_enable == 0 && s.border_enable == 0;
         }},
    };
}

class PanelCommandsReachSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.has_value()) << pty_error_;
        ASSERT_TRUE(link_.serial_port.OpenPort(pty_->SlavePath(), 115200));
        // The selected row: the simulated multiviewer on 127.0.0.1.
        link_.device_table[0].SetIpText("127.0.0.1");
        link_.device_table[0].device_type = kType;
        link_.device_table[0].device_address = 0x01;
        link_.m_device_index = 0;
    }

    // The next unit the simulator cuts from what reached the pseudo-terminal.
    std::optional<CutBytes> NextSerialUnit() {
        const uint32_t start_ms = TickMs();
        for (;;) {
            if (auto unit = serial_.Next()) {
                return unit;
            }
            if (RemainingMs(start_ms, 2000) == 0) {
                return std::nullopt;
            }
            uint8_t piece[512];
            const int n = pty_->Read(piece);
            if (n > 0) {
                serial_.Append(std::span(piece, static_cast<size_t>(n)));
            } else {
                SleepMs(2);
            }
        }
    }

    std::string pty_error_;
    std::optional<PseudoTerminal> pty_ = PseudoTerminal::Open("", pty_error_);
    SerialAccumulator serial_;
    DeviceLink link_;
    MultiviewerState mv_;
    MultiviewerModel model_{DeviceIdentity{DeviceKind::Multiviewer, "MV", kType, 0x01}};
};

TEST_F(PanelCommandsReachSimulator, EverySerialSenderChangesTheSimulatedState) {
    for (const SenderCase& c : SenderCases()) {
        SCOPED_TRACE(c.what);
        c.send(link_, mv_);
        const auto unit = NextSerialUnit();
        ASSERT_TRUE(unit.has_value()) << "nothing reached the line";
        ASSERT_EQ(unit->unit.kind, UnitKind::Frame) << unit->unit.reason;
        const Response response = model_.ReceiveSerial(*unit);
        EXPECT_THAT(response.account, HasSubstr(c.account));
        EXPECT_THAT(response.account, ::testing::Not(HasSubstr("[link byte")));
        EXPECT_TRUE(c.applied(model_.State()));
    }
    EXPECT_EQ(serial_.Pending(), 0u) << "every sender wrote exactly one frame";
}

TEST_F(PanelCommandsReachSimulator, AddressSettingsByUdpAreTakenByTheSimulator) {
    testing_support::UdpPeer device;
    ASSERT_TRUE(device.valid());
    link_.endpoints.device_port = device.port();
    link_.endpoints.local_port = 0;
    mv_.new_network_address = {{192, 0, 2, 77}, {255, 255, 255, 0}, {192, 0, 2, 254}};

    SendNetworkAddress(link_, mv_);
    const auto datagram = device.Receive(2000);
    ASSERT_TRUE(datagram.has_value());
    model_.ReceiveDatagram(datagram->bytes);
    const NetworkAddress& got = model_.ReceivedAddress();
    EXPECT_THAT(got.ip, ::testing::ElementsAre(192, 0, 2, 77));
    EXPECT_THAT(got.mask, ::testing::ElementsAre(255, 255, 255, 0));
    EXPECT_THAT(got.gateway, ::testing::ElementsAre(192, 0, 2, 254));
}

}  // namespace
}  // namespace panoptix::devsim
