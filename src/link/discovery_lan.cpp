// The LAN search: one broadcast of the discovery request, then every reply that arrives within
// the search window is read. A reply names one device per '-' pair after its header. The find
// asks one address the same way and reads its replies with the same code.
#include <array>
#include <span>

#include "link/byte_reader.h"
#include "link/clock.h"
#include "link/command_frame.h"
#include "link/discovery.h"
#include "link/model_name_scan.h"
#include "link/operator_messages.h"
#include "link/trace_events.h"
#include "link/udp_socket.h"
#include "link/udp_transport.h"

namespace panoptix {
namespace {

// Replies are read into a buffer of this size; a longer one counts as nothing.
constexpr size_t kSearchReceiveSize = 128;

// Whether a device named again is listed again (the search lists what it reads) or skipped
// when a row before it holds the same device (the find adds to a list).
enum class RepeatedDevices { Listed, Skipped };

// What one or more replies came to.
struct ReplyTake {
    size_t named = 0;
    size_t added = 0;
    size_t unlisted = 0;  // new, but the table was full
};

// One device a reply names: its row and its combo text.
struct NamedDevice {
    DeviceEntry row;
    std::u16string entry;
};

std::u16string Widen(const std::string& text) {
    return WidenBytes(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// Only the frame markers are looked at: not the checksum, the length field or the command.
bool LooksLikeFrame(const ByteReader& datagram) {
    return datagram.size() >= 3 && datagram.ByteIs(0, kFrameStart1) &&
           datagram.ByteIs(1, kFrameStart2) && datagram.ByteIs(datagram.size() - 1, kFrameEnd);
}

NamedDevice NameDevice(const ByteReader& reply, std::span<const uint8_t> name,
                       const std::string& ip_text) {
    NamedDevice device;
    device.row.SetIpText(ip_text);
    device.row.device_type = reply.ByteAt(4).value_or(0);
    device.row.device_address = reply.ByteAt(5).value_or(0);
    trace::ModelNameLength(static_cast<int>(name.size()));
    device.entry = DisplayModelName(WidenBytes(name)) + u"_" + Widen(ip_text);
    return device;
}

bool AlreadyListed(const DeviceLink& state, const std::vector<std::u16string>& combo_entries,
                   const NamedDevice& device) {
    for (size_t row = 0; row < combo_entries.size() && row < kDeviceTableRows; ++row) {
        const DeviceEntry& listed = state.device_table[row];
        if (combo_entries[row] == device.entry && listed.IpText() == device.row.IpText() &&
            listed.device_type == device.row.device_type &&
            listed.device_address == device.row.device_address) {
            return true;
        }
    }
    return false;
}

ReplyTake TakeReply(DeviceLink& state, std::span<const uint8_t> datagram,
                    const std::string& sender_ip, std::vector<std::u16string>& combo_entries,
                    RepeatedDevices repeated) {
    ReplyTake take;
    const ByteReader reply(datagram);
    if (!LooksLikeFrame(reply)) {
        return take;
    }
    trace::ReplyTypeByte(unsigned{reply.ByteAt(4).value_or(0)});
    // The scan ends before the end marker (k < n - 3).
    ScanModelNames(reply, reply.size() - 1, [&](std::span<const uint8_t> name) {
        const bool full = combo_entries.size() >= kDeviceTableRows;
        if (full && repeated == RepeatedDevices::Listed) {
            return ScanStep::Stop;  // the table is full: later devices are not listed
        }
        ++take.named;
        NamedDevice device = NameDevice(reply, name, sender_ip);
        if (repeated == RepeatedDevices::Skipped && AlreadyListed(state, combo_entries, device)) {
            return ScanStep::Continue;
        }
        if (full) {
            ++take.unlisted;
            return ScanStep::Continue;
        }
        state.device_table[combo_entries.size()] = device.row;
        combo_entries.push_back(std::move(device.entry));
        ++take.added;
        return ScanStep::Continue;
    });
    return take;
}

// Every reply that arrives until window_ms after start_ms is read and taken (or, with
// SearchEnd::FirstAnswer, until the first device is listed); the wait sleeps on the socket and
// dispatches nothing.
ReplyTake CollectReplies(DeviceLink& state, uint32_t start_ms, uint32_t window_ms,
                         std::vector<std::u16string>& combo_entries, RepeatedDevices repeated,
                         SearchEnd end = SearchEnd::WindowOver) {
    ReplyTake total;
    std::array<uint8_t, kSearchReceiveSize> buffer{};
    do {
        const int length = ReceiveFromPeer(state, buffer, RemainingMs(start_ms, window_ms));
        if (length >= 0) {
            const auto datagram =
                std::span<const uint8_t>(buffer).first(static_cast<size_t>(length));
            const ReplyTake take =
                TakeReply(state, datagram, udp_socket::FormatIpv4(state.peer_address.address),
                          combo_entries, repeated);
            total.named += take.named;
            total.added += take.added;
            total.unlisted += take.unlisted;
        }
    } while (RemainingMs(start_ms, window_ms) > 0 &&
             (end == SearchEnd::WindowOver || total.added == 0));
    return total;
}

}  // namespace

std::u16string DisplayModelName(const std::u16string& model_name) {
    return model_name == u"QL2293 " ? u"ORV-MXP9120HD" : model_name;
}

size_t TakeSearchReply(DeviceLink& state, std::span<const uint8_t> datagram,
                       const std::string& sender_ip, std::vector<std::u16string>& combo_entries) {
    return TakeReply(state, datagram, sender_ip, combo_entries, RepeatedDevices::Listed).added;
}

DeviceSearchResult SearchLan(DeviceLink& state, bool combo_had_entries, uint32_t window_ms,
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
        trace::CreateSocketFail();
        CloseCommandSocket(state);
        return {};
    }
    trace::CreateSocketSuccess();
    SendToPeer(state, request);

    DeviceSearchResult result;
    CollectReplies(state, start_ms, window_ms, result.combo_entries, RepeatedDevices::Listed, end);

    trace::TimeOver();
    result.open_page = true;
    if (!result.combo_entries.empty()) {
        state.m_device_index = 0;
    } else {
        result.combo_entries.push_back(kNoDeviceFound);
    }
    trace::SearchSelection(state.m_device_index);
    CloseCommandSocket(state);
    return result;
}

DeviceFindResult FindLanDevice(DeviceLink& state, std::string_view address,
                               std::vector<std::u16string>& combo_entries, uint32_t window_ms) {
    DeviceFindResult result;
    const DeviceAddressCheck check = CheckDeviceAddress(address);
    if (check.fault != DeviceAddressFault::None) {
        result.address_fault = check.fault;
        ShowErrorMessage(RefusedAddressMessage(address, check.fault));
        return result;
    }
    const std::string address_text(address);
    trace::Find(address_text.c_str());
    const uint32_t start_ms = TickMs();
    const std::vector<uint8_t> request = MakeDiscoveryRequest(LinkByte::Udp);

    if (OpenFindSocket(state, check.address) == 0) {
        ShowErrorMessage(kMessageCreateSocket);
        trace::CreateSocketFail();
        CloseCommandSocket(state);
        return result;
    }
    result.sent = SendToPeer(state, request) == static_cast<int>(request.size());
    if (!result.sent) {
        // No route, or an address the system takes for a broadcast: nothing can answer.
        CloseCommandSocket(state);
        ShowErrorMessage("Find: the search request could not be sent to " + address_text);
        trace::FindOver0New();
        return result;
    }
    const ReplyTake take =
        CollectReplies(state, start_ms, window_ms, combo_entries, RepeatedDevices::Skipped);
    CloseCommandSocket(state);
    result.named = take.named;
    result.added = take.added;
    result.unlisted = take.unlisted;
    trace::FindOverNew(static_cast<int>(take.added));
    if (take.named == 0) {
        ShowErrorMessage("Find: no device answered at " + address_text);
    } else if (take.unlisted > 0) {
        ShowErrorMessage("Find: the device list is full (" + std::to_string(kDeviceTableRows) +
                         " devices); " + std::to_string(take.unlisted) + " answering at " +
                         address_text + " not listed");
    }
    return result;
}

}  // namespace panoptix
