#include "cli_arguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "link/udp_socket.h"
#include "utf_text.h"

namespace panoptix::cli {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A plain decimal number (no sign, no blanks), or nothing.
std::optional<int> Decimal(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end || text[0] == '-' || text[0] == '+') {
        return std::nullopt;
    }
    return value;
}

std::string MustBe(const ArgSpec& spec) {
    return spec.name + " must be " + AcceptedText(spec);
}

ParsedArg ParseNumber(const ArgSpec& spec, const std::string& text) {
    const auto value = Decimal(text);
    if (!value || *value < spec.min || *value > spec.max) {
        return MustBe(spec);
    }
    ArgValue parsed;
    parsed.number = *value;
    return parsed;
}

ParsedArg ParseChoice(const ArgSpec& spec, const std::string& text) {
    const std::string word = Lower(text);
    for (size_t index = 0; index < spec.choices.size(); ++index) {
        if (Lower(spec.choices[index]) == word) {
            ArgValue parsed;
            parsed.number = static_cast<int>(index);
            return parsed;
        }
    }
    if (const auto number = Decimal(text)) {
        const int index = *number - spec.choice_base;
        if (index >= 0 && index < static_cast<int>(spec.choices.size())) {
            ArgValue parsed;
            parsed.number = index;
            return parsed;
        }
    }
    return MustBe(spec);
}

ParsedArg ParseText(const ArgSpec& spec, const std::string& text) {
    const auto wide = Utf8ToUtf16(text);
    if (!wide) {
        return spec.name + " must be UTF-8 text";
    }
    if (wide->size() > static_cast<size_t>(spec.max)) {
        return MustBe(spec);
    }
    ArgValue parsed;
    parsed.text = *wide;
    return parsed;
}

ParsedArg ParseOutputs(const ArgSpec& spec, const std::string& text) {
    ArgValue parsed;
    if (Lower(text) == "all") {
        return parsed;
    }
    std::set<int> outputs;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const auto value = Decimal(text.substr(start, comma - start));
        if (!value || *value < spec.min || *value > spec.max) {
            return MustBe(spec);
        }
        outputs.insert(*value);
        start = comma + 1;
    }
    parsed.outputs.assign(outputs.begin(), outputs.end());
    return parsed;
}

ParsedArg ParseIpv4Text(const ArgSpec& spec, const std::string& text) {
    const auto address = udp_socket::ParseIpv4(text);
    if (!address || udp_socket::FormatIpv4(*address) != text) {
        return MustBe(spec);
    }
    ArgValue parsed;
    // Network byte order: the first octet is the lowest byte in memory.
    const uint32_t value = *address;
    std::copy_n(reinterpret_cast<const uint8_t*>(&value), 4, parsed.ipv4);
    return parsed;
}

}  // namespace

std::string AcceptedText(const ArgSpec& spec) {
    switch (spec.type) {
        case ArgType::Number:
            return std::to_string(spec.min) + ".." + std::to_string(spec.max);
        case ArgType::OnOff:
            return "on|off";
        case ArgType::Choice: {
            std::string text;
            for (const auto& choice : spec.choices) {
                text += (text.empty() ? "" : "|") + choice;
            }
            return text;
        }
        case ArgType::Text:
            return "at most " + std::to_string(spec.max) + " characters";
        case ArgType::Outputs:
            return "all or outputs " + std::to_string(spec.min) + ".." + std::to_string(spec.max) +
                   " separated by commas";
        case ArgType::Ipv4:
            return "an IPv4 address such as 192.0.2.20";
    }
    return {};
}

ParsedArg ParseArgument(const ArgSpec& spec, const std::string& text) {
    switch (spec.type) {
        case ArgType::Number:
            return ParseNumber(spec, text);
        case ArgType::OnOff: {
            const std::string word = Lower(text);
            if (word != "on" && word != "off") {
                return MustBe(spec);
            }
            ArgValue parsed;
            parsed.number = word == "on" ? 1 : 0;
            return parsed;
        }
        case ArgType::Choice:
            return ParseChoice(spec, text);
        case ArgType::Text:
            return ParseText(spec, text);
        case ArgType::Outputs:
            return ParseOutputs(spec, text);
        case ArgType::Ipv4:
            return ParseIpv4Text(spec, text);
    }
    return MustBe(spec);
}

std::optional<uint8_t> ParseDeviceByte(const std::string& text) {
    int base = 10;
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    unsigned value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || error != std::errc{} || stop != end || value > 255) {
        return std::nullopt;
    }
    return static_cast<uint8_t>(value);
}

ArgSpec NumberArg(std::string name, int min, int max, std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::Number;
    spec.min = min;
    spec.max = max;
    spec.help = std::move(help);
    return spec;
}

ArgSpec OnOffArg(std::string name, std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::OnOff;
    spec.help = std::move(help);
    return spec;
}

ArgSpec ChoiceArg(std::string name, std::vector<std::string> choices, int choice_base,
                  std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::Choice;
    spec.choices = std::move(choices);
    spec.choice_base = choice_base;
    spec.help = std::move(help);
    return spec;
}

ArgSpec TextArg(std::string name, int max_chars, std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::Text;
    spec.max = max_chars;
    spec.help = std::move(help);
    return spec;
}

ArgSpec OutputsArg(std::string name, int min, int max, std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::Outputs;
    spec.min = min;
    spec.max = max;
    spec.help = std::move(help);
    return spec;
}

ArgSpec Ipv4Arg(std::string name, std::string help) {
    ArgSpec spec;
    spec.name = std::move(name);
    spec.type = ArgType::Ipv4;
    spec.help = std::move(help);
    return spec;
}

ArgSpec AsOption(ArgSpec spec, std::string default_text) {
    spec.option = true;
    spec.default_text = std::move(default_text);
    return spec;
}

}  // namespace panoptix::cli
