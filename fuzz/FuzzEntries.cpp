#include "fuzz/FuzzEntries.h"

#include "imaging/ImageDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PropertyReader.h"
#include "imaging/TextCodec.h"
#include "model/DateFormat.h"
#include "model/DatedPicture.h"
#include "model/Dialogs.h"
#include "model/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <functional>
#include <string_view>

#include <unistd.h>

namespace fuzzing {
namespace {

// Watermark and border files named in a template are looked up here, where there are none.
constexpr const char kNoFolder[] = "/nonexistent/imprix-fuzz";

// The user, who answers OK to everything and remembers what was shown.
class CountingDialogs : public Dialogs {
public:
    Answer message(const std::string& text, Buttons, Icon) override {
        texts.push_back(text);
        return Answer::Ok;
    }
    long count(const std::string& text) const { return std::count(texts.begin(), texts.end(), text); }

    std::vector<std::string> texts;
};

// A folder of this process for the files the readers want a path to; removed at a normal exit.
class ScratchFolder {
public:
    ScratchFolder() : path_(QDir::tempPath() + QStringLiteral("/imprix-fuzz-%1").arg(::getpid())) {
        QDir().mkpath(path_);
    }
    ~ScratchFolder() { QDir(path_).removeRecursively(); }

    // Writes the bytes to the named file and returns its path, or an empty text.
    std::string write(const char* name, const std::uint8_t* data, std::size_t size) const {
        const QString path = path_ + QLatin1Char('/') + QLatin1String(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
        if (size > 0 &&
            file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != qint64(size))
            return {};
        return path.toStdString();
    }

private:
    QString path_;
};

const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

std::vector<std::uint8_t> serialize(const CDatedPicture& templ) {
    std::vector<std::uint8_t> bytes(templ.SerializeTemplate(nullptr, 0));
    templ.SerializeTemplate(bytes.data(), bytes.size());
    return bytes;
}

// Reads the bytes front to back; what lies past the end reads as 0 or as nothing.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

