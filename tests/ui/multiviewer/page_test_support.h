#pragma once
// Shared by the multiviewer page tests: a state connected to a fake multiviewer on loopback,
// frame helpers and pixel reading.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "fake_multiviewer.h"
#include "link/command_frame.h"
#include "link/udp_test_support.h"
#include "shell/panoptix_state.h"

namespace panoptix::testing_support {

// Where the container shows the 720 x 480 preview: its top-left corner at (5, 40).
inline constexpr QPoint kPreviewAt{5, 40};

// A UDP port on 127.0.0.1 that nothing is bound to at the moment of the call.
inline uint16_t FreePanelPort() {
    RawUdpSocket probe("127.0.0.1", 0);
    return probe.port();
}

// Selects device row 0 (a multiviewer at 127.0.0.1) and points the link at the fake's port.
inline void ConnectTo(PanoptixState& state, const FakeMultiviewer& device) {
    state.device_table[0].SetIpText("127.0.0.1");
    state.device_table[0].device_type = device_type::kMultiviewer;
    state.device_table[0].device_address = 0x07;
    state.m_device_index = 0;
    state.endpoints.device_port = device.port();
    state.endpoints.local_port = FreePanelPort();
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
