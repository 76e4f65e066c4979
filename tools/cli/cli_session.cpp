#include "cli_session.h"

#include <cstdio>
#include <utility>

#include "cli_arguments.h"
#include "link/discovery.h"
#include "link/serial_connection.h"
#include "link/udp_socket.h"
#include "multiviewer/core/status_decoder.h"
#include "utf_text.h"

namespace panoptix::cli {
namespace {

std::string Hex(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

uint8_t UsualTypeByte(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Multiviewer:
            return device_type::kMultiviewer;
        case DeviceKind::Switcher:
            return device_type::kSwitcher;
        case DeviceKind::Matrix:
            return device_type::kMatrix;
        case DeviceKind::QuadView:
            break;
    }
    return device_type::kQuadView;
}

constexpr uint8_t kUsualDeviceAddress = 0x01;

// A combo entry is the model name, "_" and the address; the name is what comes before.
std::string ModelOfEntry(const std::u16string& entry, const std::string& ip) {
    const size_t suffix = ip.size() + 1;
    const std::u16string name =
        entry.size() >= suffix ? entry.substr(0, entry.size() - suffix) : entry;
    return Utf16ToUtf8(name);
}

}  // namespace

std::string_view KindName(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Multiviewer:
            return "multiviewer";
        case DeviceKind::Switcher:
            return "switcher";
        case DeviceKind::Matrix:
            return "matrix";
        case DeviceKind::QuadView:
            break;
    }
    return "quadview";
}

Session::Session() {
    SetOperatorMessages(this);
}

Session::~Session() {
    link.SerialPort().ClosePort();
    SetOperatorMessages(nullptr);
}

void Session::ShowError(std::string_view text) {
    messages_.emplace_back(text);
}

std::vector<std::string> Session::TakeMessages() {
    return std::exchange(messages_, {});
}

Outcome Session::OpenSerial(const TargetOptions& target) {
    where_ = target.serial_port;
    link.SetMode(ConnectionMode::Serial);
    if (!link.SerialPort().OpenPort(target.serial_port, BaudRateFromText(target.baud))) {
        return {ExitCode::LinkError, "cannot open the serial port " + target.serial_port};
    }
    return {};
}

Outcome Session::LookUp(const TargetOptions& target, DeviceKind kind, DeviceEntry& entry) {
    // The search request goes to the device's address only.
    link.Endpoints().broadcast_address = target.ip;
    SearchLan(link, false, kLookupWindowMs, SearchEnd::FirstAnswer);
    link.Endpoints() = UdpEndpoints{};
    link.Endpoints().device_port = target.device_port;
    link.Endpoints().local_port = target.local_port;
    if (!TakeMessages().empty()) {
        return {ExitCode::LinkError, "cannot bind UDP port " + std::to_string(target.local_port)};
    }
    if (link.SelectedIndex() < 0) {
        return {ExitCode::NoReply, "no answer from " + target.ip +
                                       " to the device search (--type and --address skip it)"};
    }
    const DeviceEntry& found = link.Table()[0];
    if (target.type_text.empty() && DeviceKindOfType(found.device_type) != kind) {
        return {ExitCode::BadArguments,
                target.ip + " is a " + std::string(KindName(DeviceKindOfType(found.device_type))) +
                    " (type " + Hex(found.device_type) + "), not a " + std::string(KindName(kind))};
    }
    if (target.type_text.empty()) {
        entry.device_type = found.device_type;
    }
    if (target.address_text.empty()) {
        entry.device_address = found.device_address;
    }
    return {};
}

Outcome Session::Connect(const TargetOptions& target, DeviceKind kind) {
    link.Endpoints().device_port = target.device_port;
    link.Endpoints().local_port = target.local_port;
    DeviceEntry entry;
    entry.device_type = UsualTypeByte(kind);
    entry.device_address = kUsualDeviceAddress;
    if (!target.type_text.empty()) {
        entry.device_type = ParseDeviceByte(target.type_text).value_or(0);
    }
    if (!target.address_text.empty()) {
        entry.device_address = ParseDeviceByte(target.address_text).value_or(0);
    }
    if (!target.serial_port.empty()) {
        const Outcome opened = OpenSerial(target);
        entry.SetIpText("");
        link.SetRow(0, entry);
        link.Select(0);
        return opened;
    }
    where_ = target.ip;
    if (target.type_text.empty() || target.address_text.empty()) {
        const Outcome looked_up = LookUp(target, kind, entry);
        if (!looked_up.ok()) {
            return looked_up;
        }
    }
    link.ClearTable();
    entry.SetIpText(target.ip);
    link.SetRow(0, entry);
    link.Select(0);
    link.SetMode(ConnectionMode::Lan);
    return {};
}

Outcome Session::Search(const TargetOptions& target, std::vector<FoundDevice>& found) {
    link.Endpoints().device_port = target.device_port;
    link.Endpoints().local_port = target.local_port;
    if (!target.serial_port.empty()) {
        const Outcome opened = OpenSerial(target);
        if (!opened.ok()) {
            return opened;
        }
        // A multiviewer may answer with its status reply; it is decoded and not needed here.
        MultiviewerState unused;
        SearchSerial(
            link,
            [&unused](std::span<const uint8_t> frame) {
                DecodeStatusReply(unused, frame, DecodeTraces::Off);
            },
            target.search_ms);
        if (link.SerialReplyCount() <= 0) {
            return {ExitCode::NoReply, "no device answered on " + target.serial_port};
        }
        FoundDevice device;
        device.model = Utf16ToUtf8(link.SerialModelName());
        device.address = target.serial_port;
        device.type = link.SerialDeviceType();
        device.kind = DeviceKindOfType(device.type);
        found.push_back(device);
        return {};
    }
    const DeviceSearchResult result = SearchLan(link, false, target.search_ms);
    if (!TakeMessages().empty() || !result.open_page) {
        return {ExitCode::LinkError, "cannot bind UDP port " + std::to_string(target.local_port)};
    }
    if (link.SelectedIndex() < 0) {
        return {ExitCode::NoReply, "no device answered the search"};
    }
    for (size_t row = 0; row < result.combo_entries.size(); ++row) {
        const DeviceEntry& entry = link.Table()[row];
        FoundDevice device;
        device.address = entry.IpText();
        device.model = ModelOfEntry(result.combo_entries[row], device.address);
        device.type = entry.device_type;
        device.device_address = entry.device_address;
        device.kind = DeviceKindOfType(entry.device_type);
        found.push_back(device);
    }
    return {};
}

}  // namespace panoptix::cli
