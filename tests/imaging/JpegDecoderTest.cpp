#include "imaging/JpegDecoder.h"
#include "imaging/ImageDecoder.h"
#include "imaging/RowGate.h"

#include "photofactory/PhotoFactory.h"
#include "support/TempDir.h"

#include <QColorSpace>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

using namespace imaging;
using Sampling = photofactory::JpegLayout::Sampling;

namespace {

// What Qt's JPEG reader makes of a file, turned upright and in the format of every decoded photo.
QImage decodedByQt(const std::string& path) {
    QImageReader reader(QString::fromStdString(path), "jpeg");
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (!image.isNull()) image.convertTo(QImage::Format_RGB32);
    return image;
}

// The first pixel where two pictures differ, for the message; empty when they are the same.
std::string firstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       QString::number(a.pixel(x, y), 16).toStdString() + " against " +
                       QString::number(b.pixel(x, y), 16).toStdString();
    return {};
}

std::string writePhoto(const TempDir& dir, const std::string& name, photofactory::Photo photo) {
    const std::string path = dir.path(name);
    EXPECT_EQ(photofactory::writePhoto(path, photo), "");
    return path;
}

} // namespace

TEST(TheJpegDecoder, givesTheVeryPixelsAndDescriptionOfQtsReaderForEveryLayoutAndOrientation) {
    struct Case {
        const char* name;
        Sampling sampling;
        int orientation;
        bool progressive = false;
        bool arithmetic = false;
        int restartRows = 0;
    };
    const Case cases[] = {
        {"4:2:0 by Qt's writer", Sampling::Qt, 1},
        {"4:2:0", Sampling::YCbCr420, 1},
        {"4:2:2", Sampling::YCbCr422, 1},
        {"4:4:4", Sampling::YCbCr444, 1},
        {"grey", Sampling::Grey, 1},
        {"CMYK", Sampling::Cmyk, 1},
        {"progressive", Sampling::YCbCr420, 1, true},
        {"arithmetic, restart markers", Sampling::YCbCr420, 1, false, true, 2},
        {"mirrored", Sampling::YCbCr422, 2},
        {"upside down", Sampling::YCbCr420, 3},
        {"flipped", Sampling::Grey, 4},
        {"transposed", Sampling::YCbCr444, 5},
        {"turned right", Sampling::YCbCr420, 6},
        {"transversed", Sampling::Cmyk, 7},
        {"turned left", Sampling::YCbCr420, 8, true},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        photofactory::Photo photo;
        photo.width = 61; // not whole blocks: the decoder's edges and turns meet partial ones
        photo.height = 37;
        photo.textured = true;
        photo.layout = {c.sampling, c.restartRows, c.progressive, c.arithmetic};
        photo.tags = {{"Exif.Image.Orientation", std::to_string(c.orientation)}};
        const std::string path = writePhoto(dir, "photo.jpg", photo);

        const QImage wanted = decodedByQt(path);
        ASSERT_FALSE(wanted.isNull());
        const DecodedImage decoded = decodeImageFile(path);
        ASSERT_EQ(decoded.status, Status::Ok) << decoded.reason;
        EXPECT_EQ(decoded.image.format(), QImage::Format_RGB32);
        EXPECT_EQ(firstDifference(decoded.image, wanted), "");
    }

    SCOPED_TRACE("resolution, comments and colour profile");
    photofactory::Photo photo;
    photo.picture = QImage(40, 30, QImage::Format_RGB32);
    photo.picture.fill(QColor(20, 90, 160));
    photo.picture.setDotsPerMeterX(11811); // 300 dpi
    photo.picture.setDotsPerMeterY(11811);
    photo.picture.setText("Title", "Harbour");
    photo.picture.setText("Description", "at dawn");
    photo.iccProfile = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    const std::string path = writePhoto(dir, "described.jpg", photo);
    const QImage wanted = decodedByQt(path);
    const QImage image = decodeImageFile(path).image;
    EXPECT_EQ(image.dotsPerMeterX(), wanted.dotsPerMeterX());
    EXPECT_EQ(image.dotsPerMeterY(), wanted.dotsPerMeterY());
    EXPECT_EQ(image.textKeys(), wanted.textKeys());
    EXPECT_EQ(image.text("Title"), "Harbour");
    EXPECT_TRUE(image.colorSpace().isValid());
    EXPECT_EQ(image.colorSpace(), wanted.colorSpace());
}

TEST(TheJpegDecoder, decodesIntoItsPlaceInALargerPictureAndTellsTheRowsAsTheyAreDone) {
    TempDir dir;
    for (int orientation : {1, 6}) {
        SCOPED_TRACE("orientation " + std::to_string(orientation));
        photofactory::Photo photo;
        photo.width = 50;
        photo.height = 30;
        photo.textured = true;
        photo.tags = {{"Exif.Image.Orientation", std::to_string(orientation)}};
        const std::string path = writePhoto(dir, "photo.jpg", photo);
        const QImage alone = decodeImageFile(path).image;

        DecodedImage refused;
        const std::unique_ptr<JpegDecoder> decoder = openJpegPhoto(path, refused);
        ASSERT_TRUE(decoder) << refused.reason;
        QImage large(90, 80, QImage::Format_RGB32);
        large.fill(Qt::magenta);
        const QPoint at(7, 11);
        RowGate rows(large.height());
        ASSERT_EQ(decodeJpegInto(*decoder, large, at, &rows).status, Status::Ok);
        EXPECT_EQ(firstDifference(large.copy(QRect(at, alone.size())), alone), "");
        EXPECT_EQ(large.pixel(at.x() - 1, at.y()), QColor(Qt::magenta).rgb()) << "nothing outside is touched";
        EXPECT_EQ(large.pixel(at.x(), at.y() + alone.height()), QColor(Qt::magenta).rgb());
        EXPECT_EQ(rows.waitFor(1), at.y() + alone.height()) << "every row down to the photo's last is made";
    }
}

TEST(TheJpegDecoder, refusesWhatItCannotDecodeAndDecodesDamagedDataAsFarAsItGoes) {
    TempDir dir;
    photofactory::Photo photo;
    photo.width = 64;
    photo.height = 64;
    photo.textured = true;
    const std::string path = writePhoto(dir, "photo.jpg", photo);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();

    const auto cut = [&](const std::string& name, qsizetype length) {
        QFile out(QString::fromStdString(dir.path(name)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes.left(length));
        return dir.path(name);
    };
    // Cut inside the header: nothing to decode.
    DecodedImage header = decodeImageFile(cut("header.jpg", 40));
    EXPECT_EQ(header.status, Status::UnknownImageFormat);
    EXPECT_EQ(header.reason, "cannot decode the picture (JPEG datastream contains no image)");
    // Cut inside the picture data: the rows that were read, the rest as Qt's reader fills it.
    const std::string scan = cut("scan.jpg", bytes.size() * 2 / 3);
    const DecodedImage damaged = decodeImageFile(scan);
    const QImage wanted = decodedByQt(scan);
    ASSERT_EQ(damaged.status == Status::Ok, !wanted.isNull()) << damaged.reason;
    if (!wanted.isNull()) {
        EXPECT_EQ(firstDifference(damaged.image, wanted), "");
    }

    JpegDecoder decoder;
    ASSERT_TRUE(decoder.open(bytes));
    QImage small(10, 10, QImage::Format_RGB32);
    EXPECT_FALSE(decoder.decodeInto(small, QPoint(0, 0)));
    EXPECT_EQ(decoder.reason(), "the photo does not fit the picture it is decoded into");
}
