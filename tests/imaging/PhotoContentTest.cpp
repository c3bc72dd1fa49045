// Photos are told by their content, not their name: every accepted kind decodes with its Exif, HEIF
// and AVIF turn as their transformations say and no more, and what holds no picture is refused.

#include "imaging/PhotoContent.h"
#include "imaging/Bitmap.h"
#include "imaging/MetadataCopy.h"
#include "imaging/PropertyReader.h"

#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <gtest/gtest.h>

using namespace imaging;
using namespace propertyitems;

namespace {

using namespace std::string_literals;

constexpr const char* kTaken = "2019:07:14 09:30:05";

photofactory::Photo datedPhoto() {
    photofactory::Photo photo;
    photo.width = 128; // not square, so that a turn shows in the size
    photo.height = 96;
    photo.tags = {{"Exif.Image.Orientation", "1"}, {"Exif.Photo.DateTimeOriginal", kTaken}};
    return photo;
}

std::string dateOf(const std::string& path) {
    const PropertyBlock block = readProperties(path);
    const PropertyItem* taken = find(block, 0x9003);
    return taken ? std::string(reinterpret_cast<const char*>(taken->value)) : std::string();
}

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 60;
}

QByteArray jpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

} // namespace

TEST(PhotoContent, everyAcceptedKindDecodesByItsContentWithItsDateTaken) {
    TempDir dir;
    for (const std::string name :
         {"a.jpeg", "b.JPE", "c.TIFF", "d.png", "e.webp", "f.heic", "g.HEIF", "h.avif"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path(name);
        ASSERT_EQ(photofactory::writePhoto(path, datedPhoto()), "");
        Status status = Status::GenericError;
        std::string reason;
        const auto bitmap = Bitmap::fromFile(path, status, &reason, Accept::PhotosOnly);
        ASSERT_EQ(status, Status::Ok) << reason;
        EXPECT_EQ(bitmap->image().size(), QSize(128, 96));
        EXPECT_EQ(bitmap->image().format(), QImage::Format_RGB32);
        EXPECT_TRUE(dark(bitmap->image(), 10, 10)) << "the dark quarter stays top-left";
        EXPECT_EQ(dateOf(path), kTaken);
    }
}

TEST(PhotoContent, aHeifOrAvifPhotoIsTurnedByItsTransformationsOnceAndItsCopyIsUprightWithItsDate) {
    TempDir dir;
    for (const std::string name : {"turned.heic", "turned.avif"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.path(name);
        photofactory::Photo photo = datedPhoto();
        // Stored as drawn with a quarter turn clockwise to show, as a phone writes a portrait photo:
        // the transformation and the Exif say the same, and only one of them may be applied.
        photo.heifOrientation = 6;
        photo.tags[0].value = "6";
        ASSERT_EQ(photofactory::writePhoto(path, photo), "");
        Status status = Status::GenericError;
        std::string reason;
        const auto bitmap = Bitmap::fromFile(path, status, &reason, Accept::PhotosOnly);
        ASSERT_EQ(status, Status::Ok) << reason;
        const QImage& shown = bitmap->image();
        ASSERT_EQ(shown.size(), QSize(96, 128));
        EXPECT_TRUE(dark(shown, 86, 10)) << "the dark quarter turned to the top right";
        EXPECT_FALSE(dark(shown, 10, 10));
        EXPECT_FALSE(dark(shown, 86, 118));

        QByteArray copy = jpegOf(shown);
        const MetadataCopy outcome = copyMetadataInto(copy, shown.width(), shown.height(), path);
        EXPECT_EQ(outcome.failure, "");
        EXPECT_EQ(outcome.leftOut, "");
        const std::string copyPath = dir.path(name + ".jpg");
        QFile file(QString::fromStdString(copyPath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(copy);
        file.close();
        EXPECT_EQ(photoContentOf(copyPath), PhotoContent::Jpeg);
        EXPECT_EQ(dateOf(copyPath), kTaken);
        const PropertyBlock copied = readProperties(copyPath);
        const PropertyItem* orientation = find(copied, 0x0112);
        ASSERT_NE(orientation, nullptr);
        EXPECT_EQ(u16(*orientation), 1) << "a viewer must not turn the upright copy again";
    }
}

TEST(PhotoContent, theContentDecidesAndWhatHoldsNoPictureIsRefusedWithItsReason) {
    TempDir dir;
    // A PNG named .jpg opens as the PNG it is, with its Exif.
    ASSERT_EQ(photofactory::writePhoto(dir.path("real.png"), datedPhoto()), "");
    ASSERT_TRUE(QFile::rename(QString::fromStdString(dir.path("real.png")),
                              QString::fromStdString(dir.path("png.jpg"))));
    Status status = Status::GenericError;
    std::string reason;
    EXPECT_NE(Bitmap::fromFile(dir.path("png.jpg"), status, &reason, Accept::PhotosOnly), nullptr) << reason;
    EXPECT_EQ(dateOf(dir.path("png.jpg")), kTaken);

    // Text, a video's box and the first bytes of a HEIF photo, each named .heic.
    ASSERT_EQ(photofactory::writePhoto(dir.path("whole.heic"), datedPhoto()), "");
    QFile whole(QString::fromStdString(dir.path("whole.heic")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray cut = whole.read(300);
    const std::pair<std::string, QByteArray> files[] = {
        {"text.heic", "not a photo at all, only some text\n"},
        {"video.heic", QByteArray("\0\0\0\x18"
                                  "ftypmp42\0\0\0\0isommp42",
                                  24)},
        {"cut.heic", cut},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        QFile file(QString::fromStdString(dir.path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        reason.clear();
        EXPECT_EQ(Bitmap::fromFile(dir.path(name), status, &reason, Accept::PhotosOnly), nullptr);
        EXPECT_NE(status, Status::Ok);
        if (name != "cut.heic") EXPECT_EQ(reason, kNotAPicture);
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(readProperties(dir.path(name)).items().empty());
    }
    // An AVIF under a general brand is told from the brands it lists.
    const QByteArray general("\0\0\0\x1c"
                             "ftypmif1\0\0\0\0mif1miafavif",
                             28);
    EXPECT_EQ(photoContentOf(reinterpret_cast<const std::uint8_t*>(general.constData()), 28u),
              PhotoContent::Avif);
}
