#include "resources/skin.h"
#include "contact_sheet.h"
#include "qt_test_environment.h"
#include "resources/skin_backdrops.h"

#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace panoptix::skin {
namespace {

// Every picture the panel names, with its size: backgrounds at their stated sizes, button
// pictures at their buttons' sizes (or the size stated for them), icons 32 x 32.
std::map<int, QSize> ExpectedBitmaps() {
    std::map<int, QSize> sizes;
    const auto add = [&sizes](std::initializer_list<int> ids, QSize size) {
        for (const int id : ids) {
            sizes[id] = size;
        }
    };
    // Main window and connection settings.
    add({195}, {1280, 720});
    add({198}, {44, 35});
    add({197}, {31, 35});
    add({188}, {39, 35});
    add({199}, {25, 30});
    add({196}, {135, 50});
    add({191}, {600, 660});
    // Multiviewer container, tabs and layout keys.
    add({187, 229}, {1280, 585});
    add({194, 230, 379}, {490, 420});
    add({192, 193, 204, 205, 202, 203, 185, 186}, {80, 75});
    add({189, 190}, {72, 75});
    add({200, 201}, {90, 75});
    add({171, 172, 173, 174, 175, 176, 177, 178, 179, 180, 181, 182, 183, 184}, {80, 57});
    // Switcher panel.
    add({294}, {1260, 585});
    for (int id = 248; id <= 283; ++id) {
        add({id}, {70, 70});
    }
    add({246, 247, 286, 287, 290, 291, 292, 293, 295, 296, 297, 298, 299, 300, 303, 304}, {70, 70});
    add({341, 342, 343, 344, 345, 346}, {70, 70});
    add({245, 305, 285, 288, 289, 347}, {80, 80});
    add({301}, {164, 420});
    add({302}, {144, 41});
    add({353, 354, 355, 356, 357, 358, 359, 360, 361, 362, 363, 364, 365, 368, 369, 370}, {50, 50});
    // Matrix.
    for (int id = 213; id <= 228; ++id) {
        add({id}, {60, 65});
    }
    add({233}, {220, 60});
    add({234}, {220, 65});
    add({231, 232, 235, 382, 383}, {140, 65});
    add({380, 381}, {80, 75});
    for (int id = 384; id <= 399; ++id) {
        add({id}, {100, 75});
    }
    // Quad-view.
    for (int id = 309; id <= 340; ++id) {
        add({id}, {68, 48});
    }
    add({311, 312, 313, 314}, {68, 50});
    add({371, 372}, {68, 48});
    add({373, 374}, {70, 45});
    return sizes;
}

const std::set<int> kIcons = {128, 211, 212, 375, 376};

TEST(Skin, EveryNamedPictureExistsAtItsStatedSize) {
    const auto expected = ExpectedBitmaps();
    for (const auto& [id, size] : expected) {
        const ResourceInfo* info = FindResource(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_EQ(info->kind, ResourceKind::Bitmap) << id;
        EXPECT_EQ(ResourceSize(id), size) << id;
        const QPixmap pixmap = Bitmap(id);
        ASSERT_FALSE(pixmap.isNull()) << id;
        EXPECT_EQ(pixmap.size(), size) << id;
    }
    for (const int id : kIcons) {
        const ResourceInfo* info = FindResource(id);
        ASSERT_NE(info, nullptr) << id;
        EXPECT_EQ(info->kind, ResourceKind::Icon) << id;
        const QIcon icon = Icon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32)) << id;
    }
    // Nothing beyond them, sorted by id, no id twice.
    EXPECT_EQ(AllResources().size(), expected.size() + kIcons.size());
    for (std::size_t i = 1; i < AllResources().size(); ++i) {
        EXPECT_LT(AllResources()[i - 1].id, AllResources()[i].id);
    }
}

TEST(Skin, UnknownIdsGiveNothing) {
    for (const int id : {0, -1, 170, 366, 367, 377, 100000}) {
        EXPECT_TRUE(Bitmap(id).isNull()) << id;
        EXPECT_TRUE(Icon(id).isNull()) << id;
        EXPECT_FALSE(ResourceSize(id).isValid()) << id;
        EXPECT_EQ(FindResource(id), nullptr) << id;
    }
}

