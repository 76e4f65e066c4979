#pragma once
// The sixteen label colour codes: the position in the colour lists, the value on the wire, and
// the colour the preview paints for it.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "multiviewer/core/preview_bars.h"

namespace panoptix {

struct ColorRow {
    std::string_view name;
    RgbColor rgb;
};

inline constexpr std::array<ColorRow, 16> kColorTable{{
    {"Black", {0, 0, 0}},
    {"Blue", {0, 0, 255}},
    {"Red", {255, 0, 0}},
    {"Magenta", {255, 0, 255}},
    {"Green", {0, 255, 0}},
    {"Cyan", {0, 255, 255}},
    {"Yellow", {255, 255, 0}},
    {"White", {255, 255, 255}},
    {"Gray", {186, 183, 186}},
    {"VioletRed", {219, 112, 147}},
    {"LightBlue", {173, 216, 230}},
    {"LightGreen", {144, 238, 144}},
    {"LightCyan", {224, 255, 255}},
    {"LightYellow", {255, 255, 224}},
    {"Trans", {255, 255, 255}},
    {"HalfTrans", {245, 245, 245}},
}};

// The colour of a code, or nothing for a code above 15.
inline std::optional<RgbColor> ColorOfCode(uint8_t code) {
    if (code >= kColorTable.size()) {
        return std::nullopt;
    }
    return kColorTable[code].rgb;
}

// Paints colour with the code's colour; a code above 15 leaves it as it was.
inline void ApplyColorCode(uint8_t code, RgbColor& color) {
    if (const auto rgb = ColorOfCode(code)) {
        color = *rgb;
    }
}

}  // namespace panoptix
