// The picture view driven as the user drives it: synthetic mouse, wheel and key events, and what
// it paints.

#include "view/PictureView.h"
#include "compose/ComposeFixture.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace {

// A picture with detail everywhere, so pixels scaled from the wrong place show.
QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb(x % 256, y % 256, (x * 7 + y * 3) % 256);
    }
    return image;
}

class ViewOnPicture : public ::testing::Test {
protected:
    explicit ViewOnPicture(int width = 1600, int height = 1000) : f(width, height, QColor(0, 0, 200)) {}

    int addLabel(const std::string& name, int anchor, int angle = 0) {
        const int i = ComposeFixture::addItem(f.templ, kTagLabel, name, 1);
        ImprintItem& it = f.templ.item(i);
        it.label = name + " 2001:06:21";
        it.anchor = anchor;
        it.anchorAngle = angle;
        it.fontSize = 16;
        it.color = 0x00FFFF; // yellow
        return i;
    }

    // Shows `v` with a viewport of the given size and the composed picture attached.
    void showView(CPictureView& v, QSize client = QSize(800, 500)) {
        const int frame = v.frameWidth();
        v.resize(client + QSize(2 * frame, 2 * frame));
        v.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
        ASSERT_EQ(v.viewport()->size(), client);
        v.AttachPicture(&f.picture);
    }

    QImage painted(CPictureView& v) {
        return v.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The view pixel of a picture pixel.
    QPoint viewPoint(const CPictureView& v, int x, int y) {
        return v.geometry().viewFromPicture(QPointF(x, y)).toPoint();
    }

    void wheel(CPictureView& v, QPoint angleDelta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF at(100, 100);
        QWheelEvent event(at, v.viewport()->mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(v.viewport(), &event);
    }

    ComposeFixture f;
    CPictureView view;
};

class SmallPicture : public ViewOnPicture {
protected:
    SmallPicture() : ViewOnPicture(400, 200) {}
};

class LargePicture : public ViewOnPicture {
protected:
    LargePicture() : ViewOnPicture(3200, 2000) {}
};

} // namespace

TEST(PictureView, paintsItsBackgroundWithAStartHintAndIgnoresZoomsBeforeAPicture) {
    CPictureView view;
    view.resize(300, 200);
    view.setBackColor(0x0000FF); // red, as a Windows colour value
    view.ZoomBy(1.25f);
    view.SetZoom(1.0f);
    view.ZoomToFit();
    EXPECT_FLOAT_EQ(view.geometry().zoom(), 1.0f);
    const QImage image = view.grab().toImage();
    EXPECT_TRUE(pixelNear(image, 20, 20, QColor(255, 0, 0), 0));
    EXPECT_TRUE(pixelNear(image, image.width() - 20, image.height() - 20, QColor(255, 0, 0), 0));
    int hint = 0; // the "Open a photo" text in the middle band
    for (int x = 0; x < image.width(); ++x)
        for (int y = image.height() / 3; y < image.height() * 2 / 3; ++y)
            hint += !pixelNear(image, x, y, QColor(255, 0, 0), 40);
    EXPECT_GT(hint, 50);
}

TEST_F(SmallPicture, isFittedCentredWithMarginsAndNoScrollBars) {
    f.applyAndRender();
    view.setBackColor(0x00FF00); // green
    showView(view, QSize(800, 600));
    EXPECT_FLOAT_EQ(view.geometry().zoom(), 2.0f);
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());

    const QImage image = painted(view);
    EXPECT_TRUE(pixelNear(image, 400, 99, QColor(0, 255, 0), 0)); // margin above
    EXPECT_TRUE(pixelNear(image, 400, 100, QColor(0, 0, 200), 0));
    EXPECT_TRUE(pixelNear(image, 400, 499, QColor(0, 0, 200), 0));
    EXPECT_TRUE(pixelNear(image, 400, 500, QColor(0, 255, 0), 0)); // margin below
}

TEST_F(LargePicture, zoomsInWithScrollBarsThatStepByLinesAndPagesUpToTheLastPage) {
    f.applyAndRender();
    showView(view);
    const float fit = view.geometry().zoom();
    view.SetZoom(1.0f);
    EXPECT_FLOAT_EQ(view.geometry().zoom(), 1.0f);
    QScrollBar* bar = view.horizontalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    ASSERT_TRUE(view.verticalScrollBar()->isVisible());
    const int page = bar->pageStep();
    EXPECT_EQ(page, view.viewport()->width() * 1000 / 3200);
    EXPECT_EQ(bar->maximum(), 1000 - page);

    const int start = bar->value();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), start + 50);
    EXPECT_NEAR(view.geometry().sourceRect().x(), (start + 50) * 3.2, 0.01);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), start - 150);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 1000 - page);
    EXPECT_LE(view.geometry().sourceRect().right(), 3200.0);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(view.geometry().sourceRect().x(), 0.0);

    view.ZoomToFit(); // as large as the view without its scroll bars allows
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FLOAT_EQ(view.geometry().zoom(), fit);
    EXPECT_EQ(view.viewport()->size(), QSize(800, 500));
}