TEST(Skin, PicturesAreCachedAfterTheFirstDrawing) {
    const QPixmap first = Bitmap(195);
    const QPixmap second = Bitmap(195);
    EXPECT_EQ(first.cacheKey(), second.cacheKey());
}

// The ground is drawn only where no panel covers it; the pictures must be the very ones that
// drawing the whole ground gives, pixel for pixel (a panel made translucent, or a hidden area
// that reaches past a panel's edge, shows here).
TEST(Skin, BackgroundsDrawnOnlyWhereVisibleEqualTheWholeDrawing) {
    for (const Recipe& recipe : Recipes()) {
        if (recipe.art != Art::Background) {
            continue;
        }
        const auto backdrop = static_cast<Backdrop>(recipe.variant);
        const QImage whole =
            PaintBackdrop(backdrop, recipe.width, recipe.height, Ground::Everywhere);
        EXPECT_EQ(PaintBackdrop(backdrop, recipe.width, recipe.height), whole) << recipe.id;
        EXPECT_EQ(RenderResource(recipe.id), whole) << recipe.id;
    }
}

// Page backgrounds are let go when their page goes and drawn again, the same, when needed;
// the ones named stay, and so do the small pictures.
TEST(Skin, ReleasedBackgroundsComeBackTheSame) {
    const QPixmap main = Bitmap(195);
    const QPixmap page = Bitmap(187);
    const QImage page_pixels = page.toImage();
    const QPixmap key = Bitmap(196);
    ReleaseBackgrounds({195});
    EXPECT_EQ(Bitmap(195).cacheKey(), main.cacheKey());
    EXPECT_EQ(Bitmap(196).cacheKey(), key.cacheKey());
    const QPixmap drawn_again = Bitmap(187);
    EXPECT_NE(drawn_again.cacheKey(), page.cacheKey());
    EXPECT_EQ(drawn_again.toImage(), page_pixels);
    EXPECT_EQ(Bitmap(187).cacheKey(), drawn_again.cacheKey());
}

int CountPixels(const QImage& image, bool (*test)(QRgb)) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool Reddish(QRgb p) {
    return qRed(p) > 150 && qRed(p) > qGreen(p) + 80 && qRed(p) > qBlue(p) + 80;
}
bool Greenish(QRgb p) {
    return qGreen(p) > 150 && qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 40;
}
bool Amber(QRgb p) {
    return qRed(p) > 200 && qGreen(p) > 110 && qBlue(p) < qGreen(p) - 60;
}

// Lit and unlit looks are clearly different, and lit in the colour of their role.
TEST(Skin, LitPicturesDifferFromUnlitInTheirColour) {
    struct Pair {
        int unlit;
        int lit;
        bool (*colour)(QRgb);
    };
    const Pair pairs[] = {
        {250, 249, Reddish},  {250, 248, Greenish}, {283, 282, Reddish}, {283, 281, Greenish},
        {298, 297, Reddish},  {289, 288, Reddish},  {245, 305, Reddish}, {213, 214, Greenish},
        {227, 228, Greenish}, {299, 300, Amber},    {246, 247, Amber},   {295, 296, Amber},
        {341, 342, Amber},    {171, 172, Amber},    {183, 184, Amber},   {309, 310, Amber},
        {371, 372, Amber},    {361, 360, Amber},    {192, 193, Amber},   {200, 201, Amber},
        {373, 374, Greenish}, {231, 232, Reddish},
    };
    for (const Pair& pair : pairs) {
        const QImage unlit = Bitmap(pair.unlit).toImage();
        const QImage lit = Bitmap(pair.lit).toImage();
        EXPECT_NE(unlit, lit) << pair.unlit << " / " << pair.lit;
        const int lit_count = CountPixels(lit, pair.colour);
        EXPECT_GT(lit_count, lit.width() * lit.height() / 40) << pair.lit;
        EXPECT_LT(CountPixels(unlit, pair.colour), lit_count / 8) << pair.unlit;
    }
    // The lamps: 211 and 376 red, 212 and 375 green.
    EXPECT_GT(CountPixels(Bitmap(211).toImage(), Reddish), 100);
    EXPECT_GT(CountPixels(Bitmap(376).toImage(), Reddish), 100);
    EXPECT_GT(CountPixels(Bitmap(212).toImage(), Greenish), 100);
    EXPECT_GT(CountPixels(Bitmap(375).toImage(), Greenish), 100);
}

