#include "compose/DrawingFixture.h"

#include <QDir>
#include <QFontMetricsF>

#include <gtest/gtest.h>

namespace {

// Fraction of pixels in the rectangle that are darker than the threshold in their red channel.
double darkShare(const QImage& image, const QRect& area, int threshold) {
    int dark = 0, all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x, ++all)
            dark += qGreen(image.pixel(x, y)) < threshold;
    return all ? double(dark) / all : 0;
}

} // namespace

TEST(DrawingAnItem, putsItsInkInsideItsBoxAtTheBottomLeft) {
    DrawingFixture f(3000, 2000);
    const int i = f.addItem("Date 2001:06:21");
    f.place(i);
    f.draw(i);
    const QRect ink = f.ink();
    const QRect box = f.box(i);
    ASSERT_FALSE(ink.isNull());
    EXPECT_TRUE(box.adjusted(-3, -3, 3, 3).contains(ink)) << "ink outside the measured box";
    EXPECT_LT(ink.left(), 400);
    EXPECT_GT(ink.top(), 1600);
    int red = 0; // the default colour is red 240
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x) {
            const QRgb p = f.image().pixel(x, y);
            red += qRed(p) > 230 && qGreen(p) < 20 && qBlue(p) < 20;
        }
    EXPECT_GT(red, 100);
}

TEST(DrawingAnItem, turnsALandscapeItemOnATallPictureClockwise) {
    DrawingFixture f(2000, 3000);
    const int i = f.addItem("Summer holiday 2001", 4);
    f.place(i);
    f.draw(i);
    const QRect ink = f.ink();
    ASSERT_FALSE(ink.isNull());
    EXPECT_GT(ink.height(), ink.width() * 3); // runs down the picture
    EXPECT_LT(ink.left(), 400);               // near the top-left corner
    EXPECT_LT(ink.top(), 600);
}

TEST(DrawingAnItem, sizesItsFontByThePrintAndThePicture) {
    for (const auto& [width, height, cell] : {std::tuple{3000, 2000, 83}, std::tuple{6000, 4000, 166}}) {
        DrawingFixture f(width, height);
        const int i = f.addItem("Xg");
        f.place(i);
        EXPECT_NEAR(f.item(i).textHeightPx, cell, 1) << width;
    }
}

TEST(DrawingAnItem, blendsByItsOpacityAndMeasuresEvenWhenInvisible) {
    DrawingFixture f(600, 400);
    const int i = f.addItem("HHHH");
    f.item(i).color = 0; // black
    f.item(i).fontSize = 40;
    f.item(i).opacity = 128;
    f.place(i);
    f.draw(i);
    const QRect ink = f.ink();
    ASSERT_FALSE(ink.isNull());
    int darkest = 255; // a pixel fully inside a stroke: half of black over white
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            darkest = std::min(darkest, qGreen(f.image().pixel(x, y)));
    EXPECT_NEAR(darkest, 127, 3);

    f.clear();
    f.item(i).opacity = 0;
    f.place(i);
    f.draw(i);
    EXPECT_TRUE(f.ink().isNull());
    EXPECT_GT(f.item(i).textWidthPx, 0);
}

TEST(DrawingAnItem, drawsBoldItalicWithTheWeightAndSlantAsked) {
    DrawingFixture f(1200, 800);
    const int plain = f.addItem("IIIIIIII");
    f.item(plain).color = 0;
    f.place(plain);
    f.draw(plain);
    const double plainShare = darkShare(f.image(), f.ink(), 128);

    f.clear();
    f.item(plain).fontStyle = ImprintItem::kItalicFlag + 700;
    EXPECT_EQ(f.item(plain).weight(), 700);
    EXPECT_TRUE(f.item(plain).isItalic());
    f.place(plain);
    f.draw(plain);
    const QRect italicInk = f.ink();
    EXPECT_GT(darkShare(f.image(), italicInk, 128), plainShare * 1.2); // bolder strokes
    // slanted strokes: the ink of the bottom row starts left of the top row's
    int topLeft = -1, bottomLeft = -1;
    for (int x = italicInk.left(); x <= italicInk.right() && (topLeft < 0 || bottomLeft < 0); ++x) {
        if (topLeft < 0 && qGreen(f.image().pixel(x, italicInk.top() + 2)) < 128) topLeft = x;
        if (bottomLeft < 0 && qGreen(f.image().pixel(x, italicInk.bottom() - 2)) < 128) bottomLeft = x;
    }
    EXPECT_LT(bottomLeft, topLeft);
}

