#include "switcher/core/ini_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace panoptix {
namespace {

constexpr size_t kValueRoom = 99;

struct Line {
    std::string_view body;  // without its line end
    std::string_view end;   // "\n", "\r\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({text, {}});
            break;
        }
        size_t body_end = newline;
        if (body_end > 0 && text[body_end - 1] == '\r') {
            --body_end;
        }
        lines.push_back({text.substr(0, body_end), text.substr(body_end, newline + 1 - body_end)});
        text.remove_prefix(newline + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view body) {
    body = Trim(body);
    if (body.size() < 2 || body.front() != '[') {
        return std::nullopt;
    }
    const size_t close = body.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trim(body.substr(1, close - 1));
}

// The key of a "key=value" line, with the value.
bool KeyLine(std::string_view body, std::string_view& key, std::string_view& value) {
    const size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = Trim(body.substr(0, equals));
    value = Trim(body.substr(equals + 1));
    return !key.empty() && key.front() != ';';
}

struct Found {
    std::optional<size_t> section_line;  // the "[section]" line
    size_t section_last = 0;             // last non-blank line of the section
    std::optional<size_t> key_line;
    std::string_view value;
};

Found Find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Found found;
    bool inside = false;
    for (size_t at = 0; at < lines.size(); ++at) {
        if (const auto name = SectionName(lines[at].body)) {
            if (inside) {
                break;  // the first section of that name is the one that counts
            }
            inside = SameName(*name, section);
            if (inside) {
                found.section_line = at;
                found.section_last = at;
            }
            continue;
        }
        if (!inside) {
            continue;
        }
        if (!Trim(lines[at].body).empty()) {
            found.section_last = at;
        }
        std::string_view line_key;
        std::string_view line_value;
        if (!found.key_line && KeyLine(lines[at].body, line_key, line_value) &&
            SameName(line_key, key)) {
            found.key_line = at;
            found.value = line_value;
        }
    }
    return found;
}

}  // namespace

std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key) {
    const Found found = Find(SplitLines(text), section, key);
    if (!found.key_line) {
        return {};
    }
    return std::string(found.value.substr(0, kValueRoom));
}

std::string WriteIniValue(std::string_view text, std::string_view section, std::string_view key,
                          std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const Found found = Find(lines, section, key);
    // New lines end the way the file's lines do.
    std::string_view line_end = "\r\n";
    if (!lines.empty() && lines.front().end == "\n") {
        line_end = "\n";
    }
    const std::string key_line = std::string(key) + "=" + std::string(value);

    std::string out;
    for (size_t at = 0; at < lines.size(); ++at) {
        const Line& line = lines[at];
        if (found.key_line == at) {
            out += key_line;
            out += line.end;
            continue;
        }
        out += line.body;
        out += line.end;
        if (!found.key_line && found.section_line && found.section_last == at) {
            if (line.end.empty()) {
                out += line_end;
            }
            out += key_line;
            out += line.end.empty() ? line_end : line.end;
        }
    }
    if (!found.section_line) {
        if (!out.empty() && out.back() != '\n') {
            out += line_end;
        }
        out += "[" + std::string(section) + "]";
        out += line_end;
        out += key_line;
        out += line_end;
    }
    return out;
}

}  // namespace panoptix