// Button pictures are transparent (pure black) at their rounded corners and drawn in the
// middle; the lever thumb is keyed by its top-left pixel; backgrounds have no transparency.
TEST(Skin, ButtonPicturesUseBlackOnlyForTheirTransparentCorners) {
    const std::set<int> opaque = {187, 191, 194, 195, 229, 230, 294, 301, 379};
    for (const ResourceInfo& info : AllResources()) {
        if (info.kind == ResourceKind::Icon) {
            EXPECT_EQ(KeyingOf(info.id), Keying::Opaque) << info.id;
            continue;
        }
        const QImage image = Bitmap(info.id).toImage();
        if (opaque.count(info.id) != 0) {
            EXPECT_EQ(KeyingOf(info.id), Keying::Opaque) << info.id;
            const int black = CountPixels(image, [](QRgb p) { return (p & 0xFFFFFFu) == 0; });
            EXPECT_EQ(black, 0) << info.id;
            continue;
        }
        if (info.id == 302) {
            continue;  // the lever thumb, below
        }
        EXPECT_EQ(KeyingOf(info.id), Keying::BlackIsTransparent) << info.id;
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFFu, 0u) << info.id;
        const QRgb centre = image.pixel(info.size.width() / 2, info.size.height() / 2);
        EXPECT_NE(centre & 0xFFFFFFu, 0u) << info.id;
    }
    EXPECT_EQ(KeyingOf(302), Keying::TopLeftIsTransparent);
    const QImage thumb = Bitmap(302).toImage();
    const QRgb key = thumb.pixel(0, 0);
    EXPECT_NE(thumb.pixel(72, 20), key);
    EXPECT_EQ(thumb.pixel(143, 40), key);
}

// The contact sheet shows every picture once, at its own size, with the picture's pixels.
TEST(SkinSheet, ContactSheetHoldsEveryPictureAtItsSize) {
    const ContactSheet sheet = BuildContactSheet();
    ASSERT_FALSE(sheet.image.isNull());
    ASSERT_EQ(sheet.placements.size(), AllResources().size());
    std::set<int> seen;
    for (const SheetPlacement& placement : sheet.placements) {
        EXPECT_TRUE(seen.insert(placement.id).second) << placement.id;
        EXPECT_EQ(placement.rect.size(), ResourceSize(placement.id)) << placement.id;
        EXPECT_TRUE(sheet.image.rect().contains(placement.rect)) << placement.id;
        // The centre pixel of an opaque picture appears on the sheet unchanged.
        const QImage picture = RenderResource(placement.id).convertToFormat(QImage::Format_RGB32);
        const QPoint centre(picture.width() / 2, picture.height() / 2);
        if (FindResource(placement.id)->kind == ResourceKind::Bitmap) {
            EXPECT_EQ(sheet.image.pixel(placement.rect.topLeft() + centre), picture.pixel(centre))
                << placement.id;
        }
    }
    for (std::size_t i = 0; i < sheet.placements.size(); ++i) {
        for (std::size_t j = i + 1; j < sheet.placements.size(); ++j) {
            EXPECT_FALSE(sheet.placements[i].rect.intersects(sheet.placements[j].rect))
                << sheet.placements[i].id << " overlaps " << sheet.placements[j].id;
        }
    }
}

TEST(SkinSheet, ListingHasOneLinePerResource) {
    const QStringList lines = ResourceListing().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), AllResources().size());
    EXPECT_TRUE(lines.contains("195 1280 720 bitmap"));
    EXPECT_TRUE(lines.contains("211 32 32 icon"));
    EXPECT_TRUE(lines.contains("302 144 41 bitmap"));
    EXPECT_EQ(lines.front(), "128 32 32 icon");
}

}  // namespace
}  // namespace panoptix::skin
