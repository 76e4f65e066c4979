#include "device_model.h"

#include <algorithm>
#include <cstdio>

#include "text_codec.h"

namespace panoptix::devsim {
namespace {

// The digit between the two '-' of the search answer.
constexpr char kNameDigit = '1';
// The panel's LAN search receives into 128 bytes; a longer answer is lost.
constexpr size_t kMaxSearchAnswer = 128;
constexpr size_t kMaxModelName = kMaxSearchAnswer - kFrameOverhead - 1 - 3;

// Where the panel's scan finds the first '-' pair in bytes (name + "-1-" + checksum bytes).
size_t FirstDashPair(std::span<const uint8_t> bytes) {
    for (size_t k = 0; k + 2 < bytes.size(); ++k) {
        if (bytes[k] == '-' && bytes[k + 2] == '-') {
            return k;
        }
    }
    return bytes.size();
}

std::string LinkNote(const FrameView& frame, Link link) {
    const uint8_t expected = link == Link::Udp ? 1 : 0;
    if (frame.LinkByteValue() == expected) {
        return {};
    }
    return " [link byte " + std::to_string(frame.LinkByteValue()) +
           (link == Link::Udp ? " on UDP]" : " on serial]");
}

// A command carries the two device bytes of the selected row of the panel's device table. By UDP
// the search filled that row from this device's own answer, so other bytes mean the frame was
// meant for another device. On the serial line the row may be any device's (the line reaches
// one device whatever page is shown), so there the note only says whose bytes they are.
std::string DeviceBytesNote(const FrameView& frame, Link link, const DeviceIdentity& identity) {
    // Besides the search, one frame carries a fixed pair: the quad-view show mode on the serial
    // line (A3 FF).
    const bool serial_show_mode_pair =
        link == Link::Serial && frame.DeviceType() == 0xA3 && frame.DeviceAddress() == 0xFF;
    if (frame.Command() == command::kDiscovery || serial_show_mode_pair ||
        (frame.DeviceType() == identity.type_byte &&
         frame.DeviceAddress() == identity.address_byte)) {
        return {};
    }
    return " [device bytes " + HexByte(frame.DeviceType()) + " " + HexByte(frame.DeviceAddress()) +
           (link == Link::Udp ? ", not this device's]" : " on serial, another device's]");
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
            return "quadview";
    }
    return "device";
}

bool IsUsableModelName(std::string_view name, std::string& error) {
    if (name.empty()) {
        error = "the model name is empty";
        return false;
    }
    if (name.size() > kMaxModelName) {
        error = "the model name is longer than " + std::to_string(kMaxModelName) + " characters";
        return false;
    }
    for (char c : name) {
        if (c < 0x20 || c > 0x7E) {
            error = "the model name must be printable ASCII";
            return false;
        }
    }
    std::vector<uint8_t> answer(name.begin(), name.end());
    answer.insert(answer.end(), {'-', static_cast<uint8_t>(kNameDigit), '-'});
    if (FirstDashPair(answer) != name.size()) {
        error = "the model name has a '-' two places before another '-', which cuts it short";
        return false;
    }
    return true;
}

DeviceModel::DeviceModel(DeviceIdentity identity) : identity_(std::move(identity)) {}

Response DeviceModel::ReceiveDatagram(std::span<const uint8_t> datagram) {
    const Unit unit = CutUnit(datagram, InputEnd::Final);
    if (unit.kind == UnitKind::Garbage || unit.kind == UnitKind::Incomplete) {
        return OnUnit(UnitKind::Garbage, datagram, unit.reason, Link::Udp);
    }
    Response response = OnUnit(unit.kind, datagram.first(unit.size), {}, Link::Udp);
    if (unit.size < datagram.size()) {
        response.account +=
            " (" + std::to_string(datagram.size() - unit.size) + " trailing bytes ignored)";
    }
    return response;
}

Response DeviceModel::ReceiveSerial(const CutBytes& cut) {
    return OnUnit(cut.unit.kind, cut.bytes, cut.unit.reason, Link::Serial);
}

Response DeviceModel::OnUnit(UnitKind kind, std::span<const uint8_t> bytes, std::string_view reason,
                             Link link) {
    switch (kind) {
        case UnitKind::Frame: {
            const FrameView frame(bytes);
            Response response = OnCheckedFrame(frame, link);
            response.account += LinkNote(frame, link);
            response.account += DeviceBytesNote(frame, link, identity_);
            return response;
        }
        case UnitKind::Text:
            return OnText(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        case UnitKind::Garbage:
        case UnitKind::Incomplete:
            break;
    }
    return Response{"ignored " + std::to_string(bytes.size()) + " bytes: " + std::string(reason),
                    {}};
}

Response DeviceModel::OnCheckedFrame(const FrameView& frame, Link link) {
    switch (frame.Command()) {
        case command::kDiscovery:
            return AnswerSearch(link);
        case command::kSetAddress:
            return SetAddress(frame);
        default:
            return OnFrame(frame, link);
    }
}

Response DeviceModel::OnText(std::string_view text) {
    return Response{
        "ignored " + std::to_string(text.size()) + " bytes: matrix text \"" +
            PrintableBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()}) +
            "\" is not a " + std::string(KindName(identity_.kind)) + " command",
        {}};
}

