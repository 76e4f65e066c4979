#pragma once
// A contact sheet of the skin: every picture at its own size, its id under it, small pictures
// first in rows and the page backgrounds after them.
#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

namespace panoptix::skin {

struct SheetPlacement {
    int id;
    QRect rect;  // where the picture lies on the sheet, at its own size
};

struct ContactSheet {
    QImage image;
    std::vector<SheetPlacement> placements;  // in resource id order within each group
};

// Builds the sheet; sheet_width is the width rows wrap at.
ContactSheet BuildContactSheet(int sheet_width = 2700);

// One line per resource: "id width height kind" (kind: bitmap or icon).
QString ResourceListing();

// A mock of the main window with a switcher-like page: real skinned controls over the page
// backgrounds, grabbed to an image.
QImage RenderMockPanel();

}  // namespace panoptix::skin
