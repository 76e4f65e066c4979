// Each device keeps its own state: two devices of one kind on one LAN each get their own page
// values and frames, and a device picked again shows what it was left with. A change of mode
// made on the router's own setting tab keeps the router's page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalBlocker>
#include <QTest>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "link/command_frame.h"
#include "main_window_fixture.h"
#include "matrix/pages/matrix_control_ids.h"
#include "support/udp_peer.h"
#include "switcher/core/switcher_controls.h"
#include "ui/list_pick.h"

namespace panoptix {
namespace {

using testing_support::MainWindowTest;
using testing_support::PeerScript;
using testing_support::Pick;
using testing_support::UdpPeer;

class DeviceStateTest : public MainWindowTest {
  protected:
    // Two devices of one type at 127.0.0.1, told apart by their address bytes 1 and 2.
    void ListTwo(uint8_t type_byte, const UdpPeer& device) {
        DeviceLink& link = dialog_->State().link;
        link.endpoints.device_port = device.port();
        for (uint8_t row = 0; row < 2; ++row) {
            link.device_table[row].SetIpText("127.0.0.1");
            link.device_table[row].device_type = type_byte;
            link.device_table[row].device_address = static_cast<uint8_t>(row + 1);
        }
        dialog_->ListDevices({u"device 1", u"device 2"});
    }

    void Press(int control_id) const {
        auto* button = FindControlAs<CButtonST>(dialog_->CurrentPage(), control_id);
        ASSERT_NE(button, nullptr) << control_id;
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

// The address byte and the command with its payload of a switcher frame ("01 88 00").
std::string SwitcherFrameText(const std::vector<uint8_t>& frame) {
    if (frame.size() < 20) {
        return "short frame";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", frame[5], frame[16], frame[17]);
    return text;
}

TEST_F(DeviceStateTest, TwoSwitchersEachSendTheirOwnBeforeValues) {
    UdpPeer device(PeerScript::Silent());
    ListTwo(device_type::kSwitcher, device);
    size_t presses = 0;
    const auto on_air_from = [&](int entry) {
        dialog_->DeviceCombo()->setCurrentIndex(entry);
        Press(sw_id::kOnAir);
        const auto frames = device.WaitForFrames(++presses, 1000);
        return frames.size() == presses ? SwitcherFrameText(frames.back()) : "no frame";
    };

    EXPECT_EQ(on_air_from(0), "01 88 00");  // A goes on air
    // B was never put on air: its press sends its own "before" value, not A's.
    EXPECT_EQ(on_air_from(1), "02 88 00");
    // A, picked again, shows and sends what it was left with.
    EXPECT_EQ(on_air_from(0), "01 88 01");
    EXPECT_EQ(dialog_->State().switchers.size(), 2u);
}

TEST_F(DeviceStateTest, ASecondRouterStartsWithNoRoutesAndTheFirstKeepsItsOwn) {
    UdpPeer device(PeerScript::Silent());
    ListTwo(device_type::kMatrix, device);
    dialog_->DeviceCombo()->setCurrentIndex(0);
    Press(matrix_id::InputId(3));
    Press(matrix_id::OutputId(5));
    const DeviceLink& link = dialog_->State().link;
    const MatrixState* first = dialog_->State().routers.Find(LanDeviceId(link.device_table[0]));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_matrix_route[4], 3);

    dialog_->DeviceCombo()->setCurrentIndex(1);
    const MatrixState* second = dialog_->State().routers.Find(LanDeviceId(link.device_table[1]));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->m_matrix_route, MatrixRoutes{});
    EXPECT_EQ(first->m_matrix_route[4], 3);
}

TEST_F(DeviceStateTest, AModeChangeOnTheRouterSettingTabKeepsTheRouterPageAndEmptiesTheList) {
    UdpPeer device(PeerScript::Silent());
    ListTwo(device_type::kMatrix, device);
    dialog_->DeviceCombo()->setCurrentIndex(0);
    QWidget* router_page = dialog_->CurrentPage();
    ASSERT_NE(router_page, nullptr);
    Press(matrix_id::kSettingTab);
    auto* mode_list = FindControlAs<QComboBox>(router_page, matrix_id::kModeList);
    ASSERT_NE(mode_list, nullptr);

    Pick(mode_list, kModeSerial);

    const DeviceLink& link = dialog_->State().link;
    EXPECT_EQ(link.mode(), ConnectionMode::Serial);
    EXPECT_EQ(dialog_->CurrentPage(), router_page);
    // The list was the LAN's: a pick can no longer reach a LAN row from the serial link.
    EXPECT_EQ(dialog_->DeviceCombo()->count(), 0);
    EXPECT_EQ(link.m_device_index, -1);
    EXPECT_EQ(link.device_table[0].IpText(), "");
}

}  // namespace
}  // namespace panoptix
