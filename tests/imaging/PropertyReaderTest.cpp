// Reading the property items of photos written through Exiv2: ids, types, lengths and little-endian
// values whatever the file's byte order, the thumbnail directory under its own ids, and TIFF files;
// and decoding such photos upright and past Qt's default allocation limit.

#include "imaging/PropertyReader.h"
#include "imaging/Bitmap.h"

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

using namespace std::string_literals;

const std::vector<photofactory::Tag> kCameraTags = {
    {"Exif.Image.Make", "Canon"},
    {"Exif.Image.Orientation", "1"},
    {"Exif.Image.XResolution", "300/1"},
    {"Exif.Image.XPTitle", "T\u00FCr"},
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

// The records of kCameraTags, the same whatever the file's byte order.
const Expected kCameraRecords[] = {
    {0x010f, kTypeAscii, "Canon\0"s},                       // the terminating NUL counts, as stored
    {0x0112, kTypeShort, le({1}, 2)},                       //
    {0x011a, kTypeRational, le({300, 1})},                  //
    {0x9c9b, kTypeByte, "T\0\xFC\0r\0\0\0"s},               // UTF-16 in bytes, never swapped
    {0x9211, kTypeSLong, le({-5})},                         //
    {0x829a, kTypeRational, le({10, 600})},                 //
    {0x9204, kTypeSRational, le({-2, 3})},                  //
    {0x8827, kTypeShort, le({400}, 2)},                     //
    {0x9214, kTypeShort, le({1, 2, 300, 4}, 2)},            // every value swapped on its own
    {0xa002, kTypeLong, le({70000})},                       //
    {0x9000, kTypeUndefined, "0230"},                       //
    {0x9003, kTypeAscii, "2001:06:21 14:38:56\0"s},         //
    {0x0000, kTypeByte, "\x02\x03\0\0"s},                   // GPS directory
    {0x0001, kTypeAscii, "N\0"s},                           //
    {0x0002, kTypeRational, le({48, 1, 51, 1, 2400, 100})}, //
    {0x0005, kTypeByte, "\x01"},                            //
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

void expectCameraRecords(const PropertyBlock& block) {
    expectRecords(block, {std::begin(kCameraRecords), std::end(kCameraRecords)});
    // The Exif directory's pointer is a record like any of the main directory.
    const PropertyItem* exifPointer = find(block, 0x8769);
    ASSERT_NE(exifPointer, nullptr);
    EXPECT_EQ(exifPointer->type, kTypeLong);
    EXPECT_EQ(exifPointer->length, 4u);
    // The main directory first, then the Exif directory, then GPS.
    EXPECT_LT(indexOf(block, 0x9c9b), indexOf(block, 0x829a));
    EXPECT_LT(indexOf(block, 0x9003), indexOf(block, 0x0002));
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
        expectCameraRecords(block);
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

    // The thumbnail's bytes themselves, where the file holds only their offset, and their size.
    const PropertyItem* data = find(block, 0x501b);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->type, kTypeByte);
    ASSERT_GT(data->length, 4u);
    EXPECT_EQ(bytes(*data).substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(bytes(*data).substr(data->length - 2), "\xFF\xD9");
    expectRecords(block, {{0x5019, kTypeLong, le({data->length})},
                          {0x5023, kTypeShort, le({6}, 2)},
                          {0x5033, kTypeAscii, "1999:12:31 23:59:59\0"s},
                          {0x0132, kTypeAscii, "2001:06:21 14:38:56\0"s}});

    // No thumbnail tag under the id of the main directory's tag, and none without a thumbnail id.
    for (const std::uint32_t id : {0x0103, 0x0201, 0x0202, 0x00fe})
        EXPECT_FALSE(block.contains(id)) << std::hex << id;
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
        expectCameraRecords(block);
        // The picture's own tags of the main directory.
        expectRecords(block, {{0x0100, kTypeLong, le({120})}, {0x0101, kTypeLong, le({80})}});

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
        // Grey levels 20 and 132 as written; the thresholds leave JPEG more than 30 of slack.
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