    bool atEnd() const { return pos_ >= size_; }
    std::size_t remaining() const { return size_ - pos_; }
    std::uint32_t le(int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes && pos_ < size_; ++i)
            v |= std::uint32_t(data_[pos_++]) << (8 * i);
        return v;
    }
    const std::uint8_t* take(std::size_t n) {
        const std::uint8_t* at = data_ + pos_;
        pos_ += std::min(n, remaining());
        return at;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// What drawing an item shows: its texts as the painter gets them, and a date through the format.
std::size_t showItem(const ImprintItem& it) {
    std::size_t shown = imaging::toQString(it.label + it.valueText + it.unit).size();
    shown += imaging::toQString(it.displayName).size();
    if (isDateTag(it.tag)) {
        try {
            shown += FormatDate(it.valueText, "%c").size();
        } catch (const DateConversionError&) {
            // reported to the user once per picture; nothing is drawn
        }
    }
    return shown;
}

// Adds every record as loading does and checks what each left behind.
std::string addAll(CDatedPicture& model, const imaging::PropertyBlock& block) {
    for (const imaging::PropertyItem& property : block.items()) {
        const int before = model.itemCount;
        const int dropped = model.AddItemFromProperty(property);
        if (dropped != 0) {
            if (model.itemCount != before) return "a dropped property left an item";
            continue;
        }
        if (model.itemCount != before + 1) return "a kept property did not add exactly one item";
        const ImprintItem& it = model.item(model.itemCount - 1);
        if (it.tag != property.id || it.valueLength != property.length || it.valueType != property.type)
            return "the item does not hold the property's tag, type and length";
        if (it.displayName.empty()) return "an item without a display name";
        showItem(it);
    }
    return {};
}

// The texts of an item that do not depend on the slot it was made in.
std::string describe(const ImprintItem& it) {
    return std::to_string(it.tag) + '|' + std::to_string(it.listed) + '|' + it.typeName + '|' +
           it.displayName + '|' + it.valueText;
}

imaging::PropertyItem textProperty(std::uint32_t tag, const std::string& text) {
    return imaging::PropertyItem{tag, static_cast<std::uint32_t>(text.size() + 1), imaging::kTypeAscii,
                                 reinterpret_cast<const std::uint8_t*>(text.c_str())};
}

// The settings the application reads at start and writes at exit.
const std::vector<std::pair<std::string, std::string>>& settingsKeys() {
    static const std::vector<std::pair<std::string, std::string>> keys = [] {
        std::vector<std::pair<std::string, std::string>> k = {
            {"General", "OutDir"},    {"General", "TemplateDef"}, {"General", "TemplatePath"},
            {"General", "BackColor"}, {"General", "ViewAllExif"}, {"General", "ViewRatio"},
        };
        for (int i = 1; i <= 16; ++i)
            k.emplace_back("CustomColors", "C" + std::to_string(i));
        return k;
    }();
    return keys;
}

// A value as it can be written and read back exactly: one line, no blanks or quotes at its ends.
std::string writableValue(std::string value) {
    value.erase(std::remove_if(value.begin(), value.end(), [](char c) { return c == '\n' || c == '\r'; }),
                value.end());
    const auto edge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    while (!value.empty() && edge(value.back()))
        value.pop_back();
    const auto first = std::find_if_not(value.begin(), value.end(), edge);
    value.erase(value.begin(), first);
    if (value.size() > ProfileFile::kMaxValueLength) value.resize(ProfileFile::kMaxValueLength);
    while (!value.empty() && edge(value.back()))
        value.pop_back();
    return value;
}

} // namespace

std::string parseTemplateBytes(const std::uint8_t* data, std::size_t size) {
    CDatedPicture templ;
    templ.templateDir = kNoFolder;
    CountingDialogs user;
    templ.ParseTemplate(data, size, user);
    if (user.count(CDatedPicture::kCorruptTemplateMessage) > 1)
        return "the corrupt-template message came twice";
    if (templ.itemCount < 0 || templ.itemCount > CDatedPicture::kMaxItems)
        return "an item count out of range";

    // Written, read back and written again, a template stays as it was.
    const std::vector<std::uint8_t> written = serialize(templ);
    CDatedPicture again;
    again.templateDir = kNoFolder;
    CountingDialogs quiet;
    again.ParseTemplate(written.data(), written.size(), quiet);
    if (quiet.count(CDatedPicture::kCorruptTemplateMessage) != 0)
        return "a template it wrote reads as corrupt";
    if (serialize(again) != written) return "a template changed when written and read back";
    return {};
}

std::string applyTemplateBytes(const std::uint8_t* data, std::size_t size) {
    CDatedPicture templ;
    templ.templateDir = kNoFolder;
    CountingDialogs user;
    templ.ParseTemplate(data, size, user);

    // A photo as loading leaves it: its pixels, then an item per property and the path and name.
    CDatedPicture photo;
    photo.templateDir = kNoFolder;
    QImage pixels(48, 32, QImage::Format_RGB32);
    pixels.fill(qRgb(90, 140, 200));
    photo.picture = std::make_unique<imaging::Bitmap>(pixels);
    photo.bounds = photo.picture->bounds();
    ++photo.pictureSerial;
    for (const auto& [tag, text] :
         {std::pair<std::uint32_t, std::string>{kTagDateTimeOriginal, "2001:06:21 14:38:56"},
          {kTagDateTime, "2005:04:10 13:04:54"},
          {0x010f, "Canon"},
          {kTagImagePath, "/photos/IMG_0001.JPG"},
          {kTagImageName, "IMG_0001.JPG"}})
        photo.AddItemFromProperty(textProperty(tag, text));

    CountingDialogs shown;
    photo.ApplyTemplate(templ, shown);
    if (photo.workPicture) {
        photo.RenderDatedImage();
        photo.TakeDateProblem();
    }
    if (shown.count("Invalide Aspect Ratio.  Image could not be created.") > 1)
        return "the aspect message came twice";
    return {};
}

std::string addPropertyRecords(const std::uint8_t* data, std::size_t size) {
    // Up to 64 records: tag (4 bytes), type (2), declared length (4), then the value. A length past
    // the end of the input takes what is left, as a block's record always has its bytes.
    ByteReader in(data, size);
    imaging::PropertyBlock block;
    while (!in.atEnd() && block.count() < 64) {
        const std::uint32_t id = in.le(4);
        const auto type = static_cast<std::uint16_t>(in.le(2));
        const std::size_t length = std::min<std::size_t>(in.le(4), in.remaining());
        block.add(id, type, in.take(length), static_cast<std::uint32_t>(length));
    }

    CDatedPicture fresh;
    if (std::string problem = addAll(fresh, block); !problem.empty()) return problem;
    fresh.AddItemFromProperty(textProperty(kTagImagePath, "/photos/IMG_0001.JPG"));
    fresh.AddItemFromProperty(textProperty(kTagImageName, "IMG_0001.JPG"));

    // A second picture in the same model reuses the slots; its items must not keep anything of the
    // first one's but the label, which a tag without a label of its own keeps.
    CDatedPicture reused;
    imaging::PropertyBlock reversed;
    for (auto p = block.items().rbegin(); p != block.items().rend(); ++p)
        reversed.add(p->id, p->type, p->value, p->length);
    addAll(reused, reversed);
    reused.itemCount = 0;
    addAll(reused, block);
    if (reused.itemCount + 2 != fresh.itemCount) return "a reused model kept another number of items";
    for (int i = 0; i < reused.itemCount; ++i)
        if (describe(reused.item(i)) != describe(fresh.item(i)))
            return "a reused slot shows its earlier item";
    return {};
}

std::string readPhotoProperties(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratch().write("photo.jpg", data, size);
    if (path.empty()) return {}; // no room to write: nothing to read
    std::string problem;
    const imaging::PropertyBlock block = imaging::readProperties(path, &problem);
    if (block.count() > imaging::kMaxPropertyCount) return "more properties than the limit";
    for (const imaging::PropertyItem& p : block.items()) {
        if (p.value == nullptr || p.value[p.length] != 0) return "a value without its NUL after it";
        if (p.type < imaging::kTypeByte || p.type > 12) return "a property of no field type";
        if (p.length > imaging::kMaxPropertyValueBytes) return "a value larger than the limit";
    }
    CDatedPicture model;
    return addAll(model, block);
}

std::string decodeJpegBytes(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratch().write("photo.jpg", data, size);
    if (path.empty()) return {};
    imaging::DecodedImage refused;
    const std::unique_ptr<imaging::JpegDecoder> decoder = imaging::openJpegPhoto(path, refused);
    if (!decoder) return refused.reason.empty() ? "refused without a reason" : "";
    if (decoder->orientation() < 1 || decoder->orientation() > 8) return "an orientation of no photo";
    const QSize upright = decoder->size();
    if (qint64(upright.width()) * upright.height() > 4'000'000)
        return {}; // large photos decode alike, slowly
    // Into a larger picture, at a place of white space; the picture around it stays as it was.
    QImage target(upright.width() + 3, upright.height() + 2, QImage::Format_RGB32);
    if (target.isNull()) return {};
    target.fill(0xFF123456);
    const imaging::DecodedImage decoded = imaging::decodeJpegInto(*decoder, target, QPoint(2, 1));
    if (decoded.status != imaging::Status::Ok) return decoded.reason.empty() ? "failed without a reason" : "";
    if (target.pixel(0, 0) != 0xFF123456 ||
        target.pixel(target.width() - 1, target.height() - 1) != 0xFF123456)
        return "pixels outside the photo were written";
    const imaging::DecodedImage alone = imaging::decodeImageFile(path, imaging::Accept::PhotosOnly);
    if (alone.status != imaging::Status::Ok) return "decoded into a picture, but not on its own";
    if (alone.image.size() != upright || alone.image.format() != QImage::Format_RGB32)
        return "a decoded photo of another size or format";
    if (alone.image != target.copy(QRect(QPoint(2, 1), upright))) return "the two decodings differ";
    return {};
}

std::string formatDateBytes(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), data ? size : 0);
    const auto newline = bytes.find('\n');
    const std::string date(bytes.substr(0, newline));
    const std::string format(newline == std::string_view::npos ? std::string_view("%c")
                                                               : bytes.substr(newline + 1));
    // Shifted (by up to the longest shift a template keeps, either way), with a zone taken from the
    // date's own bytes and the desktop's names: the same limits hold.
    DateShowing showing;
    showing.shiftSeconds = static_cast<long long>(std::hash<std::string_view>()(bytes) %
                                                  (2 * CDatedPicture::kLongestClockShift + 1)) -
                           CDatedPicture::kLongestClockShift;
    showing.zone = date.substr(date.size() > 6 ? date.size() - 6 : 0);
    showing.localeNames = true;
    for (const DateShowing& how : {DateShowing{}, showing}) {
        try {
            if (FormatDate(date, format, how).size() > 127) return "a formatted date longer than 127 bytes";
        } catch (const DateConversionError& e) {
            if (e.dateText() != date) return "the error names another date";
        }
    }
    return {};
}

