#include "compose/ComposeFixture.h"

namespace {

constexpr std::uint32_t kMake = 0x010f;
constexpr std::uint32_t kExposureTime = 0x829a;

} // namespace

TEST(ApplyingATemplate, formatsThePicturesItemsByTagAndSkipsTagsThePictureLacks) {
    ComposeFixture f(3000, 2000);
    const int date = ComposeFixture::addItem(f.picture, kTagDateTimeOriginal, "Date Time Original");
    f.picture.item(date).valueText = "2001:06:21 14:38:56";
    const int exposure = ComposeFixture::addItem(f.templ, kExposureTime, "Exposure Time", 1);
    f.templ.item(exposure).label = "never shown";
    const int templDate = ComposeFixture::addItem(f.templ, kTagDateTimeOriginal, "Date", 1);
    ImprintItem& format = f.templ.item(templDate);
    format.anchor = 3;
    format.label = "Taken ";
    format.fontSize = 20;
    format.displayName = "not copied";

    f.applyAndRender();
    EXPECT_EQ(f.picture.itemCount, 1);
    const ImprintItem& it = f.picture.item(date);
    EXPECT_EQ(it.visible, 1);
    EXPECT_EQ(it.anchor, 3);
    EXPECT_EQ(it.label, "Taken ");
    EXPECT_EQ(it.fontSize, 20);
    EXPECT_EQ(it.displayName, "Date Time Original");
    EXPECT_EQ(it.valueText, "2001:06:21 14:38:56");
    // Placed at the top right: 42 by 24 points of a 6 by 4 inch print are 291 by 166 pixels.
    EXPECT_NEAR(it.posX + it.bounds.x + it.bounds.width, 3000 - 291, 1);
    EXPECT_NEAR(it.posY + it.bounds.y, 166, 1);
    EXPECT_TRUE(f.user.shown.empty());
}

TEST(ApplyingATemplate, landsLabelsWithNamesEqualIgnoringCaseOnOneItem) {
    ComposeFixture f(300, 200);
    const int first = ComposeFixture::addItem(f.picture, kTagLabel, "note");
    const int second = ComposeFixture::addItem(f.picture, kTagLabel, "Note");
    f.templ.item(ComposeFixture::addItem(f.templ, kTagLabel, "NOTE", 1)).label = "one";
    f.templ.item(ComposeFixture::addItem(f.templ, kTagLabel, "nOtE", 1)).label = "two";
    f.templ.item(ComposeFixture::addItem(f.templ, kTagLabel, "Elsewhere", 1)).label = "three";

    f.applyAndRender();
    ASSERT_EQ(f.picture.itemCount, 3);
    EXPECT_EQ(f.picture.item(first).visible, 1);
    EXPECT_EQ(f.picture.item(first).label, "two"); // the later template label overwrote the first
    EXPECT_EQ(f.picture.item(second).visible, 0);
    EXPECT_EQ(f.picture.item(2).displayName, "Elsewhere"); // a label the picture lacks is added
    EXPECT_EQ(f.picture.item(2).label, "three");
    EXPECT_EQ(f.picture.item(2).visible, 1);
}

TEST(ApplyingATemplate, hidesItemsNotInItAtTheTopLeftDefaultPlace) {
    ComposeFixture f(300, 200);
    const int make = ComposeFixture::addItem(f.picture, kMake, "Make", 1);
    ImprintItem& it = f.picture.item(make);
    it.posX = 150, it.posY = 40, it.anchor = 5;
    ComposeFixture::addItem(f.templ, kMake, "Make", 0); // in the template, but not shown

    f.applyAndRender();
    EXPECT_EQ(it.visible, 0);
    EXPECT_EQ(it.posX, 72);
    EXPECT_EQ(it.posY, 72);
    EXPECT_EQ(it.anchor, 2);
}

TEST(ApplyingATemplate, keepsTheOutputFolderInUseWhenTheTemplateHasNone) {
    for (const std::string folder : {"", "/tmp/dated"}) {
        ComposeFixture f(300, 200);
        f.picture.outputDir = "/home/me/out";
        f.templ.outputDir = folder;
        f.applyAndRender();
        EXPECT_EQ(f.picture.outputDir, folder.empty() ? "/home/me/out" : folder);
    }
}

TEST(ApplyingATemplate, ofThePicturesOwnModelKeepsItsItemsShown) {
    ComposeFixture f(300, 200);
    const int make = ComposeFixture::addItem(f.picture, kMake, "Make", 1);
    f.picture.item(make).label = "By ";
    f.picture.ApplyTemplate(f.picture, f.user);
    EXPECT_EQ(f.picture.item(make).visible, 1);
    EXPECT_EQ(f.picture.item(make).label, "By ");
    ASSERT_TRUE(f.picture.workPicture);
}

TEST(ApplyingATemplate, survivesHostileValuesAndAMissingPicture) {
    ComposeFixture f(600, 400);
    f.writeOverlay("mark.png", QImage(40, 20, QImage::Format_ARGB32_Premultiplied));
    f.writeOverlay("frame.png", QImage(30, 20, QImage::Format_RGB32));
    f.templ.borderPath = "frame.png";
    f.templ.borderOpacity = -3;
    const int mark = f.templateWatermark("mark.png", 100000);
    f.templ.item(mark).anchorAngle = -400;
    const int label = ComposeFixture::addItem(f.templ, kTagLabel, "Huge", 1);
    ImprintItem& huge = f.templ.item(label);
    huge.label = "Wide text";
    huge.fontSize = 1'000'000'000;
    huge.opacity = -5;
    huge.offsetX = std::numeric_limits<int>::max();
    huge.anchor = 7;
    huge.anchorAngle = 100000;
    const int odd = ComposeFixture::addItem(f.templ, kTagLabel, "Odd", 1);
    f.templ.item(odd).anchor = 99;
    f.templ.item(odd).fontStyle = -1;

    f.applyAndRender();
    ASSERT_TRUE(f.picture.workPicture);
    for (int i = 0; i < f.picture.itemCount; ++i) {
        const QRect area = f.picture.ItemCoverage(i);
        EXPECT_TRUE(area.isEmpty() || QRect(0, 0, 600, 400).contains(area)) << i;
        f.picture.RenderDatedImage(QRegion(area));
    }

    f.picture.picture.reset(); // nothing loaded: nothing to build, nothing to paint
    f.picture.ApplyTemplate(f.templ, f.user);
    EXPECT_FALSE(f.picture.workPicture);
    f.picture.RenderDatedImage();
}
