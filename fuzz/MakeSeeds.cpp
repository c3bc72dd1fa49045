// Writes the seed inputs of the fuzz targets into a corpus folder (fuzz/corpus): small photos of
// every kind the photo factory makes, the shipped templates and templates with every kind of item,
// property records cut from a photo, dates with formats, and settings files.
//
//     fuzz_make_seeds fuzz/corpus src/res/templates

#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

QString folder;

bool put(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(folder + "/" + target);
    QFile file(folder + "/" + target + "/" + name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool put(const QString& target, const QString& name, const Bytes& bytes) {
    return put(target, name,
               QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Tags with a text rule of their own, so the seeds reach the rules.
const std::vector<photofactory::Tag> kCameraTags = {
    {"Exif.Image.Make", "Canon"},
    {"Exif.Image.Model", "Canon EOS 20D"},
    {"Exif.Image.Orientation", "6"},
    {"Exif.Image.XResolution", "72/1"},
    {"Exif.Image.ResolutionUnit", "2"},
    {"Exif.Image.YCbCrPositioning", "2"},
    {"Exif.Image.Copyright", "Photographer"},
    {"Exif.Image.DateTime", "2005:04:10 13:04:54"},
    {"Exif.Image.XPTitle", "Harbour"},
    {"Exif.Photo.ExposureTime", "10/600"},
    {"Exif.Photo.FNumber", "56/10"},
    {"Exif.Photo.ExposureProgram", "2"},
    {"Exif.Photo.ISOSpeedRatings", "400"},
    {"Exif.Photo.ExifVersion", "48 50 50 49"},
    {"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"},
    {"Exif.Photo.DateTimeDigitized", "2005:04:10 13:04:54"},
    {"Exif.Photo.ComponentsConfiguration", "1 2 3 0"},
    {"Exif.Photo.ShutterSpeedValue", "6906/1000"},
    {"Exif.Photo.ApertureValue", "497/100"},
    {"Exif.Photo.BrightnessValue", "-123/100"},
    {"Exif.Photo.ExposureBiasValue", "-2/3"},
    {"Exif.Photo.SubjectDistance", "350/100"},
    {"Exif.Photo.MeteringMode", "5"},
    {"Exif.Photo.LightSource", "12"},
    {"Exif.Photo.Flash", "25"},
    {"Exif.Photo.FocalLength", "50/1"},
    {"Exif.Photo.UserComment", "charset=Ascii A day at the harbour"},
    {"Exif.Photo.ColorSpace", "1"},
    {"Exif.Photo.PixelXDimension", "16"},
    {"Exif.Photo.FlashEnergy", "2/1"},
    {"Exif.Photo.SubjectLocation", "8 8"},
    {"Exif.Photo.SensingMethod", "2"},
    {"Exif.Photo.FileSource", "3"},
    {"Exif.Photo.SceneType", "1"},
    {"Exif.Photo.CFAPattern", "2 0 2 0 0 1 1 2"},
    {"Exif.Photo.CustomRendered", "1"},
    {"Exif.Photo.ExposureMode", "2"},
    {"Exif.Photo.WhiteBalance", "0"},
    {"Exif.Photo.SceneCaptureType", "3"},
    {"Exif.Photo.GainControl", "7"},
    {"Exif.Photo.Contrast", "1"},
    {"Exif.Photo.DeviceSettingDescription", "1 0 1 0 65 0 0 0"},
    {"Exif.Photo.SubjectDistanceRange", "1"},
    {"Exif.GPSInfo.GPSVersionID", "2 3 0 0"},
    {"Exif.GPSInfo.GPSLatitudeRef", "N"},
    {"Exif.GPSInfo.GPSLatitude", "48/1 51/1 2400/100"},
    {"Exif.GPSInfo.GPSTimeStamp", "14/1 38/1 56/1"},
};

bool makePhotos(const QString& scratch) {
    struct Kind {
        const char* name;
        bool bigEndian;
        bool thumbnail;
    };
    const Kind kinds[] = {
        {"camera-le.jpg", false, true}, {"camera-be.jpg", true, false}, {"camera-le.tif", false, false},
        {"camera-be.tif", true, false}, {"camera.png", false, false},
    };
    for (const Kind& kind : kinds) {
        photofactory::Photo photo;
        photo.width = 16;
        photo.height = 12;
        photo.bigEndian = kind.bigEndian;
        photo.thumbnail = kind.thumbnail;
        photo.tags = kCameraTags;
        if (std::string(kind.name).ends_with(".png")) {
            photo.pngTime = photofactory::PngTime{2005, 4, 10, 13, 4, 54};
            photo.pngTexts = {{"Title", "Harbour"}, {"Author", "Ann"}, {"Software", "Imprix"}};
        }
        const QString path = scratch + "/" + kind.name;
        const std::string problem = photofactory::writePhoto(path.toStdString(), photo);
        if (!problem.empty()) {
            std::cerr << kind.name << ": " << problem << '\n';
            return false;
        }
        if (!put("photo_properties", kind.name, fileBytes(path))) return false;
    }
    // JPEG photos of every layout the decoder takes, turned and not, for the decoder.
    using Sampling = photofactory::JpegLayout::Sampling;
    const std::pair<Sampling, int> layouts[] = {{Sampling::Qt, 1},       {Sampling::YCbCr422, 2},
                                                {Sampling::Grey, 3},     {Sampling::Cmyk, 6},
                                                {Sampling::YCbCr444, 8}, {Sampling::YCbCr420, 5}};
    for (const auto& [sampling, orientation] : layouts) {
        photofactory::Photo photo;
        photo.width = 19;
        photo.height = 11;
        photo.textured = true;
        photo.layout.sampling = sampling;
        photo.layout.progressive = orientation == 8;
        photo.tags = {{"Exif.Image.Orientation", std::to_string(orientation)}};
        const std::string name = "layout" + std::to_string(static_cast<int>(sampling)) + "-o" +
                                 std::to_string(orientation) + ".jpg";
        const QString path = scratch + "/" + QString::fromStdString(name);
        if (!photofactory::writePhoto(path.toStdString(), photo).empty()) return false;
        if (!put("jpeg_decode", name.c_str(), fileBytes(path))) return false;
    }
    // A PNG with each chunk the reader maps, compressed texts and a colour profile among them.
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const std::string itxt = std::string("Author\0\0\0en\0\0Ann", 16);
    const QByteArray profile = qCompress(QByteArray(256, 'p')).mid(4);
    const std::string iccp = std::string("sRGB\0\0", 6) + profile.toStdString();
    const std::vector<std::pair<std::string, Bytes>> chunks = {
        {"tIME", {0x07, 0xD5, 4, 10, 13, 4, 54}},
        {"gAMA", {0, 0, 0xB1, 0x8F}},
        {"cHRM", Bytes(32, 1)},
        {"pHYs", {0, 0, 0x0B, 0x13, 0, 0, 0x0B, 0x13, 1}},
        {"sRGB", {0}},
        {"iTXt", Bytes(itxt.begin(), itxt.end())},
        {"iCCP", Bytes(iccp.begin(), iccp.end())},
    };
    const QString path = scratch + "/chunks.png";
    if (!photofactory::writePngWithChunks(path.toStdString(), image, chunks).empty()) return false;
    return put("photo_properties", "chunks.png", fileBytes(path));
}

// The records of a photo's block in the property-record target's form, one seed per few records.
bool makePropertyRecords(const QString& scratch) {
    const imaging::PropertyBlock block = imaging::readProperties((scratch + "/camera-le.jpg").toStdString());
    if (block.count() < 20) {
        std::cerr << "the camera photo gave " << block.count() << " properties\n";
        return false;
    }
    Bytes all;
    Bytes group;
    int n = 0;
    for (const imaging::PropertyItem& p : block.items()) {
        Bytes record;
        for (int i = 0; i < 4; ++i)
            record.push_back(static_cast<std::uint8_t>(p.id >> (8 * i)));
        for (int i = 0; i < 2; ++i)
            record.push_back(static_cast<std::uint8_t>(p.type >> (8 * i)));
        for (int i = 0; i < 4; ++i)
            record.push_back(static_cast<std::uint8_t>(p.length >> (8 * i)));
        record.insert(record.end(), p.value, p.value + p.length);
        all.insert(all.end(), record.begin(), record.end());
        group.insert(group.end(), record.begin(), record.end());
        if (++n % 8 == 0) {
            if (!put("property_records", QStringLiteral("records-%1").arg(n / 8), group)) return false;
            group.clear();
        }
    }
    return put("property_records", "all-records", all);
}

ImprintItem& addItem(CDatedPicture& templ, std::uint32_t tag, const std::string& name) {
    templ.AppendItem();
    ImprintItem& it = templ.item(templ.itemCount - 1);
    it = ImprintItem();
    it.visible = 1;
    it.tag = tag;
    it.displayName = name;
    return it;
}

Bytes record(const CDatedPicture& templ) {
    Bytes bytes(templ.SerializeTemplate(nullptr, 0));
    templ.SerializeTemplate(bytes.data(), bytes.size());
    return bytes;
}

bool makeTemplates(const QString& shippedFolder) {
    for (const QString& name : QDir(shippedFolder).entryList({"*.tpl"}, QDir::Files))
        if (!put("template", name, fileBytes(shippedFolder + "/" + name))) return false;

    CDatedPicture fresh;
    fresh.MakeNewTemplate();
    if (!put("template", "new.tpl", record(fresh))) return false;

    // Every kind of item, extra data and every setting away from its default.
    CDatedPicture full;
    full.prefix = "P_";
    full.postfix = "_q";
    full.outputDir = "/out";
    full.aspectEnabled = 1;
    full.whiteSideTall = 1;
    full.aspectWidth = 7;
    full.aspectHeight = 5;
    full.dateFormat = "%A, %B %d, %Y : %I:%M:%S %p";
    full.borderPath = "frame.png";
    ImprintItem& date = addItem(full, kTagDateTimeOriginal, "Date Time Original");
    date.label = "Taken ";
    date.anchor = 5;
    date.angle = 30;
    ImprintItem& label = addItem(full, kTagLabel, "Credit");
    label.label = "Photo: Ann";
    const std::string extra = "extra";
    label.extraLength = static_cast<int>(extra.size() + 1);
    label.extraData.assign(extra.begin(), extra.end());
    label.extraData.push_back(0);
    ImprintItem& mark = addItem(full, kTagWatermark, "Watermark");
    mark.fontName = "logo.png";
    mark.fontSize = 128;
    addItem(full, 0x829a, "Exposure Time").unit = " s";
    const Bytes fullRecord = record(full);
    if (!put("template", "every-item.tpl", fullRecord)) return false;

    // Cut inside the settings and inside an item; a newer program's template with bytes at its end.
    if (!put("template", "cut-settings.tpl", Bytes(fullRecord.begin(), fullRecord.begin() + 70)))
        return false;
    if (!put("template", "cut-item.tpl", Bytes(fullRecord.begin(), fullRecord.end() - 40))) return false;
    Bytes future = fullRecord;
    const std::string tail = "2.00 fields of a later version";
    future.insert(future.end(), tail.begin(), tail.end());
    return put("template", "future.tpl", future);
}

bool makeDates() {
    const std::vector<std::pair<const char*, QByteArray>> dates = {
        {"presets", "2001:6:21 14:38:56\n%c"},
        {"long", "2001:06:21 14:38:56\n%A, %B %d, %Y : %I:%M:%S %p"},
        {"exif", "2005:04:10 13:04:54\n%Y:%m:%d %H:%M:%S"},
        {"flags", "1999:12:31 23:59:59\n%#c %#x %#d.%#m.%y %X %j %U %W %%"},
        {"month13", "2001:13:01 00:00:00\n%x"},
        {"zero", "0000:00:00 00:00:00\n%c"},
        {"nodate", "not a date\n%B"},
    };
    for (const auto& [name, bytes] : dates)
        if (!put("date_format", name, bytes)) return false;
    return true;
}

bool makeSettings() {
    QByteArray full = "; written by Imprix\n[General]\nOutDir=/home/me/Pictures\nTemplateDef=Simple.tpl\n"
                      "TemplatePath=/opt/imprix/Templates\nBackColor=9474192\nViewAllExif=0\nViewRatio=1\n\n"
                      "[CustomColors]\n";
    for (int i = 1; i <= 16; ++i)
        full += "C" + QByteArray::number(i) + "=16777215\n";
    return put("settings", "imprix.ini", full) &&
           put("settings", "windows.ini",
               QByteArray(
                   "[general]\r\n OutDir = \"C:\\Pictures\" \r\nBackColor=12abc\r\n[Other]\r\nX=1\r\n")) &&
           put("settings", "empty.ini", QByteArray());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::cerr << "usage: fuzz_make_seeds CORPUS_FOLDER SHIPPED_TEMPLATES_FOLDER\n";
        return 2;
    }
    folder = QString::fromLocal8Bit(argv[1]);
    QDir scratchDir(folder + "/.scratch");
    scratchDir.mkpath(".");
    const bool ok = makePhotos(scratchDir.path()) && makePropertyRecords(scratchDir.path()) &&
                    makeTemplates(QString::fromLocal8Bit(argv[2])) && makeDates() && makeSettings();
    scratchDir.removeRecursively();
    if (!ok) std::cerr << "fuzz_make_seeds: could not write every seed\n";
    return ok ? 0 : 1;
}