TEST_F(LargePicture, wheelScrollsDownTowardTheUserAndLeftWithShift) {
    f.applyAndRender();
    showView(view);
    view.SetZoom(1.0f);
    QScrollBar* across = view.horizontalScrollBar();
    QScrollBar* down = view.verticalScrollBar();
    const int x = across->value(), y = down->value();

    wheel(view, QPoint(0, -120));
    EXPECT_EQ(down->value(), y + 50);
    EXPECT_EQ(view.geometry().scrollBar(Qt::Vertical).position, y + 50);
    wheel(view, QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_EQ(across->value(), x - 50);
    EXPECT_EQ(down->value(), y + 50);

    wheel(view, QPoint(0, -60)); // a fine-resolution wheel's step
    EXPECT_EQ(down->value(), y + 50);
}

TEST_F(ViewOnPicture, dragsAnItemTwiceTheMouseAtHalfZoomAndTellsTheFormatBarAndTheWindow) {
    const int index = addLabel("Dragged", 2);
    f.applyAndRender();
    showView(view);
    ASSERT_FLOAT_EQ(view.geometry().zoom(), 0.5f);
    QSignalSpy shown(&view, &CPictureView::showItem);
    QSignalSpy changed(&view, &CPictureView::formatChanged);

    const ImprintItem& it = f.picture.item(index);
    const int x0 = it.posX, y0 = it.posY;
    const QPoint press = viewPoint(view, x0 + 20, y0 + 10);
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, press);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toInt(), index);
    EXPECT_EQ(view.selectedIndex(), index);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::ClosedHandCursor);

    QTest::mouseMove(view.viewport(), press + QPoint(10, 0));
    EXPECT_EQ(it.posX, x0 + 20);
    EXPECT_EQ(it.posY, y0);
    EXPECT_EQ(changed.count(), 0); // told once the button is let go
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, press + QPoint(10, 0));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(f.picture.modified, 1);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ViewOnPicture, keysMoveTheSelectedItemByTheRepeatCountAndDeleteHidesIt) {
    const int index = addLabel("Nudged", 2);
    f.applyAndRender();
    showView(view);
    view.SelectItem(index);
    QSignalSpy shown(&view, &CPictureView::showItem);
    QSignalSpy changed(&view, &CPictureView::formatChanged);
    const int x0 = f.picture.item(index).posX;

    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), true, 3);
    QApplication::sendEvent(&view, &right);
    EXPECT_TRUE(right.isAccepted());
    EXPECT_EQ(f.picture.item(index).posX, x0 + 3);
    EXPECT_EQ(changed.count(), 1);

    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(f.picture.item(index).visible, 0);
    EXPECT_EQ(view.selectedIndex(), index);
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(shown.at(0).at(0).toInt(), index);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(ViewOnPicture, aDragRepaintsOnlyWhatChangedWithThePixelsOfAWholeRepaint) {
    f.setPicture(gradient(1600, 1000));
    QImage mark(160, 60, QImage::Format_ARGB32_Premultiplied);
    mark.fill(QColor(250, 220, 0, 180));
    f.writeOverlay("mark.png", mark);
    f.templateWatermark("mark.png", 150);
    const int dragged = addLabel("Dragged", 2, 10);
    addLabel("Below", 0);
    addLabel("Turned", 3, 300);
    f.applyAndRender();
    showView(view);
    view.ZoomBy(1.25f); // a fractional zoom, scrolled: no pixel lines up by chance
    view.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    painted(view);

    const ImprintItem& it = f.picture.item(dragged);
    QPoint at = viewPoint(view, it.posX + 5, it.posY + 5);
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    for (const QPoint step : {QPoint(7, 3), QPoint(30, 41), QPoint(-12, 5)}) {
        at += step;
        QTest::mouseMove(view.viewport(), at);
        painted(view);
    }
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    painted(view);
    EXPECT_EQ(view.rowsScaledByLastPaint(), 0); // nothing changed since the last paint

    f.picture.item(dragged).color = 0x0000FF; // as the format bar writes it
    view.Redraw();
    const QImage afterDrag = painted(view);
    EXPECT_GT(view.rowsScaledByLastPaint(), 0);

    QTest::keyClick(&view, Qt::Key_Down);
    painted(view);
    EXPECT_GT(view.rowsScaledByLastPaint(), 0);
    EXPECT_LT(view.rowsScaledByLastPaint(), view.viewport()->height() * view.devicePixelRatioF() / 3);
    QTest::keyClick(&view, Qt::Key_Up);
    const QImage nudgedBack = painted(view);
    EXPECT_EQ(firstDifference(nudgedBack, afterDrag), "");

    // A fresh view renders and scales everything.
    CPictureView fresh;
    showView(fresh);
    fresh.ZoomBy(1.25f);
    fresh.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    fresh.SelectItem(dragged);
    ASSERT_EQ(fresh.geometry().sourceRect(), view.geometry().sourceRect());
    EXPECT_EQ(firstDifference(painted(fresh), afterDrag), "");
}

