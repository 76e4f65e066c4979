#pragma once
// Router presets: eight stored route records per router, kept in the user's settings file. A
// store copies the page's route record into a preset; a recall replaces the record with the
// preset and sends the router the fewest texts that set it: one apply text ("nVk,k.") per input
// that carries outputs, inputs in ascending order. The router keeps the input of an output that
// no text names, exactly as after APPLY. The lock blocks a recall as it blocks every other
// change; storing changes nothing on the router and is allowed while locked.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_link.h"
#include "matrix/core/matrix_state.h"
#include "matrix/core/matrix_views.h"

namespace panoptix {

inline constexpr int kMatrixPresets = 8;  // presets 1..8

// A router's presets: entry n-1 holds preset n, nullopt while it is empty.
using MatrixPresetBank = std::array<std::optional<MatrixRoutes>, kMatrixPresets>;

constexpr bool IsMatrixPreset(int n) {
    return n >= 1 && n <= kMatrixPresets;
}

// A preset as the settings file keeps it: the input on outputs 1..8 as eight digits 0..8
// ("31133333"; 0 = none).
std::string EncodePreset(const MatrixRoutes& routes);
// The record of a kept preset; nullopt for anything but eight digits 0..8 of which at least one
// is not 0 (a record that routes nothing is never stored).
std::optional<MatrixRoutes> DecodePreset(std::string_view text);

// The bank from the eight texts the file holds for router_key (nullopt: no entry). An entry that
// is not a preset is left empty and traced ("matrix preset %d of %s ignored: ... \n").
MatrixPresetBank DecodePresetBank(
    const std::array<std::optional<std::string>, kMatrixPresets>& texts,
    std::string_view router_key);

// The name the presets of the router in use are kept under: "lan-" and the selected device's
// address on the LAN, "serial-" and the open port's name on the serial line. Only letters,
// digits, '.' and '-' stand as they are; any other byte is written "_XX" (hex), so the name is
// one plain settings key. "" when there is no router to name (no device selected, port closed,
// another mode).
std::string PresetRouterKey(const DeviceLink& link);

// The texts that set a record on the router: ApplyText for each input 1..8 that carries at least
// one output, in input order. None for a record that routes nothing.
std::vector<std::string> RecallTexts(const MatrixRoutes& routes);

enum class PresetOutcome {
    kStored,          // the record is in the preset now
    kNothingToStore,  // no output carries an input: the preset is left as it was
    kRecalled,        // the record is the preset's and its texts went out
    kEmpty,           // the preset holds nothing: nothing changed, nothing sent
    kLocked,          // the panel is locked: nothing changed, nothing sent
    kLinkRefused,     // the texts cannot go (serial port closed, unknown mode): nothing changed
    kNoDevice,        // LAN with no device selected: told once, nothing changed
    kNoSuchPreset,    // n is not 1..8
};

// Preset n (1..8) takes the page's route record. Trace "matrix preset %d stored: %s \n".
PresetOutcome StorePreset(const MatrixState& matrix, MatrixPresetBank& bank, int n);

// Recall of preset n: the route record becomes the preset's (the selection stays; the outputs of
// a selected input are redrawn), then each of RecallTexts goes as SendMatrixText sends it, on
// the link in use. texts_sent (if given) receives how many went.
PresetOutcome RecallPreset(MatrixState& matrix, DeviceLink& link, CrosspointView& view,
                           const MatrixPresetBank& bank, int n, int* texts_sent = nullptr);

}  // namespace panoptix
