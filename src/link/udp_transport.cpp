// Placeholder until the transport lands: every operation fails.
#include "link/udp_transport.h"

namespace panoptix {

int StartNetworking() {
    return 1;
}
int OpenSearchSocket(LinkState&) {
    return 0;
}
int OpenCommandSocket(LinkState&) {
    return 0;
}
int CloseCommandSocket(LinkState&) {
    return 1;
}
int SendToPeer(LinkState&, std::span<const uint8_t>) {
    return -1;
}
int ReceiveFromPeer(LinkState&, std::span<uint8_t>, uint32_t) {
    return -1;
}
void SendOneShot(LinkState&, std::span<const uint8_t>, uint32_t) {}
std::vector<uint8_t> QueryWithReply(LinkState&, std::span<const uint8_t>, const ReplyWait&,
                                    uint32_t) {
    return {};
}

}  // namespace panoptix
