// The quad-view signal reply (0xAA) decoded and applied, as the opening's query and the
// periodic poll hand a datagram to the panel. The input is the exact-size datagram. A channel
// whose status arrived shows it; the others keep their lamp; a lamp changes its icon only when
// its status changed, green exactly for 1.
#include <cstdint>
#include <span>

#include "quadview/core/quadview_decoder.h"
#include "quadview_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace panoptix;
    const std::span<const uint8_t> frame(data, size);
    fuzz::FuzzPanel page;
    const AllKv2718PageData before = page.quad.m_all_kv2718_page_data;

    const QuadSignalReport report = DecodeQuadSignalReply(frame);
    page.panel.ApplySignalReport(report);
    // Applying the same reply again changes nothing more.
    page.view.icons.clear();
    const AllKv2718PageData once = page.quad.m_all_kv2718_page_data;
    page.panel.ApplySignalReport(report);
    FUZZ_CHECK(page.view.icons.empty());
    FUZZ_CHECK(page.quad.m_all_kv2718_page_data == once);

    page.view.icons.clear();
    page.quad.m_all_kv2718_page_data = before;
    page.panel.ApplySignalReport(report);
    FUZZ_CHECK(page.SentNothing());
    for (size_t channel = 0; channel < kQuadChannels; ++channel) {
        const size_t at = quad_reply::kSignalPairs + 2 * channel;
        FUZZ_CHECK(report[channel].has_value() == (size > at));
        const uint8_t lamp = page.quad.m_all_kv2718_page_data.signal_lamp[channel];
        FUZZ_CHECK(lamp == report[channel].value_or(before.signal_lamp[channel]));
        const auto icon = page.view.icons.find(qv_id::LampId(static_cast<int>(channel)));
        FUZZ_CHECK((icon != page.view.icons.end()) == (lamp != before.signal_lamp[channel]));
        if (icon != page.view.icons.end()) {
            FUZZ_CHECK(icon->second == (lamp == 1 ? qv_picture::kLampGreen : qv_picture::kLampRed));
        }
    }
    FUZZ_CHECK(page.quad.m_all_kv2718_page_data.show_mode == before.show_mode);
    return 0;
}
