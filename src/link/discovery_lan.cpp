// The LAN search: one broadcast of the discovery request, then every reply that arrives within
// the search window is read. A reply names one device per '-' pair after its header.
#include <array>
#include <span>

#include "link/byte_reader.h"
#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/model_name_scan.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "link/udp_socket.h"
#include "link/udp_transport.h"

namespace panoptix {
namespace {

// Replies are read into a buffer of this size; a longer one counts as nothing.
constexpr size_t kSearchReceiveSize = 128;

std::u16string Widen(const std::string& text) {
    return WidenBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Only the frame markers are looked at: not the checksum, the length field or the command.
bool LooksLikeFrame(const ByteReader& datagram) {
    return datagram.size() >= 3 && datagram.ByteIs(0, kFrameStart1) &&
           datagram.ByteIs(1, kFrameStart2) && datagram.ByteIs(datagram.size() - 1, kFrameEnd);
}

// Fills row `row` from one reply and gives its combo text.
std::u16string AddDevice(LinkState& state, const ByteReader& reply, std::span<const uint8_t> name,
                         const std::string& ip_text, size_t row) {
    DeviceEntry& entry = state.device_table[row];
    entry.SetIpText(ip_text);
    entry.device_type = reply.ByteAt(4).value_or(0);
    entry.device_address = reply.ByteAt(5).value_or(0);
    Trace("nameLength = %d  \n", static_cast<int>(name.size()));
    return DisplayModelName(WidenBytes(name)) + u"_" + Widen(ip_text);
}

}  // namespace

std::u16string DisplayModelName(const std::u16string& model_name) {
    return model_name == u"QL2293 " ? u"ORV-MXP9120HD" : model_name;
}

size_t TakeSearchReply(LinkState& state, std::span<const uint8_t> datagram,
                       const std::string& sender_ip, std::vector<std::u16string>& combo_entries) {
    const ByteReader reply(datagram);
    if (!LooksLikeFrame(reply)) {
        return 0;
    }
    Trace("recvBuf[4] = %x \n ", unsigned{reply.ByteAt(4).value_or(0)});
    const size_t before = combo_entries.size();
    // The scan ends before the end marker (k < n - 3).
    ScanModelNames(reply, reply.size() - 1, [&](std::span<const uint8_t> name) {
        if (combo_entries.size() >= kDeviceTableRows) {
            return ScanStep::Stop;  // the table is full: later devices are not listed
        }
        combo_entries.push_back(AddDevice(state, reply, name, sender_ip, combo_entries.size()));
        return ScanStep::Continue;
    });
    return combo_entries.size() - before;
}

DeviceSearchResult SearchLan(LinkState& state, bool combo_had_entries, uint32_t window_ms,
                             SearchEnd end) {
    CloseCommandSocket(state);
    state.m_device_index = -1;
    if (combo_had_entries) {
        state.device_table = {};
    }
    const uint32_t start_ms = TickMs();
    const std::vector<uint8_t> request = MakeDiscoveryRequest(LinkByte::Udp);

    if (OpenSearchSocket(state) == 0) {
        ShowErrorMessage(kMessageCreateSocket);
        Trace("create socket fail \n");
        CloseCommandSocket(state);
        return {};
    }
    Trace("create socket success \n");
    SendToPeer(state, request);

    // Every reply that arrives within the window is read; the wait sleeps on the socket.
    DeviceSearchResult result;
    std::array<uint8_t, kSearchReceiveSize> buffer{};
    do {
        const int length = ReceiveFromPeer(state, buffer, RemainingMs(start_ms, window_ms));
        if (length >= 0) {
            const auto datagram =
                std::span<const uint8_t>(buffer).first(static_cast<size_t>(length));
            TakeSearchReply(state, datagram, udp_socket::FormatIpv4(state.peer_address.address),
                            result.combo_entries);
        }
    } while (RemainingMs(start_ms, window_ms) > 0 &&
             (end == SearchEnd::WindowOver || result.combo_entries.empty()));

    Trace("time over \n");
    result.open_page = true;
    if (!result.combo_entries.empty()) {
        state.m_device_index = 0;
    } else {
        result.combo_entries.push_back(kNoDeviceFound);
    }
    Trace("m_device_index = %d \n", state.m_device_index);
    CloseCommandSocket(state);
    return result;
}

}  // namespace panoptix
