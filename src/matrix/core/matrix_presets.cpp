#include "matrix/core/matrix_presets.h"

#include <cstdio>

#include "link/operator_messages.h"
#include "link/trace_events.h"
#include "matrix/core/matrix_commands.h"
#include "matrix/core/matrix_crosspoint.h"
#include "matrix/core/matrix_texts.h"

namespace panoptix {
namespace {

bool RoutesAnything(const MatrixRoutes& routes) {
    for (const uint8_t input : routes) {
        if (input != kMatrixNoInput) {
            return true;
        }
    }
    return false;
}

bool StandsAsItIs(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-';
}

std::string KeyOf(std::string_view prefix, std::string_view name) {
    std::string key(prefix);
    for (const char c : name) {
        if (StandsAsItIs(c)) {
            key += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "_%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(c)));
            key += escaped;
        }
    }
    return key;
}

// At most this much of a garbage entry is quoted in its trace.
constexpr size_t kQuotedGarbage = 24;

}  // namespace

std::string EncodePreset(const MatrixRoutes& routes) {
    std::string text;
    for (const uint8_t input : routes) {
        text += IsMatrixPort(input) ? static_cast<char>('0' + input) : '0';
    }
    return text;
}

std::optional<MatrixRoutes> DecodePreset(std::string_view text) {
    if (text.size() != static_cast<size_t>(kMatrixPorts)) {
        return std::nullopt;
    }
    MatrixRoutes routes{};
    for (size_t k = 0; k < routes.size(); ++k) {
        const char c = text[k];
        if (c < '0' || c > '0' + kMatrixPorts) {
            return std::nullopt;
        }
        routes[k] = static_cast<uint8_t>(c - '0');
    }
    if (!RoutesAnything(routes)) {
        return std::nullopt;
    }
    return routes;
}

MatrixPresetBank DecodePresetBank(
    const std::array<std::optional<std::string>, kMatrixPresets>& texts,
    std::string_view router_key) {
    MatrixPresetBank bank{};
    for (size_t i = 0; i < bank.size(); ++i) {
        if (!texts[i].has_value()) {
            continue;
        }
        bank[i] = DecodePreset(*texts[i]);
        if (!bank[i].has_value()) {
            const std::string quoted = texts[i]->substr(0, kQuotedGarbage);
            trace::MatrixPresetIgnored(static_cast<int>(i + 1), static_cast<int>(router_key.size()),
                                       router_key.data(), quoted.c_str());
        }
    }
    return bank;
}

std::string PresetRouterKey(const DeviceLink& link) {
    if (link.mode() == ConnectionMode::Lan) {
        const DeviceEntry* entry = link.SelectedEntry();
        const std::string ip = entry != nullptr ? entry->IpText() : std::string();
        return ip.empty() ? std::string() : KeyOf("lan-", ip);
    }
    if (link.mode() == ConnectionMode::Serial && link.SerialPort().IsOpen()) {
        const std::string port = link.SerialPort().PortName();
        return port.empty() ? std::string() : KeyOf("serial-", port);
    }
    return {};
}

std::vector<std::string> RecallTexts(const MatrixRoutes& routes) {
    std::vector<std::string> texts;
    for (int input = 1; input <= kMatrixPorts; ++input) {
        std::string text = ApplyText(input, routes);
        if (!text.empty()) {
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

PresetOutcome StorePreset(const MatrixState& matrix, MatrixPresetBank& bank, int n) {
    if (!IsMatrixPreset(n)) {
        return PresetOutcome::kNoSuchPreset;
    }
    if (!RoutesAnything(matrix.m_matrix_route)) {
        return PresetOutcome::kNothingToStore;
    }
    bank[static_cast<size_t>(n - 1)] = matrix.m_matrix_route;
    trace::MatrixPresetStored(n, EncodePreset(matrix.m_matrix_route).c_str());
    return PresetOutcome::kStored;
}

PresetOutcome RecallPreset(MatrixState& matrix, DeviceLink& link, CrosspointView& view,
                           const MatrixPresetBank& bank, int n, int* texts_sent) {
    if (texts_sent != nullptr) {
        *texts_sent = 0;
    }
    if (!IsMatrixPreset(n)) {
        return PresetOutcome::kNoSuchPreset;
    }
    if (matrix.m_matrix_lock != 0) {
        return PresetOutcome::kLocked;
    }
    const std::optional<MatrixRoutes>& preset = bank[static_cast<size_t>(n - 1)];
    if (!preset.has_value()) {
        trace::MatrixPresetEmpty(n);
        return PresetOutcome::kEmpty;
    }
    if (!MatrixTextCanGo(link)) {
        trace::ConnectionModeText(ConnectionModeNumber(link.mode()));
        return PresetOutcome::kLinkRefused;
    }
    // Up to eight texts: the operator is told once that no device is selected, not per text.
    if (link.mode() == ConnectionMode::Lan && link.SelectedEntry() == nullptr) {
        ShowErrorMessage(kMessageChooseDevice);
        return PresetOutcome::kNoDevice;
    }
    matrix.m_matrix_route = *preset;
    if (IsMatrixPort(matrix.m_matrix_input)) {
        RefreshOutputButtons(matrix, view, matrix.m_matrix_input);
    }
    int sent = 0;
    for (const std::string& text : RecallTexts(*preset)) {
        if (SendMatrixText(link, text)) {
            ++sent;
        }
    }
    trace::MatrixPresetRecalledTexts(n, sent);
    if (texts_sent != nullptr) {
        *texts_sent = sent;
    }
    return PresetOutcome::kRecalled;
}

}  // namespace panoptix
