#pragma once
// The page backgrounds of the skin.
#include "resources/skin_catalogue.h"

#include <QImage>

namespace panoptix::skin {

// Where the ground (gradient, vignette, grain) under a background's panels is drawn: only where
// no opaque panel covers it (what the skin uses), or everywhere (the same picture, drawn the
// long way; tests compare the two).
enum class Ground { WhereVisible, Everywhere };

// Draws one page background at its bitmap size (RGB32, opaque).
QImage PaintBackdrop(Backdrop backdrop, int width, int height,
                     Ground ground = Ground::WhereVisible);

}  // namespace panoptix::skin
