#include "view/PrintGuides.h"

#include <gtest/gtest.h>

TEST(PrintGuides, markWhatA4x6PrintCutsOffAPicture) {
    // Exactly the print's aspect: nothing is cut.
    EXPECT_FALSE(PrintGuides::of(QSizeF(3000, 2000), 1.5));

    // Taller than the print: it keeps height 2000, bands of 200 above and below.
    const auto tall = PrintGuides::of(QSizeF(3000, 2400), 1.5);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->masks[0], QRectF(0, 0, 3000, 200));
    EXPECT_EQ(tall->masks[1], QRectF(0, 2200, 3000, 200));
    EXPECT_EQ(tall->lines[0], QLineF(0, 200, 3000, 200));
    EXPECT_EQ(tall->lines[1], QLineF(0, 2200, 3000, 2200));

    // The same picture upright: the print turns too (ratio 1 / 1.5), keeping width 2000.
    const auto upright = PrintGuides::of(QSizeF(2400, 3000), 1.5);
    ASSERT_TRUE(upright);
    EXPECT_NEAR(upright->masks[0].width(), 200, 1e-9);
    EXPECT_NEAR(upright->masks[1].x(), 2200, 1e-9);
    EXPECT_NEAR(upright->lines[0].x1(), 200, 1e-9);
    EXPECT_NEAR(upright->lines[1].x1(), 2200, 1e-9);
    EXPECT_EQ(upright->lines[1].y2(), 3000);
}

TEST(PrintGuides, followThePicturesOrientationWhateverWayTheRatioIsGiven) {
    const auto wide = PrintGuides::of(QSizeF(3000, 2000), 1.4); // 5x7 keeps 2800 of the width
    const auto inverted = PrintGuides::of(QSizeF(3000, 2000), 1 / 1.4);
    ASSERT_TRUE(wide && inverted);
    EXPECT_NEAR(wide->masks[0].width(), 100, 1e-9);
    EXPECT_NEAR(inverted->masks[0].width(), 100, 1e-9);
}

TEST(PrintGuides, areOffForNoRatioNoPictureOrABandUnderAPixel) {
    EXPECT_FALSE(PrintGuides::of(QSizeF(3000, 2400), 0.0));
    EXPECT_FALSE(PrintGuides::of(QSizeF(3000, 2400), 0.09));
    EXPECT_FALSE(PrintGuides::of(QSizeF(0, 0), 1.5));
    EXPECT_FALSE(PrintGuides::of(QSizeF(3000, 2001), 1.5)); // band of half a pixel
    EXPECT_TRUE(PrintGuides::of(QSizeF(3000, 2002), 1.5));
}
