#include "compose/ComposeFixture.h"

#include <QDir>
#include <QFile>
#include <QPainter>

namespace {

const QColor kPhoto(0, 0, 200);
const QColor kFrame(200, 0, 0);

// A border the size of the picture, so it lies on it pixel for pixel: a 20-pixel frame around a
// centre of `centre`, with one patch just inside the key range and one just outside it.
QImage frameBorder(QColor centre, QColor keyedPatch, QColor keptPatch) {
    QImage border(300, 200, QImage::Format_RGB32);
    border.fill(kFrame);
    QPainter p(&border);
    p.fillRect(20, 20, 260, 160, centre);
    p.fillRect(40, 40, 30, 30, keyedPatch);
    p.fillRect(230, 130, 30, 30, keptPatch);
    p.end();
    return border;
}

// A border whose top quarter is red over a keyed white rest, to see which way it lies.
QImage topMarkedBorder(int width, int height) {
    QImage border(width, height, QImage::Format_RGB32);
    border.fill(Qt::white);
    QPainter(&border).fillRect(0, 0, width, height / 4, kFrame);
    return border;
}

} // namespace

TEST(ABorder, keysOutTheColoursNearItsCentrePixel) {
    struct Case {
        QColor centre, keyed, kept;
    } cases[] = {
        {QColor(255, 255, 255), QColor(245, 250, 255), QColor(244, 250, 255)}, // white keys 245..255
        {QColor(0, 0, 0), QColor(10, 10, 10), QColor(11, 0, 0)},               // black keys 0..10
    };
    for (const Case& c : cases) {
        ComposeFixture f(300, 200, kPhoto);
        f.writeOverlay("frame.png", frameBorder(c.centre, c.keyed, c.kept));
        f.templ.borderPath = "frame.png";
        f.applyAndRender();
        ASSERT_TRUE(f.picture.borderBitmap) << c.centre.name().toStdString();
        // Same size, no turn: the border is copied, not resampled, so 1 covers rounding only.
        EXPECT_TRUE(pixelNear(f.work(), 5, 5, kFrame, 1));
        EXPECT_TRUE(pixelNear(f.work(), 150, 100, kPhoto, 1));
        EXPECT_TRUE(pixelNear(f.work(), 55, 55, kPhoto, 1));
        EXPECT_TRUE(pixelNear(f.work(), 245, 145, c.kept, 1));
    }
}

TEST(ABorder, isDrawnAtItsOpacity) {
    const std::pair<int, QColor> cases[] = {{0, kPhoto}, {128, QColor(100, 0, 100)}, {255, kFrame}};
    for (const auto& [opacity, frame] : cases) {
        ComposeFixture f(300, 200, kPhoto);
        f.writeOverlay("frame.png", frameBorder(Qt::white, Qt::white, Qt::white));
        f.templ.borderPath = "frame.png";
        f.templ.borderOpacity = opacity;
        f.applyAndRender();
        EXPECT_TRUE(pixelNear(f.work(), 5, 5, frame, 2)) << "opacity " << opacity; // 2: blending rounds
        EXPECT_TRUE(pixelNear(f.work(), 150, 100, kPhoto, 0)) << "opacity " << opacity;
    }
}

TEST(ABorder, turnsToThePicturesOrientationOnlyWithAutoRotation) {
    struct Case {
        int width, height, autoRotate;
        bool turned;
    } cases[] = {
        {100, 200, 1, true},  // tall border, wide picture: a quarter turn clockwise puts its top right
        {100, 200, 0, false}, // squeezed unturned: its top stays at the top
        {200, 200, 1, true},  // a square border counts as upright
        {300, 100, 1, false}, // already wide
    };
    for (const Case& c : cases) {
        ComposeFixture f(400, 200, kPhoto);
        f.writeOverlay("b.png", topMarkedBorder(c.width, c.height));
        f.templ.borderPath = "b.png";
        f.templ.borderAutoRotate = c.autoRotate;
        f.applyAndRender();
        const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height);
        // Probes keep away from the stretched edges; 2 covers smoothing.
        EXPECT_TRUE(pixelNear(f.work(), 390, 100, c.turned ? kFrame : kPhoto, 2)) << what;
        EXPECT_TRUE(pixelNear(f.work(), 150, 20, c.turned ? kPhoto : kFrame, 2)) << what;
    }
}

TEST(ABorder, thatCannotBeLoadedIsReportedAndLeftOut) {
    ComposeFixture f(300, 200, kPhoto);
    f.writeOverlay("frame.png", frameBorder(Qt::white, Qt::white, Qt::white));
    f.templ.templateDir = f.dir.path("templates"); // where "../frame.png" would find the file
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(f.templ.templateDir)));
    for (const std::string name : {"missing.png", "../frame.png"}) {
        f.user.shown.clear();
        f.templ.borderPath = name;
        f.applyAndRender();
        EXPECT_EQ(f.user.texts(), std::vector<std::string>{"Unable to load border " + name +
                                                           ".  Invalid type or permissions."});
        EXPECT_FALSE(f.picture.borderBitmap);
        EXPECT_TRUE(pixelNear(f.work(), 5, 5, kPhoto, 0)) << name;
    }

    f.picture.templateDir = f.dir.root();
    f.picture.borderPath = "frame.png";
    f.picture.borderOpacity = 77;
    EXPECT_FALSE(f.picture.LoadBorder("gone.png", 10, f.user));
    EXPECT_EQ(f.picture.borderPath, "frame.png"); // the setting in use stays
    EXPECT_EQ(f.picture.borderOpacity, 77);
}

