#include "state_file.h"

namespace panoptix::devsim {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

bool ApplyStateText(DeviceModel& model, std::string_view text, std::string& error) {
    size_t line_number = 0;
    while (!text.empty()) {
        ++line_number;
        const size_t end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);

        const std::string_view line = Trim(raw);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(line_number) + ": ";
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = where + "expected key=value";
            return false;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        std::string why;
        if (key.empty() || !model.SetStateValue(key, value, why)) {
            error = where + std::string(key) + ": " + (key.empty() ? "empty key" : why);
            return false;
        }
    }
    return true;
}

}  // namespace panoptix::devsim
