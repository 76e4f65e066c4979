#include "resources/skin.h"

#include "resources/skin_catalogue.h"

#include <QCoreApplication>
#include <QImage>

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace panoptix::skin {
namespace {

const Recipe* FindRecipe(int resource_id) {
    const auto& recipes = Recipes();
    const auto it = std::lower_bound(recipes.begin(), recipes.end(), resource_id,
                                     [](const Recipe& recipe, int id) { return recipe.id < id; });
    if (it == recipes.end() || it->id != resource_id) {
        return nullptr;
    }
    return &*it;
}

std::vector<ResourceInfo> BuildInfos() {
    std::vector<ResourceInfo> infos;
    infos.reserve(Recipes().size());
    for (const Recipe& recipe : Recipes()) {
        infos.push_back({recipe.id, QSize(recipe.width, recipe.height), recipe.kind});
    }
    return infos;
}

// Pictures are drawn once, on first use; the panel asks for the same ids again each time a
// page is opened. The cache is emptied when the application object goes, so that no pixmap
// outlives it.
std::unordered_map<int, QPixmap>& PixmapCache() {
    static std::unordered_map<int, QPixmap> cache;
    return cache;
}

bool cache_release_registered = false;

void ReleaseCache() {
    PixmapCache().clear();
    cache_release_registered = false;
}

}  // namespace

const std::vector<ResourceInfo>& AllResources() {
    static const std::vector<ResourceInfo> infos = BuildInfos();
    return infos;
}

const ResourceInfo* FindResource(int resource_id) {
    const auto& infos = AllResources();
    const auto it = std::lower_bound(infos.begin(), infos.end(), resource_id,
                                     [](const ResourceInfo& info, int id) { return info.id < id; });
    if (it == infos.end() || it->id != resource_id) {
        return nullptr;
    }
    return &*it;
}

QImage RenderResource(int resource_id) {
    const Recipe* recipe = FindRecipe(resource_id);
    if (recipe == nullptr) {
        return QImage();
    }
    return Paint(*recipe);
}

QPixmap Bitmap(int resource_id) {
    auto& cache = PixmapCache();
    const auto cached = cache.find(resource_id);
    if (cached != cache.end()) {
        return cached->second;
    }
    QImage image = RenderResource(resource_id);
    if (image.isNull()) {
        return QPixmap();
    }
    // The pixmap takes the image's pixels over instead of copying them.
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    if (!cache_release_registered) {
        qAddPostRoutine(ReleaseCache);
        cache_release_registered = true;
    }
    cache.emplace(resource_id, pixmap);
    return pixmap;
}

void ReleaseBackgrounds(std::initializer_list<int> keep) {
    std::erase_if(PixmapCache(), [keep](const auto& entry) {
        const Recipe* recipe = FindRecipe(entry.first);
        return recipe != nullptr && recipe->art == Art::Background &&
               std::find(keep.begin(), keep.end(), entry.first) == keep.end();
    });
}

QIcon Icon(int resource_id) {
    const QPixmap pixmap = Bitmap(resource_id);
    if (pixmap.isNull()) {
        return QIcon();
    }
    return QIcon(pixmap);
}

Keying KeyingOf(int resource_id) {
    const Recipe* recipe = FindRecipe(resource_id);
    if (recipe == nullptr || recipe->kind == ResourceKind::Icon) {
        return Keying::Opaque;
    }
    switch (recipe->art) {
        case Art::Background:
        case Art::LeverChannel:
            return Keying::Opaque;
        case Art::LeverThumb:
            return Keying::TopLeftIsTransparent;
        default:
            return Keying::BlackIsTransparent;
    }
}

QSize ResourceSize(int resource_id) {
    const ResourceInfo* info = FindResource(resource_id);
    return info == nullptr ? QSize() : info->size;
}

}  // namespace panoptix::skin
