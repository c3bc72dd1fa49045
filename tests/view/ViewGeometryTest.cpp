#include "view/ViewGeometry.h"
#include "model/ImprintItem.h"

#include <gtest/gtest.h>

namespace {

using Request = ViewGeometry::ScrollRequest;

ViewGeometry fitted(QSizeF picturePx, QSize clientPx) {
    ViewGeometry g;
    g.setPictureSize(picturePx);
    g.ZoomToFit(clientPx);
    return g;
}

void expectRect(const QRectF& got, double x, double y, double w, double h) {
    EXPECT_NEAR(got.x(), x, 1e-3);
    EXPECT_NEAR(got.y(), y, 1e-3);
    EXPECT_NEAR(got.width(), w, 1e-3);
    EXPECT_NEAR(got.height(), h, 1e-3);
}

ImprintItem textItem(int x, int y, int width, int height, int angle = 0) {
    ImprintItem it;
    it.visible = 1;
    it.posX = x;
    it.posY = y;
    it.textWidthPx = width;
    it.textHeightPx = height;
    it.angle = angle;
    return it;
}

} // namespace

TEST(FittingThePicture, centresASmallPictureWithMarginsAndNoScrollBars) {
    const ViewGeometry wide = fitted(QSizeF(400, 200), QSize(800, 600));
    EXPECT_FLOAT_EQ(wide.zoom(), 2.0f);
    expectRect(wide.destRect(), 0, 100, 800, 400); // margins above and below
    expectRect(wide.sourceRect(), 0, 0, 400, 200);

    const ViewGeometry square = fitted(QSizeF(200, 200), QSize(800, 600));
    EXPECT_FLOAT_EQ(square.zoom(), 3.0f);
    expectRect(square.destRect(), 100, 0, 600, 600); // margins left and right

    for (const ViewGeometry* g : {&wide, &square}) {
        EXPECT_FALSE(g->scrollBar(Qt::Horizontal).shown);
        EXPECT_FALSE(g->scrollBar(Qt::Vertical).shown);
    }
}

TEST(FittingThePicture, fillsTheClientWithAPictureOfItsAspectAndSetsTheZoomLimits) {
    const ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    EXPECT_FLOAT_EQ(g.zoom(), 0.5f);
    expectRect(g.destRect(), 0, 0, 800, 500);
    EXPECT_FLOAT_EQ(g.minZoom(), 0.425f);
    EXPECT_FLOAT_EQ(g.maxZoom(), 16.0f);

    // A zoom that gives back the picture's width only up to rounding still shows it whole.
    const ViewGeometry odd = fitted(QSizeF(6000, 4000), QSize(1280, 800));
    EXPECT_FALSE(odd.scrollBar(Qt::Horizontal).shown);
    EXPECT_FALSE(odd.scrollBar(Qt::Vertical).shown);
}

TEST(Zooming, stepsBy125And08BetweenTheLimits) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    ASSERT_TRUE(g.ZoomBy(1.25f));
    EXPECT_FLOAT_EQ(g.zoom(), 0.625f);
    for (int i = 0; i < 30; ++i)
        g.ZoomBy(1.25f);
    EXPECT_FLOAT_EQ(g.zoom(), 16.0f);

    for (int i = 0; i < 40; ++i)
        g.ZoomBy(0.8f);
    EXPECT_FLOAT_EQ(g.zoom(), 0.425f); // 0.85 x the fit, not below

    EXPECT_FALSE(g.ZoomBy(0.05f)); // factors outside 0.1..10 are ignored
    EXPECT_FALSE(g.ZoomBy(11.0f));
    EXPECT_FLOAT_EQ(g.zoom(), 0.425f);
}

TEST(Zooming, actualSizeIsClampedToTheMinimumOfAPictureFittedLargerThanItIs) {
    ViewGeometry g = fitted(QSizeF(400, 250), QSize(800, 500)); // fit zoom 2
    ASSERT_TRUE(g.SetZoom(1.0f));
    EXPECT_FLOAT_EQ(g.zoom(), 1.7f);
}

TEST(Zooming, keepsTheMiddleOfWhatIsShownAndStaysInsideThePicture) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    g.SetZoom(1.0f);
    expectRect(g.sourceRect(), 400, 250, 800, 500);
    expectRect(g.destRect(), 0, 0, 800, 500);

    g.scrollTo(Qt::Horizontal, 500); // the right half
    g.SetZoom(0.8f);                 // a wider span would pass the right edge
    EXPECT_NEAR(g.sourceRect().x(), 600, 1e-3);
    EXPECT_NEAR(g.sourceRect().right(), 1600, 1e-3);
}

TEST(Scrolling, movesByLinesAndPagesInThousandthsWithinTheLastPage) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    g.SetZoom(1.0f); // shows 800 x 500 from (400, 250)
    const ViewGeometry::ScrollBar bar = g.scrollBar(Qt::Horizontal);
    EXPECT_TRUE(bar.shown);
    EXPECT_EQ(bar.page, 500);
    EXPECT_EQ(bar.position, 250);

    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::LineForward, 0), 300);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::LineBack, 0), 200);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::PageForward, 0), 450);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::PageBack, 0), 50);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::Thumb, 900), 500); // 1000 - page
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::Thumb, -5), 0);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::ToEnd, 0), 500);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::ToStart, 0), 0);
    EXPECT_EQ(g.scrollTarget(Qt::Horizontal, Request::Other, 0), 250);

    g.scrollTo(Qt::Horizontal, 300);
    EXPECT_NEAR(g.sourceRect().x(), 480, 1e-3); // 5 % of the picture is one line
}