std::vector<uint8_t> DeviceModel::MakeReply(uint8_t command, std::span<const uint8_t> payload,
                                            Link link) const {
    std::vector<uint8_t> frame(kFrameOverhead + payload.size());
    frame.resize(BuildFrameWithDeviceBytes(identity_.type_byte, identity_.address_byte,
                                           link == Link::Udp ? LinkByte::Udp : LinkByte::Serial,
                                           command, payload, frame));
    return frame;
}

Response DeviceModel::AnswerSearch(Link link) const {
    // Byte 17 is read by nobody. The panel looks for the name's end as far as the checksum, so
    // byte 17 is chosen such that the checksum's high byte is never a '-'.
    std::vector<uint8_t> payload{0};
    payload.insert(payload.end(), identity_.model_name.begin(), identity_.model_name.end());
    payload.insert(payload.end(), {'-', static_cast<uint8_t>(kNameDigit), '-'});
    std::vector<uint8_t> reply = MakeReply(command::kDiscovery, payload, link);
    while (reply.size() >= 3 && reply[reply.size() - 2] == '-') {
        ++payload[0];
        reply = MakeReply(command::kDiscovery, payload, link);
    }
    return Response{"search request -> answered as " + identity_.model_name, std::move(reply)};
}

Response DeviceModel::SetAddress(const FrameView& frame) {
    const auto payload = frame.Payload();
    if (payload.size() < 12) {
        return Refused("address settings",
                       std::to_string(payload.size()) + " payload bytes, expected 12");
    }
    std::copy_n(payload.begin(), 4, received_address_.ip);
    std::copy_n(payload.begin() + 4, 4, received_address_.mask);
    std::copy_n(payload.begin() + 8, 4, received_address_.gateway);
    return Response{"set address " + DottedQuad(payload.subspan<0, 4>()) + " mask " +
                        DottedQuad(payload.subspan<4, 4>()) + " gateway " +
                        DottedQuad(payload.subspan<8, 4>()) +
                        " (recorded; the simulator keeps its address)",
                    {}};
}

Response DeviceModel::Refused(std::string_view what, std::string_view why) {
    return Response{"ignored " + std::string(what) + " frame: " + std::string(why), {}};
}

Response DeviceModel::NotForThisDevice(const FrameView& frame, std::string_view kind_name) {
    return Response{"ignored " + std::to_string(frame.Size()) + "-byte frame with command " +
                        HexByte(frame.Command()) + ": not a " + std::string(kind_name) + " command",
                    {}};
}

}  // namespace panoptix::devsim
