// Reading the property items of photos written through Exiv2: ids, types, lengths and little-endian
// values whatever the file's byte order, the thumbnail directory under its own ids, and TIFF files;
// and decoding such photos upright and past Qt's default allocation limit.

#include "imaging/Bitmap.h"
#include "imaging/PropertyReader.h"

#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <algorithm>

using namespace imaging;
using namespace propertyitems;

namespace {

const std::vector<photofactory::Tag> kCameraTags = {
    {"Exif.Image.Make", "Canon"},
    {"Exif.Image.Orientation", "1"},
    {"Exif.Image.XResolution", "300/1"},
    {"Exif.Image.XPTitle", "Tür"},
    {"Exif.Image.ImageNumber", "-5", kTypeSLong},
    {"Exif.Photo.ExposureTime", "10/600"},
    {"Exif.Photo.ExposureBiasValue", "-2/3"},
    {"Exif.Photo.ISOSpeedRatings", "400"},
    {"Exif.Photo.SubjectArea", "1 2 300 4"},
    {"Exif.Photo.PixelXDimension", "70000"},
    {"Exif.Photo.ExifVersion", "48 50 51 48"},
    {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
    {"Exif.GPSInfo.GPSVersionID", "2 3 0 0"},
    {"Exif.GPSInfo.GPSLatitudeRef", "N"},
    {"Exif.GPSInfo.GPSLatitude", "48/1 51/1 2400/100"},
    {"Exif.GPSInfo.GPSAltitudeRef", "1"},
};

std::string fileStart(const std::string& path, int n) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(n).toStdString();
}

std::ptrdiff_t indexOf(const PropertyBlock& block, std::uint32_t id) {
    const auto all = ids(block);
    return std::find(all.begin(), all.end(), id) - all.begin();
}

// The value checks shared by the JPEG and TIFF cases.
void expectCameraTags(const PropertyBlock& block) {
    const PropertyItem* make = find(block, 0x010f);
    ASSERT_NE(make, nullptr);
    EXPECT_EQ(make->type, kTypeAscii);
    EXPECT_EQ(make->length, 6u); // the terminating NUL counts, as the file stores it
    EXPECT_EQ(bytes(*make), std::string("Canon", 6));

    const PropertyItem* orientation = find(block, 0x0112);
    ASSERT_NE(orientation, nullptr);
    EXPECT_EQ(orientation->type, kTypeShort);
    EXPECT_EQ(orientation->length, 2u);
    EXPECT_EQ(u16(*orientation), 1);

    const PropertyItem* xResolution = find(block, 0x011a);
    ASSERT_NE(xResolution, nullptr);
    EXPECT_EQ(xResolution->type, kTypeRational);
    EXPECT_EQ(xResolution->length, 8u);
    EXPECT_EQ(u32(*xResolution, 0), 300u);
    EXPECT_EQ(u32(*xResolution, 1), 1u);

    // Windows' XP tags: bytes holding little-endian UTF-16, in the file's order whatever its byte order.
    const PropertyItem* title = find(block, 0x9c9b);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->type, kTypeByte);
    EXPECT_EQ(bytes(*title), std::string("T\0\xFC\0r\0\0\0", 8));

    const PropertyItem* imageNumber = find(block, 0x9211);
    ASSERT_NE(imageNumber, nullptr);
    EXPECT_EQ(imageNumber->type, kTypeSLong);
    EXPECT_EQ(s32(*imageNumber), -5);

    const PropertyItem* exposure = find(block, 0x829a);
    ASSERT_NE(exposure, nullptr);
    EXPECT_EQ(exposure->type, kTypeRational);
    EXPECT_EQ(u32(*exposure, 0), 10u);
    EXPECT_EQ(u32(*exposure, 1), 600u);

    const PropertyItem* bias = find(block, 0x9204);
    ASSERT_NE(bias, nullptr);
    EXPECT_EQ(bias->type, kTypeSRational);
    EXPECT_EQ(bias->length, 8u);
    EXPECT_EQ(s32(*bias, 0), -2);
    EXPECT_EQ(s32(*bias, 1), 3);

    const PropertyItem* iso = find(block, 0x8827);
    ASSERT_NE(iso, nullptr);
    EXPECT_EQ(iso->type, kTypeShort);
    EXPECT_EQ(u16(*iso), 400);

