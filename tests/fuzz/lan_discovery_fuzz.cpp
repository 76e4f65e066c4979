// The LAN search's handling of replies: the input is a run of datagrams (split at every
// kDatagramSeparator; a seed without one is a single reply) handed to the search's
// datagram-to-devices step in turn, as one search would receive them. Every table row and combo
// entry must be well formed, and never more than 128 devices listed.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "link/device_link.h"
#include "link/discovery.h"

namespace {

constexpr std::array<uint8_t, 4> kDatagramSeparator{0xF0, 0x0D, 0xF0, 0x0D};
constexpr char kSenderIp[] = "192.0.2.20";
// Replies are received into 128 bytes; a longer datagram never reaches the step.
constexpr size_t kSearchReceiveSize = 128;

std::vector<std::span<const uint8_t>> SplitDatagrams(std::span<const uint8_t> input) {
    std::vector<std::span<const uint8_t>> datagrams;
    while (true) {
        const auto at = std::search(input.begin(), input.end(), kDatagramSeparator.begin(),
                                    kDatagramSeparator.end());
        const auto length = static_cast<size_t>(at - input.begin());
        datagrams.push_back(input.first(length));
        if (at == input.end()) {
            return datagrams;
        }
        input = input.subspan(length + kDatagramSeparator.size());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = panoptix::fuzz::SilenceSideChannels();
    (void)silenced;

    panoptix::DeviceLink state;
    std::vector<std::u16string> entries;
    for (const auto datagram : SplitDatagrams({data, size})) {
        if (datagram.size() > kSearchReceiveSize) {
            continue;
        }
        const size_t before = entries.size();
        const size_t added = panoptix::TakeSearchReply(state, datagram, kSenderIp, entries);
        FUZZ_CHECK(entries.size() == before + added);
    }
    FUZZ_CHECK(entries.size() <= panoptix::kDeviceTableRows);
    for (size_t row = 0; row < entries.size(); ++row) {
        FUZZ_CHECK(entries[row].ends_with(u"_192.0.2.20"));
        FUZZ_CHECK(state.device_table[row].IpText() == kSenderIp);
        FUZZ_CHECK(state.device_table[row].ip_text[15] == '\0');
    }
    return 0;
}
