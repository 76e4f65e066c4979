#pragma once
// A quad-view processor (type 60, address 07) played by a scripted fake device on 127.0.0.1,
// with the panel's link and rules pointed at it on ports of their own.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "link/device_link.h"
#include "quadview/core/quadview_panel.h"
#include "quadview_test_support.h"
#include "support/udp_peer.h"

namespace panoptix::testing {

class QuadLoopbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeviceEntry& row = link_.device_table[0];
        row.SetIpText("127.0.0.1");
        row.device_type = kQuadType;
        row.device_address = kQuadAddress;
        link_.m_device_index = 0;
        link_.endpoints.device_port = device_.port();
        link_.endpoints.local_port = testing_support::FreeLoopbackPort();
    }

    // Every datagram that reached the device so far (a send is complete when it returns).
    std::vector<Bytes> Received() {
        std::vector<Bytes> all;
        while (auto datagram = device_.Receive(all.empty() ? 50 : 0)) {
            all.push_back(std::move(datagram->bytes));
        }
        return all;
    }
    // The one datagram a single action sent.
    Bytes ReceivedOne() {
        const auto all = Received();
        EXPECT_EQ(all.size(), 1u);
        return all.empty() ? Bytes{} : all.front();
    }

    AllKv2718PageData& block() { return quad_.m_all_kv2718_page_data; }

    testing_support::UdpPeer device_;
    DeviceLink link_;
    QuadviewState quad_;
    RecordingView view_;
    QuadviewPanel panel_{link_, quad_, view_};
};

}  // namespace panoptix::testing
