#include "view/ItemDragger.h"
#include "model/DatedPicture.h"
#include "view/ViewGeometry.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A picture with measured items, shown in an 800 x 500 view. Items are set by hand: the dragger
// uses only their place, size and angle.
class Dragging : public ::testing::Test {
protected:
    void show(int width, int height) {
        picture.workPicture = std::make_unique<imaging::Bitmap>(QImage(width, height, QImage::Format_RGB32));
        geometry.setPictureSize(QSizeF(width, height));
        geometry.ZoomToFit(QSize(800, 500));
        dragger.setPicture(&picture);
    }

    int addItem(int x, int y, int width, int height, int angle = 0) {
        EXPECT_TRUE(picture.AppendItem());
        ImprintItem& it = picture.item(picture.itemCount - 1);
        it = ImprintItem();
        it.visible = 1;
        it.posX = x;
        it.posY = y;
        it.textWidthPx = width;
        it.textHeightPx = height;
        it.angle = angle;
        return picture.itemCount - 1;
    }

    int hit(int x, int y) {
        QPoint grab;
        return dragger.HitTest(QPoint(x, y), &grab, nullptr);
    }

    // The middle of the selected item's rotate handle, view pixels.
    QPoint handleOf(int index) { return geometry.selectionRects(picture.item(index)).handleRect.center(); }

    CDatedPicture picture;
    ViewGeometry geometry;
    ItemDragger dragger{geometry};
};

} // namespace

TEST_F(Dragging, hitsATextFromItsOriginToItsLastPixel) {
    show(800, 500); // zoom 1: view pixels are picture pixels
    addItem(100, 100, 200, 40);
    EXPECT_EQ(hit(100, 100), 0); // the origin
    EXPECT_EQ(hit(299, 139), 0); // the last pixel
    EXPECT_EQ(hit(300, 100), -1);
    EXPECT_EQ(hit(301, 100), -1); // one right of origin + width
    EXPECT_EQ(hit(99, 100), -1);
    // Below, the degree factors 57.2958 and 0.017453 turn the point back a hair short of its angle,
    // which pulls the row just under the text inside.
    EXPECT_EQ(hit(100, 140), 0);
    EXPECT_EQ(hit(100, 141), -1);
}

TEST_F(Dragging, hitsATurnedTextWhereItIsDrawn) {
    show(800, 500);
    addItem(400, 100, 200, 40, 90); // runs down from its origin, leaning left
    EXPECT_EQ(hit(395, 150), 0);    // below the origin
    EXPECT_EQ(hit(450, 105), -1);   // where the level text would be
}

TEST_F(Dragging, hitsTheFirstOfOverlappingItemsAndNeverAHiddenOne) {
    show(800, 500);
    addItem(100, 100, 200, 40);
    addItem(150, 110, 200, 40);
    EXPECT_EQ(hit(160, 120), 0);
    picture.item(0).visible = 0;
    EXPECT_EQ(hit(160, 120), 1);
    EXPECT_EQ(hit(110, 105), -1);
}

TEST_F(Dragging, movesTheItemTwiceTheMouseAtHalfZoomKeepingTheGrabOffset) {
    show(1600, 1000); // zoom 0.5
    const int i = addItem(100, 100, 200, 40);
    const DragOutcome pressed = dragger.press(QPoint(60, 55)); // picture (120, 110)
    EXPECT_EQ(pressed.cursor, ViewCursor::Fist);
    EXPECT_EQ(pressed.showItem, i);
    EXPECT_EQ(dragger.selectedIndex(), i);

    dragger.move(QPoint(70, 55), true, false);
    EXPECT_EQ(picture.item(i).posX, 120);
    EXPECT_EQ(picture.item(i).posY, 100);
    dragger.move(QPoint(65, 45), true, false);
    EXPECT_EQ(picture.item(i).posX, 110);
    EXPECT_EQ(picture.item(i).posY, 80);
    EXPECT_EQ(picture.modified, 1);

    const DragOutcome released = dragger.release(QPoint(65, 45));
    EXPECT_TRUE(released.formatChanged);
    EXPECT_TRUE(released.takeFocus);
    EXPECT_EQ(released.cursor, ViewCursor::PointingHand);
}

TEST_F(Dragging, turnsAboutTheOriginFromTheHandleAndSnapsWithCtrl) {
    show(800, 500);
    const int i = addItem(200, 200, 100, 20); // box (200, 200, 100, 20): handle (300, 187, 13, 13)
    dragger.select(i);
    const QPoint handle = handleOf(i);
    ASSERT_EQ(handle, QPoint(306, 193));

    const DragOutcome pressed = dragger.press(handle);
    EXPECT_TRUE(dragger.rotating());
    EXPECT_EQ(pressed.cursor, ViewCursor::Unchanged);
    EXPECT_EQ(picture.item(i).posX, 200); // the press does not move it

    // Seen from the origin the handle lies at 176 degrees, (297, 176) at 166: ten back.
    dragger.move(QPoint(297, 176), true, false);
    EXPECT_EQ(picture.item(i).angle, 350);
    dragger.move(QPoint(297, 176), true, true);
    EXPECT_EQ(picture.item(i).angle, 345);
    EXPECT_EQ(picture.item(i).posX, 200);

    dragger.release(QPoint(297, 176));
    EXPECT_FALSE(dragger.rotating());
}