TEST_F(ViewOnPicture, fitsAWorkPictureMadeAnewAtAnotherSizeWithoutBeingTold) {
    f.applyAndRender();
    showView(view);
    f.picture.workPicture = std::make_unique<imaging::Bitmap>(QImage(800, 800, QImage::Format_RGB32));
    painted(view);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.geometry().pictureBounds(), QRectF(0, 0, 800, 800));
    EXPECT_FLOAT_EQ(view.geometry().zoom(), 0.625f);
    const QImage image = painted(view);
    EXPECT_TRUE(pixelNear(image, 149, 250, Qt::white, 0)); // the margins of a square picture
    EXPECT_TRUE(pixelNear(image, 150, 250, QColor(0, 0, 200), 0));
    EXPECT_TRUE(pixelNear(image, 650, 250, Qt::white, 0));
}

class GuidedPicture : public ViewOnPicture {
protected:
    GuidedPicture() : ViewOnPicture(3000, 2400) {}
};

TEST_F(GuidedPicture, paintsPrintGuidesAndTheSelectedItemsFrameAndHandle) {
    f.setPicture([] {
        QImage white(3000, 2400, QImage::Format_RGB32);
        white.fill(Qt::white);
        return white;
    }());
    const int index = addLabel("Selected", 2);
    f.applyAndRender();
    showView(view, QSize(750, 600)); // zoom 0.25
    view.setPrintRatio(1.5);         // keeps height 2000: bands of 200 above and below
    view.SelectItem(index);

    const QImage image = painted(view);
    EXPECT_TRUE(pixelNear(image, 375, 25, QColor(132, 132, 132), 2)); // band: dark grey at half opacity
    EXPECT_TRUE(pixelNear(image, 375, 300, Qt::white, 0));
    const QRect handle = view.geometry().selectionRects(f.picture.item(index)).handleRect;
    EXPECT_EQ(QRect(f.picture.item(index).handleRect.x, f.picture.item(index).handleRect.y, 13, 13), handle);
    EXPECT_TRUE(pixelNear(image, handle.center().x(), handle.center().y(), QColor(255, 214, 0), 0));

    view.TogglePrintRatio(1.5);
    EXPECT_EQ(view.printRatio(), 0.0);
    f.picture.item(index).visible = 0; // a hidden selected item has no frame
    const QImage hidden = painted(view);
    EXPECT_TRUE(pixelNear(hidden, 375, 25, Qt::white, 0));
    EXPECT_TRUE(pixelNear(hidden, handle.center().x(), handle.center().y(), Qt::white, 0));
}

TEST_F(ViewOnPicture, reportsADateItCannotShowOnceAfterPaintingNotWhileItPaints) {
    const int date = ComposeFixture::addItem(f.picture, kTagDateTimeOriginal, "Date Taken");
    f.picture.item(date).valueText = "0000:00:00 00:00:00";
    ComposeFixture::addItem(f.templ, kTagDateTimeOriginal, "Date Taken", 1);
    f.applyAndRender();
    showView(view);
    QSignalSpy problems(&view, &CPictureView::dateProblem);

    painted(view);
    EXPECT_EQ(problems.count(), 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(problems.count(), 1);
    EXPECT_TRUE(problems.at(0).at(0).toString().contains("0000:00:00"))
        << problems.at(0).at(0).toString().toStdString();

    f.picture.item(date).posX += 5;
    painted(view);
    QCoreApplication::processEvents();
    EXPECT_EQ(problems.count(), 1);
}
