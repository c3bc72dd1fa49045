// Pictures of the view for a person to look at, written only when IMPRIX_SNAPSHOT_DIR names a folder:
// a dated photo fitted with the 4x6 guides and the date selected, the same at 400 % scrolled to the
// date, and in the middle of dragging the date.

#include "model/DatedPicture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "view/PictureView.h"

#include "photofactory/PhotoFactory.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Sky, sun, hills and a lake: something a photo might show.
QImage landscape(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height * 0.6);
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(1, QColor(230, 180, 140));
    p.fillRect(image.rect(), sky);
    p.setBrush(QColor(255, 230, 150));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(width * 0.7, height * 0.35), height * 0.08, height * 0.08);
    p.setBrush(QColor(60, 110, 60));
    QPolygonF hills;
    hills << QPointF(0, height * 0.62);
    for (int x = 0; x <= width; x += width / 12)
        hills << QPointF(x, height * (0.5 + 0.08 * ((x / (width / 12)) % 3)));
    hills << QPointF(width, height * 0.62) << QPointF(width, height) << QPointF(0, height);
    p.drawPolygon(hills);
    QLinearGradient lake(0, height * 0.7, 0, height);
    lake.setColorAt(0, QColor(70, 120, 170));
    lake.setColorAt(1, QColor(20, 50, 90));
    p.fillRect(QRectF(0, height * 0.72, width, height * 0.28), lake);
    return image;
}

} // namespace

TEST(PictureViewSnapshots, showFitZoomedAndDraggingViews) {
    const QString folder = qEnvironmentVariable("IMPRIX_SNAPSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "set IMPRIX_SNAPSHOT_DIR to write the snapshots";
    QDir().mkpath(folder);

    TempDir dir;
    const std::string path = dir.path("holiday.jpg");
    const auto tiff = photofactory::encodeExif({{"Exif.Image.DateTime", "2001:06:21 14:38:56"},
                                                {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}},
                                               false);
    ASSERT_EQ(photofactory::writeJpegWithRawExif(path, landscape(3000, 2400), tiff), "");

    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.item(0).fontSize = 18;
    templ.item(0).color = 0x0080FF; // orange
    templ.AddLabelItem("Place", "Lake Tekapo");
    ImprintItem& place = templ.item(templ.itemCount - 1);
    place.anchor = 3;
    place.color = 0xFFFFFF;
    place.anchorAngle = 350;

    ScriptedDialogs user;
    CDatedPicture picture;
    ASSERT_EQ(picture.LoadPicture(path, templ, user), 1);
    int date = -1;
    for (int i = 0; i < picture.itemCount; ++i)
        if (picture.item(i).visible && picture.item(i).tag == kTagDateTime) date = i;
    ASSERT_GE(date, 0);

    CPictureView view;
    view.setBackColor(0x404040);
    view.resize(1000, 700);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.AttachPicture(&picture);
    view.setPrintRatio(1.5);
    view.SelectItem(date);
    EXPECT_TRUE(view.grab().save(folder + "/view-fit-guides-selected.png"));

    view.SetZoom(4.0f);
    const ImprintItem& it = picture.item(date);
    view.horizontalScrollBar()->setValue((it.posX - 40) * 1000 / 3000);
    view.verticalScrollBar()->setValue((it.posY - 60) * 1000 / 2400);
    EXPECT_TRUE(view.grab().save(folder + "/view-400-scrolled.png"));

    view.ZoomToFit();
    const QPoint press = view.geometry().viewFromPicture(QPointF(it.posX + 30, it.posY + 20)).toPoint();
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, press);
    for (int step = 1; step <= 6; ++step)
        QTest::mouseMove(view.viewport(), press + QPoint(25 * step, -18 * step));
    EXPECT_TRUE(view.grab().save(folder + "/view-mid-drag.png"));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, press + QPoint(150, -108));
}
