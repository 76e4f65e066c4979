// The serial reply parser as the serial search and the status query drive it: the input is the
// byte stream from the port, cut into pieces; every piece goes into the 1024-byte accumulator
// and the whole accumulator is parsed again from its first byte. A status frame the parser cuts
// out goes to the multiviewer's decoder as an exact-size heap copy, so a read past its end is a
// finding.
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_support.h"
#include "link/device_link.h"
#include "link/reply_parser.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_decoder.h"

namespace {

using panoptix::DeviceLink;

uint16_t LengthField(std::span<const uint8_t> frame) {
    return static_cast<uint16_t>(frame[2] | (frame[3] << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = panoptix::fuzz::SilenceSideChannels();
    static DeviceLink state;
    static panoptix::MultiviewerState multiviewer;
    (void)silenced;
    panoptix::ClearReceivedBytes(state);
    state.m_main_com_dev_type = 0;
    state.model_name.clear();

    int decoded_frames = 0;
    const panoptix::StatusFrameDecoder decode = [&](std::span<const uint8_t> frame) {
        ++decoded_frames;
        // The frame is a run of the accumulated bytes that starts with the two markers and
        // carries its own length.
        const uint8_t* accumulated = state.status_rx_buffer.data();
        FUZZ_CHECK(frame.data() >= accumulated);
        FUZZ_CHECK(frame.data() + frame.size() <= accumulated + state.status_rx_count);
        FUZZ_CHECK(frame.size() >= 4);
        FUZZ_CHECK(frame[0] == 0xA5 && frame[1] == 0x6C);
        FUZZ_CHECK(LengthField(frame) == frame.size());
        FUZZ_CHECK(frame.back() == 0xAE);
        const std::vector<uint8_t> copy(frame.begin(), frame.end());
        panoptix::DecodeStatusReply(multiviewer, copy, panoptix::DecodeTraces::Off);
    };

    panoptix::fuzz::PieceCutter pieces({data, size}, 1100);
    while (!pieces.Done()) {
        panoptix::AppendReceivedBytes(state, pieces.Next());
        FUZZ_CHECK(state.status_rx_count >= 0);
        FUZZ_CHECK(static_cast<size_t>(state.status_rx_count) <= state.status_rx_buffer.size());

        decoded_frames = 0;
        const auto count = static_cast<size_t>(state.status_rx_count);
        int8_t result = 0;
        {
            // Bytes past the count are not data: reading them is a finding.
            const panoptix::fuzz::PoisonedRange unused_tail(state.status_rx_buffer.data() + count,
                                                            state.status_rx_buffer.size() - count);
            result = panoptix::ParseReply(state, decode);
        }
        FUZZ_CHECK(result >= 0);
        FUZZ_CHECK(decoded_frames <= 1);
        FUZZ_CHECK(decoded_frames == 0 || result == 1);
        if (result > 0) {
            // A caller stops waiting here; start over as the next query would.
            panoptix::ClearReceivedBytes(state);
        }
    }
    return 0;
}