TEST(AWatermark, isDrawnPixelForPixelAndMeasuredInPrintPoints) {
    ComposeFixture f(3000, 2000, kPhoto);
    QImage mark(400, 100, QImage::Format_RGB32);
    mark.fill(QColor(255, 255, 0));
    f.writeOverlay("mark.png", mark);
    f.templateWatermark("mark.png");
    f.applyAndRender();

    ASSERT_GE(f.picture.watermarkIndex, 0);
    const ImprintItem& it = f.picture.item(f.picture.watermarkIndex);
    EXPECT_EQ(it.textWidthPx, 400);
    EXPECT_EQ(it.textHeightPx, 100);
    EXPECT_EQ(it.textWidthPt, 57);
    EXPECT_EQ(it.textHeightPt, 14);
    const int x = it.posX, y = it.posY;
    EXPECT_TRUE(pixelNear(f.work(), x, y, QColor(255, 255, 0), 1)); // 1: unturned, only rounding
    EXPECT_TRUE(pixelNear(f.work(), x + 399, y + 99, QColor(255, 255, 0), 1));
    EXPECT_TRUE(pixelNear(f.work(), x + 400, y + 50, kPhoto, 1));
    EXPECT_TRUE(pixelNear(f.work(), x + 200, y + 100, kPhoto, 1));
}

TEST(AWatermark, loadedTwiceKeepsItsOneItem) {
    ComposeFixture f(300, 200);
    f.writeOverlay("a.png", QImage(10, 10, QImage::Format_RGB32));
    f.writeOverlay("b.png", QImage(20, 10, QImage::Format_RGB32));
    ComposeFixture::addItem(f.picture, 0x010f, "Make");
    f.picture.templateDir = f.dir.root();

    ASSERT_TRUE(f.picture.LoadWatermark("a.png", 200, f.user));
    EXPECT_EQ(f.picture.watermarkIndex, 1);
    ASSERT_TRUE(f.picture.LoadWatermark("b.png", 90, f.user));
    EXPECT_EQ(f.picture.watermarkIndex, 1);
    EXPECT_EQ(f.picture.itemCount, 2);
    const ImprintItem& it = f.picture.item(1);
    EXPECT_EQ(it.fontName, "b.png");
    EXPECT_EQ(it.fontSize, 90);
    EXPECT_EQ(it.tag, kTagWatermark);
    EXPECT_EQ(it.visible, 1);
    EXPECT_EQ(f.picture.watermarkBitmap->width(), 20);
}

TEST(AWatermark, thatCannotBeLoadedIsReportedOnceAndStaysHidden) {
    for (const std::string name : {"gone.png", "../mark.png", "link.png"}) {
        ComposeFixture f(300, 200);
        f.writeOverlay("mark.png", QImage(10, 10, QImage::Format_RGB32));
        f.templ.templateDir = f.dir.path("templates"); // where "../mark.png" would find the file
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(f.templ.templateDir)));
        // A link that leads out of the template folder, to the same file.
        ASSERT_TRUE(QFile::link(QString::fromStdString(f.dir.path("mark.png")),
                                QString::fromStdString(f.templ.templateDir + "/link.png")));
        f.templateWatermark(name);
        f.applyAndRender();
        EXPECT_EQ(f.user.texts(), std::vector<std::string>{"Unable to load Watermark " + f.templ.templateDir +
                                                           "/" + name + "."});
        ASSERT_GE(f.picture.watermarkIndex, 0);
        EXPECT_EQ(f.picture.item(f.picture.watermarkIndex).visible, 0);
        EXPECT_FALSE(f.picture.watermarkBitmap);
    }
}

TEST(TheOverlays, ofATemplateAreDecodedOnceAndSharedByEveryPhotoItIsAppliedTo) {
    ComposeFixture f(300, 200);
    f.writeOverlay("frame.png", frameBorder(Qt::white, Qt::white, Qt::white));
    f.writeOverlay("mark.png", QImage(10, 10, QImage::Format_RGB32));
    f.templ.borderPath = "frame.png";
    for (int i = 0; i < 3; ++i)
        f.templateWatermark("mark.png");
    ASSERT_EQ(f.templ.WriteTemplate(f.dir.path("t.tpl")), 0);
    CDatedPicture read;
    read.templateDir = f.dir.root();
    ASSERT_EQ(read.ReadTemplate(f.dir.path("t.tpl"), f.user), 0);
    f.picture.ApplyTemplate(read, f.user);
    CDatedPicture other(f.picture);
    other.ApplyTemplate(read, f.user);
    EXPECT_TRUE(f.user.texts().empty());
    for (const CDatedPicture* model : {&f.picture, &other}) {
        ASSERT_TRUE(model->borderBitmap && model->watermarkBitmap);
        EXPECT_EQ(std::as_const(*model->borderBitmap).image().constBits(),
                  std::as_const(*read.borderBitmap).image().constBits());
        EXPECT_EQ(std::as_const(*model->watermarkBitmap).image().constBits(),
                  std::as_const(*read.watermarkBitmap).image().constBits());
    }

    // A missing file named by several watermark items is reported once.
    CDatedPicture missing;
    for (int i = 0; i < 3; ++i)
        missing.item(f.addItem(missing, kTagWatermark, "Watermark", 1)).fontName = "gone.png";
    ASSERT_EQ(missing.WriteTemplate(f.dir.path("m.tpl")), 0);
    ScriptedDialogs user;
    read.ReadTemplate(f.dir.path("m.tpl"), user);
    EXPECT_EQ(user.texts(),
              std::vector<std::string>{"Unable to load Watermark " + f.dir.path("gone.png") + "."});
}
