#pragma once
// Shared by the multiviewer page tests: a state connected to a fake multiviewer on loopback,
// frame helpers and pixel reading.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

#include "link/command_frame.h"
#include "shell/panoptix_state.h"
#include "support/recorders.h"
#include "support/udp_peer.h"

namespace panoptix::testing_support {

// Where the container shows the 720 x 480 preview: its top-left corner at (5, 40).
inline constexpr QPoint kPreviewAt{5, 40};

// The panel's local port: one on 127.0.0.1 that nothing is bound to at the moment of the call.
inline uint16_t FreePanelPort() {
    return FreeLoopbackPort();
}

// A fake multiviewer's script: it answers the status query (0x32) with the reply it is given,
// or stays silent without one; it records every frame either way.
inline PeerScript MultiviewerScript(std::optional<std::vector<uint8_t>> status_reply) {
    std::vector<std::vector<uint8_t>> replies;
    if (status_reply) {
        replies.push_back(std::move(*status_reply));
    }
    return PeerScript::Reply(command::kMultiviewerStatus, std::move(replies));
}

// What a multiviewer page is handed: the link and its device's block.
struct MultiviewerPageState {
    DeviceLink link;
    MultiviewerState multiviewer;
};

// Selects device row 0 (a multiviewer at 127.0.0.1) and points the link at the fake's port.
inline void ConnectTo(MultiviewerPageState& state, const UdpPeer& device) {
    SelectPeer(state.link, device, device_type::kMultiviewer, 0x07);
}

inline uint8_t CommandOf(const std::vector<uint8_t>& frame) {
    return frame.size() > kFrameCommandOffset ? frame[kFrameCommandOffset] : 0;
}

// count payload bytes from frame byte 17 on (fewer if the frame is shorter).
inline std::vector<uint8_t> PayloadOf(const std::vector<uint8_t>& frame, size_t count) {
    if (frame.size() <= kFramePayloadOffset) {
        return {};
    }
    const size_t end = std::min(frame.size(), kFramePayloadOffset + count);
    return {frame.begin() + kFramePayloadOffset, frame.begin() + static_cast<ptrdiff_t>(end)};
}

// What the widget shows, as an image of its own size.
inline QImage Shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace panoptix::testing_support
