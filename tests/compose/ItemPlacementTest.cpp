#include "compose/DrawingFixture.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Placement {
    int width, height;
    int anchor;
    int anchorAngle;
};

std::string describe(const Placement& p) {
    return std::to_string(p.width) + "x" + std::to_string(p.height) + " anchor " + std::to_string(p.anchor) +
           " angle " + std::to_string(p.anchorAngle);
}

} // namespace

TEST(PlacingAnItem, putsTheDefaultItemAtItsDistancesFromTheBottomLeftCorner) {
    DrawingFixture f(3000, 2000);
    const int i = f.addItem("2001:06:21");
    f.place(i);
    const QRect box = f.box(i);
    // 42 and 24 points of a 6 x 4 inch print, 500 pixels to the inch
    EXPECT_EQ(box.left(), 291);
    EXPECT_NEAR(2000 - (box.top() + box.height()), 24.0 / 72 * 500, 1.0);
    EXPECT_EQ(f.item(i).angle, 0);
    EXPECT_GT(f.item(i).textWidthPx, 0);
    EXPECT_EQ(f.item(i).textHeightPt, static_cast<int>(f.item(i).textHeightPx / 3000.0 * 6 * 72));
}

TEST(PlacingAnItem, givesBackItsDistancesAfterStoringTheOffsets) {
    const Placement cases[] = {
        {3000, 2000, 0, 0},  {3000, 2000, 1, 0},  {3000, 2000, 2, 90},  {3000, 2000, 3, 300},
        {3000, 2000, 4, 0},  {3000, 2000, 5, 90}, {3000, 2000, 6, 300}, {3000, 2000, 7, 0},
        {2000, 3000, 0, 0},  {2000, 3000, 1, 90}, {2000, 3000, 2, 300}, {2000, 3000, 3, 0},
        {2000, 3000, 4, 0},  {2000, 3000, 5, 90}, {2000, 3000, 6, 300}, {2000, 3000, 7, 0},
        {1500, 1500, 6, 90}, // a square picture is wide
    };
    for (const Placement& p : cases) {
        for (int angle : {0, 90, 300}) {
            DrawingFixture f(p.width, p.height);
            const int i = f.addItem("Nikon D90 1/60 sec", p.anchor);
            ImprintItem& it = f.item(i);
            it.anchorAngle = angle;
            it.offsetX = 60;
            it.offsetY = 36;
            f.place(i);
            const int angleApplied = it.angle;
            f.model.StoreItemOffsets(i);
            const std::string what = describe({p.width, p.height, p.anchor, angle});
            EXPECT_NEAR(it.offsetX, 60, 1) << what; // truncation on the way there and back
            EXPECT_NEAR(it.offsetY, 36, 1) << what;
            EXPECT_EQ(it.anchorAngle, angle) << what;
            EXPECT_EQ(it.angle, angleApplied) << what;
        }
    }
}

TEST(PlacingAnItem, turnsLandscapeAnchorsOnTallPicturesOnly) {
    DrawingFixture tall(2000, 3000);
    const int t = tall.addItem("text", 4);
    tall.item(t).anchorAngle = 300;
    tall.place(t);
    EXPECT_EQ(tall.item(t).angle, 30); // 390 wrapped once

    DrawingFixture wide(3000, 2000);
    const int w = wide.addItem("text", 4);
    wide.item(w).anchorAngle = 300;
    wide.place(w);
    EXPECT_EQ(wide.item(w).angle, 300);

    tall.item(t).anchorAngle = 0;
    tall.place(t);
    EXPECT_EQ(tall.item(t).angle, 90);
    const QRect box = tall.box(t); // "Lndscp: Bottom Left": along the top of a tall picture, near the left
    EXPECT_EQ(box.left(), static_cast<int>(24.0 / 4 * 2000 / 72));
    EXPECT_NEAR(box.top(), 42.0 / 6 * 3000 / 72, 1.0);
}

TEST(PlacingAnItem, keepsTheOriginOnThePicture) {
    DrawingFixture f(3000, 2000);
    const int left = f.addItem("far left", 2);
    f.item(left).offsetX = -500;
    f.place(left);
    EXPECT_EQ(f.item(left).posX, 10 - f.item(left).bounds.x);

    const int right = f.addItem("far right", 0);
    f.item(right).offsetX = 600; // beyond the right edge of a 6-inch print
    f.place(right);
    EXPECT_EQ(f.item(right).posX, 3000 - f.item(right).bounds.width);

    const int below = f.addItem("below", 2);
    f.item(below).offsetY = 400;
    f.place(below);
    EXPECT_EQ(f.item(below).posY, 2000 - f.item(below).bounds.height);

    const int unknown = f.addItem("unknown anchor", 9);
    f.item(unknown).posX = 123;
    f.item(unknown).posY = 45;
    f.place(unknown);
    EXPECT_EQ(f.item(unknown).posX, 123);
    EXPECT_EQ(f.item(unknown).posY, 45);
}

TEST(TheBoundsOfAnItem, coverItsRotatedText) {
    ImprintItem it;
    it.textWidthPx = 200;
    it.textHeightPx = 50;
    CDatedPicture::ComputeItemBounds(it);
    // 0.017453 is a little less than a degree: sines of right angles stay below 1 and truncate
    EXPECT_EQ(it.bounds, (ItemRect{0, 0, 200, 49}));
    it.angle = 90; // the text runs down; its height lies to the left of the origin
    CDatedPicture::ComputeItemBounds(it);
    EXPECT_EQ(it.bounds, (ItemRect{-50, 0, 50, 199}));
    it.angle = 180;
    CDatedPicture::ComputeItemBounds(it);
    EXPECT_EQ(it.bounds.x, -199);
    EXPECT_EQ(it.bounds.y, -49);
    it.angle = 45;
    CDatedPicture::ComputeItemBounds(it);
    EXPECT_NEAR(it.bounds.width, (200 + 50) * 0.7071, 2);

    // A template may hold any angle, and a long label in a huge font measures wider than any picture:
    // the box saturates instead of overflowing.
    it.angle = std::numeric_limits<int>::min();
    it.textWidthPx = it.textHeightPx = std::numeric_limits<int>::max();
    CDatedPicture::ComputeItemBounds(it);
    EXPECT_GE(it.bounds.width, 0);
    EXPECT_GE(it.bounds.height, 0);
    it.angle = 135;
    CDatedPicture::ComputeItemBounds(it);
    EXPECT_EQ(it.bounds.width, std::numeric_limits<int>::max());
}

TEST(PlacingAnItem, leavesEverythingAsItWasWithoutAWorkPicture) {
    CDatedPicture model;
    model.AppendItem();
    model.item(0).posX = 5;
    imaging::Bitmap scratch(QImage(4, 4, QImage::Format_RGB32));
    imaging::Graphics g(scratch);
    model.PlaceItem(0, g);
    model.StoreItemOffsets(0);
    model.PlaceItem(7, g); // no such item
    EXPECT_EQ(model.item(0).posX, 5);
    EXPECT_EQ(model.item(0).offsetX, 42);
}
