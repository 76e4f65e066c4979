#pragma once
// The quad-view tables: the preview layout of each show mode, which PIP lists a show mode
// enables, the output format list, and the list row that shows a stored PIP child.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "quadview/core/quadview_state.h"

namespace panoptix {

// Clears the four preview windows, then fills those of show_mode (the label is the window's
// number 1..4); a mode past 16 leaves them all cleared.
void ComputeQuadLayout(QuadviewState& quad);

// What UpdatePipCombos does to one PIP list.
enum class ListChange { Keep, Disable, Enable };

struct PipListChanges {
    ListChange first = ListChange::Keep;
    ListChange second = ListChange::Keep;

    bool operator==(const PipListChanges&) const = default;
};

// Both lists disabled for modes 0-4 and 12-15; kept for 5, 6 and past 16. Modes 7-10: both
// disabled while the loop runs, else the first disabled and the second enabled. Modes 11 and
// 16: both disabled while the loop runs, else both enabled.
PipListChanges PipListChangesFor(uint8_t show_mode, uint8_t loop_state);

// The output format list: row 0 "1280x1024_60" is code 4, row 1 "1920x1080_60" code 10.
struct OutputFormatRow {
    uint8_t code;
    std::string_view text;
};
inline constexpr std::array<OutputFormatRow, 2> kOutputFormatTable{{
    {4, "1280x1024_60"},
    {10, "1920x1080_60"},
}};
std::optional<uint8_t> OutputFormatCodeOfRow(int row);
// The row whose code equals code; none for any other code.
std::optional<int> OutputFormatRowOfCode(uint8_t code);

// The PIP lists hold "1".."4"; row r is channel r + 1.
inline constexpr std::array<std::string_view, kQuadChannels> kPipListTexts{"1", "2", "3", "4"};
inline constexpr int kNoRow = -1;
// The row of a stored child: channel - 1 for 1..4, no row otherwise.
int PipRowOfChild(uint8_t child);

}  // namespace panoptix
