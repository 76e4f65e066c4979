#include "serial_accumulator.h"

#include <utility>

#include "link/command_frame.h"

namespace panoptix::devsim {

void SerialAccumulator::Append(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

size_t SerialAccumulator::Pending() const {
    return bytes_.size() + (garbage_ ? garbage_->bytes.size() : 0);
}

CutBytes SerialAccumulator::Take(Unit unit) {
    const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(unit.size);
    CutBytes cut{std::move(unit), std::vector<uint8_t>(bytes_.begin(), end)};
    bytes_.erase(bytes_.begin(), end);
    return cut;
}

void SerialAccumulator::HoldGarbage(CutBytes garbage) {
    // Garbage that follows garbage is reported with it, under the first reason.
    if (!garbage_) {
        garbage_ = std::move(garbage);
        return;
    }
    garbage_->bytes.insert(garbage_->bytes.end(), garbage.bytes.begin(), garbage.bytes.end());
    garbage_->unit.size = garbage_->bytes.size();
}

std::optional<CutBytes> SerialAccumulator::Next() {
    for (;;) {
        if (garbage_ && garbage_->bytes.size() >= kMaxHeldGarbage) {
            return std::exchange(garbage_, std::nullopt);
        }
        Unit unit = CutUnit(bytes_, InputEnd::MoreMayFollow);
        if (unit.kind == UnitKind::Garbage && unit.size > 0) {
            HoldGarbage(Take(std::move(unit)));
            continue;
        }
        if (unit.kind == UnitKind::Incomplete || unit.size == 0) {
            return std::nullopt;
        }
        // A frame or a text: the garbage before it goes first, the unit stays for the next call.
        if (garbage_) {
            return std::exchange(garbage_, std::nullopt);
        }
        return Take(std::move(unit));
    }
}

std::vector<CutBytes> SerialAccumulator::Flush() {
    std::vector<CutBytes> units;
    while (!bytes_.empty()) {
        if (auto next = Next()) {
            units.push_back(std::move(*next));
            continue;
        }
        if (bytes_.empty()) {
            break;
        }
        // The final cut names the reason; of a frame only the markers are dropped, since a
        // complete frame may start inside the bytes that follow them.
        Unit unit = CutUnit(bytes_, InputEnd::Final);
        if (bytes_[0] == kFrameStart1 && bytes_.size() > 2) {
            unit.size = 2;
        }
        if (unit.size == 0 || unit.size > bytes_.size()) {
            unit.size = bytes_.size();
        }
        unit.kind = UnitKind::Garbage;
        HoldGarbage(Take(std::move(unit)));
    }
    if (garbage_) {
        units.push_back(std::exchange(garbage_, std::nullopt).value());
    }
    return units;
}

}  // namespace panoptix::devsim
