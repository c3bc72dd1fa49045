// The template file: one little-endian record of the template settings and the visible items.

#include "model/DatedPicture.h"
#include "model/Dialogs.h"
#include "model/TemplateRecord.h"

#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

constexpr const char kMagic[] = "Orvalinquestaporimex Template: "; // 31 characters and its NUL
constexpr int kMaxExtraLength = 100000;
// Real templates are a few kilobytes; anything near this is not a template.
constexpr qint64 kMaxTemplateBytes = 16 << 20;

// A piece of a file name: no folder separator (of either system) and not a folder's "." or "..".
bool isNamePiece(const std::string& text) {
    return text.find_first_of("/\\") == std::string::npos && text != "." && text != "..";
}

void writeItem(RecordWriter& w, const ImprintItem& it) {
    w.int32(it.visible);
    w.int32(it.listed);
    w.int32(it.anchor);
    w.int32(it.offsetY);
    w.int32(it.offsetX);
    w.int32(it.anchorAngle);
    w.int32(it.textHeightPt);
    w.int32(it.textWidthPt);
    w.int32(it.textHeightPx);
    w.int32(it.textWidthPx);
    w.int32(it.posX);
    w.int32(it.posY);
    w.text(it.fontName);
    w.int32(it.fontSize);
    w.int32(it.fontStyle);
    w.int32(it.color);
    w.int32(it.reserved1);
    w.int32(it.angle);
    w.int32(it.opacity);
    // Extra data is extraLength bytes holding a text whose NUL is the last byte: the block is written
    // as long as the item says, padded with NULs, so its length survives a round trip. A negative or
    // oversized length is written as no data.
    if (it.extraLength > 0 && it.extraLength < kMaxExtraLength) {
        std::vector<std::uint8_t> block(static_cast<std::size_t>(it.extraLength), 0);
        std::copy_n(it.extraData.begin(), std::min(it.extraData.size(), block.size() - 1), block.begin());
        w.int32(it.extraLength);
        w.raw(block.data(), block.size());
    } else {
        w.int32(0);
    }
    w.int32(it.reserved2);
    w.int32(it.reserved3);
    w.int32(it.reserved4);
    w.int32(it.reserved5);
    w.uint32(it.tag);
    w.uint16(it.valueType);
    w.text(it.displayName);
    w.text(it.label);
    w.text(it.unit);
}

// Reads one item; false when the record is corrupt and parsing must stop.
bool readItem(RecordReader& r, ImprintItem& it) {
    it.visible = r.int32();
    it.listed = r.int32();
    it.anchor = r.int32();
    it.offsetY = r.int32();
    it.offsetX = r.int32();
    it.anchorAngle = r.int32();
    it.textHeightPt = r.int32();
    it.textWidthPt = r.int32();
    it.textHeightPx = r.int32();
    it.textWidthPx = r.int32();
    it.posX = r.int32();
    it.posY = r.int32();
    it.fontName = r.text();
    it.fontSize = r.int32();
    it.fontStyle = r.int32();
    it.color = r.int32();
    it.reserved1 = r.int32();
    it.angle = r.int32();
    it.opacity = r.int32();
    it.extraLength = r.int32();
    if (it.extraLength < 0 || it.extraLength >= kMaxExtraLength) return false;
    if (it.extraLength > 0) {
        // The block's text ends at its first NUL; a block longer than its text (padded) is stepped over
        // whole, and a text that runs past the block's length is cut to it and stepped over to its NUL.
        const std::size_t start = r.position();
        const std::string text = r.text();
        it.extraData.assign(static_cast<std::size_t>(it.extraLength), 0);
        std::copy_n(text.begin(), std::min(text.size(), it.extraData.size() - 1), it.extraData.begin());
        r.skipTo(std::max(r.position(), start + static_cast<std::size_t>(it.extraLength)));
    }
    it.reserved2 = r.int32();
    it.reserved3 = r.int32();
    it.reserved4 = r.int32();
    it.reserved5 = r.int32();
    it.tag = r.uint32();
    it.valueType = r.uint16();
    it.displayName = r.text();
    it.label = r.text();
    it.unit = r.text();
    return true;
}

