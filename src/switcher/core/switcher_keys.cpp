#include "switcher/core/switcher_keys.h"

#include <array>

#include "switcher/core/switcher_controls.h"

namespace panoptix {
namespace {

constexpr int kKeyedSources = 8;

struct PanelKey {
    char key;  // '1'-'8' or ' '
    KeyChord chord;
    int control_id;
};

// Every key of the panel.
constexpr std::array<PanelKey, 18> MakePanelKeys() {
    std::array<PanelKey, 18> keys{};
    size_t next = 0;
    for (int source = 1; source <= kKeyedSources; ++source) {
        const char key = static_cast<char>('0' + source);
        const auto row = static_cast<size_t>(source - 1);
        keys[next++] = {key, KeyChord::Plain, sw_id::kPreviewRow[row]};
        keys[next++] = {key, KeyChord::Control, sw_id::kProgramRow[row]};
    }
    keys[next++] = {' ', KeyChord::Plain, sw_id::kCut};
    keys[next++] = {' ', KeyChord::Control, sw_id::kAuto};
    return keys;
}

constexpr std::array<PanelKey, 18> kPanelKeys = MakePanelKeys();

std::string KeyName(const PanelKey& key) {
    std::string name = key.chord == KeyChord::Control ? "Ctrl+" : "";
    name += key.key == ' ' ? std::string("Space") : std::string(1, key.key);
    return name;
}

// The name of a button that has a key.
std::string ButtonName(int control_id) {
    if (control_id == sw_id::kCut) {
        return "Cut";
    }
    if (control_id == sw_id::kAuto) {
        return "Auto";
    }
    for (size_t row = 0; row < sw_id::kProgramRow.size(); ++row) {
        const std::string source = std::to_string(row + 1);
        if (sw_id::kProgramRow[row] == control_id) {
            return "Program " + source;
        }
        if (sw_id::kPreviewRow[row] == control_id) {
            return "Preview " + source;
        }
    }
    return {};
}

}  // namespace

int PanelButtonOfKey(char key, KeyChord chord) {
    for (const PanelKey& panel_key : kPanelKeys) {
        if (panel_key.key == key && panel_key.chord == chord) {
            return panel_key.control_id;
        }
    }
    return 0;
}

std::string PanelKeyToolTip(int control_id) {
    for (const PanelKey& panel_key : kPanelKeys) {
        if (panel_key.control_id == control_id) {
            return ButtonName(control_id) + " (key " + KeyName(panel_key) + ")";
        }
    }
    return {};
}

}  // namespace panoptix
