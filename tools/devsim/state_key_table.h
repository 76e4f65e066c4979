#pragma once
// A model's state keys as one table: each key's name, the field it sets, the values it takes and
// whether it is indexed. The state file sets values through it; the state log lists them from it.
#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "state_values.h"

namespace panoptix::devsim {

// How a key takes an index ("name.index").
enum class KeyIndex {
    None,     // one value: "name"; an index is refused
    Each,     // values 1..count: "name.i", or all of them by "name"
    PerUnit,  // as Each, but listed unit by unit after the other keys (one window's keys together)
    Chosen,   // values 0..count-1, one of them always named: "name.i"
};

template <typename State>
struct StateKeyEntry {
    std::string_view name;
    KeyIndex index = KeyIndex::None;
    int count = 1;
    // A number: its bounds, an optional further check with the refusal it gives, and the field.
    long min = 0;
    long max = 255;
    bool (*accepts)(uint8_t) = nullptr;
    const char* refusal = nullptr;
    long (*get)(const State&, std::size_t) = nullptr;
    void (*set)(State&, std::size_t, long) = nullptr;
    // Text instead of a number: the field as text, and a setter that checks the text first.
    std::string (*get_text)(const State&, std::size_t) = nullptr;
    bool (*set_text)(State&, std::size_t, std::string_view, std::string&) = nullptr;

    constexpr StateKeyEntry Indexed(KeyIndex how, int values) const {
        StateKeyEntry entry = *this;
        entry.index = how;
        entry.count = values;
        return entry;
    }
    constexpr StateKeyEntry Accepting(bool (*check)(uint8_t), const char* why) const {
        StateKeyEntry entry = *this;
        entry.accepts = check;
        entry.refusal = why;
        return entry;
    }
};

namespace state_key_detail {

template <typename>
struct MemberOf;
template <typename Class, typename Field>
struct MemberOf<Field Class::*> {
    using State = Class;
    using Type = Field;
};

// The field of kMember, or its element i when the field is an array.
template <auto kMember, typename State>
constexpr auto& FieldAt(State& state, std::size_t i) {
    auto& field = state.*kMember;
    if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(field)>>) {
        return field;
    } else {
        return field[i];
    }
}

template <auto kMember>
long Get(const typename MemberOf<decltype(kMember)>::State& state, std::size_t i) {
    return static_cast<long>(FieldAt<kMember>(state, i));
}

template <auto kMember>
void Set(typename MemberOf<decltype(kMember)>::State& state, std::size_t i, long value) {
    auto& field = FieldAt<kMember>(state, i);
    field = static_cast<std::remove_cvref_t<decltype(field)>>(value);
}

}  // namespace state_key_detail

// A numeric key on a byte or 16-bit field, or on an array of them (then give it an index).
template <auto kMember>
constexpr auto NumberKey(std::string_view name, long min, long max) {
    using State = typename state_key_detail::MemberOf<decltype(kMember)>::State;
    StateKeyEntry<State> entry;
    entry.name = name;
    entry.min = min;
    entry.max = max;
    entry.get = &state_key_detail::Get<kMember>;
    entry.set = &state_key_detail::Set<kMember>;
    return entry;
}

// A text key, read and written by the two functions.
template <typename State>
constexpr StateKeyEntry<State> TextKey(std::string_view name,
                                       std::string (*get)(const State&, std::size_t),
                                       bool (*set)(State&, std::size_t, std::string_view,
                                                   std::string&)) {
    StateKeyEntry<State> entry;
    entry.name = name;
    entry.get_text = get;
    entry.set_text = set;
    return entry;
}

// Sets key_text (with its index, if any) to value. False with error for an unknown key
// (unknown_key), a wrong index or a value outside the key's range.
template <typename State>
bool SetStateKey(std::span<const StateKeyEntry<State>> table, State& state,
                 std::string_view key_text, std::string_view value, std::string& error,
                 const char* unknown_key) {
    const StateKey key = SplitKey(key_text);
    if (!key.valid) {
        error = "the index is not a number";
        return false;
    }
    const auto entry = std::find_if(table.begin(), table.end(), [&](const StateKeyEntry<State>& e) {
        return e.name == key.name;
    });
    if (entry == table.end()) {
        error = unknown_key;
        return false;
    }
    // The zero-based elements the key names.
    std::size_t first = 0;
    std::size_t last = 0;
    switch (entry->index) {
        case KeyIndex::None:
            if (key.index) {
                error = "takes no index";
                return false;
            }
            break;
        case KeyIndex::Each:
        case KeyIndex::PerUnit:
            if (key.index && (*key.index < 1 || *key.index > entry->count)) {
                error = "index " + std::to_string(*key.index) + " is outside 1.." +
                        std::to_string(entry->count);
                return false;
            }
            first = key.index ? static_cast<std::size_t>(*key.index - 1) : 0;
            last = key.index ? first : static_cast<std::size_t>(entry->count - 1);
            break;
        case KeyIndex::Chosen:
            if (!key.index || *key.index < 0 || *key.index >= entry->count) {
                error = "takes an index 0.." + std::to_string(entry->count - 1);
                return false;
            }
            first = last = static_cast<std::size_t>(*key.index);
            break;
    }
    if (entry->set_text != nullptr) {
        for (std::size_t i = first; i <= last; ++i) {
            if (!entry->set_text(state, i, value, error)) {
                return false;
            }
        }
        return true;
    }
    long number = 0;
    if (!ParseBounded(value, entry->min, entry->max, number, error)) {
        return false;
    }
    if (entry->accepts != nullptr && !entry->accepts(static_cast<uint8_t>(number))) {
        error = entry->refusal;
        return false;
    }
    for (std::size_t i = first; i <= last; ++i) {
        entry->set(state, i, number);
    }
    return true;
}

// Every key as key=value lines: the keys in table order, each with all its indexes, then the
// per-unit keys unit by unit.
template <typename State>
std::vector<std::string> StateKeyLines(std::span<const StateKeyEntry<State>> table,
                                       const State& state) {
    std::vector<std::string> lines;
    auto add = [&](const StateKeyEntry<State>& entry, std::size_t i, bool with_index) {
        const std::string key =
            with_index ? std::string(entry.name) + "." +
                             std::to_string(entry.index == KeyIndex::Chosen ? i : i + 1)
                       : std::string(entry.name);
        lines.push_back(entry.get_text != nullptr ? key + "=" + entry.get_text(state, i)
                                                  : KeyValue(key, entry.get(state, i)));
    };
    int units = 0;
    for (const auto& entry : table) {
        if (entry.index == KeyIndex::PerUnit) {
            units = std::max(units, entry.count);
            continue;
        }
        const bool indexed = entry.index != KeyIndex::None;
        for (int i = 0; i < (indexed ? entry.count : 1); ++i) {
            add(entry, static_cast<std::size_t>(i), indexed);
        }
    }
    for (int unit = 0; unit < units; ++unit) {
        for (const auto& entry : table) {
            if (entry.index == KeyIndex::PerUnit && unit < entry.count) {
                add(entry, static_cast<std::size_t>(unit), true);
            }
        }
    }
    return lines;
}

}  // namespace panoptix::devsim
