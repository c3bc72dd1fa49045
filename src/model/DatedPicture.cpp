#include "model/DatedPicture.h"

#include "model/ItemList.h"

#include <new>

namespace {

std::unique_ptr<imaging::Bitmap> cloneOrNull(const std::unique_ptr<imaging::Bitmap>& bitmap) {
    return bitmap ? bitmap->clone() : nullptr;
}

} // namespace

CDatedPicture::CDatedPicture(const CDatedPicture& other) {
    *this = other;
}

CDatedPicture& CDatedPicture::operator=(const CDatedPicture& other) {
    if (this == &other) return *this;

    StopDecoding();
    pendingPhoto_.reset();
    picture.reset();
    workPicture.reset();
    borderBitmap.reset();
    watermarkBitmap.reset();
    items.clear();
    itemCount = 0;
    capacity = 0;
    growBy = other.growBy;

    version = other.version;
    modified = other.modified;
    picture = cloneOrNull(other.picture);
    pixelsUnread = other.pixelsUnread;
    workPicture = cloneOrNull(other.workPicture);
    needsRedraw = other.needsRedraw;
    bounds = other.bounds;
    whiteOffsetX = other.whiteOffsetX;
    whiteOffsetY = other.whiteOffsetY;
    pictureWidth = other.pictureWidth;
    pictureHeight = other.pictureHeight;
    for (int i = 0; i < other.itemCount; ++i) {
        if (!AppendItem()) break;
        items[static_cast<std::size_t>(itemCount - 1)] = other.item(i);
    }
    templatePath = other.templatePath;
    prefix = other.prefix;
    postfix = other.postfix;
    outputDir = other.outputDir;
    templateDir = other.templateDir;
    useDefaultOutputDir = other.useDefaultOutputDir;
    aspectEnabled = other.aspectEnabled;
    reservedAspect = other.reservedAspect;
    whiteSideWide = other.whiteSideWide;
    whiteSideTall = other.whiteSideTall;
    aspectWidth = other.aspectWidth;
    aspectHeight = other.aspectHeight;
    whiteColor = other.whiteColor;
    dateFormat = other.dateFormat;
    jpegQuality = other.jpegQuality;
    watermarkIndex = other.watermarkIndex;
    borderBitmap = cloneOrNull(other.borderBitmap);
    borderPath = other.borderPath;
    borderOpacity = other.borderOpacity;
    borderAutoRotate = other.borderAutoRotate;
    watermarkBitmap = cloneOrNull(other.watermarkBitmap);
    clockShiftSeconds = other.clockShiftSeconds;
    localeNames = other.localeNames;
    fileTime = other.fileTime;
    fileTimeZone = other.fileTimeZone;
    pictureSerial = other.pictureSerial;
    // Effects are found by what they are made of, so the copy's items find those already made (their
    // pixels shared) rather than blurring every shadow again.
    effects_ = other.effects_;
    return *this;
}

bool CDatedPicture::AppendItem() {
    if (itemCount >= capacity) {
        const int step = growBy > 0 ? growBy : 1;
        if (capacity > kMaxItems - step) return false;
        try {
            std::vector<ImprintItem> grown(static_cast<std::size_t>(capacity + step));
            for (int i = 0; i < itemCount; ++i)
                grown[static_cast<std::size_t>(i)] = items[static_cast<std::size_t>(i)];
            items.swap(grown);
        } catch (const std::bad_alloc&) {
            return false;
        } catch (const std::length_error&) {
            return false;
        }
        capacity += step;
    }
    ++itemCount;
    return true;
}

bool CDatedPicture::ResetItems(int n) {
    items.clear();
    items.shrink_to_fit();
    itemCount = 0;
    capacity = 0;
    if (n <= 0) return true;
    if (n > kMaxItems) return false;
    try {
        items.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
        items.clear();
        return false;
    } catch (const std::length_error&) {
        items.clear();
        return false;
    }
    itemCount = capacity = n;
    return true;
}

int CDatedPicture::AddPropertyItem(const imaging::PropertyItem& property) {
    if (!AppendItem()) return 0;
    ImprintItem& it = items[static_cast<std::size_t>(itemCount - 1)];
    // A slot an earlier photo's item used starts as a new item: no label, unit, font or place of
    // another tag may show on this one.
    it = ImprintItem();
    it.tag = property.id;
    it.valueLength = property.length;
    it.valueType = property.type;
    if (property.value != nullptr && property.length > 0) {
        it.value.assign(property.value, property.value + property.length);
    } else {
        it.value.clear();
        it.valueLength = 0;
    }
    return itemCount;
}

void CDatedPicture::DropLastItem() {
    if (itemCount > 0) --itemCount;
}

bool CDatedPicture::AddLabelItem(const std::string& name, const std::string& text) {
    if (name.empty()) return true;
    if (!AppendItem()) return false;
    ImprintItem& it = items[static_cast<std::size_t>(itemCount - 1)];
    it = ImprintItem();
    it.displayName = name;
    it.label = text;
    it.tag = kTagLabel;
    it.visible = 1;
    modified = 1;
    return true;
}

bool CDatedPicture::SetWatermarkItem(const std::string& fileName, int opacity) {
    if (watermarkIndex < 0 || watermarkIndex >= itemCount) {
        if (!AppendItem()) return false;
        watermarkIndex = itemCount - 1;
    }
    ImprintItem& it = item(watermarkIndex);
    it.visible = 1;
    it.fontName = fileName;
    it.fontSize = opacity;
    it.tag = kTagWatermark;
    it.displayName = "Watermark";
    return true;
}

void CDatedPicture::RemoveWatermarkItem() {
    if (watermarkIndex >= 0 && watermarkIndex < itemCount) {
        ImprintItem& it = item(watermarkIndex);
        it.visible = 0;
        it.fontName.clear();
        it.fontSize = 0;
    }
    watermarkIndex = -1;
}

void CDatedPicture::FillItemList(ItemList& list, bool showAll) const {
    list.resetContent();
    list.addEntry("", -1);
    for (int i = 0; i < itemCount; ++i) {
        const ImprintItem& it = item(i);
        if (it.listed || it.visible || showAll) list.addEntry(it.displayName, i);
    }
    if (itemCount > 0) list.selectFirstStartingWith("Date Time");
}