std::string readSettingsBytes(const std::uint8_t* data, std::size_t size) {
    const std::string path = scratch().write("settings.ini", data, size);
    if (path.empty()) return {};
    ProfileFile settings(path);
    std::vector<std::string> values;
    for (const auto& [section, key] : settingsKeys()) {
        const std::string value = settings.getString(section, key, "default");
        if (value.size() > ProfileFile::kMaxValueLength) return "a value longer than 255 characters";
        settings.getInt(section, key, "1.5");
        values.push_back(writableValue(value));
    }
    std::size_t i = 0;
    for (const auto& [section, key] : settingsKeys())
        settings.setString(section, key, values[i++]);
    if (!settings.save(path).empty()) return {}; // the disk is full: not the reader's fault

    const ProfileFile reread(path);
    i = 0;
    for (const auto& [section, key] : settingsKeys())
        if (reread.getString(section, key, "(missing)") != values[i++])
            return "a setting did not read back as written";
    return {};
}

const std::vector<Target>& targets() {
    static const std::vector<Target> all = {
        {"template", parseTemplateBytes},         {"template_apply", applyTemplateBytes},
        {"property_records", addPropertyRecords}, {"photo_properties", readPhotoProperties},
        {"date_format", formatDateBytes},         {"settings", readSettingsBytes},
        {"jpeg_decode", decodeJpegBytes},
    };
    return all;
}

const Target* findTarget(const std::string& name) {
    for (const Target& t : targets())
        if (name == t.name) return &t;
    return nullptr;
}

} // namespace fuzzing
