// Placeholder until the parser lands.
#include "link/reply_parser.h"

namespace panoptix {

int8_t ParseReply(LinkState&, const StatusFrameDecoder&) {
    return 0;
}
void AppendReceivedBytes(LinkState&, std::span<const uint8_t>) {}
void ClearReceivedBytes(LinkState& state) {
    state.status_rx_buffer.fill(0);
    state.status_rx_count = 0;
}
int8_t AwaitSerialReply(LinkState&, uint32_t, uint32_t, const StatusFrameDecoder&, CountTrace) {
    return 0;
}

}  // namespace panoptix