TEST(DrawingAnItem, showsDatesInThePicturesFormatWithLabelAndUnit) {
    setenv("TZ", "UTC0", 1);
    tzset();
    DrawingFixture f(1200, 800);
    const int i = f.addItem("2001:06:21 14:38:56");
    f.item(i).tag = kTagDateTimeOriginal;
    f.item(i).label = "Taken ";
    f.item(i).unit = " UTC";
    f.model.dateFormat = "%Y";
    f.place(i);
    const int shortWidth = f.item(i).textWidthPx;
    f.model.dateFormat = "%A, %B %d, %Y : %I:%M:%S %p";
    f.place(i);
    EXPECT_GT(f.item(i).textWidthPx, shortWidth * 2);
    EXPECT_EQ(f.item(i).valueText, "2001:06:21 14:38:56");
}

TEST(DrawingAnItem, leavesOutABadDateButDrawsTheOthersAndReportsItOnce) {
    DrawingFixture f(1200, 800);
    const int bad = f.addItem("0000:00:00 00:00:00", 2);
    f.item(bad).tag = kTagDateTime;
    f.item(bad).displayName = "Date Time";
    const int good = f.addItem("Nikon", 0);
    f.item(bad).textWidthPx = 77;

    for (int round = 0; round < 2; ++round) {
        f.clear();
        for (int i : {bad, good})
            f.place(i), f.draw(i);
    }
    EXPECT_FALSE(f.ink().isNull());
    EXPECT_GT(f.ink().top(), 400); // only the bottom item has ink
    EXPECT_EQ(f.item(bad).textWidthPx, 77);
    const auto problem = f.model.TakeDateProblem();
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("Date Time"), std::string::npos);
    EXPECT_FALSE(f.model.TakeDateProblem().has_value());

    f.draw(bad); // the same picture and format again: nothing new
    EXPECT_FALSE(f.model.TakeDateProblem().has_value());
    f.model.dateFormat = "%x"; // another format: reported again
    f.draw(bad);
    EXPECT_TRUE(f.model.TakeDateProblem().has_value());
    ++f.model.pictureSerial; // another picture: reported again
    f.draw(bad);
    EXPECT_TRUE(f.model.TakeDateProblem().has_value());
}

// Not a check: renders every anchor and a turned item, for a person to look at, when
// IMPRIX_SNAPSHOT_DIR names a folder.
TEST(DrawingAnItem, snapshotOfEveryAnchor) {
    const QByteArray dir = qgetenv("IMPRIX_SNAPSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set IMPRIX_SNAPSHOT_DIR to write the snapshot";
    for (const auto& [width, height] : {std::pair{1500, 1000}, std::pair{1000, 1500}}) {
        DrawingFixture f(width, height);
        static const char* kNames[] = {"Rel: Bottom Left", "Rel: Bottom Right",   "Rel: Top Left",
                                       "Rel: Top Right",   "Lndscp: Bottom Left", "Lndscp: Bottom Right",
                                       "Lndscp: Top Left", "Lndscp: Top Right"};
        for (int a = 0; a < 8; ++a) {
            const int i = f.addItem(kNames[a], a);
            f.item(i).color = a < 4 ? 0x0000C0 : 0xC06000;
            f.item(i).offsetX = a < 4 ? 12 : 60;
            f.item(i).offsetY = a < 4 ? 12 : 60;
        }
        const int turned = f.addItem("Turned 30 degrees", 2);
        f.item(turned).anchorAngle = 30;
        f.item(turned).offsetX = 150;
        f.item(turned).offsetY = 100;
        f.item(turned).fontStyle = 700;
        for (int i = 0; i < f.model.itemCount; ++i)
            f.place(i);
        for (int i = 0; i < f.model.itemCount; ++i)
            f.draw(i);
        f.image().save(QDir(QString::fromUtf8(dir))
                           .filePath(QStringLiteral("anchors-%1x%2.png").arg(width).arg(height)));
    }
}
