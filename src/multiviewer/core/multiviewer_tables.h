#pragma once
// The multiviewer's two code tables. A layout code is the value on the wire and equals the
// number of windows; resolution codes are not in index order. Both tables are searched from
// the first row: a code outside a table has no index, an index outside it has no code.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace panoptix {

struct LayoutRow {
    uint8_t code;           // on the wire; also the number of windows
    std::string_view text;  // the layout's name in lists
};

inline constexpr std::array<LayoutRow, 7> kLayoutTable{{
    {1, "单画面"},
    {4, "四画面"},
    {6, "六画面"},
    {8, "八画面"},
    {9, "九画面"},
    {10, "十画面"},
    {16, "十六画面"},
}};

struct ResolutionRow {
    uint8_t code;  // on the wire
    std::string_view text;
};

inline constexpr std::array<ResolutionRow, 9> kResolutionTable{{
    {7, "1080p60"},
    {11, "1080p50"},
    {9, "1080i60"},
    {1, "1080i50"},
    {3, "1080p30"},
    {13, "1080p25"},
    {5, "1080p24"},
    {14, "720p60"},
    {6, "720p50"},
}};

std::optional<uint8_t> LayoutIndexOfCode(uint8_t code);
std::optional<uint8_t> LayoutCodeOfIndex(uint8_t index);
// The layout's name, or an empty text for an index outside the table.
std::string_view LayoutText(uint8_t index);

std::optional<uint8_t> ResolutionIndexOfCode(uint8_t code);
std::optional<uint8_t> ResolutionCodeOfIndex(uint8_t index);
std::string_view ResolutionText(uint8_t index);

}  // namespace panoptix
