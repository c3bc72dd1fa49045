#include "view/RenderTracker.h"

#include "model/DatedPicture.h"

#include <algorithm>
#include <utility>

namespace {

qint64 keyOf(const std::unique_ptr<imaging::Bitmap>& bitmap) {
    return bitmap ? std::as_const(*bitmap).image().cacheKey() : 0;
}

} // namespace

RenderTracker::ItemLook RenderTracker::lookOf(const ImprintItem& it) {
    return ItemLook{it.tag,          it.fontName, it.valueText, it.label,  it.unit,
                    it.resolvedDate, it.fontSize, it.fontStyle, it.anchor, it.effects};
}

RenderTracker::Scene RenderTracker::sceneOf(const CDatedPicture& picture) {
    Scene s;
    // QImage's key changes whenever its pixels may have been written, also by someone else.
    s.workKey = keyOf(picture.workPicture);
    if (picture.workPicture) s.workSize = std::as_const(*picture.workPicture).image().size();
    s.pictureKey = keyOf(picture.picture);
    s.borderKey = keyOf(picture.borderBitmap);
    s.watermarkKey = keyOf(picture.watermarkBitmap);
    s.whiteOffsetX = picture.whiteOffsetX;
    s.whiteOffsetY = picture.whiteOffsetY;
    s.pictureWidth = picture.pictureWidth;
    s.pictureHeight = picture.pictureHeight;
    s.whiteColor = picture.whiteColor;
    s.borderOpacity = picture.borderOpacity;
    s.borderAutoRotate = picture.borderAutoRotate;
    s.watermarkIndex = picture.watermarkIndex;
    s.aspectWidth = picture.aspectWidth;
    s.aspectHeight = picture.aspectHeight;
    s.dateFormat = picture.dateFormat;
    s.clockShiftSeconds = picture.clockShiftSeconds;
    s.localeNames = picture.localeNames;
    s.itemCount = picture.itemCount;
    return s;
}

RenderTracker::Plan RenderTracker::plan(const CDatedPicture& picture) const {
    Plan whole;
    if (!scene_ || sceneOf(picture) != *scene_ ||
        items_.size() != static_cast<std::size_t>(picture.itemCount))
        return whole;

    Plan plan;
    for (int i = 0; i < picture.itemCount; ++i) {
        const ItemState& was = items_[static_cast<std::size_t>(i)];
        const ImprintItem& it = picture.item(i);
        const bool visible = it.visible != 0, wasVisible = was.visible != 0;
        if (!visible && !wasVisible) continue;
        // An item that was not drawn has no measured size to trust; drawing it everywhere measures it.
        if (visible && !wasVisible) return whole;
        if (!visible) {
            plan.region += was.coverage;
            continue;
        }
        const ItemLook look = lookOf(it);
        if (look != was.look) return whole;
        if (it.posX != was.posX || it.posY != was.posY || it.angle != was.angle || it.color != was.color ||
            it.opacity != was.opacity || it.autoColor != was.autoColor) {
            plan.region += was.coverage;
            plan.region += picture.ItemCoverage(i);
        }
    }
    plan.extent = plan.region.isEmpty() ? Extent::Nothing : Extent::Region;
    return plan;
}

void RenderTracker::noteRendered(const CDatedPicture& picture) {
    scene_ = sceneOf(picture);
    items_.assign(static_cast<std::size_t>(std::max(0, picture.itemCount)), ItemState());
    for (int i = 0; i < picture.itemCount; ++i) {
        const ImprintItem& it = picture.item(i);
        ItemState& s = items_[static_cast<std::size_t>(i)];
        s.look = lookOf(it);
        s.visible = it.visible;
        s.posX = it.posX;
        s.posY = it.posY;
        s.angle = it.angle;
        s.color = it.color;
        s.opacity = it.opacity;
        s.autoColor = it.autoColor;
        if (it.visible) s.coverage = picture.ItemCoverage(i);
    }
}

void RenderTracker::forget() {
    scene_.reset();
    items_.clear();
}
