#include "imaging/JpegWriter.h"
#include "imaging/ImageEncoder.h"
#include "imaging/RowGate.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <thread>

using namespace imaging;

namespace {

// A picture with detail in every channel and a size that leaves partial blocks at the right and bottom.
QImage patterned(QImage::Format format, int width = 37, int height = 23) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba((x * 7) % 256, (y * 11) % 256, (x * y) % 256, 128 + (x + y) % 128));
    return image.convertToFormat(format);
}

QByteArray qtJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(false);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return bytes;
}

QByteArray ourJpeg(const QImage& image, int quality) {
    QByteArray bytes;
    const EncodeResult result = writeJpeg(image, quality, bytes);
    EXPECT_EQ(result.status, Status::Ok) << result.reason;
    return bytes;
}

// The offset of the first differing byte, for a readable failure.
qsizetype firstDifference(const QByteArray& a, const QByteArray& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i]) return i;
    return a.size() == b.size() ? -1 : n;
}

} // namespace

TEST(TheJpegWriter, writesTheFileQtsWriterWritesForEveryFormatItTakes) {
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        ASSERT_TRUE(jpegWriterTakes(format));
        const QImage image = patterned(format);
        for (const int quality : {0, 60, 100}) {
            const QByteArray ours = ourJpeg(image, quality), qts = qtJpeg(image, quality);
            EXPECT_EQ(firstDifference(ours, qts), -1) << "format " << format << ", quality " << quality;
        }
    }
}

TEST(TheJpegWriter, statesResolutionTextsAndColourSpaceAsQtsWriterDoes) {
    QImage image = patterned(QImage::Format_RGB32, 64, 48);
    // Resolutions (dots per metre across and down) nearer whole dots per inch, nearer whole dots per
    // centimetre, whole numbers of both, and neither.
    for (const auto& [across, down] :
         {std::pair{2835, 2835}, {11811, 11811}, {3900, 3900}, {10000, 10000}, {1234, 5678}}) {
        image.setDotsPerMeterX(across);
        image.setDotsPerMeterY(down);
        EXPECT_EQ(firstDifference(ourJpeg(image, 75), qtJpeg(image, 75)), -1)
            << across << " by " << down << " dots per metre";
    }
    image.setText("Title", QString::fromUtf8("Sommer \xE2\x80\x93 \xE5\xA4\x8F")); // "Sommer – 夏"
    image.setText("Author", "Imprix");
    EXPECT_EQ(firstDifference(ourJpeg(image, 75), qtJpeg(image, 75)), -1) << "with texts";
    image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    EXPECT_EQ(firstDifference(ourJpeg(image, 75), qtJpeg(image, 75)), -1) << "with a colour space";
}

TEST(TheJpegWriter, leavesOtherPixelFormatsToQtsWriter) {
    const QImage image = patterned(QImage::Format_RGB888);
    EXPECT_FALSE(jpegWriterTakes(image.format()));
    QByteArray bytes = "old";
    EXPECT_EQ(writeJpeg(image, 60, bytes).status, Status::InvalidParameter);
    EXPECT_TRUE(bytes.isEmpty());

    // encodeImage still writes them, through Qt.
    const EncoderInfo* jpeg = findEncoder("image/jpeg");
    ASSERT_NE(jpeg, nullptr);
    ASSERT_EQ(encodeImage(image, *jpeg, 60, bytes).status, Status::Ok);
    EXPECT_EQ(firstDifference(bytes, qtJpeg(image, 60)), -1);
}

TEST(TheJpegWriter, fitsItsHuffmanTablesToThePictureWhenAskedAndReadsRowsAsTheyAreMade) {
    const QImage image = patterned(QImage::Format_RGB32, 640, 480);
    const QByteArray standard = ourJpeg(image, 60);
    QByteArray fitted;
    ASSERT_EQ(JpegWriter(image, {60, true, nullptr}).encode(fitted).status, Status::Ok);
    EXPECT_LT(fitted.size(), standard.size() * 9 / 10);
    EXPECT_EQ(QImage::fromData(fitted), QImage::fromData(standard)) << "the same pixels";

    // Rows let through a few at a time by another thread give the very same file.
    RowGate rows(image.height());
    QByteArray gated;
    EncodeResult result;
    std::thread encoding([&] { result = JpegWriter(image, {60, false, &rows}).encode(gated); });
    rows.holdFrom(300);
    for (int made = 0; made <= image.height(); made += 7)
        rows.made(made);
    rows.release();
    encoding.join();
    ASSERT_EQ(result.status, Status::Ok) << result.reason;
    EXPECT_EQ(firstDifference(gated, standard), -1);

    RowGate never(image.height());
    never.abandon();
    EXPECT_EQ(JpegWriter(image, {60, false, &never}).encode(gated).status, Status::GenericError);
    EXPECT_TRUE(gated.isEmpty());
}
