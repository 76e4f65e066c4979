// The LAN search: one broadcast of the discovery request, then every reply that arrives within
// the search window is read. A reply names one device per '-' pair after its header.
#include <array>
#include <span>

#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/operator_messages.h"
#include "link/trace.h"
#include "link/udp_socket_posix.h"
#include "link/udp_transport.h"

namespace panoptix {
namespace {

// Replies are read into a buffer of this size; a longer one counts as nothing.
constexpr size_t kSearchReceiveSize = 128;
constexpr size_t kModelNameOffset = 18;
constexpr uint8_t kNameSeparator = '-';

std::u16string Widen(std::span<const uint8_t> bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const uint8_t byte : bytes) {
        text.push_back(static_cast<char16_t>(byte));
    }
    return text;
}

std::u16string Widen(const std::string& text) {
    return Widen(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Only the frame markers are looked at: not the checksum, the length field or the command.
bool LooksLikeFrame(std::span<const uint8_t> datagram) {
    return datagram.size() >= 3 && datagram[0] == kFrameStart1 && datagram[1] == kFrameStart2 &&
           datagram.back() == kFrameEnd;
}

class LanSearch {
  public:
    explicit LanSearch(LinkState& state) : state_(state) {}

    // Adds the devices named in one accepted reply from the peer address.
    void TakeReply(std::span<const uint8_t> reply) {
        Trace("recvBuf[4] = %x \n ", reply.size() > 4 ? unsigned{reply[4]} : 0u);
        const std::string ip_text = udp_socket::FormatIpv4(state_.peer_address.address);
        // k < n - 3, so byte k + 2 never reaches the end marker.
        for (size_t k = kModelNameOffset; k + 3 < reply.size(); ++k) {
            if (reply[k] == kNameSeparator && reply[k + 2] == kNameSeparator) {
                AddDevice(reply, k, ip_text);
            }
        }
    }

    size_t count() const { return combo_entries_.size(); }
    std::vector<std::u16string> TakeComboEntries() { return std::move(combo_entries_); }

  private:
    void AddDevice(std::span<const uint8_t> reply, size_t name_end, const std::string& ip_text) {
        if (count() >= kDeviceTableRows) {
            return;  // the table is full: later devices are not listed
        }
        DeviceEntry& row = state_.device_table[count()];
        row.SetIpText(ip_text);
        row.device_type = reply[4];
        row.device_address = reply[5];
        Trace("nameLength = %d  \n", static_cast<int>(name_end - kModelNameOffset));
        const std::u16string name =
            Widen(reply.subspan(kModelNameOffset, name_end - kModelNameOffset));
        combo_entries_.push_back(DisplayModelName(name) + u"_" + Widen(ip_text));
    }

    LinkState& state_;
    std::vector<std::u16string> combo_entries_;
};

}  // namespace

std::u16string DisplayModelName(const std::u16string& model_name) {
    return model_name == u"QL2293 " ? u"ORV-MXP9120HD" : model_name;
}

DeviceSearchResult SearchLan(LinkState& state, bool combo_had_entries, uint32_t window_ms) {
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
    LanSearch search(state);
    std::array<uint8_t, kSearchReceiveSize> buffer{};
    do {
        const int length = ReceiveFromPeer(state, buffer, RemainingMs(start_ms, window_ms));
        if (length < 0) {
            continue;
        }
        const auto datagram = std::span<const uint8_t>(buffer).first(static_cast<size_t>(length));
        if (LooksLikeFrame(datagram)) {
            search.TakeReply(datagram);
        }
    } while (RemainingMs(start_ms, window_ms) > 0);

    Trace("time over \n");
    DeviceSearchResult result;
    result.open_page = true;
    if (search.count() >= 1) {
        state.m_device_index = 0;
        result.combo_entries = search.TakeComboEntries();
    } else {
        result.combo_entries.push_back(kNoDeviceFound);
    }
    Trace("m_device_index = %d \n", state.m_device_index);
    CloseCommandSocket(state);
    return result;
}

}  // namespace panoptix