// --- the extension block ---------------------------------------------------------------------
// After the classic record, one block holds what templates have gained since: a marker, its version,
// its length, then the fields of that version. A reader that stops after the items (every earlier
// version) never sees it; a block of a version this one does not know is stepped over, silently.

constexpr char kExtensionMarker[8] = {'I', 'M', 'P', 'R', 'I', 'X', '+', '\0'};
constexpr std::uint32_t kExtensionVersion = 1;
constexpr float kMostEffectPoints = 100; // no outline, shadow or padding is wider on a print
constexpr std::size_t kMostDateSources = 16;

enum EffectFlags : std::uint8_t { kOutline = 1, kShadow = 2, kBox = 4, kBoxRounded = 8, kAutoColor = 16 };

bool hasExtension(const ImprintItem& it) {
    return it.effects != TextEffects() || !it.dateSources.empty();
}

void writeItemExtension(RecordWriter& w, const ImprintItem& it) {
    RecordWriter item;
    const TextEffects& e = it.effects;
    item.uint8(static_cast<std::uint8_t>((e.outline ? kOutline : 0) | (e.shadow ? kShadow : 0) |
                                         (e.box ? kBox : 0) | (e.boxRounded ? kBoxRounded : 0) |
                                         (e.autoColor ? kAutoColor : 0)));
    item.int32(e.outlineColor);
    item.float32(e.outlineWidthPt);
    item.int32(e.shadowColor);
    item.float32(e.shadowOffsetPt);
    item.float32(e.shadowSoftnessPt);
    item.int32(e.boxColor);
    item.int32(e.boxOpacity);
    item.float32(e.boxPaddingPt);
    item.uint8(static_cast<std::uint8_t>(std::min(it.dateSources.size(), kMostDateSources)));
    for (std::size_t i = 0; i < std::min(it.dateSources.size(), kMostDateSources); ++i)
        item.uint8(static_cast<std::uint8_t>(it.dateSources[i]));
    w.uint32(static_cast<std::uint32_t>(item.bytes().size()));
    w.raw(item.bytes().data(), item.bytes().size());
}

// A size from a file that may come from anyone: a number of points a print can hold.
float points(float v, float fallback) {
    return std::isfinite(v) && v >= 0 && v <= kMostEffectPoints ? v : fallback;
}

void readItemExtension(RecordReader& r, ImprintItem& it) {
    const std::size_t length = r.uint32();
    const std::size_t end = r.position() + std::min(length, r.remaining());
    const TextEffects defaults;
    TextEffects& e = it.effects;
    const std::uint8_t flags = r.uint8();
    e.outline = flags & kOutline;
    e.shadow = flags & kShadow;
    e.box = flags & kBox;
    e.boxRounded = flags & kBoxRounded;
    e.autoColor = flags & kAutoColor;
    e.outlineColor = r.int32() & 0xFFFFFF;
    e.outlineWidthPt = points(r.float32(), defaults.outlineWidthPt);
    e.shadowColor = r.int32() & 0xFFFFFF;
    e.shadowOffsetPt = points(r.float32(), defaults.shadowOffsetPt);
    e.shadowSoftnessPt = points(r.float32(), defaults.shadowSoftnessPt);
    e.boxColor = r.int32() & 0xFFFFFF;
    e.boxOpacity = std::clamp(r.int32(), 0, 255);
    e.boxPaddingPt = points(r.float32(), defaults.boxPaddingPt);
    const std::size_t sources = std::min<std::size_t>(r.uint8(), kMostDateSources);
    it.dateSources.clear();
    for (std::size_t i = 0; i < sources && r.position() < end; ++i) {
        const std::uint8_t code = r.uint8();
        if (code >= 1 && code <= kDateSourceCount) it.dateSources.push_back(static_cast<DateSource>(code));
    }
    r.skipTo(end); // fields a later version added to the item
}

} // namespace

const char* const CDatedPicture::kCorruptTemplateMessage =
    "A problem was detected in the template.  It may be an incompatible template or may be corrupted.  "
    "The program may need to be restarted.";

