#pragma once
// The table of the skin: one row per resource id with its size, its kind and the recipe that
// draws it. The drawing itself lives in skin_art.cpp.
#include "resources/skin.h"

#include <vector>

namespace panoptix::skin {

// What a picture is; selects the drawing routine.
enum class Art {
    Background,       // a page background (variant: Backdrop)
    Key,              // a backlit push key with a legend (variant: Glyph)
    Tab,              // a page tab with a glyph above its legend (variant: Glyph)
    Crosspoint,       // a matrix crosspoint key: a large digit
    MultiviewLayout,  // a key showing a multiviewer layout (variant: layout index 0-6)
    QuadLayout,       // a key showing a quad-view show mode (variant: show mode 0-16)
    WipePattern,      // a key showing a wipe pattern (variant: WipeShape)
    TitleButton,      // minimise, maximise, close (variant: Glyph)
    ScanButton,
    SettingsButton,
    LeverChannel,
    LeverThumb,
    LampIcon,  // a round signal lamp (lamp gives its colour)
    AppIcon,
};

// The light behind a key: off, or the colour it glows in.
enum class Lamp { Off, Red, Green, Amber, Blue };

// Small pictograms drawn on keys, tabs and title buttons.
enum class Glyph {
    None,
    Minimise,
    Maximise,
    Close,
    Grid,      // control page
    Label,     // UMD labels
    Palette,   // colours
    Gear,      // settings
    Pulse,     // status
    Meter,     // audio
    Play,      // start
    Stop,      // stop
    LockOpen,  // unlocked
    LockShut,  // locked
    FanOut,    // one to all
    Parallel,  // one to one
    Tick,      // apply
    Stream,    // stream viewer
    Presets,   // stored routings (a stack of cards)
    Store,     // keep into a preset (an arrow into a tray)
};

enum class Backdrop {
    Main,
    Configure,
    Container,
    SubPage,
    MatrixPage,
    MatrixFunction,
    Switcher,
    MatrixPresets,
};

enum class WipeShape {
    Horizontal,
    Vertical,
    Box,
    DiagonalDown,
    BarnDoor,
    DiagonalUp,
    Iris,
    Diamond,
};

struct Recipe {
    int id;
    int width;
    int height;
    ResourceKind kind;
    Art art;
    Lamp lamp;
    const char* caption;  // the legend, "" for none
    int variant;          // Glyph, Backdrop, WipeShape or a layout number, by art
};

// Every recipe, sorted by id.
const std::vector<Recipe>& Recipes();

// Draws one recipe into a new image of its size: RGB32 for bitmaps (black = transparent for
// button pictures), ARGB32 for icons.
QImage Paint(const Recipe& recipe);

}  // namespace panoptix::skin
