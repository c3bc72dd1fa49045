#include "imaging/Bitmap.h"
#include "imaging/Font.h"
#include "imaging/Graphics.h"
#include "imaging/ImageAttributes.h"
#include "imaging/ImageEncoder.h"
#include "imaging/ImageLimits.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <limits>

using namespace imaging;

TEST(AnOwnerObject, keepsTheLastFailureUntilItIsRead) {
    Bitmap bitmap(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(bitmap.pixel(9, 0), 0u);
    bitmap.pixel(1, 1); // a later success does not hide the failure
    EXPECT_EQ(bitmap.lastStatus(), Status::InvalidParameter);
    EXPECT_EQ(bitmap.lastStatus(), Status::Ok);
}

TEST(ABlankBitmap, isRefusedWhenItsSizeIsImpossibleOrTooLarge) {
    Status status = Status::Ok;
    EXPECT_EQ(Bitmap::create(0, 10, QImage::Format_RGB32, status), nullptr);
    EXPECT_EQ(status, Status::InvalidParameter);
    EXPECT_EQ(Bitmap::create(-5, 10, QImage::Format_RGB32, status), nullptr);
    EXPECT_EQ(status, Status::InvalidParameter);
    EXPECT_EQ(Bitmap::create(100000, 100000, QImage::Format_RGB32, status), nullptr);
    EXPECT_EQ(status, Status::OutOfMemory);

    auto bitmap = Bitmap::create(30, 20, QImage::Format_ARGB32_Premultiplied, status);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(status, Status::Ok);
    EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_ARGB32_Premultiplied);
    auto copy = bitmap->clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pixelFormat(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(copy->bounds(), QRectF(0, 0, 30, 20));
    // One set of pixels until one of them is written to; then each has its own.
    EXPECT_EQ(std::as_const(*copy).image().constBits(), std::as_const(*bitmap).image().constBits());
    bitmap->image().fill(Qt::red);
    copy->image().fill(Qt::blue);
    EXPECT_EQ(bitmap->pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(copy->pixel(0, 0), qRgb(0, 0, 255));
}

TEST(DecodingAFile, givesAnUprightBitmapOrAReason) {
    TempDir dir;
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.path("wide.png"))));

    Status status = Status::GenericError;
    std::string reason;
    auto bitmap = Bitmap::fromFile(dir.path("wide.png"), status, &reason);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(status, Status::Ok);
    EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_RGB32);
    EXPECT_EQ(bitmap->width(), 40);

    EXPECT_EQ(Bitmap::fromFile(dir.path("missing.jpg"), status, &reason), nullptr);
    EXPECT_EQ(status, Status::FileNotFound);
    EXPECT_EQ(reason, "file not found");

    QFile junk(QString::fromStdString(dir.path("junk.jpg")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a picture");
    junk.close();
    EXPECT_EQ(Bitmap::fromFile(dir.path("junk.jpg"), status, &reason), nullptr);
    EXPECT_EQ(status, Status::UnknownImageFormat);
    EXPECT_FALSE(reason.empty());
}

TEST(AFont, hasTheCellHeightOfItsDescription) {
    for (int cell : {12, 83, 166}) {
        LogFont lf;
        lf.height = cell;
        lf.faceName = "Arial";
        const Font font(lf);
        EXPECT_NEAR(QFontMetricsF(font.qfont()).height(), cell, 1.0) << "cell " << cell;
    }
    LogFont bold;
    bold.height = 40;
    bold.weight = 700;
    bold.italic = true;
    bold.faceName = "Arial";
    const Font font(bold);
    EXPECT_EQ(font.qfont().weight(), QFont::Bold);
    EXPECT_TRUE(font.qfont().italic());

    // Heights from hostile templates: Qt caches a missing glyph's box at the pixel size, 4 GB at 65000.
    for (int height : {std::numeric_limits<int>::max(), -std::numeric_limits<int>::max(), 100000}) {
        LogFont huge;
        huge.height = height;
        huge.faceName = "Arial";
        EXPECT_EQ(Font(huge).qfont().pixelSize(), 8192) << height;
    }
}

TEST(DrawingAString, largerThanQtCachesGivesThePixelsOfQtsOwnDrawing) {
    // Past 64 pixels the text is filled as outlines here, as Qt's rasterizer does for such sizes.
    for (const int cell : {40, 150, 400}) {
        LogFont lf;
        lf.height = cell;
        lf.faceName = "Arial";
        const Font font(lf);
        const QString text = QStringLiteral("Hg 2001:06:21 \u00e9");
        QImage ours(700, 500, QImage::Format_RGB32), qts(700, 500, QImage::Format_RGB32);
        ours.fill(Qt::white);
        qts.fill(Qt::white);
        {
            Bitmap target(ours);
            Graphics g(target);
            g.translate(30, 20);
            g.rotate(20);
            g.drawString(text.toStdString(), font, QPointF(0, 0), Brush::solid(QColor(200, 40, 40)));
            ours = target.image();
        }
        {
            QPainter p(&qts);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            p.translate(30, 20);
            p.rotate(20);
            p.setFont(font.qfont());
            p.setPen(QColor(200, 40, 40));
            p.drawText(QPointF(0, QFontMetricsF(font.qfont()).ascent()), text);
        }
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x) {
                const QRgb a = ours.pixel(x, y), b = qts.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > 2 || std::abs(qGreen(a) - qGreen(b)) > 2 ||
                    std::abs(qBlue(a) - qBlue(b)) > 2) {
                    if (differing++ == 0) first = QPoint(x, y);
                }
            }
        EXPECT_EQ(differing, 0) << "cell " << cell << ", first at (" << first.x() << ", " << first.y() << ")";
    }
}