std::size_t CDatedPicture::SerializeTemplate(std::uint8_t* buffer, std::size_t capacity) const {
    RecordWriter w;
    w.raw(reinterpret_cast<const std::uint8_t*>(kMagic), sizeof kMagic);
    w.text(version);
    w.text(prefix);
    w.text(postfix);
    w.text(outputDir);
    w.int32(useDefaultOutputDir);
    w.int32(aspectEnabled);
    w.int32(reservedAspect);
    w.int32(whiteSideWide);
    w.int32(whiteSideTall);
    w.float32(aspectWidth);
    w.float32(aspectHeight);
    w.int32(whiteColor);
    w.text(dateFormat);
    w.int32(jpegQuality);
    w.text(borderPath);
    w.int32(borderOpacity);
    w.int32(borderAutoRotate);
    int visibleCount = 0;
    for (int i = 0; i < itemCount; ++i)
        visibleCount += item(i).visible == 1;
    w.int32(visibleCount);
    for (int i = 0; i < itemCount; ++i)
        if (item(i).visible == 1) writeItem(w, item(i));

    // Only a template that uses what came later gets the block: every other one is written as before.
    bool extended = clockShiftSeconds != 0 || localeNames != 0;
    for (int i = 0; i < itemCount && !extended; ++i)
        extended = item(i).visible == 1 && hasExtension(item(i));
    if (extended) {
        RecordWriter block;
        block.int64(clockShiftSeconds);
        block.int32(localeNames);
        block.uint32(static_cast<std::uint32_t>(visibleCount));
        for (int i = 0; i < itemCount; ++i)
            if (item(i).visible == 1) writeItemExtension(block, item(i));
        w.raw(reinterpret_cast<const std::uint8_t*>(kExtensionMarker), sizeof kExtensionMarker);
        w.uint32(kExtensionVersion);
        w.uint32(static_cast<std::uint32_t>(block.bytes().size()));
        w.raw(block.bytes().data(), block.bytes().size());
    }

    const std::vector<std::uint8_t>& bytes = w.bytes();
    if (buffer != nullptr && capacity >= bytes.size()) std::copy(bytes.begin(), bytes.end(), buffer);
    return bytes.size();
}

int CDatedPicture::WriteTemplate(const std::string& path, std::string* whyNot) {
    // The distances as they were, so that a template that cannot be written is left as it was.
    struct Placement {
        int offsetX, offsetY, anchorAngle;
        ItemRect bounds;
    };
    std::vector<Placement> before;
    before.reserve(static_cast<std::size_t>(itemCount));
    for (int i = 0; i < itemCount; ++i) {
        const ImprintItem& it = item(i);
        before.push_back(Placement{it.offsetX, it.offsetY, it.anchorAngle, it.bounds});
        if (it.visible) StoreItemOffsets(i);
    }

    std::vector<std::uint8_t> record(SerializeTemplate(nullptr, 0));
    SerializeTemplate(record.data(), record.size());
    // Written beside the old file and renamed over it only when whole: a failed write leaves the old
    // template as it was. (A bare QSaveFile::commit() renames a file whose last bytes failed to reach
    // the disk in Qt 6.4; writeFileWhole checks the flush first.)
    const QByteArray bytes(reinterpret_cast<const char*>(record.data()),
                           static_cast<qsizetype>(record.size()));
    const std::string problem = imaging::writeFileWhole(path, bytes);
    if (!problem.empty()) {
        for (int i = 0; i < itemCount; ++i) {
            ImprintItem& it = item(i);
            const Placement& p = before[static_cast<std::size_t>(i)];
            it.offsetX = p.offsetX;
            it.offsetY = p.offsetY;
            it.anchorAngle = p.anchorAngle;
            it.bounds = p.bounds;
        }
        if (whyNot) *whyNot = problem;
        return 1;
    }
    templatePath = path;
    modified = 0;
    return 0;
}

int CDatedPicture::ReadTemplate(const std::string& path, Dialogs& dialogs) {
    // Only a plain file: opening a pipe waits for a writer forever, and a device never ends.
    if (!QFileInfo(imaging::toQString(path)).isFile()) return 1;
    QFile file(imaging::toQString(path));
    if (!file.open(QIODevice::ReadOnly)) return 1;
    templatePath = path;
    const QByteArray data = file.read(kMaxTemplateBytes + 1); // a file that grows meanwhile is cut here too
    file.close();
    if (data.size() > kMaxTemplateBytes) {
        dialogs.error(kCorruptTemplateMessage);
        return 0;
    }
    ParseTemplate(reinterpret_cast<const std::uint8_t*>(data.constData()),
                  static_cast<std::size_t>(data.size()), dialogs);
    // A template's own output folder is used only when it names an existing folder by its full path:
    // a relative one would depend on the current folder, and one from another machine is not here.
    // Without it the copies go to the settings' output folder.
    if (!outputDir.empty()) {
        const QFileInfo folder(imaging::toQString(outputDir));
        if (!folder.isAbsolute() || !folder.isDir()) outputDir.clear();
    }
    borderBitmap.reset();
    if (!borderPath.empty()) LoadBorder(borderPath, borderOpacity, dialogs);
    return 0;
}

