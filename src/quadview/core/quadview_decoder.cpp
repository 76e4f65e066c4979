#include "quadview/core/quadview_decoder.h"

#include "link/byte_reader.h"

namespace panoptix {

QuadStatusReport DecodeQuadStatusReply(std::span<const uint8_t> frame) {
    using namespace quad_reply;
    const ByteReader reader(frame);
    QuadStatusReport report;
    report.traced_byte = reader.ByteAt(kTracedByte);
    report.output_format = reader.ByteAt(kOutputFormat);
    report.show_mode = reader.ByteAt(kShowMode);
    if (reader.ByteAt(kText)) {
        size_t length = 0;
        while (length < kTextMax) {
            const auto c = reader.ByteAt(kText + length);
            if (!c || *c == 0) {
                break;
            }
            ++length;
        }
        report.text_length = length;
    }
    for (size_t line = 0; line < report.label_length.size(); ++line) {
        report.label_length[line] =
            reader.ByteAt(kLabelRecords + kLabelRecordSize * line + kLabelLength);
    }
    report.pip_child = {reader.ByteAt(kPipChildren), reader.ByteAt(kPipChildren + 1)};
    report.loop_state = reader.ByteAt(kLoopState);
    return report;
}

QuadSignalReport DecodeQuadSignalReply(std::span<const uint8_t> frame) {
    const ByteReader reader(frame);
    QuadSignalReport report;
    for (size_t channel = 0; channel < report.size(); ++channel) {
        report[channel] = reader.ByteAt(quad_reply::kSignalPairs + 2 * channel);
    }
    return report;
}

}  // namespace panoptix
