// The quad-view status reply (0x90) decoded and applied, as the status query and the opening
// hand a datagram of up to 1024 bytes to the panel. The input is the exact-size datagram, so a
// read past its end is a finding. The report holds a field exactly when its byte arrived; the
// apply stores those fields (the UMD name lengths too), applies the reported mode without
// sending it back and leaves one layout button lit at most.
#include <cstdint>
#include <span>

#include "quadview/core/quadview_decoder.h"
#include "quadview_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace panoptix;
    const std::span<const uint8_t> frame(data, size);
    fuzz::FuzzPanel page;
    const AllKv2718PageData before = page.quad.m_all_kv2718_page_data;
    const auto lengths_before = page.quad.umd_name_length;

    const QuadStatusReport report = DecodeQuadStatusReply(frame);
    FUZZ_CHECK(report.output_format.has_value() == (size > quad_reply::kOutputFormat));
    FUZZ_CHECK(report.show_mode.has_value() == (size > quad_reply::kShowMode));
    FUZZ_CHECK(report.loop_state.has_value() == (size > quad_reply::kLoopState));
    FUZZ_CHECK(!report.text_length || *report.text_length <= quad_reply::kTextMax);

    page.panel.ApplyStatusReport(report);
    const AllKv2718PageData& block = page.quad.m_all_kv2718_page_data;
    FUZZ_CHECK(page.SentNothing());
    FUZZ_CHECK(page.panel.applying_status() == 0);
    FUZZ_CHECK(block.output_format == report.output_format.value_or(before.output_format));
    FUZZ_CHECK(block.loop_state == report.loop_state.value_or(before.loop_state));
    for (size_t line = 0; line < report.label_length.size(); ++line) {
        FUZZ_CHECK(report.label_length[line].has_value() ==
                   (size > quad_reply::kLabelRecords + quad_reply::kLabelRecordSize * line +
                               quad_reply::kLabelLength));
        FUZZ_CHECK(page.quad.umd_name_length[line] ==
                   report.label_length[line].value_or(lengths_before[line]));
    }
    const uint8_t mode = report.show_mode.value_or(before.show_mode);
    FUZZ_CHECK(block.show_mode == mode);
    FUZZ_CHECK(page.view.LitLayoutButtons() == (mode <= kLastShowMode ? 1 : 0));
    if (mode >= 7 && mode <= 10) {
        FUZZ_CHECK(block.kora_kv2718_pip_child_ch[0] == 1);
        FUZZ_CHECK(block.kora_kv2718_pip_child_ch[1] != 1);
    }
    for (const PreviewWindow& w : page.quad.quad_preview_window) {
        FUZZ_CHECK(w.x >= 0 && w.y >= 0 && w.x + w.width <= kPreviewWidth &&
                   w.y + w.height <= kPreviewHeight);
    }
    for (const auto& [id, row] : page.view.rows) {
        FUZZ_CHECK(row >= -1 && row < kQuadChannels);
    }
    return 0;
}