TEST(DrawingAnImage, skipsKeyedColoursAndFadesByTheAlphaScale) {
    QImage overlay(4, 1, QImage::Format_RGB32);
    overlay.setPixel(0, 0, qRgb(255, 255, 255)); // keyed
    overlay.setPixel(1, 0, qRgb(250, 246, 255)); // keyed: inside the range
    overlay.setPixel(2, 0, qRgb(0, 0, 0));
    overlay.setPixel(3, 0, qRgb(240, 255, 255)); // just outside the range
    Bitmap target(QImage(4, 1, QImage::Format_RGB32));
    target.image().fill(qRgb(0, 0, 200));

    ImageAttributes attributes;
    attributes.setColorKey(qRgb(245, 245, 245), qRgb(255, 255, 255));
    attributes.setAlphaScale(0.5);
    {
        Graphics g(target);
        g.drawImage(overlay, QRectF(0, 0, 4, 1), QRectF(0, 0, 4, 1), &attributes);
    }
    EXPECT_EQ(target.image().pixel(0, 0), qRgb(0, 0, 200));
    EXPECT_EQ(target.image().pixel(1, 0), qRgb(0, 0, 200));
    EXPECT_NEAR(qBlue(target.image().pixel(2, 0)), 100, 2); // half of the black over blue
    EXPECT_NEAR(qRed(target.image().pixel(3, 0)), 120, 2);
}

TEST(AGraphicsContainer, undoesTheTransformsMadeInside) {
    Bitmap target(QImage(20, 20, QImage::Format_RGB32));
    target.image().fill(Qt::white);
    Graphics g(target);
    g.beginContainer();
    g.translate(10, 0);
    g.rotate(90);
    g.endContainer();
    g.fillRectangle(Brush::solid(Qt::black), QRectF(0, 0, 2, 2));
    g.endContainer(); // one too many
    EXPECT_EQ(g.lastStatus(), Status::WrongState);
    g.painter().end();
    EXPECT_EQ(target.image().pixel(1, 1), qRgb(0, 0, 0));
}

TEST(AHatchBrush, fillsItsBackgroundUnderThePattern) {
    Bitmap target(QImage(16, 16, QImage::Format_RGB32));
    target.image().fill(Qt::white);
    {
        Graphics g(target);
        g.fillRectangle(Brush::hatch(Qt::FDiagPattern, Qt::black, Qt::yellow), QRectF(0, 0, 16, 16));
    }
    int yellow = 0, black = 0;
    for (int x = 0; x < 16; ++x) {
        const QRgb p = target.image().pixel(x, 8);
        yellow += p == qRgb(255, 255, 0);
        black += p == qRgb(0, 0, 0);
    }
    EXPECT_GT(yellow, 8);
    EXPECT_GT(black, 0);
}

TEST(TheEncoders, startWithJpegAndHonourTheQuality) {
    ASSERT_FALSE(imageEncoders().empty());
    EXPECT_EQ(imageEncoders().front().mimeType, "image/jpeg");
    EXPECT_EQ(findEncoder("image/x-unknown"), nullptr);

    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
    QByteArray low, high;
    ASSERT_EQ(encodeImage(image, *findEncoder("image/jpeg"), 0, low).status, Status::Ok);
    ASSERT_EQ(encodeImage(image, *findEncoder("image/jpeg"), 100, high).status, Status::Ok);
    EXPECT_LT(low.size() * 3, high.size());
}

TEST(SavingAnImage, leavesTheEarlierFileWholeWhenItFails) {
    TempDir dir;
    const std::string target = dir.path("out.jpg");
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_EQ(saveImage(image, target, *findEncoder("image/jpeg"), 80).status, Status::Ok);
    QFile saved(QString::fromStdString(target));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    saved.close();
    EXPECT_EQ(QImageReader(QString::fromStdString(target)).size(), QSize(32, 32));

    EXPECT_NE(saveImage(QImage(), target, *findEncoder("image/jpeg"), 80).status, Status::Ok);
    const EncodeResult missingFolder =
        saveImage(image, dir.path("no/such/folder/x.jpg"), *findEncoder("image/jpeg"), 80);
    EXPECT_NE(missingFolder.status, Status::Ok);
    EXPECT_FALSE(missingFolder.reason.empty());

    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), before);
}
