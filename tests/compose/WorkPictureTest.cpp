#include "compose/ComposeFixture.h"

#include <cmath>
#include <limits>

namespace {

struct WhiteSpaceCase {
    const char* what;
    int width, height;
    float aspectWidth, aspectHeight;
    int sideWide, sideTall, enabled;
    int workWidth, workHeight;
    float offsetX, offsetY;
};

} // namespace

TEST(BuildingTheWorkPicture, addsWhiteSpaceOnTheChosenSideUntilThePictureHasThePrintsShape) {
    const WhiteSpaceCase cases[] = {
        {"3:2 is already 6 by 4", 3000, 2000, 6, 4, 1, 1, 1, 3000, 2000, 0, 0},
        {"4:3, white on the right", 3000, 2250, 6, 4, 0, 1, 1, 3375, 2250, 0, 0},
        {"4:3, white on the left", 3000, 2250, 6, 4, 1, 0, 1, 3375, 2250, 375, 0},
        {"tall 3:4, white at the bottom", 2250, 3000, 4, 6, 1, 0, 1, 2250, 3375, 0, 0},
        {"tall 3:4, white at the top", 2250, 3000, 6, 4, 0, 1, 1, 2250, 3375, 0, 375},
        {"panorama gets height", 4000, 1000, 6, 4, 1, 0, 1, 4000, 2666, 0, 1666},
        {"a square counts as wide", 2000, 2000, 6, 4, 0, 0, 1, 3000, 2000, 0, 0},
        {"5 by 5 squares a wide one", 3000, 2000, 5, 5, 1, 0, 1, 3000, 3000, 0, 1000},
        {"5 by 5 squares a tall one", 2000, 3000, 5, 5, 0, 1, 1, 3000, 3000, 1000, 0},
        {"aspect changes off", 3000, 2250, 6, 4, 1, 1, 0, 3000, 2250, 0, 0},
    };
    for (const WhiteSpaceCase& c : cases) {
        ComposeFixture f(c.width, c.height);
        CDatedPicture& m = f.picture;
        m.aspectWidth = c.aspectWidth, m.aspectHeight = c.aspectHeight;
        m.whiteSideWide = c.sideWide, m.whiteSideTall = c.sideTall, m.aspectEnabled = c.enabled;
        m.BuildWorkPicture(f.user);
        ASSERT_TRUE(m.workPicture) << c.what;
        EXPECT_EQ(m.workPicture->width(), c.workWidth) << c.what;
        EXPECT_EQ(m.workPicture->height(), c.workHeight) << c.what;
        EXPECT_EQ(m.workPicture->pixelFormat(), QImage::Format_RGB32) << c.what;
        EXPECT_EQ(m.whiteOffsetX, c.offsetX) << c.what;
        EXPECT_EQ(m.whiteOffsetY, c.offsetY) << c.what;
        EXPECT_EQ(m.pictureWidth, c.width) << c.what;
        EXPECT_EQ(m.pictureHeight, c.height) << c.what;
        EXPECT_TRUE(f.user.shown.empty()) << c.what;
    }
}

TEST(RenderingWhiteSpace, fillsExactlyTheBandWithTheWhiteColour) {
    for (const int side : {1, 0}) {
        ComposeFixture f(3000, 2250, QColor(0, 0, 200));
        f.templ.aspectEnabled = 1;
        f.templ.whiteSideWide = side;
        f.templ.whiteColor = 0x00A0FF; // red 255, green 160, blue 0
        f.applyAndRender();
        ASSERT_EQ(f.work().size(), QSize(3375, 2250));
        const int bandFrom = side == 1 ? 0 : 3000, bandTo = side == 1 ? 375 : 3375;
        const auto everyPixel = [&]() -> ::testing::AssertionResult {
            for (int y = 0; y < 2250; ++y)
                for (int x = 0; x < 3375; ++x) {
                    const QColor want = x >= bandFrom && x < bandTo ? QColor(255, 160, 0) : QColor(0, 0, 200);
                    auto near = pixelNear(f.work(), x, y, want, 0); // fills and copies are exact
                    if (!near) return near;
                }
            return ::testing::AssertionSuccess();
        };
        EXPECT_TRUE(everyPixel()) << "white space on side " << side;
    }
}

TEST(BuildingTheWorkPicture, refusesAnImpossibleShapeOnceAndLeavesNoWorkPicture) {
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const std::pair<float, float> ratios[] = {
        {0, 4},     // a side of zero
        {-6, 4},    // a negative side
        {-6, -4},   // both negative: the ratio alone would look fine
        {nan, 4},   // unreadable
        {inf, 4},   // endless
        {60000, 1}, // a work picture too large to make
    };
    for (const auto& [w, h] : ratios) {
        ComposeFixture f(300, 200);
        f.templ.aspectEnabled = 1;
        f.templ.aspectWidth = w, f.templ.aspectHeight = h;
        ComposeFixture::addItem(f.picture, 0x010f, "Make");
        ComposeFixture::addItem(f.templ, 0x010f, "Make", 1);
        f.applyAndRender();
        EXPECT_EQ(f.user.texts(),
                  std::vector<std::string>{"Invalide Aspect Ratio.  Image could not be created."})
            << w << " by " << h;
        EXPECT_FALSE(f.picture.workPicture);
        EXPECT_TRUE(f.picture.ItemCoverage(0).isEmpty());
        f.picture.RenderDatedImage(QRegion(0, 0, 100, 100));
    }
}
