// Applying a template to the open picture: its settings, work picture, border, watermark, and the
// formatting and place of every item it shows.

#include "model/DatedPicture.h"
#include "model/TagCatalogue.h"

#include "imaging/Graphics.h"
#include "imaging/TextCodec.h"

#include <QImage>
#include <QString>

namespace {

// What a template decides about an item; the item's own value, names and measurements stay.
void copyFormatting(const ImprintItem& from, ImprintItem& to) {
    to.visible = from.visible;
    to.listed = from.listed;
    to.anchor = from.anchor;
    to.offsetY = from.offsetY;
    to.offsetX = from.offsetX;
    to.anchorAngle = from.anchorAngle;
    to.textHeightPt = from.textHeightPt;
    to.textWidthPt = from.textWidthPt;
    to.textHeightPx = from.textHeightPx;
    to.textWidthPx = from.textWidthPx;
    to.posX = from.posX;
    to.posY = from.posY;
    to.fontName = from.fontName;
    to.fontSize = from.fontSize;
    to.fontStyle = from.fontStyle;
    to.color = from.color;
    to.reserved1 = from.reserved1;
    to.angle = from.angle;
    to.opacity = from.opacity;
    to.extraLength = from.extraLength;
    to.extraData = from.extraData;
    to.reserved2 = from.reserved2;
    to.reserved3 = from.reserved3;
    to.reserved4 = from.reserved4;
    to.reserved5 = from.reserved5;
    to.label = from.label;
    to.unit = from.unit;
    to.effects = from.effects;
    to.dateSources = from.dateSources;
}

bool sameLabelName(const std::string& a, const std::string& b) {
    return QString::compare(imaging::toQString(a), imaging::toQString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

int CDatedPicture::MatchTemplateItem(const ImprintItem& templateItem) {
    const auto appendCopy = [&]() {
        if (!AppendItem()) return -1;
        item(itemCount - 1) = templateItem;
        return itemCount - 1;
    };
    if (templateItem.tag == kTagWatermark) {
        for (int i = 0; i < itemCount; ++i)
            if (item(i).tag == kTagWatermark) return i;
        return appendCopy();
    }
    if (templateItem.tag == kTagLabel) {
        // Labels are told apart by name; two equal names ignoring case are one label.
        for (int i = 0; i < itemCount; ++i) {
            if (item(i).tag != kTagLabel || !sameLabelName(item(i).displayName, templateItem.displayName))
                continue;
            item(i) = templateItem;
            return i;
        }
        return appendCopy();
    }
    for (int i = 0; i < itemCount; ++i)
        if (item(i).tag == templateItem.tag) return i;
    return -1; // the picture has no such property
}

int CDatedPicture::AppendDateFromSources(const ImprintItem& templateItem) {
    ImprintItem wanted;
    wanted.tag = templateItem.tag;
    wanted.dateSources = templateItem.dateSources;
    ResolveDate(wanted);
    if (wanted.resolvedDate.empty() || !AppendItem()) return -1;
    ImprintItem& it = item(itemCount - 1);
    it = wanted;
    it.valueType = imaging::kTypeAscii;
    it.typeName = propertyTypeName(it.valueType);
    const TagRow* row = findTag(it.tag);
    it.displayName = row ? row->displayName : "Date";
    it.listed = 1;
    return itemCount - 1;
}

void CDatedPicture::ApplyTemplate(const CDatedPicture& templ, Dialogs& dialogs) {
    if (&templ == this) {
        // Resetting the items below would also reset the template's; apply a copy instead.
        const CDatedPicture copy(templ);
        ApplyTemplate(copy, dialogs);
        return;
    }

    version = templ.version;
    StopDecoding();
    workPicture.reset();

    templatePath = templ.templatePath;
    prefix = templ.prefix;
    postfix = templ.postfix;
    // Templates saved without an output directory of their own keep the one in use.
    if (!templ.outputDir.empty()) outputDir = templ.outputDir;
    templateDir = templ.templateDir;
    useDefaultOutputDir = templ.useDefaultOutputDir;
    aspectEnabled = templ.aspectEnabled;
    reservedAspect = templ.reservedAspect;
    whiteSideWide = templ.whiteSideWide;
    whiteSideTall = templ.whiteSideTall;
    aspectWidth = templ.aspectWidth;
    aspectHeight = templ.aspectHeight;
    whiteColor = templ.whiteColor;
    dateFormat = templ.dateFormat;
    jpegQuality = templ.jpegQuality;
    clockShiftSeconds = templ.clockShiftSeconds;
    localeNames = templ.localeNames;
    watermarkIndex = -1;

    BuildWorkPicture(dialogs);
    // Placing measures each item by drawing it; the whole repaint that follows paints every pixel
    // again. The strokes go to a one-pixel stand-in of the work picture, which measures alike (fonts
    // are sized in pixels) and leaves the work picture sharing the picture's pixels. Without a work
    // picture the surface is inactive and placing does nothing.
    QImage placingSurface = PlacingSurface();
    imaging::Graphics surface(workPicture ? &placingSurface : nullptr);

    borderBitmap.reset();
    borderPath = templ.borderPath;
    borderOpacity = templ.borderOpacity;
    borderAutoRotate = templ.borderAutoRotate;
    if (templ.borderBitmap) {
        borderBitmap = templ.borderBitmap->clone();
    } else if (!borderPath.empty()) {
        LoadBorder(borderPath, borderOpacity, dialogs);
    }

    watermarkBitmap.reset();

    for (int i = 0; i < itemCount; ++i) {
        ImprintItem& it = item(i);
        it.visible = 0;
        it.posX = 72;
        it.posY = 72;
        it.anchor = 2;
    }

    for (int t = 0; t < templ.itemCount; ++t) {
        const ImprintItem& from = templ.item(t);
        if (!from.visible) continue;
        int index = MatchTemplateItem(from);
        if (index < 0 && isDateTag(from.tag) && !from.dateSources.empty())
            index = AppendDateFromSources(from);
        if (index < 0) continue;
        if (from.tag == kTagWatermark) {
            watermarkIndex = index;
            if (templ.watermarkBitmap) {
                watermarkBitmap = templ.watermarkBitmap->clone();
            } else if (!from.fontName.empty()) {
                LoadWatermark(from.fontName, from.fontSize, dialogs);
            }
            if (!watermarkBitmap) {
                item(index).visible = 0;
                continue;
            }
        }
        copyFormatting(from, item(index));
        PlaceItem(index, surface);
    }
    // A photo decoded for its save only is told where the template paints.
    ArmDecoding();
}

QImage CDatedPicture::PlacingSurface() const {
    QImage surface;
    if (workPicture) {
        surface = QImage(1, 1, workPicture->pixelFormat());
        surface.setDotsPerMeterX(workPicture->image().dotsPerMeterX());
        surface.setDotsPerMeterY(workPicture->image().dotsPerMeterY());
    }
    return surface;
}

void CDatedPicture::PlaceItemAlone(int index) {
    QImage placingSurface = PlacingSurface();
    imaging::Graphics surface(workPicture ? &placingSurface : nullptr);
    PlaceItem(index, surface);
}

CDatedPicture CDatedPicture::FormatSnapshot() const {
    // Bitmap copies share their pixels, so this costs the items only; the pictures are let go at once,
    // so that no snapshot keeps a photo's pixels alive.
    CDatedPicture snapshot(*this);
    snapshot.picture.reset();
    snapshot.workPicture.reset();
    return snapshot;
}

void CDatedPicture::RestoreFormat(const CDatedPicture& snapshot, Dialogs& dialogs) {
    StopDecoding();
    const bool sameFrame = workPicture && snapshot.aspectEnabled == aspectEnabled &&
                           snapshot.aspectWidth == aspectWidth && snapshot.aspectHeight == aspectHeight &&
                           snapshot.whiteSideWide == whiteSideWide && snapshot.whiteSideTall == whiteSideTall;
    std::unique_ptr<imaging::Bitmap> keptPicture = std::move(picture);
    std::unique_ptr<imaging::Bitmap> keptWork = std::move(workPicture);
    const QRectF keptBounds = bounds;
    const float offsets[] = {whiteOffsetX, whiteOffsetY, pictureWidth, pictureHeight};
    const std::uint64_t serial = pictureSerial;
    *this = snapshot;
    picture = std::move(keptPicture);
    bounds = keptBounds;
    pictureSerial = serial;
    if (sameFrame) {
        workPicture = std::move(keptWork);
        whiteOffsetX = offsets[0];
        whiteOffsetY = offsets[1];
        pictureWidth = offsets[2];
        pictureHeight = offsets[3];
    } else {
        BuildWorkPicture(dialogs);
    }
    needsRedraw = 1;
}

bool CDatedPicture::SameFormat(const CDatedPicture& other) const {
    std::vector<std::uint8_t> mine(SerializeTemplate(nullptr, 0)),
        theirs(other.SerializeTemplate(nullptr, 0));
    if (mine.size() != theirs.size()) return false;
    SerializeTemplate(mine.data(), mine.size());
    other.SerializeTemplate(theirs.data(), theirs.size());
    return mine == theirs;
}
