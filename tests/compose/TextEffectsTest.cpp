// Outline, shadow and box of an item's text, automatic colour and lines of text.

#include "compose/DrawingFixture.h"

#include <gtest/gtest.h>

namespace {

TextEffects everyEffect() {
    TextEffects e;
    e.outline = e.shadow = e.box = e.boxRounded = true;
    e.outlineWidthPt = 1.5f;
    e.shadowOffsetPt = 2.0f;
    e.shadowSoftnessPt = 1.5f;
    e.boxPaddingPt = 3.0f;
    e.boxColor = 0x303030;
    e.boxOpacity = 255;
    return e;
}

} // namespace

TEST(TextEffects, drawEveryInkInsideTheMeasuredBoxWhichHoldsThemAtEveryAngle) {
    for (const int angle : {0, 90, 30}) {
        SCOPED_TRACE(angle);
        DrawingFixture f(3000, 2000);
        const int plain = f.addItem("2001:06:21", 2);
        f.item(plain).anchorAngle = angle;
        f.item(plain).offsetX = f.item(plain).offsetY = 150;
        f.place(plain);
        const int plainWidth = f.item(plain).textWidthPx, plainHeight = f.item(plain).textHeightPx;

        f.item(plain).effects = everyEffect();
        f.place(plain);
        f.draw(plain);
        const ImprintItem& it = f.item(plain);
        // 3 points of padding at 3000 pixels for 6 inches (6.94 pixels a point) on each side at least.
        EXPECT_GE(it.textWidthPx, plainWidth + 2 * 20);
        EXPECT_GE(it.textHeightPx, plainHeight + 2 * 20);
        const QRect ink = f.ink();
        ASSERT_FALSE(ink.isNull());
        EXPECT_TRUE(f.box(plain).adjusted(-3, -3, 3, 3).contains(ink))
            << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height()
            << " outside the box";
        EXPECT_TRUE(f.model.ItemCoverage(plain).contains(ink));
    }
}

TEST(TextEffects, chooseWhiteOnADarkPhotoAndBlackOnABrightOneWithTheOutlineInTheOther) {
    for (const QColor under : {QColor(20, 30, 40), QColor(230, 240, 220)}) {
        SCOPED_TRACE(under.name().toStdString());
        DrawingFixture f(1200, 800);
        QImage photo(1200, 800, QImage::Format_RGB32);
        photo.fill(under);
        f.model.picture = std::make_unique<imaging::Bitmap>(photo);
        f.model.workPicture = std::make_unique<imaging::Bitmap>(photo.copy());
        const int i = f.addItem("88888888");
        f.item(i).fontSize = 40;
        f.item(i).color = 0x0000FF; // a red the automatic colour overrides
        f.item(i).effects.autoColor = f.item(i).effects.outline = true;
        f.place(i);
        const bool dark = under.lightness() < 128;
        EXPECT_EQ(f.item(i).autoColor, dark ? kAutoWhite : kAutoBlack);
        f.draw(i);
        // The middle of a stroke of an 8 is text; next to it lies the outline.
        const QRect box = f.box(i);
        int text = 0, outline = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x) {
                const int g = qGray(f.image().pixel(x, y));
                text += dark ? g > 245 : g < 10;
                outline += dark ? g < 10 : g > 245;
            }
        EXPECT_GT(text, 200);
        EXPECT_GT(outline, 200);
        const QRgb red = qRgb(255, 0, 0);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                ASSERT_NE(f.image().pixel(x, y), red);
    }
}

TEST(TextEffects, lineBreaksMakeLinesAlignedToTheSideOfTheCorner) {
    DrawingFixture f(3000, 2000);
    const int left = f.addItem("", 0), right = f.addItem("", 1);
    for (const int i : {left, right})
        f.item(i).label = "a long first line\nshort";
    f.place(left);
    f.place(right);
    const int single = [&] {
        DrawingFixture one(3000, 2000);
        const int i = one.addItem("a long first line");
        one.place(i);
        return one.item(i).textHeightPx;
    }();
    EXPECT_NEAR(f.item(left).textHeightPx, 2 * single, 1); // a line height of fractional pixels, truncated
    // The short line starts at the box's left for a left corner and ends at its right for a right one.
    const auto inkOfLowerHalf = [&](int i) {
        f.clear();
        f.draw(i);
        const QRect box = f.box(i);
        QRect ink;
        for (int y = box.center().y() + 4; y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if ((f.image().pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ink |= QRect(x, y, 1, 1);
        return std::make_pair(ink, box);
    };
    const auto [leftInk, leftBox] = inkOfLowerHalf(left);
    const auto [rightInk, rightBox] = inkOfLowerHalf(right);
    EXPECT_LT(leftInk.left() - leftBox.left(), 20);
    EXPECT_GT(leftBox.right() - leftInk.right(), leftBox.width() / 3);
    EXPECT_LT(rightBox.right() - rightInk.right(), 20);
    EXPECT_GT(rightInk.left() - rightBox.left(), rightBox.width() / 3);
}
