#include "multiviewer/core/multiviewer_tables.h"

namespace panoptix {
namespace {

template <typename Table>
std::optional<uint8_t> IndexOfCode(const Table& table, uint8_t code) {
    for (size_t index = 0; index < table.size(); ++index) {
        if (table[index].code == code) {
            return static_cast<uint8_t>(index);
        }
    }
    return std::nullopt;
}

template <typename Table>
std::optional<uint8_t> CodeOfIndex(const Table& table, uint8_t index) {
    if (index >= table.size()) {
        return std::nullopt;
    }
    return table[index].code;
}

template <typename Table>
std::string_view TextOfIndex(const Table& table, uint8_t index) {
    return index < table.size() ? table[index].text : std::string_view{};
}

}  // namespace

std::optional<uint8_t> LayoutIndexOfCode(uint8_t code) {
    return IndexOfCode(kLayoutTable, code);
}
std::optional<uint8_t> LayoutCodeOfIndex(uint8_t index) {
    return CodeOfIndex(kLayoutTable, index);
}
std::string_view LayoutText(uint8_t index) {
    return TextOfIndex(kLayoutTable, index);
}

std::optional<uint8_t> ResolutionIndexOfCode(uint8_t code) {
    return IndexOfCode(kResolutionTable, code);
}
std::optional<uint8_t> ResolutionCodeOfIndex(uint8_t index) {
    return CodeOfIndex(kResolutionTable, index);
}
std::string_view ResolutionText(uint8_t index) {
    return TextOfIndex(kResolutionTable, index);
}

}  // namespace panoptix
