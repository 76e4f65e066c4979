#include "state_values.h"

#include <charconv>

namespace panoptix::devsim {

StateKey SplitKey(std::string_view key) {
    const size_t dot = key.find('.');
    if (dot == std::string_view::npos) {
        return StateKey{key, std::nullopt, true};
    }
    StateKey split{key.substr(0, dot), std::nullopt, true};
    const std::string_view number = key.substr(dot + 1);
    int index = 0;
    const auto [end, result] = std::from_chars(number.data(), number.data() + number.size(), index);
    if (number.empty() || result != std::errc() || end != number.data() + number.size()) {
        split.valid = false;
    } else {
        split.index = index;
    }
    return split;
}

bool ParseBounded(std::string_view text, long min, long max, long& out, std::string& error) {
    int base = 10;
    std::string_view digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    long value = 0;
    const auto [end, result] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || result != std::errc() || end != digits.data() + digits.size()) {
        error = "\"" + std::string(text) + "\" is not a number";
        return false;
    }
    if (value < min || value > max) {
        error =
            std::string(text) + " is outside " + std::to_string(min) + ".." + std::to_string(max);
        return false;
    }
    out = value;
    return true;
}

std::string KeyValue(std::string_view key, long value) {
    return std::string(key) + "=" + std::to_string(value);
}

std::string KeyValue(std::string_view key, int index, long value) {
    return std::string(key) + "." + std::to_string(index) + "=" + std::to_string(value);
}

}  // namespace panoptix::devsim
