#pragma once
// The panel's skin: every bitmap and icon the pages show, addressed by its resource id and
// drawn by code at its fixed size. Pictures of buttons use pure black RGB(0, 0, 0) as their
// transparent colour; the lever thumb uses the colour of its top-left pixel.
#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <initializer_list>
#include <vector>

namespace panoptix::skin {

enum class ResourceKind { Bitmap, Icon };

struct ResourceInfo {
    int id;
    QSize size;
    ResourceKind kind;
};

// Every id the panel uses, sorted by id (bitmap and icon ids never collide).
const std::vector<ResourceInfo>& AllResources();

// The picture at its stated size; a null pixmap if the id is unknown. Icons are returned as
// their 32 x 32 picture (with alpha). Pictures are drawn on first use and then cached; call
// from the user-interface thread only.
QPixmap Bitmap(int resource_id);

// Drops the cached page backgrounds (the large pictures) except those named in keep; a dropped
// picture is drawn again, identical, when it is next asked for. The main window calls it when
// a device page goes, so that the backgrounds of pages no longer shown do not stay in memory.
void ReleaseBackgrounds(std::initializer_list<int> keep);

// The 32 x 32 icon; a null icon if the id is unknown.
QIcon Icon(int resource_id);

// The stated size of a resource; an invalid size if the id is unknown.
QSize ResourceSize(int resource_id);

// How a picture marks its transparent pixels: page backgrounds and the lever channel are
// opaque; button pictures use pure black; the lever thumb the colour of its top-left pixel.
// Icons carry an alpha channel and count as opaque here.
enum class Keying { Opaque, BlackIsTransparent, TopLeftIsTransparent };
Keying KeyingOf(int resource_id);

// The info of one resource, or nullptr if the id is unknown.
const ResourceInfo* FindResource(int resource_id);

// Draws a resource afresh into an image of its size, without the cache (the contact sheet and
// tests use it). A null image if the id is unknown.
QImage RenderResource(int resource_id);

}  // namespace panoptix::skin
