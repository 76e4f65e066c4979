#pragma once
// The page backgrounds of the skin.
#include "resources/skin_catalogue.h"

#include <QImage>

namespace panoptix::skin {

// Draws one page background at its bitmap size (RGB32, opaque).
QImage PaintBackdrop(Backdrop backdrop, int width, int height);

}  // namespace panoptix::skin