TEST_F(Dragging, hitsTheHandleOnlyStrictlyInsideIt) {
    show(800, 500);
    const int i = addItem(200, 200, 100, 20);
    dragger.select(i);
    bool onHandle = false;
    QPoint grab;
    EXPECT_EQ(dragger.HitTest(QPoint(301, 188), &grab, &onHandle), i);
    EXPECT_TRUE(onHandle);
    EXPECT_EQ(dragger.HitTest(QPoint(300, 188), &grab, &onHandle), -1); // on its edge
    EXPECT_EQ(dragger.HitTest(QPoint(301, 188), &grab, nullptr), -1);   // handle not asked for
    picture.item(i).visible = 0;
    EXPECT_EQ(dragger.HitTest(QPoint(301, 188), &grab, &onHandle), -1); // hidden: no handle
}

TEST_F(Dragging, pansTheBarePictureAndClearsTheSelection) {
    show(1600, 1000);
    geometry.SetZoom(1.0f); // shows 800 x 500 from (400, 250)
    const int i = addItem(100, 100, 200, 40);
    dragger.select(i);

    const DragOutcome pressed = dragger.press(QPoint(700, 400));
    EXPECT_EQ(pressed.cursor, ViewCursor::ClosedHand);
    EXPECT_EQ(pressed.showItem, -1);
    EXPECT_EQ(dragger.selectedIndex(), -1);

    const DragOutcome moved = dragger.move(QPoint(650, 420), true, false);
    EXPECT_TRUE(moved.scrolled);
    EXPECT_NEAR(geometry.sourceRect().x(), 450, 1e-3);
    EXPECT_NEAR(geometry.sourceRect().y(), 230, 1e-3);
    EXPECT_EQ(picture.item(i).posX, 100);
    EXPECT_EQ(picture.modified, 0);
    EXPECT_FALSE(dragger.release(QPoint(650, 420)).formatChanged);
}

TEST_F(Dragging, ignoresADragThatBeganOutsideTheView) {
    show(800, 500);
    const int i = addItem(100, 100, 200, 40);
    dragger.select(i);
    const DragOutcome moved = dragger.move(QPoint(500, 300), true, false);
    EXPECT_FALSE(moved.repaint);
    EXPECT_EQ(picture.item(i).posX, 100);
    EXPECT_EQ(picture.modified, 0);
}

TEST_F(Dragging, setsThePointingHandOverTextAndTheOpenHandElsewhere) {
    show(800, 500);
    addItem(100, 100, 200, 40);
    EXPECT_EQ(dragger.move(QPoint(150, 110), false, false).cursor, ViewCursor::PointingHand);
    EXPECT_EQ(dragger.move(QPoint(500, 300), false, false).cursor, ViewCursor::OpenHand);
}

TEST_F(Dragging, releaseTellsOfAnEarlierChangeEvenWithoutANewOne) {
    show(800, 500);
    addItem(100, 100, 200, 40);
    picture.modified = 1; // changed before, in the format bar say
    dragger.press(QPoint(500, 300));
    EXPECT_TRUE(dragger.release(QPoint(500, 300)).formatChanged);
}

TEST_F(Dragging, keysNudgeBytheRepeatCountAndDeleteHidesKeepingTheSelection) {
    show(800, 500);
    const int i = addItem(100, 100, 200, 40);
    EXPECT_FALSE(dragger.key(ItemDragger::Key::Right, 3).handled); // nothing selected
    EXPECT_EQ(picture.item(i).posX, 100);

    dragger.select(i);
    const DragOutcome right = dragger.key(ItemDragger::Key::Right, 3);
    EXPECT_TRUE(right.handled);
    EXPECT_TRUE(right.formatChanged);
    EXPECT_EQ(picture.item(i).posX, 103);
    dragger.key(ItemDragger::Key::Left, 1);
    dragger.key(ItemDragger::Key::Down, 5);
    dragger.key(ItemDragger::Key::Up, 2);
    EXPECT_EQ(picture.item(i).posX, 102);
    EXPECT_EQ(picture.item(i).posY, 103);

    const DragOutcome deleted = dragger.key(ItemDragger::Key::Delete, 1);
    EXPECT_EQ(picture.item(i).visible, 0);
    EXPECT_EQ(deleted.showItem, i);
    EXPECT_TRUE(deleted.formatChanged);
    EXPECT_EQ(dragger.selectedIndex(), i);
}