    // Every value of a multi-valued short, each swapped on its own.
    const PropertyItem* area = find(block, 0x9214);
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->length, 8u);
    EXPECT_EQ(u16(*area, 2), 300);
    EXPECT_EQ(u16(*area, 3), 4);

    const PropertyItem* width = find(block, 0xa002);
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->type, kTypeLong);
    EXPECT_EQ(u32(*width), 70000u);

    const PropertyItem* version = find(block, 0x9000);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->type, kTypeUndefined);
    EXPECT_EQ(bytes(*version), "0230");

    const PropertyItem* taken = find(block, 0x9003);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(bytes(*taken), std::string("2001:06:21 14:38:56", 20));

    // The Exif directory's pointer is listed like any tag of the main directory.
    const PropertyItem* exifPointer = find(block, 0x8769);
    ASSERT_NE(exifPointer, nullptr);
    EXPECT_EQ(exifPointer->type, kTypeLong);
    EXPECT_EQ(exifPointer->length, 4u);

    const PropertyItem* gpsVersion = find(block, 0x0000);
    ASSERT_NE(gpsVersion, nullptr);
    EXPECT_EQ(gpsVersion->type, kTypeByte);
    EXPECT_EQ(bytes(*gpsVersion), std::string("\x02\x03\0\0", 4));

    const PropertyItem* latitudeRef = find(block, 0x0001);
    ASSERT_NE(latitudeRef, nullptr);
    EXPECT_EQ(bytes(*latitudeRef), std::string("N", 2));

    const PropertyItem* latitude = find(block, 0x0002);
    ASSERT_NE(latitude, nullptr);
    EXPECT_EQ(latitude->type, kTypeRational);
    EXPECT_EQ(latitude->length, 24u);
    EXPECT_EQ(u32(*latitude, 4), 2400u);
    EXPECT_EQ(u32(*latitude, 5), 100u);

    const PropertyItem* altitudeRef = find(block, 0x0005);
    ASSERT_NE(altitudeRef, nullptr);
    EXPECT_EQ(altitudeRef->type, kTypeByte);
    EXPECT_EQ(bytes(*altitudeRef), std::string("\x01", 1));

    // Main directory first, then the Exif directory, then GPS.
    EXPECT_LT(indexOf(block, 0x9c9b), indexOf(block, 0x829a));
    EXPECT_LT(indexOf(block, 0x9003), indexOf(block, 0x0002));

    for (const PropertyItem& item : block.items())
        EXPECT_TRUE(nulAfterValue(item)) << "no NUL after the value of 0x" << std::hex << item.id;
}

} // namespace

TEST(ReadingProperties, givesLittleEndianValuesFromJpegsOfEitherByteOrder) {
    TempDir dir;
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian Exif" : "little-endian Exif");
        photofactory::Photo photo;
        photo.bigEndian = bigEndian;
        photo.tags = kCameraTags;
        const std::string path = dir.path(bigEndian ? "mm.jpg" : "ii.jpg");
        ASSERT_EQ(photofactory::writePhoto(path, photo), "");

        std::string problem;
        const PropertyBlock block = readProperties(path, &problem);
        EXPECT_EQ(problem, "");
        expectCameraTags(block);
        // Nothing of a thumbnail where the photo has none.
        EXPECT_FALSE(block.contains(0x501b));
    }
}

TEST(ReadingProperties, givesTheThumbnailDirectoryUnderTheThumbnailIds) {
    TempDir dir;
    photofactory::Photo photo;
    photo.thumbnail = true;
    photo.bigEndian = true;
    photo.tags = {{"Exif.Image.DateTime", "2001:06:21 14:38:56"},
                  {"Exif.Thumbnail.DateTime", "1999:12:31 23:59:59"},
                  {"Exif.Thumbnail.NewSubfileType", "1"}};
    const std::string path = dir.path("thumb.jpg");
    ASSERT_EQ(photofactory::writePhoto(path, photo), "");

    const PropertyBlock block = readProperties(path);

    // The thumbnail's bytes themselves, where the file holds only their offset.
    const PropertyItem* data = find(block, 0x501b);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->type, kTypeByte);
    ASSERT_GT(data->length, 4u);
    EXPECT_EQ(bytes(*data).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(bytes(*data).substr(data->length - 2), "\xFF\xD9");
    const PropertyItem* compressedSize = find(block, 0x5019);
    ASSERT_NE(compressedSize, nullptr);
    EXPECT_EQ(u32(*compressedSize), data->length);

    const PropertyItem* compression = find(block, 0x5023);
    ASSERT_NE(compression, nullptr);
    EXPECT_EQ(compression->type, kTypeShort);
    EXPECT_EQ(u16(*compression), 6);

    const PropertyItem* thumbnailDate = find(block, 0x5033);
    ASSERT_NE(thumbnailDate, nullptr);
    EXPECT_EQ(bytes(*thumbnailDate), std::string("1999:12:31 23:59:59", 20));
    const PropertyItem* date = find(block, 0x0132);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(bytes(*date), std::string("2001:06:21 14:38:56", 20));

    // No thumbnail tag under the id of the main directory's tag, and none without a thumbnail id.
    EXPECT_FALSE(block.contains(0x0103));
    EXPECT_FALSE(block.contains(0x0201));
    EXPECT_FALSE(block.contains(0x0202));
    EXPECT_FALSE(block.contains(0x00fe));
    for (const PropertyItem& item : block.items()) EXPECT_TRUE(nulAfterValue(item));
}

