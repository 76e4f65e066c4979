#pragma once
// Helpers for the models' state keys: "name" or "name.index", and bounded numbers.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace panoptix::devsim {

struct StateKey {
    std::string_view name;
    std::optional<int> index;  // the number after '.', if any
    bool valid = true;         // false when the text after '.' is not a number
};

StateKey SplitKey(std::string_view key);

// Decimal or 0x-hexadecimal integer in [min, max]; false with error otherwise.
bool ParseBounded(std::string_view text, long min, long max, long& out, std::string& error);

// A byte value as key=value text.
std::string KeyValue(std::string_view key, long value);
std::string KeyValue(std::string_view key, int index, long value);

}  // namespace panoptix::devsim
