#pragma once
// Shared by the quad-view page tests: a fake quad-view processor on loopback that answers the
// status and signal queries with replies the test may change at any time (or stays silent),
// and a fixture that opens the page against it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>

#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "controls/button_st.h"
#include "controls/control_id.h"
#include "link/device_link.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/pages/quadview_page.h"
#include "quadview/quadview_test_support.h"
#include "resources/skin.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix::testing {

// Plays a quad-view processor: 0x90 gets the status reply, 0xAA the signal reply, each only
// while one is set; every datagram is recorded.
class QuadDevice {
  public:
    QuadDevice() {
        testing_support::PeerScript script = testing_support::PeerScript::Silent();
        script.storm = [this](const testing_support::Request& request) { Answer(request); };
        peer_.Play(std::move(script));
    }

    void SetStatusReply(std::optional<Bytes> reply) {
        const std::lock_guard lock(mutex_);
        status_ = std::move(reply);
    }
    void SetSignalReply(std::optional<Bytes> reply) {
        const std::lock_guard lock(mutex_);
        signal_ = std::move(reply);
    }

    testing_support::UdpPeer& peer() { return peer_; }

  private:
    void Answer(const testing_support::Request& request) {
        std::optional<Bytes> reply;
        {
            const std::lock_guard lock(mutex_);
            if (request.Command() == 0x90) {
                reply = status_;
            } else if (request.Command() == 0xAA) {
                reply = signal_;
            }
        }
        if (reply) {
            peer_.SendTo(request.sender_ip, request.sender_port, *reply);
        }
    }

    std::mutex mutex_;
    std::optional<Bytes> status_;
    std::optional<Bytes> signal_;
    testing_support::UdpPeer peer_;  // last: its thread ends before the replies go
};

class QuadPageTest : public ::testing::Test {
  protected:
    // Opens the page against the device as it is set now.
    QuadviewPage& Open() {
        testing_support::SelectPeer(link_, device_.peer(), kQuadType, kQuadAddress);
        page_ = std::make_unique<QuadviewPage>(link_, quad_, nullptr);
        page_->show();
        return *page_;
    }

    // The command bytes the device has received, once at least count have arrived (a short
    // wait past them shows that nothing more comes).
    std::vector<uint8_t> Commands(size_t count) {
        device_.peer().WaitForFrames(count, 1000);
        device_.peer().WaitForFrames(count + 1, 150);
        return device_.peer().Commands();
    }
    // The command byte and payload of frame number (1-based) count.
    std::vector<uint8_t> CommandAndPayload(size_t count) {
        const Bytes frame = device_.peer().WaitForFrame(count);
        if (frame.size() < 20) {
            return {};
        }
        return {frame.begin() + 16, frame.end() - 3};
    }

    CButtonST* Button(int id) const { return FindControlAs<CButtonST>(page_.get(), id); }
    QComboBox* List(int id) const { return FindControlAs<QComboBox>(page_.get(), id); }
    int PictureOf(int id) const { return Button(id)->PictureId(); }
    // The icon a lamp shows: 375 green, 376 red, 0 none or another.
    int LampIcon(int channel) const {
        const auto* lamp = FindControlAs<QLabel>(page_.get(), qv_id::LampId(channel));
        const QImage shown = lamp->pixmap().toImage();
        for (const int icon : {qv_picture::kLampGreen, qv_picture::kLampRed}) {
            if (!shown.isNull() && shown == skin::Bitmap(icon).toImage()) {
                return icon;
            }
        }
        return 0;
    }
    std::vector<int> LampIcons() const {
        return {LampIcon(0), LampIcon(1), LampIcon(2), LampIcon(3)};
    }
    // The layout buttons showing their lit picture, by show mode.
    std::vector<int> LitModes() const {
        std::vector<int> lit;
        for (uint8_t mode = 0; mode <= 16; ++mode) {
            if (PictureOf(qv_id::LayoutButtonId(mode)) ==
                qv_picture::LayoutPicture(mode, qv_picture::ButtonLook::Lit)) {
                lit.push_back(mode);
            }
        }
        return lit;
    }
    // The preview's pixel at (x, y) of its 720 x 480 canvas, as the page shows it.
    QColor PreviewPixel(int x, int y) const {
        const QImage shot = page_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return shot.pixelColor(QuadviewPage::kPreviewOrigin.x() + x,
                               QuadviewPage::kPreviewOrigin.y() + y);
    }
    AllKv2718PageData& block() { return quad_.m_all_kv2718_page_data; }

    testing_support::MessageRecorder messages_;
    QuadDevice device_;
    DeviceLink link_;
    QuadviewState quad_;
    std::unique_ptr<QuadviewPage> page_;
};

}  // namespace panoptix::testing
