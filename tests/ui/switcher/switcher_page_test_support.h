#pragma once
// Shared by the switcher page tests: a link pointed at a fake switcher on loopback (row 0, a
// switcher at 127.0.0.1 with device bytes A5 01), frames as hex text and the pictures shown.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "link/command_frame.h"
#include "link/device_link.h"
#include "support/recorders.h"
#include "support/udp_peer.h"
#include "switcher/core/switcher_state.h"

namespace panoptix::switcher_testing {

using testing_support::MessageRecorder;
using testing_support::TraceRecorder;
using testing_support::UdpPeer;

inline constexpr uint8_t kSwitcherType = 0xA5;
inline constexpr uint8_t kSwitcherAddress = 0x01;

// All bytes as upper-case hex pairs separated by spaces.
inline std::string HexText(const std::vector<uint8_t>& bytes, size_t from = 0,
                           size_t to = std::string::npos) {
    std::string text;
    char pair[4];
    for (size_t i = from; i < bytes.size() && i < to; ++i) {
        std::snprintf(pair, sizeof pair, "%02X", bytes[i]);
        text += text.empty() ? "" : " ";
        text += pair;
    }
    return text;
}

// The command and payload of a frame ("80 03"): bytes 16 to the checksum.
inline std::string CommandText(const std::vector<uint8_t>& frame) {
    if (frame.size() < 20) {
        return "short frame " + HexText(frame);
    }
    return HexText(frame, kFrameCommandOffset, frame.size() - 3);
}

inline std::vector<std::string> CommandTexts(const std::vector<std::vector<uint8_t>>& frames) {
    std::vector<std::string> texts;
    for (const auto& frame : frames) {
        texts.push_back(CommandText(frame));
    }
    return texts;
}

// A fresh switcher block and a link to a fake switcher that records what reaches it.
class SwitcherDeskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        device_ = std::make_unique<UdpPeer>(testing_support::PeerScript::Silent());
        testing_support::SelectPeer(link_, *device_, kSwitcherType, kSwitcherAddress);
    }

    AllSwitcherPageData& block() { return state_.m_all_switcher_page_data; }

    // Every frame that arrived so far, after letting the event loop run for a moment.
    std::vector<std::vector<uint8_t>> Received(int settle_ms = 100) {
        QTest::qWait(settle_ms);
        return device_->Frames();
    }
    std::vector<std::string> ReceivedCommands(int settle_ms = 100) {
        return CommandTexts(Received(settle_ms));
    }
    // The one frame that arrives next (empty after a second), forgotten afterwards.
    std::vector<uint8_t> NextFrame() {
        std::vector<uint8_t> frame = device_->WaitForFrame(1);
        device_->Forget();
        return frame;
    }
    bool NothingSent(int wait_ms = 150) {
        QTest::qWait(wait_ms);
        return device_->Frames().empty();
    }
    void Forget() { device_->Forget(); }

    MessageRecorder messages_;
    DeviceLink link_;
    SwitcherState state_;
    std::unique_ptr<UdpPeer> device_;
};

// A skinned button of the page itself (not of a page inside it: ids are unique within one
// page only; the transition settings page reuses 1032-1038).
inline CButtonST* ButtonOf(const QWidget* page, int control_id) {
    for (CButtonST* button : page->findChildren<CButtonST*>(Qt::FindDirectChildrenOnly)) {
        if (ControlIdOf(button) == control_id) {
            return button;
        }
    }
    return nullptr;
}

// The picture (skin id) of every skinned button of the page, by control id.
inline std::map<int, int> PicturesOf(const QWidget* page) {
    std::map<int, int> pictures;
    for (const CButtonST* button : page->findChildren<CButtonST*>(Qt::FindDirectChildrenOnly)) {
        pictures[ControlIdOf(button)] = button->PictureId();
    }
    return pictures;
}

inline int PictureOf(const QWidget* page, int control_id) {
    const CButtonST* button = ButtonOf(page, control_id);
    return button == nullptr ? -1 : button->PictureId();
}

}  // namespace panoptix::switcher_testing
