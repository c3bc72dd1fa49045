#include "compose/ComposeFixture.h"

#include <QPainter>

namespace {

// A picture with detail everywhere, so a pixel copied from the wrong place shows.
QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return image;
}

// A tall frame that is turned and stretched over the wide picture, and a watermark with soft edges.
void addOverlays(ComposeFixture& f) {
    QImage frame(150, 200, QImage::Format_RGB32);
    frame.fill(Qt::white);
    {
        QPainter p(&frame);
        p.setPen(QPen(QColor(30, 160, 60), 17));
        p.drawRect(10, 10, 130, 180);
        p.drawEllipse(40, 60, 70, 50);
    }
    f.writeOverlay("frame.png", frame);
    f.templ.borderPath = "frame.png";
    f.templ.borderOpacity = 180;

    QImage mark(160, 60, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    {
        QPainter p(&mark);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(250, 220, 0));
        p.drawEllipse(2, 2, 156, 56);
    }
    f.writeOverlay("mark.png", mark);
    const int i = f.templateWatermark("mark.png", 150);
    f.templ.item(i).anchorAngle = 30;
    f.templ.item(i).anchor = 1;
}

int addText(ComposeFixture& f, const std::string& name, int anchor, int angle, int fontStyle = 400) {
    const int i = ComposeFixture::addItem(f.templ, kTagLabel, name, 1);
    ImprintItem& it = f.templ.item(i);
    it.label = name + " 2001:06:21 14:38";
    it.anchor = anchor;
    it.anchorAngle = angle;
    it.fontStyle = fontStyle;
    it.opacity = 200;
    it.fontSize = 14;
    return i;
}

int indexOf(const CDatedPicture& model, const std::string& name) {
    for (int i = 0; i < model.itemCount; ++i)
        if (model.item(i).displayName == name) return i;
    return -1;
}

} // namespace

TEST(RepaintingARegion, givesThePixelsOfAWholeRepaintAfterItemsMoveAndTurn) {
    ComposeFixture f(1500, 1000);
    f.setPicture(gradient(1500, 1000));
    addOverlays(f);
    addText(f, "Level", 0, 0);
    addText(f, "Turned", 2, 17);
    addText(f, "Italic", 3, 0, 700 + ImprintItem::kItalicFlag);
    addText(f, "Steep", 1, 290);
    f.applyAndRender();
    ASSERT_TRUE(f.picture.workPicture);

    struct Change {
        const char* item;
        int dx, dy, turn;
    } changes[] = {
        {"Watermark", -420, -300, 0}, // over the turned border and onto other items
        {"Level", 700, -350, 0},      // across the picture and under the watermark
        {"Turned", 3, 2, 45},         // a small step, turned further
        {"Italic", -1200, 500, 0},    // half off the picture's left edge
        {"Steep", 0, 0, 70},          // only turned
    };
    for (const Change& c : changes) {
        const int i = indexOf(f.picture, c.item);
        ASSERT_GE(i, 0) << c.item;
        ImprintItem& it = f.picture.item(i);
        const QRect before = f.picture.ItemCoverage(i);
        it.posX += c.dx, it.posY += c.dy, it.angle = (it.angle + c.turn) % 360;
        const QRect after = f.picture.ItemCoverage(i);

        f.picture.RenderDatedImage(QRegion(before).united(after));
        const QImage partial = f.work().copy();
        f.picture.RenderDatedImage();
        EXPECT_EQ(firstDifference(partial, f.work()), "") << c.item; // exact: no tolerance
    }
}

TEST(RenderingForSaving, givesThePixelsOfRepeatedWholeRepaintsWithAndWithoutWhiteSpace) {
    for (const bool whiteSpace : {false, true}) {
        // The reference is painted twice: the second repaint starts from a work picture with its own
        // pixels and the strokes of the first, so it draws the picture over everything again.
        ComposeFixture reference(900, 600);
        ComposeFixture saving(900, 600);
        for (ComposeFixture* f : {&reference, &saving}) {
            f->setPicture(gradient(900, 600));
            f->templ.aspectEnabled = whiteSpace ? 1 : 0;
            f->templ.aspectWidth = 6;
            f->templ.aspectHeight = 5;
            addOverlays(*f);
            addText(*f, "Level", 0, 0);
            addText(*f, "Turned", 2, 17);
        }
        reference.applyAndRender();
        reference.picture.RenderDatedImage();
        saving.picture.ApplyTemplate(saving.templ, saving.user);
        saving.picture.RenderDatedImageForSave();

        ASSERT_TRUE(saving.picture.workPicture);
        EXPECT_EQ(saving.picture.picture, nullptr) << "the loaded picture is let go";
        EXPECT_EQ(firstDifference(saving.work(), reference.work()), "") << "white space " << whiteSpace;
    }
}

TEST(RenderingTheDatedImage, leavesTheLoadedPicturesPixelsAsTheyWere) {
    ComposeFixture f(900, 600);
    const QImage photo = gradient(900, 600);
    f.setPicture(photo.copy());
    addText(f, "Level", 0, 0);
    f.applyAndRender();
    ASSERT_TRUE(f.picture.workPicture && f.picture.picture);
    EXPECT_NE(firstDifference(f.work(), photo), "") << "the item is drawn on the work picture";
    EXPECT_EQ(firstDifference(f.picture.picture->image(), photo), "") << "and not on the picture";
}
