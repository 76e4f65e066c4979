#pragma once
// Shared pieces of the quad-view tests: a view that records what the rules do to the controls,
// and replies as a quad-view processor of type 60, address 07 sends them over UDP.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "link/command_frame.h"
#include "quadview/core/quadview_control_ids.h"
#include "quadview/core/quadview_decoder.h"
#include "quadview/core/quadview_view.h"

namespace panoptix::testing {

using Bytes = std::vector<uint8_t>;

class RecordingView : public QuadviewView {
  public:
    void ShowButtonPicture(int control_id, int picture_id) override {
        picture[control_id] = picture_id;
    }
    void ShowLampIcon(int control_id, int icon_id) override { icon[control_id] = icon_id; }
    void SelectListRow(int control_id, int row) override { selected_row[control_id] = row; }
    void EnableList(int control_id, ListEnablement enablement) override {
        enabled[control_id] = enablement == ListEnablement::Enabled;
    }
    void RepaintPreview() override { ++repaints; }
    void SignalPollEnded() override { ++poll_ended; }

    // Control ids of the layout buttons that show their lit picture.
    std::vector<int> LitLayoutButtons() const {
        std::vector<int> lit;
        for (uint8_t mode = 0; mode <= 16; ++mode) {
            const auto at = picture.find(qv_id::LayoutButtonId(mode));
            if (at != picture.end() &&
                at->second == qv_picture::LayoutPicture(mode, qv_picture::ButtonLook::Lit)) {
                lit.push_back(qv_id::LayoutButtonId(mode));
            }
        }
        return lit;
    }
    std::array<int, 4> LampIcons() {
        return {icon[qv_id::LampId(0)], icon[qv_id::LampId(1)], icon[qv_id::LampId(2)],
                icon[qv_id::LampId(3)]};
    }

    std::map<int, int> picture;
    std::map<int, int> icon;
    std::map<int, int> selected_row;
    std::map<int, bool> enabled;
    int repaints = 0;
    int poll_ended = 0;
};

inline constexpr uint8_t kQuadType = 0x60;
inline constexpr uint8_t kQuadAddress = 0x07;

// The fields of a status reply the panel reads; the rest of its 261 bytes are zero.
struct StatusFields {
    uint8_t output_format = 10;
    uint8_t show_mode = 0;
    std::array<uint8_t, 2> pip_child{1, 2};
    uint8_t loop_state = 0;
    std::array<uint8_t, 4> label_length{4, 4, 4, 4};
};

inline Bytes ReplyFrame(uint8_t command, const Bytes& payload) {
    Bytes frame(kFrameOverhead + payload.size());
    BuildFrameWithDeviceBytes(kQuadType, kQuadAddress, LinkByte::Udp, command, payload, frame);
    return frame;
}

inline Bytes StatusReply(const StatusFields& f) {
    Bytes payload(quad_reply::kStatusLength - kFrameOverhead, 0);
    auto put = [&payload](size_t frame_offset, uint8_t value) {
        payload.at(frame_offset - kFramePayloadOffset) = value;
    };
    put(quad_reply::kOutputFormat, f.output_format);
    put(quad_reply::kShowMode, f.show_mode);
    put(quad_reply::kText, 'Q');
    for (size_t line = 0; line < 4; ++line) {
        put(quad_reply::kLabelRecords + quad_reply::kLabelRecordSize * line +
                quad_reply::kLabelLength,
            f.label_length[line]);
    }
    put(quad_reply::kPipChildren, f.pip_child[0]);
    put(quad_reply::kPipChildren + 1, f.pip_child[1]);
    put(quad_reply::kLoopState, f.loop_state);
    return ReplyFrame(0x90, payload);
}

inline Bytes SignalReply(std::array<uint8_t, 4> statuses) {
    Bytes payload(quad_reply::kSignalLength - kFrameOverhead, 0);
    for (size_t channel = 0; channel < 4; ++channel) {
        payload[quad_reply::kSignalPairs + 2 * channel - kFramePayloadOffset] = statuses[channel];
    }
    return ReplyFrame(0xAA, payload);
}

inline Bytes FirstBytes(const Bytes& frame, size_t count) {
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace panoptix::testing
