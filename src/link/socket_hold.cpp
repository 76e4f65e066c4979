#include "link/socket_hold.h"

#include <utility>

#include "link/udp_socket.h"

namespace panoptix {
namespace {

struct Hold {
    const DeviceLink* state = nullptr;
    int socket = -1;
    SocketHoldCancelled on_cancel;
};

Hold& TheHold() {
    static Hold hold;
    return hold;
}

}  // namespace

bool PlaceSocketHold(DeviceLink& state, SocketHoldCancelled on_cancel) {
    Hold& hold = TheHold();
    if (hold.state != nullptr || state.m_udpSockfd < 0) {
        return false;
    }
    hold = Hold{&state, state.m_udpSockfd, std::move(on_cancel)};
    return true;
}

bool SocketHeld(const DeviceLink& state) {
    return TheHold().state == &state;
}

void ReleaseSocketHold(DeviceLink& state) {
    if (SocketHeld(state)) {
        TheHold() = Hold{};
    }
}

void CancelSocketHold(DeviceLink& state) {
    if (!SocketHeld(state)) {
        return;
    }
    // Taken out first, so that whatever the holder does when told finds no hold.
    Hold cancelled = std::exchange(TheHold(), Hold{});
    if (cancelled.on_cancel) {
        cancelled.on_cancel();
    }
    if (state.m_udpSockfd >= 0 && state.m_udpSockfd == cancelled.socket) {
        udp_socket::Close(state.m_udpSockfd);
        state.m_udpSockfd = -1;
    }
}

}  // namespace panoptix
