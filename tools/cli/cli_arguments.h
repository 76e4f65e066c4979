#pragma once
// The arguments of an action, as an operator says them: numbers in a range, on/off, a word from
// a list, a label, a list of outputs or "all", an IPv4 address. Each is checked before anything
// is sent; a bad one is named with what it accepts ("source must be 1..16").
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace panoptix::cli {

enum class ArgType {
    Number,   // min..max
    OnOff,    // "on" or "off"
    Choice,   // one of choices (any letter case), or its number choice_base + index
    Text,     // UTF-8, at most max characters
    Outputs,  // "all", or numbers min..max separated by commas
    Ipv4,     // dotted quad
};

struct ArgSpec {
    std::string name;
    ArgType type = ArgType::Number;
    int min = 0;
    int max = 0;
    std::vector<std::string> choices;
    int choice_base = 0;  // the number that names choices[0]
    std::string help;
    // An option (--name VALUE) instead of a positional argument; default_text when not given.
    // An option whose default_text is empty may be left out: its value is then not given.
    bool option = false;
    std::string default_text;
};

struct ArgValue {
    int number = 0;  // Number, OnOff (1 on), Choice (the index into choices)
    std::u16string text;
    std::vector<int> outputs;  // ascending, without repeats; empty means "all"
    uint8_t ipv4[4] = {};
    bool given = true;  // false: an option without a default that was left out
};

// The value, or the message that names the argument and what it accepts.
using ParsedArg = std::variant<ArgValue, std::string>;
ParsedArg ParseArgument(const ArgSpec& spec, const std::string& text);

// "1..16", "on|off", "mix|dip|wipe", ...: what the argument accepts, for help and messages.
std::string AcceptedText(const ArgSpec& spec);

// A device byte given as decimal or 0x hex (0..255).
std::optional<uint8_t> ParseDeviceByte(const std::string& text);

// A choice_base that lets no number stand for a choice: only the words count.
inline constexpr int kWordsOnly = 1 << 20;

// The spec builders the action tables use.
ArgSpec NumberArg(std::string name, int min, int max, std::string help);
ArgSpec OnOffArg(std::string name, std::string help);
ArgSpec ChoiceArg(std::string name, std::vector<std::string> choices, int choice_base,
                  std::string help);
ArgSpec TextArg(std::string name, int max_chars, std::string help);
ArgSpec OutputsArg(std::string name, int min, int max, std::string help);
ArgSpec Ipv4Arg(std::string name, std::string help);
ArgSpec AsOption(ArgSpec spec, std::string default_text);

}  // namespace panoptix::cli