void CDatedPicture::ParseTemplate(const std::uint8_t* data, std::size_t length, Dialogs& dialogs) {
    RecordReader r(data, length);
    r.text(); // the magic text and the version are not checked: any template is read field by field
    r.text();
    prefix = r.text();
    postfix = r.text();
    outputDir = r.text();
    useDefaultOutputDir = r.int32();
    aspectEnabled = r.int32();
    reservedAspect = r.int32();
    whiteSideWide = r.int32();
    whiteSideTall = r.int32();
    aspectWidth = r.float32();
    aspectHeight = r.float32();
    whiteColor = r.int32();
    dateFormat = r.text();
    jpegQuality = r.int32();
    borderPath = r.text();
    borderOpacity = r.int32();
    borderAutoRotate = r.int32();
    const int count = r.int32();

    // However many faults a template has, the user hears of it once.
    bool reported = false;
    const auto corrupt = [&] {
        if (!reported) dialogs.error(kCorruptTemplateMessage);
        reported = true;
    };
    // The copy's name is made of these: a shared template must not lead it out of the output folder.
    if (!isNamePiece(prefix) || !isNamePiece(postfix)) {
        prefix.clear();
        postfix.clear();
        corrupt();
    }

    watermarkIndex = -1;
    watermarkBitmap.reset(); // an earlier template's; this one's comes with its watermark item
    if (count < 0 || count > kMaxItems || !ResetItems(count)) {
        ResetItems(0);
        corrupt();
        return;
    }
    clockShiftSeconds = 0;
    localeNames = 0;
    // A file named by several watermark items is decoded (or reported missing) once.
    std::optional<std::string> triedWatermark;
    int itemsRead = 0;
    for (int i = 0; i < count && !r.ended(); ++i, itemsRead = i) {
        ImprintItem& it = item(i);
        if (!readItem(r, it)) {
            it = ImprintItem();
            corrupt();
            return;
        }
        if (it.tag == kTagWatermark) {
            watermarkIndex = i;
            if (it.fontName != triedWatermark) {
                triedWatermark = it.fontName;
                LoadWatermark(it.fontName, it.fontSize, dialogs);
            } else if (watermarkBitmap) {
                SetWatermarkItem(it.fontName, it.fontSize);
            }
        }
    }
    if (itemsRead == count) readExtensions(r, count);
}

void CDatedPicture::readExtensions(RecordReader& r, int storedItems) {
    while (r.skipIf(kExtensionMarker, sizeof kExtensionMarker)) {
        const std::uint32_t version = r.uint32();
        const std::size_t length = r.uint32();
        const std::size_t end = r.position() + std::min(length, r.remaining());
        if (version == kExtensionVersion) {
            const long long shift = r.int64();
            // A shift of more than a few centuries is no camera's clock: none.
            clockShiftSeconds = std::llabs(shift) <= kLongestClockShift ? shift : 0;
            localeNames = r.int32() != 0;
            const std::uint32_t items = r.uint32();
            for (std::uint32_t i = 0; i < items && static_cast<int>(i) < storedItems && r.position() < end;
                 ++i)
                readItemExtension(r, item(static_cast<int>(i)));
        }
        r.skipTo(end);
    }
}

void CDatedPicture::MakeNewTemplate() {
    const std::string folder = templateDir;
    *this = CDatedPicture();
    templateDir = folder;
    aspectEnabled = 0;
    borderPath.clear();
    AppendItem();
    ImprintItem& date = item(0);
    date.visible = 1;
    // The date the photo was taken; Date Time is when the file was last changed.
    date.tag = kTagDateTimeOriginal;
    date.label.clear();
    date.unit.clear();
}
