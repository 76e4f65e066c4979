#include "link/model_name_scan.h"

#include <algorithm>

namespace panoptix {

void ScanModelNames(const ByteReader& frame, size_t end_bound,
                    const std::function<ScanStep(std::span<const uint8_t> name)>& on_name) {
    const size_t bound = std::min(end_bound, frame.size());
    for (size_t k = kModelNameOffset; k + 2 < bound; ++k) {
        if (!frame.ByteIs(k, kModelNameSeparator) || !frame.ByteIs(k + 2, kModelNameSeparator)) {
            continue;
        }
        const auto name = frame.BytesAt(kModelNameOffset, k - kModelNameOffset);
        if (name && on_name(*name) == ScanStep::Stop) {
            return;
        }
    }
}

std::u16string WidenBytes(std::span<const uint8_t> bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}

}  // namespace panoptix
