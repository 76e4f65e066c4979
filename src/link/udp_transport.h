#pragma once
// The UDP side of the device link. Only one socket exists at a time (m_udpSockfd); pages never
// keep a connection: they open the command socket, send one frame, pause briefly and close it.
// Both kinds of socket bind the local port on any address, so that datagrams sent to that port
// of this host reach them; the ports and the broadcast address come from state.endpoints.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "link/device_link.h"

namespace panoptix {

inline constexpr uint32_t kCommandPauseMs = 10;        // after every command frame
inline constexpr uint32_t kMatrixCommandPauseMs = 20;  // after every matrix text command
inline constexpr size_t kQueryReceiveSize = 1024;      // longest reply a query takes

// Nothing to start on POSIX; kept so that the main window's start-up reads the same everywhere.
int StartNetworking();

// Broadcast socket of the LAN search, bound to the local port, peer = broadcast:device port.
// An open socket is reused as it is. A failed bind writes "bind  socket fail \n" and returns 0
// with the socket still open in m_udpSockfd (the caller closes it).
int OpenSearchSocket(DeviceLink& state);
// Socket of a find, which asks one device by its address: bound to the local port like the
// search's, peer = address (network byte order):device port, and no broadcast allowed on it, so
// the request reaches that one address or nothing. Any open socket is closed first. A failed
// bind writes "bind  socket fail \n" and returns 0 with the socket still open.
int OpenFindSocket(DeviceLink& state, uint32_t address);
// Socket toward the selected device (peer = its row's IP text, device port). An open socket is
// reused with its peer ("m_udpSockfd have on live \n"). With no device selected, or a selected
// row that holds no address one can send to (the serial link's row, a zero row), it shows
// "Please choose a device" and leaves no socket open. A failed bind returns 0 silently with the
// socket open, so the caller's send still goes out from a port the system picks.
int OpenCommandSocket(DeviceLink& state);
// Closes m_udpSockfd if it is open and sets it to -1; always 1.
int CloseCommandSocket(DeviceLink& state);

// sendto on m_udpSockfd toward the peer address; returns the bytes sent or -1 (also when no
// socket is open).
int SendToPeer(DeviceLink& state, std::span<const uint8_t> bytes);
// Waits up to timeout_ms (sleeping on the socket, never spinning) for one datagram of at most
// buffer.size() bytes; the sender lands in the peer address. Returns its length, or -1 when
// nothing usable arrived (time-out, failure, or a datagram longer than the buffer, which is
// dropped whole). With no socket open it sleeps the whole timeout.
int ReceiveFromPeer(DeviceLink& state, std::span<uint8_t> buffer, uint32_t timeout_ms);

// Open the command socket, send, pause, close: every operator command. The results are not
// looked at: with no device selected the operator has seen the box and nothing is sent.
void SendOneShot(DeviceLink& state, std::span<const uint8_t> frame,
                 uint32_t pause_ms = kCommandPauseMs);

// A query with a reply: the traces differ between the device pages.
struct ReplyWait {
    uint8_t command = 0;                   // expected byte 16 of the reply
    uint32_t window_ms = 200;              // measured from start_ms
    uint32_t start_ms = 0;                 // tick at which the window began (TickMs())
    const char* foreign_trace = nullptr;   // written once per datagram with another command
    const char* timeout_trace = nullptr;   // written when the window passes
    const char* received_trace = nullptr;  // "%d" of the length, written for every datagram
};

// OpenCommandSocket, send request, pause pause_after_send_ms, then wait until window_ms after
// start_ms for a datagram whose byte 16 is wait.command (at most 1024 bytes; a datagram shorter
// than 17 bytes or with another byte 16 is foreign, a longer one is dropped untraced), close.
// Returns the reply's bytes (exactly as many as arrived; callers check lengths before reading),
// or an empty vector when none arrived in the window. With no device selected nothing is sent
// and the window still runs out, as the pages expect.
std::vector<uint8_t> QueryWithReply(DeviceLink& state, std::span<const uint8_t> request,
                                    const ReplyWait& wait, uint32_t pause_after_send_ms = 0);

}  // namespace panoptix
