#include "link/udp_transport.h"

#include <optional>

#include "link/clock.h"
#include "link/command_frame.h"
#include "link/operator_messages.h"
#include "link/socket_hold.h"
#include "link/trace_events.h"
#include "link/udp_socket.h"

namespace panoptix {
namespace {

bool SocketOpen(const DeviceLink& state) {
    return state.m_udpSockfd >= 0;
}

// The address of a row's IP text, or none when the row names no device one can send to: no
// address (the serial search fills no row), text that is no address, or the all-zeros or
// all-ones address. A command is never sent to such a row, whatever the socket allows.
std::optional<uint32_t> RowAddress(const DeviceEntry& entry) {
    const std::optional<uint32_t> address = udp_socket::ParseIpv4(entry.IpText());
    if (!address || *address == 0 || *address == udp_socket::kNoAddress) {
        return std::nullopt;
    }
    return address;
}

}  // namespace

int StartNetworking() {
    if (!udp_socket::Startup()) {
        ShowErrorMessage(kMessageNetworkingFailed);
        return 0;
    }
    return 1;
}

int OpenSearchSocket(DeviceLink& state) {
    CancelSocketHold(state);  // a pending exchange ends unanswered
    if (SocketOpen(state)) {
        return 1;
    }
    state.m_udpSockfd = udp_socket::Open();
    if (!SocketOpen(state)) {
        return 0;
    }
    const auto broadcast = udp_socket::ParseIpv4(state.endpoints.broadcast_address);
    state.peer_address = {broadcast.value_or(udp_socket::kNoAddress), state.endpoints.device_port};
    udp_socket::EnableBroadcast(state.m_udpSockfd);
    if (!udp_socket::BindAnyAddress(state.m_udpSockfd, state.endpoints.local_port)) {
        trace::BindSocketFail();
        return 0;
    }
    udp_socket::SetNonBlocking(state.m_udpSockfd);
    return 1;
}

int OpenFindSocket(DeviceLink& state, uint32_t address) {
    CloseCommandSocket(state);  // an earlier socket may allow broadcast; this one does not
    state.m_udpSockfd = udp_socket::Open();
    if (!SocketOpen(state)) {
        return 0;
    }
    state.peer_address = {address, state.endpoints.device_port};
    if (!udp_socket::BindAnyAddress(state.m_udpSockfd, state.endpoints.local_port)) {
        trace::BindSocketFail();
        return 0;
    }
    udp_socket::SetNonBlocking(state.m_udpSockfd);
    return 1;
}

int OpenCommandSocket(DeviceLink& state) {
    CancelSocketHold(state);  // a pending exchange ends unanswered
    if (SocketOpen(state)) {
        trace::CommandSocketReused();
        return 1;
    }
    state.m_udpSockfd = udp_socket::Open();
    if (!SocketOpen(state)) {
        return 0;
    }
    state.peer_address = {};
    const DeviceEntry* selected = state.SelectedEntry();
    const std::optional<uint32_t> address =
        selected != nullptr ? RowAddress(*selected) : std::nullopt;
    if (!address) {
        ShowErrorMessage(kMessageChooseDevice);
        udp_socket::Close(state.m_udpSockfd);
        state.m_udpSockfd = -1;
        return 0;
    }
    state.peer_address = {*address, state.endpoints.device_port};
    if (!udp_socket::BindAnyAddress(state.m_udpSockfd, state.endpoints.local_port)) {
        return 0;  // the socket stays open: callers send anyway, from a port the system picks
    }
    udp_socket::SetNonBlocking(state.m_udpSockfd);
    return 1;
}

int CloseCommandSocket(DeviceLink& state) {
    CancelSocketHold(state);
    if (SocketOpen(state)) {
        udp_socket::Close(state.m_udpSockfd);
        state.m_udpSockfd = -1;
    }
    return 1;
}

int SendToPeer(DeviceLink& state, std::span<const uint8_t> bytes) {
    return udp_socket::SendTo(state.m_udpSockfd, bytes, state.peer_address);
}

int ReceiveFromPeer(DeviceLink& state, std::span<uint8_t> buffer, uint32_t timeout_ms) {
    return udp_socket::ReceiveFrom(state.m_udpSockfd, buffer, timeout_ms, state.peer_address);
}

void SendOneShot(DeviceLink& state, std::span<const uint8_t> frame, uint32_t pause_ms) {
    OpenCommandSocket(state);
    SendToPeer(state, frame);
    SleepMs(pause_ms);
    CloseCommandSocket(state);
}

std::vector<uint8_t> QueryWithReply(DeviceLink& state, std::span<const uint8_t> request,
                                    const ReplyWait& wait, uint32_t pause_after_send_ms) {
    OpenCommandSocket(state);
    SendToPeer(state, request);
    if (pause_after_send_ms > 0) {
        SleepMs(pause_after_send_ms);
    }

    std::vector<uint8_t> reply(kQueryReceiveSize);
    bool answered = false;
    do {
        const int length =
            ReceiveFromPeer(state, reply, RemainingMs(wait.start_ms, wait.window_ms));
        if (length < 0) {
            continue;  // nothing, a failure or an over-long datagram: keep waiting
        }
        if (wait.received_trace != nullptr) {
            Trace(wait.received_trace, length);
        }
        // A datagram too short to carry a command byte is someone else's, like any other.
        if (static_cast<size_t>(length) > kFrameCommandOffset &&
            reply[kFrameCommandOffset] == wait.command) {
            reply.resize(static_cast<size_t>(length));
            answered = true;
            break;
        }
        if (wait.foreign_trace != nullptr) {
            trace::Text(wait.foreign_trace);
        }
    } while (RemainingMs(wait.start_ms, wait.window_ms) > 0);

    if (!answered) {
        reply.clear();
        if (wait.timeout_trace != nullptr) {
            trace::Text(wait.timeout_trace);
        }
    }
    CloseCommandSocket(state);
    return reply;
}

}  // namespace panoptix
