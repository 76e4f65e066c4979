#include "matrix_model.h"

#include <optional>

#include "state_key_table.h"
#include "text_codec.h"

namespace panoptix::devsim {
namespace {

// Reads a one- or two-digit decimal number at text[pos], moving pos past it.
std::optional<int> ReadNumber(std::string_view text, size_t& pos) {
    int value = 0;
    size_t digits = 0;
    while (pos < text.size() && digits < 2 && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return value;
}

bool IsPort(int number) {
    return number >= 1 && number <= kMatrixPorts;
}

std::string Quoted(std::string_view text) {
    return "\"" + PrintableBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()}) +
           "\"";
}

Response Ignored(std::string_view text, const std::string& why) {
    return Response{"ignored text " + Quoted(text) + ": " + why, {}};
}

}  // namespace

MatrixModel::MatrixModel(DeviceIdentity identity) : DeviceModel(std::move(identity)) {}

Response MatrixModel::OnFrame(const FrameView& frame, Link) {
    return NotForThisDevice(frame, "matrix");
}

Response MatrixModel::OnText(std::string_view text) {
    if (text == "All#.") {
        for (int k = 1; k <= kMatrixPorts; ++k) {
            state_.routes[static_cast<size_t>(k - 1)] = static_cast<uint8_t>(k);
        }
        return Response{"route each input to its own output (one to one)", {}};
    }
    size_t pos = 0;
    const auto input = ReadNumber(text, pos);
    if (!input) {
        return Ignored(text, "not a matrix command");
    }
    if (!IsPort(*input)) {
        return Ignored(text, "input " + std::to_string(*input) + " is not 1..8");
    }
    const std::string_view rest = text.substr(pos);
    if (rest == "All.") {
        state_.routes.fill(static_cast<uint8_t>(*input));
        return Response{"route input " + std::to_string(*input) + " to all outputs", {}};
    }
    if (rest.empty() || rest[0] != 'V') {
        return Ignored(text, "not a matrix command");
    }
    // "V", then outputs each followed by ',' except the last, which is followed by '.'.
    ++pos;
    std::vector<int> outputs;
    for (;;) {
        const auto output = ReadNumber(text, pos);
        if (!output || pos >= text.size()) {
            return Ignored(text, "the output list is not numbers separated by ','");
        }
        if (!IsPort(*output)) {
            return Ignored(text, "output " + std::to_string(*output) + " is not 1..8");
        }
        outputs.push_back(*output);
        if (text[pos] == '.' && pos + 1 == text.size()) {
            break;
        }
        if (text[pos] != ',') {
            return Ignored(text, "the output list is not numbers separated by ','");
        }
        ++pos;
    }
    std::string list;
    for (int output : outputs) {
        state_.routes[static_cast<size_t>(output - 1)] = static_cast<uint8_t>(*input);
        list += (list.empty() ? "" : ", ") + std::to_string(output);
    }
    return Response{"route input " + std::to_string(*input) +
                        (outputs.size() == 1 ? " to output " : " to outputs ") + list,
                    {}};
}

namespace {

using S = MatrixDeviceState;

// Entry k: the input on output k.
const StateKeyEntry<S> kStateKeys[] = {
    NumberKey<&S::routes>("route", 0, kMatrixPorts).Indexed(KeyIndex::PerUnit, kMatrixPorts),
};

}  // namespace

std::vector<std::string> MatrixModel::StateLines() const {
    return StateKeyLines<S>(kStateKeys, state_);
}

bool MatrixModel::SetStateValue(std::string_view key, std::string_view value, std::string& error) {
    return SetStateKey<S>(kStateKeys, state_, key, value, error, "not a matrix key");
}

}  // namespace panoptix::devsim
