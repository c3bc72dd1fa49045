#include "formatbar/AnchorCombo.h"
#include "formatbar/FontCatalogue.h"
#include "formatbar/FontCombo.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// One row of a combo painted on white, unselected.
QImage paintedRow(const CPictureCombo& combo, int row, int width = 160) {
    QImage image(width, combo.rowHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    combo.paintRow(painter, image.rect(), row, CPictureCombo::RowLook::InList);
    return image;
}

bool isInk(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 200;
}

// The leftmost column holding ink at or right of `from`, or -1.
int firstInkColumn(const QImage& image, int from) {
    for (int x = from; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (isInk(image, x, y)) return x;
    return -1;
}

bool hasInkBetween(const QImage& image, int left, int right) {
    for (int x = left; x < right; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (isInk(image, x, y)) return true;
    return false;
}

// The bounding box of the text block (the darkest pixels) of an anchor picture within a part of it.
QRect blockWithin(const QImage& picture, const QRect& part) {
    QRect box;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255 && qGray(picture.pixel(x, y)) < 50)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(AFontCombo, marksOutlineFacesAndStartsEveryNameAtTheSameX) {
    CFontCombo combo;
    combo.PrepareFontCombo(18, -1);
    combo.addItem("MMMM", kTrueTypeFontType);
    combo.addItem("MMMM", kRasterFontType);

    const QImage outline = paintedRow(combo, 0);
    const QImage fixed = paintedRow(combo, 1);
    EXPECT_TRUE(hasInkBetween(outline, 3, 3 + CFontCombo::kMarkSize));
    EXPECT_FALSE(hasInkBetween(fixed, 0, 18));
    const int textX = firstInkColumn(fixed, 0);
    EXPECT_GE(textX, 18);
    EXPECT_EQ(firstInkColumn(outline, 3 + CFontCombo::kMarkSize + 1), textX);

    // Without marks asked for, no row makes room for one.
    combo.PrepareFontCombo(18, kRasterFontType);
    const QImage unmarked = paintedRow(combo, 0);
    EXPECT_FALSE(hasInkBetween(unmarked, 0, 3));
    EXPECT_LT(firstInkColumn(unmarked, 0), textX);
}

TEST(AnAnchorCombo, drawsTheBlockInTheAnchoredCornerOfBothFrames) {
    // Left and right halves of each frame of the 27 x 12 picture.
    const QRect landscape(0, 0, 17, 12), portrait(18, 0, 9, 12);
    struct Row {
        int code;
        bool top, left;         // corner on the wide frame
        bool tallTop, tallLeft; // corner on the tall frame
        bool turned;            // block runs along the side of the tall frame
    };
    const Row rows[] = {
        {0, false, true, false, true, false}, // Rel: Bottom Left
        {1, false, false, false, false, false},
        {2, true, true, true, true, false},
        {3, true, false, true, false, false},
        {4, false, true, true, true, true},   // Lndscp: Bottom Left: the tall picture's top left
        {5, false, false, false, true, true}, // Lndscp: Bottom Right: its bottom left
        {6, true, true, true, false, true},   // Lndscp: Top Left: its top right
        {7, true, false, false, false, true}, // Lndscp: Top Right: its bottom right
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const QImage picture = CAnchorCombo::anchorPicture(row.code);
        ASSERT_EQ(picture.size(), QSize(27, 12));
        const QRect wide = blockWithin(picture, landscape);
        const QRect tall = blockWithin(picture, portrait);
        ASSERT_FALSE(wide.isEmpty());
        ASSERT_FALSE(tall.isEmpty());
        EXPECT_EQ(wide.center().y() < landscape.center().y(), row.top);
        EXPECT_EQ(wide.center().x() < landscape.center().x(), row.left);
        EXPECT_GT(wide.width(), wide.height());
        EXPECT_EQ(tall.center().y() < portrait.center().y(), row.tallTop);
        EXPECT_EQ(tall.center().x() < portrait.center().x(), row.tallLeft);
        EXPECT_EQ(tall.height() > tall.width(), row.turned);
    }
}

TEST(AnAnchorCombo, drawsItsPicturesAtTheScreensPixelDensity) {
    const QImage sharp = CAnchorCombo::anchorPicture(3, 2.0);
    EXPECT_EQ(sharp.size(), QSize(54, 24));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(27, 12));
    // The frame's outline, one picture pixel wide, covers exactly two device pixels with no blur.
    const int outline = qGray(sharp.pixel(0, 12));
    EXPECT_EQ(qGray(sharp.pixel(1, 12)), outline);
    EXPECT_LT(outline, 128);
    EXPECT_GT(qGray(sharp.pixel(2, 12)), 200);
}
