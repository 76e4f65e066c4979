// The simulator's handling of what it receives, for all four device models: the input as one
// UDP datagram, the same datagram with its frame's checksum and end marker made right (so that
// mutations reach the command handlers), and the input as a serial stream arriving in pieces
// through the accumulator. Units never reach past the bytes, account for every byte exactly
// once, and every reply frame is well formed.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "device_factory.h"
#include "device_model.h"
#include "fuzz_support.h"
#include "link/command_frame.h"
#include "serial_accumulator.h"
#include "unit_cutter.h"

namespace {

using panoptix::devsim::CutUnit;
using panoptix::devsim::DeviceKind;
using panoptix::devsim::InputEnd;
using panoptix::devsim::Response;
using panoptix::devsim::UnitKind;

void CheckUnit(std::span<const uint8_t> bytes, InputEnd end) {
    const auto unit = CutUnit(bytes, end);
    FUZZ_CHECK(unit.size <= bytes.size());
    switch (unit.kind) {
        case UnitKind::Incomplete:
            FUZZ_CHECK(unit.size == 0);
            FUZZ_CHECK(end == InputEnd::MoreMayFollow || bytes.empty());
            break;
        case UnitKind::Garbage:
            FUZZ_CHECK(unit.size >= 1);  // otherwise a reader would loop for ever
            break;
        case UnitKind::Frame: {
            const auto frame = bytes.first(unit.size);
            FUZZ_CHECK(frame.size() >= panoptix::kFrameOverhead);
            FUZZ_CHECK(frame[0] == panoptix::kFrameStart1 && frame[1] == panoptix::kFrameStart2);
            FUZZ_CHECK((frame[2] | (frame[3] << 8)) == static_cast<int>(frame.size()));
            FUZZ_CHECK(frame.back() == panoptix::kFrameEnd);
            break;
        }
        case UnitKind::Text:
            FUZZ_CHECK(unit.size >= 1 && bytes[unit.size - 1] == '.');
            FUZZ_CHECK(unit.size <= panoptix::devsim::kMaxTextLength);
            break;
    }
}

void CheckResponse(const Response& response) {
    FUZZ_CHECK(response.account.find('\n') == std::string::npos);
    if (!response.reply.empty() && response.reply[0] == panoptix::kFrameStart1) {
        const auto unit = CutUnit(response.reply, InputEnd::Final);
        FUZZ_CHECK(unit.kind == UnitKind::Frame && unit.size == response.reply.size());
    }
}

// The frame the bytes announce, with its checksum and end marker made to agree.
std::vector<uint8_t> RepairedFrame(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> frame(bytes.begin(), bytes.end());
    if (frame.size() < 4 || frame[0] != panoptix::kFrameStart1 ||
        frame[1] != panoptix::kFrameStart2) {
        return frame;
    }
    const size_t length = frame[2] | (static_cast<size_t>(frame[3]) << 8);
    if (length < panoptix::kFrameOverhead || length > frame.size()) {
        return frame;
    }
    const uint16_t sum = panoptix::FrameChecksum(std::span(frame).first(length - 3));
    frame[length - 3] = static_cast<uint8_t>(sum & 0xFF);
    frame[length - 2] = static_cast<uint8_t>(sum >> 8);
    frame[length - 1] = panoptix::kFrameEnd;
    return frame;
}

std::vector<std::unique_ptr<panoptix::devsim::DeviceModel>> AllModels() {
    std::vector<std::unique_ptr<panoptix::devsim::DeviceModel>> models;
    for (DeviceKind kind : {DeviceKind::Multiviewer, DeviceKind::Switcher, DeviceKind::Matrix,
                            DeviceKind::QuadView}) {
        models.push_back(panoptix::devsim::MakeDeviceModel(
            {kind, panoptix::devsim::DefaultModelName(kind),
             panoptix::devsim::DefaultTypeByte(kind), panoptix::devsim::kDefaultAddressByte}));
    }
    return models;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool silenced = panoptix::fuzz::SilenceSideChannels();
    (void)silenced;
    const std::span<const uint8_t> input(data, size);
    CheckUnit(input, InputEnd::Final);
    CheckUnit(input, InputEnd::MoreMayFollow);

    const auto models = AllModels();
    const std::vector<uint8_t> repaired = RepairedFrame(input);
    for (const auto& model : models) {
        CheckResponse(model->ReceiveDatagram(input));
        CheckResponse(model->ReceiveDatagram(repaired));
        (void)model->StateLines();
    }

    // The serial stream: every byte comes out in exactly one unit, in order.
    panoptix::devsim::SerialAccumulator accumulator;
    std::vector<uint8_t> handed_out;
    const auto take = [&](const panoptix::devsim::CutBytes& cut) {
        FUZZ_CHECK(cut.unit.size == cut.bytes.size());
        handed_out.insert(handed_out.end(), cut.bytes.begin(), cut.bytes.end());
        for (const auto& model : models) {
            CheckResponse(model->ReceiveSerial(cut));
        }
    };
    panoptix::fuzz::PieceCutter pieces(repaired, 300);
    while (!pieces.Done()) {
        accumulator.Append(pieces.Next());
        while (auto cut = accumulator.Next()) {
            take(*cut);
        }
    }
    for (const auto& cut : accumulator.Flush()) {
        take(cut);
    }
    FUZZ_CHECK(accumulator.Pending() == 0);
    FUZZ_CHECK(handed_out == repaired);
    return 0;
}