TEST(Scrolling, neverShowsBeyondThePictureAtTheLastPosition) {
    ViewGeometry g = fitted(QSizeF(4000, 4000), QSize(1000, 1000));
    g.SetZoom(0.4f);                     // shows 2500: page 625
    g.LayoutToClient(QSize(1001, 1000)); // shows 2502.5: page still 625 after truncation
    const int last = g.scrollTarget(Qt::Horizontal, Request::ToEnd, 0);
    EXPECT_EQ(last, 375);
    g.scrollTo(Qt::Horizontal, last);
    EXPECT_LE(g.sourceRect().right(), 4000.0);
}

TEST(WheelScrolling, scrollsDownTowardTheUserLeftWithAModifierAndAddsUpSmallSteps) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    g.SetZoom(1.0f);
    const int x = g.scrollBar(Qt::Horizontal).position, y = g.scrollBar(Qt::Vertical).position;

    EXPECT_TRUE(g.wheel(-120, false));
    EXPECT_EQ(g.scrollBar(Qt::Vertical).position, y + 50);
    EXPECT_TRUE(g.wheel(240, false));
    EXPECT_EQ(g.scrollBar(Qt::Vertical).position, y - 50);

    EXPECT_TRUE(g.wheel(-120, true));
    EXPECT_EQ(g.scrollBar(Qt::Horizontal).position, x - 50);
    EXPECT_TRUE(g.wheel(120, true));
    EXPECT_EQ(g.scrollBar(Qt::Horizontal).position, x);

    EXPECT_TRUE(g.wheel(-1200, false)); // clamped notch by notch
    EXPECT_EQ(g.scrollBar(Qt::Vertical).position, 500);

    // Touchpads and fine-resolution wheels: small steps add up to a notch.
    EXPECT_TRUE(g.wheel(240, false));
    const QRectF before = g.sourceRect();
    EXPECT_FALSE(g.wheel(-60, false));
    EXPECT_FALSE(g.wheel(-59, false));
    EXPECT_EQ(g.sourceRect(), before);
    EXPECT_TRUE(g.wheel(-1, false));
    EXPECT_EQ(g.scrollBar(Qt::Vertical).position, 500 - 50);
    EXPECT_FALSE(g.wheel(60, false)); // the other way starts afresh
    EXPECT_FALSE(g.wheel(-60, false));
    g.ZoomToFit(QSize(800, 500));
    EXPECT_FALSE(g.wheel(-120, false)); // everything is shown
}

TEST(Panning, movesAgainstTheMouseWithinThePicture) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    g.SetZoom(2.0f); // shows 400 x 250 from (600, 375)
    g.PanBy(QPoint(100, 100), QPoint(80, 110));
    EXPECT_NEAR(g.sourceRect().x(), 610, 1e-3);
    EXPECT_NEAR(g.sourceRect().y(), 370, 1e-3);
    EXPECT_EQ(g.scrollBar(Qt::Horizontal).position, 381);

    g.PanBy(QPoint(0, 0), QPoint(5000, -5000));
    EXPECT_EQ(g.sourceRect().x(), 0);
    EXPECT_NEAR(g.sourceRect().y(), 750, 1e-3); // 1000 - 250
}

TEST(LayingOut, keepsTheOriginButNotPastTheEdgeWhenTheClientGrows) {
    ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    g.SetZoom(1.0f);
    g.scrollTo(Qt::Horizontal, 500); // origin 800, the right edge
    g.LayoutToClient(QSize(900, 500));
    expectRect(g.sourceRect(), 700, 250, 900, 500);
    g.LayoutToClient(QSize(2000, 1200)); // larger than the picture: centred again
    expectRect(g.sourceRect(), 0, 0, 1600, 1000);
    expectRect(g.destRect(), 200, 100, 1600, 1000);
}

TEST(Mapping, turnsPicturePixelsIntoViewPixelsAndBack) {
    ViewGeometry g = fitted(QSizeF(400, 200), QSize(800, 600)); // zoom 2, dest y 100
    EXPECT_EQ(g.viewFromPicture(QPointF(10, 20)), QPointF(20, 140));
    EXPECT_EQ(g.pictureFromView(QPointF(20, 140)), QPointF(10, 20));
    EXPECT_EQ(g.picturePixelAt(QPoint(21, 141)), QPoint(10, 20)); // truncated
    expectRect(g.viewRectOf(QRectF(0, 50, 400, 50)), 0, 200, 800, 100);
}

TEST(SelectionFrame, boxesTheTurnedTextWithTheHandleAtItsTopRight) {
    const ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500)); // zoom 0.5
    const auto level = g.selectionRects(textItem(100, 100, 200, 40));
    EXPECT_EQ(level.viewRect, QRect(50, 50, 100, 20));
    EXPECT_EQ(level.handleRect, QRect(150, 37, 13, 13));

    // Turned a quarter: the text runs down from its origin and leans left; the degree factor
    // 0.017453 leaves the far corner a pixel short.
    const auto turned = g.selectionRects(textItem(100, 100, 200, 40, 90));
    EXPECT_EQ(turned.viewRect, QRect(30, 50, 20, 99));
}

TEST(SelectionFrame, movesTheHandleInsideNearTheRightAndTopEdges) {
    const ViewGeometry g = fitted(QSizeF(1600, 1000), QSize(800, 500));
    const auto right = g.selectionRects(textItem(1400, 100, 200, 40)); // box ends at x = 800
    EXPECT_EQ(right.handleRect, QRect(700 - 13, 37, 13, 13));
    const auto top = g.selectionRects(textItem(100, 10, 200, 40)); // handle would start at y = -8
    EXPECT_EQ(top.handleRect, QRect(150, 5 + 20, 13, 13));
}
