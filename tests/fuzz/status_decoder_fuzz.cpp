// The multiviewer status decoder over arbitrary frames of any length, as the LAN query hands it
// a datagram of up to 1024 bytes and the serial parser a frame it cut out. The input is the
// exact-size frame, so a read past its end is a finding. Decoding with and without traces must
// store the same state.
#include <algorithm>
#include <cstdint>
#include <span>

#include "fuzz_support.h"
#include "multiviewer/core/multiviewer_state.h"
#include "multiviewer/core/status_decoder.h"

namespace {

using panoptix::MultiviewerState;

void CheckDecodedState(const MultiviewerState& state) {
    const auto& block = state.m_all_16_view_page_data;
    constexpr int8_t kWindowCounts[] = {1, 4, 6, 8, 9, 10, 16};
    FUZZ_CHECK(std::ranges::find(kWindowCounts, state.m_cur_window_count) !=
               std::end(kWindowCounts));
    FUZZ_CHECK(block.view_mode_type < 7);
    FUZZ_CHECK(block.resolution_type < 9);
    for (const auto& name : state.umd_name) {
        FUZZ_CHECK(name.size() <= 16);  // 32 bytes of UTF-16 at most
    }
    FUZZ_CHECK(state.umd_shown == 0 || state.umd_shown == 1);
    FUZZ_CHECK(state.audio_meter_shown == 0 || state.audio_meter_shown == 1);
    FUZZ_CHECK(state.resolution_shown == 0 || state.resolution_shown == 1);
}

bool SameDecodedState(const MultiviewerState& a, const MultiviewerState& b) {
    return a.m_all_16_view_page_data == b.m_all_16_view_page_data &&
           a.m_cur_window_count == b.m_cur_window_count && a.window_source == b.window_source &&
           a.umd_name == b.umd_name && a.umd_shown == b.umd_shown &&
           a.audio_meter_shown == b.audio_meter_shown && a.resolution_shown == b.resolution_shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = panoptix::fuzz::SilenceSideChannels();
    (void)silenced;
    const std::span<const uint8_t> frame(data, size);

    MultiviewerState traced;
    panoptix::DecodeStatusReply(traced, frame, panoptix::DecodeTraces::On);
    CheckDecodedState(traced);

    MultiviewerState quiet;
    panoptix::DecodeStatusReply(quiet, frame, panoptix::DecodeTraces::Off);
    FUZZ_CHECK(SameDecodedState(traced, quiet));

    // A second reply decodes over the first, as consecutive queries do.
    panoptix::DecodeStatusReply(traced, frame.subspan(size / 2), panoptix::DecodeTraces::Off);
    CheckDecodedState(traced);
    return 0;
}