TEST(ReadingProperties, readsTheTagsOfTiffFilesInEitherByteOrder) {
    TempDir dir;
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian TIFF" : "little-endian TIFF");
        photofactory::Photo photo;
        photo.bigEndian = bigEndian;
        photo.tags = kCameraTags;
        const std::string path = dir.path(bigEndian ? "mm.tif" : "ii.tif");
        ASSERT_EQ(photofactory::writePhoto(path, photo), "");
        ASSERT_EQ(fileStart(path, 2), bigEndian ? "MM" : "II");

        const PropertyBlock block = readProperties(path);
        expectCameraTags(block);
        // The picture's own tags of the main directory: width and height, short or long.
        const PropertyItem* width = find(block, 0x0100);
        ASSERT_NE(width, nullptr);
        EXPECT_EQ(width->type == kTypeShort ? u16(*width) : u32(*width), 120u);
        const PropertyItem* height = find(block, 0x0101);
        ASSERT_NE(height, nullptr);
        EXPECT_EQ(height->type == kTypeShort ? u16(*height) : u32(*height), 80u);

        Status status = Status::GenericError;
        const auto bitmap = Bitmap::fromFile(path, status);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->width(), 120);
        EXPECT_EQ(bitmap->pixel(110, 70), qRgb(90, 140, 200));
    }
}

TEST(DecodingAPhoto, turnsItUprightByItsOrientation) {
    TempDir dir;
    // The factory darkens the top-left quarter of a 120 x 80 picture.
    struct Case {
        const char* orientation;
        int width, height;
        QPoint dark, light;
    };
    const Case cases[] = {
        {"1", 120, 80, {10, 10}, {110, 70}}, // as stored
        {"3", 120, 80, {110, 70}, {10, 10}}, // turned half round
        {"6", 80, 120, {70, 10}, {10, 110}}, // turned a quarter clockwise: the dark quarter at top right
        {"8", 80, 120, {10, 110}, {70, 10}}, // a quarter anticlockwise: at bottom left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("orientation ") + c.orientation);
        photofactory::Photo photo;
        photo.tags = {{"Exif.Image.Orientation", c.orientation}};
        const std::string path = dir.path(std::string("o") + c.orientation + ".jpg");
        ASSERT_EQ(photofactory::writePhoto(path, photo), "");

        Status status = Status::GenericError;
        const auto bitmap = Bitmap::fromFile(path, status);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->width(), c.width);
        EXPECT_EQ(bitmap->height(), c.height);
        EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_RGB32);
        // JPEG slack: the plain colours are far apart, 40 covers the codec's rounding.
        EXPECT_LT(qGray(bitmap->pixel(c.dark.x(), c.dark.y())), 60);
        EXPECT_GT(qGray(bitmap->pixel(c.light.x(), c.light.y())), 100);
    }
}

TEST(DecodingAPhoto, readsPicturesLargerThanQtsDefaultAllocationLimit) {
    // 6000 x 6000 pixels of four bytes are 144 MB, over the 128 MB Qt refuses by default.
    TempDir dir;
    const std::string path = dir.path("large.jpg");
    {
        QImage image(6000, 6000, QImage::Format_RGB32);
        ASSERT_FALSE(image.isNull());
        image.fill(qRgb(200, 30, 30));
        QImageWriter writer(QString::fromStdString(path), "jpeg");
        ASSERT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    }
    Status status = Status::GenericError;
    std::string reason;
    const auto bitmap = Bitmap::fromFile(path, status, &reason);
    ASSERT_NE(bitmap, nullptr) << reason;
    EXPECT_EQ(bitmap->width(), 6000);
    EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_RGB32);
}
