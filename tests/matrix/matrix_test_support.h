#pragma once
// What the matrix tests share: a router at 127.0.0.1 on a loopback port and at the far end of a
// pseudo-terminal, and a view that keeps the buttons' pictures as the operator would see them.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"
#include "support/pty_peer.h"
#include "support/udp_peer.h"

namespace panoptix::testing {

// The sixteen crosspoint buttons and LOCK: '-' normal, '+' lit, '?' never drawn. Draws() counts
// every picture set since the last call.
class RecordingView : public CrosspointView, public LockView {
  public:
    void ShowInput(int k, CrosspointPicture picture) override { Set(inputs_, k, picture); }
    void ShowOutput(int k, CrosspointPicture picture) override { Set(outputs_, k, picture); }
    void ShowLock(LockPicture picture) override {
        lock_ = picture == LockPicture::kLocked ? "locked" : "unlocked";
        ++draws_;
    }

    // "in --+----- out ++++++++ lock unlocked"
    std::string Screen() const { return "in " + inputs_ + " out " + outputs_ + " lock " + lock_; }
    int TakeDraws() { return std::exchange(draws_, 0); }
    // A new page: nothing drawn yet.
    void Clear() { *this = RecordingView(); }

  private:
    void Set(std::string& row, int k, CrosspointPicture picture) {
        ++draws_;
        if (!IsMatrixPort(k)) {
            ADD_FAILURE() << "button " << k << " does not exist";
            return;
        }
        row[static_cast<size_t>(k - 1)] = picture == CrosspointPicture::kLit ? '+' : '-';
    }

    std::string inputs_ = "????????";
    std::string outputs_ = "????????";
    std::string lock_ = "?";
    int draws_ = 0;
};

// Routes as digits, output 1 first: "00300300".
inline std::string RoutesText(const MatrixRoutes& routes) {
    std::string text;
    for (uint8_t input : routes) {
        text += std::to_string(input);
    }
    return text;
}

// A link whose LAN peer is the loopback router, selected and in LAN mode.
class MatrixLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        link_.device_table[0].SetIpText("127.0.0.1");
        link_.device_table[0].device_type = 0x81;
        link_.m_device_index = 0;
        link_.endpoints.device_port = router_.port();
        link_.endpoints.local_port = testing_support::FreeLoopbackPort();
    }
    void TearDown() override { link_.serial_port.ClosePort(); }

    void UseSerialLine() {
        link_.SetMode(ConnectionMode::Serial);
        ASSERT_TRUE(link_.serial_port.OpenPort(line_.PortName(), 9600));
    }

    // The text of the one datagram the router received since the last call ("" for none), and
    // a failure if a second one came.
    std::string TakeDatagram() {
        const auto datagram = router_.Receive(kQuietMs);
        EXPECT_FALSE(router_.Receive(0)) << "a second datagram";
        return datagram ? std::string(datagram->bytes.begin(), datagram->bytes.end())
                        : std::string();
    }
    // Whatever reached the router's serial end since the last call.
    std::string TakeSerialBytes() {
        const auto bytes = line_.ReadUntilQuiet(kQuietMs);
        return std::string(bytes.begin(), bytes.end());
    }

    static constexpr uint32_t kQuietMs = 30;
    DeviceLink link_;
    testing_support::UdpPeer router_;
    testing_support::PtyPeer line_{testing_support::PtyPeer::Line::HeldOpen};
};

}  // namespace panoptix::testing
