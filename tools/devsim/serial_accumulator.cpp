#include "serial_accumulator.h"

#include "link/command_frame.h"

namespace panoptix::devsim {

void SerialAccumulator::Append(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

CutBytes SerialAccumulator::Take(Unit unit) {
    const auto end = bytes_.begin() + static_cast<std::ptrdiff_t>(unit.size);
    CutBytes cut{std::move(unit), std::vector<uint8_t>(bytes_.begin(), end)};
    bytes_.erase(bytes_.begin(), end);
    return cut;
}

void SerialAccumulator::AbsorbGarbage(CutBytes& garbage) {
    // Garbage that follows garbage is reported with it, under the first reason.
    for (;;) {
        const Unit unit = CutUnit(bytes_, InputEnd::MoreMayFollow);
        if (unit.kind != UnitKind::Garbage) {
            return;
        }
        CutBytes more = Take(unit);
        garbage.bytes.insert(garbage.bytes.end(), more.bytes.begin(), more.bytes.end());
        garbage.unit.size = garbage.bytes.size();
    }
}

std::optional<CutBytes> SerialAccumulator::Next() {
    Unit unit = CutUnit(bytes_, InputEnd::MoreMayFollow);
    if (unit.kind == UnitKind::Incomplete || unit.size == 0) {
        return std::nullopt;
    }
    CutBytes cut = Take(std::move(unit));
    if (cut.unit.kind == UnitKind::Garbage) {
        AbsorbGarbage(cut);
    }
    return cut;
}

std::vector<CutBytes> SerialAccumulator::Flush() {
    std::vector<CutBytes> units;
    while (!bytes_.empty()) {
        if (auto next = Next()) {
            units.push_back(std::move(*next));
            continue;
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
        CutBytes garbage = Take(std::move(unit));
        AbsorbGarbage(garbage);
        if (!units.empty() && units.back().unit.kind == UnitKind::Garbage) {
            auto& last = units.back();
            last.bytes.insert(last.bytes.end(), garbage.bytes.begin(), garbage.bytes.end());
            last.unit.size = last.bytes.size();
        } else {
            units.push_back(std::move(garbage));
        }
    }
    return units;
}

}  // namespace panoptix::devsim
