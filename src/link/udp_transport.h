#pragma once
// The UDP side of the device link. Only one socket exists at a time (m_udpSockfd); pages never
// keep a connection: they open the command socket, send one frame, pause briefly and close it.
#include <cstdint>
#include <span>
#include <vector>

#include "link/link_state.h"

namespace panoptix {

// Nothing to start on POSIX; kept so that the main window's start-up reads the same everywhere.
int StartNetworking();

// Broadcast socket of the LAN search, bound to the local port, peer = broadcast:device port.
int OpenSearchSocket(LinkState& state);
// Socket toward the selected device (peer = its IP text, device port). With no device selected
// it shows "Please choose a device" and leaves no socket open.
int OpenCommandSocket(LinkState& state);
int CloseCommandSocket(LinkState& state);

// sendto on m_udpSockfd toward the peer address; returns the bytes sent or -1.
int SendToPeer(LinkState& state, std::span<const uint8_t> bytes);
// Waits up to timeout_ms (sleeping on the socket) for one datagram of at most buffer.size()
// bytes; the sender lands in the peer address. Returns its length, or -1 when nothing usable
// arrived (time-out, failure, or a datagram longer than the buffer).
int ReceiveFromPeer(LinkState& state, std::span<uint8_t> buffer, uint32_t timeout_ms);

// Open the command socket, send, pause, close: every operator command.
void SendOneShot(LinkState& state, std::span<const uint8_t> frame, uint32_t pause_ms = 10);

// A query with a reply: the traces differ between the device pages.
struct ReplyWait {
    uint8_t command = 0;                   // expected byte 16 of the reply
    uint32_t window_ms = 200;              // measured from start_ms
    uint32_t start_ms = 0;                 // tick at which the window began
    const char* foreign_trace = nullptr;   // written once per datagram with another command
    const char* timeout_trace = nullptr;   // written when the window passes
    const char* received_trace = nullptr;  // "%d" of the length, written for every datagram
};

// OpenCommandSocket, send request, wait for a datagram whose byte 16 is wait.command (at most
// 1024 bytes), close. Returns the reply, or an empty vector when none arrived in the window.
std::vector<uint8_t> QueryWithReply(LinkState& state, std::span<const uint8_t> request,
                                    const ReplyWait& wait, uint32_t pause_after_send_ms = 0);

}  // namespace panoptix
