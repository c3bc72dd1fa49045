#include "compose/DatedCopy.h"

#include "imaging/ImageDecoder.h"
#include "imaging/JpegCoefficients.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRegion>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Sampling = photofactory::JpegLayout::Sampling;

constexpr int kDateTaken = 0x9003;

// The photo dated with a new template (the date taken, bottom left), larger and turned as asked.
struct DatedPhoto {
    TempDir dir;
    std::string photo;
    std::string copy;
    CDatedPicture templ;
    CDatedPicture model;
    ScriptedDialogs dialogs;
    CopyRoad road{true, {}};

    DatedPhoto(photofactory::Photo p, int orientation, int angle) {
        p.textured = true;
        p.tags = {{"Exif.Image.Orientation", std::to_string(orientation)},
                  {"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}};
        photo = dir.path("IMG_0001.JPG");
        EXPECT_EQ(photofactory::writePhoto(photo, p), "");
        templ.MakeNewTemplate();
        for (int i = 0; i < templ.itemCount; ++i) {
            if (templ.item(i).tag != kDateTaken) continue;
            templ.item(i).fontSize = 28;
            templ.item(i).anchorAngle = angle;
            templ.item(i).effects.shadow = true;
        }
    }

    // Loads the photo with the template as it is now and saves its copy.
    SaveOutcome save(CDatedPicture::PhotoPixels pixels = CDatedPicture::PhotoPixels::Decoded) {
        EXPECT_EQ(model.LoadPicture(photo, templ, dialogs, nullptr, pixels), 1);
        model.outputDir = dir.path("out");
        QDir().mkpath(QString::fromStdString(model.outputDir));
        copy = model.outputDir + "/Dated_IMG_0001.JPG";
        return SaveDatedCopy(model, copy, photo, dialogs, &road);
    }
};

int luma(QRgb c) {
    return static_cast<int>(std::lround(0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c)));
}

int difference(QRgb a, QRgb b, bool grey) {
    if (grey) return std::abs(luma(a) - luma(b));
    return std::max(
        {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

} // namespace

TEST(ALosslessCopy, keepsThePhotosPixelsOutsideTheItemsMcusAndShowsTheRenderInsideThem) {
    struct Case {
        const char* name;
        Sampling sampling;
        int restartRows;
        bool progressive;
        int orientation;
        int angle;
        CDatedPicture::PhotoPixels pixels;
        bool arithmetic = false;
    };
    using P = CDatedPicture::PhotoPixels;
    const Case cases[] = {
        {"4:2:0", Sampling::YCbCr420, 0, false, 1, 0, P::Decoded},
        {"4:4:4", Sampling::YCbCr444, 0, false, 1, 0, P::Decoded},
        {"grey", Sampling::Grey, 0, false, 1, 0, P::Decoded},
        {"restart markers every MCU row", Sampling::YCbCr420, 1, false, 1, 0, P::Decoded},
        {"progressive", Sampling::YCbCr420, 0, true, 1, 0, P::Decoded},
        {"arithmetic-coded", Sampling::YCbCr420, 0, false, 1, 0, P::Decoded, true},
        {"a turned item", Sampling::YCbCr420, 0, false, 1, 30, P::Decoded},
        {"orientation 6 on whole MCUs", Sampling::YCbCr420, 0, false, 6, 0, P::Decoded},
        {"orientation 3, 4:4:4", Sampling::YCbCr444, 0, false, 3, 0, P::Decoded},
        {"read for its size only, as the batch reads it", Sampling::YCbCr420, 0, false, 1, 0, P::SizeOnly},
        {"orientation 8, read for its size only", Sampling::YCbCr420, 0, false, 8, 0, P::SizeOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        photofactory::Photo p;
        p.width = 336; // whole MCUs of 16 x 16, so that every orientation can be turned without loss
        p.height = 224;
        p.layout.sampling = c.sampling;
        p.layout.restartRows = c.restartRows;
        p.layout.progressive = c.progressive;
        p.layout.arithmetic = c.arithmetic;
        DatedPhoto d(p, c.orientation, c.angle);
        ASSERT_EQ(d.save(c.pixels), SaveOutcome::Saved);
        EXPECT_EQ(d.road.wholeReason, "");
        // The copy is coded as the photo is.
        QFile written(QString::fromStdString(d.copy));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        imaging::JpegCoefficients kind;
        ASSERT_EQ(kind.read(written.readAll(), 1), "");
        EXPECT_EQ(kind.progressive(), c.progressive);
        EXPECT_EQ(kind.arithmetic(), c.arithmetic);
        EXPECT_EQ(kind.restartInterval() > 0, c.restartRows > 0);

        // What the view shows: the whole picture rendered on the photo as decoded.
        CDatedPicture view;
        ASSERT_EQ(view.LoadPicture(d.photo, d.templ, d.dialogs), 1);
        view.RenderDatedImage();
        const QImage render = view.workPicture->image();
        const QImage photo = imaging::decodeImageFile(d.photo).image;
        const QImage copy = imaging::decodeImageFile(d.copy).image;
        ASSERT_EQ(copy.size(), render.size());
        // The render as the photo's own encoder would keep it: same sampling, same tables.
        photofactory::Photo encoded = p;
        encoded.picture = render;
        encoded.tags.clear();
        ASSERT_EQ(photofactory::writePhoto(d.dir.path("render.jpg"), encoded), "");
        const QImage rendered = imaging::decodeImageFile(d.dir.path("render.jpg")).image;

        // The MCUs the items can paint, and the pixel beside them that 4:2:0 chroma upsampling reaches.
        const int mcu = c.sampling == Sampling::YCbCr420 ? 16 : 8;
        QRegion touched;
        for (int i = 0; i < view.itemCount; ++i) {
            if (!view.item(i).visible) continue;
            const QRect area = view.ItemCoverage(i);
            const int left = area.left() / mcu * mcu, top = area.top() / mcu * mcu;
            const int right = (area.right() / mcu + 1) * mcu, bottom = (area.bottom() / mcu + 1) * mcu;
            touched += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).adjusted(-1, -1, 1, 1);
        }
        ASSERT_FALSE(touched.isEmpty());
        const bool grey = c.sampling == Sampling::Grey; // the copy of a grey photo shows the items grey
        // A turned block decodes to the turned pixels but for the IDCT's and the upsampling's rounding.
        const int outsideSlack = c.orientation == 1 ? 0 : 3;
        int outsideWorst = 0, insideWorst = 0;
        long long inside = 0, insideSum = 0, inked = 0;
        for (int y = 0; y < copy.height(); ++y) {
            for (int x = 0; x < copy.width(); ++x) {
                const QRgb got = copy.pixel(x, y);
                if (!touched.contains(QPoint(x, y))) {
                    const int off = difference(got, photo.pixel(x, y), false);
                    if (off > outsideSlack && outsideWorst <= outsideSlack)
                        ADD_FAILURE()
                            << "outside the items, (" << x << ", " << y << ") is " << off << " off the photo";
                    outsideWorst = std::max(outsideWorst, off);
                    continue;
                }
                const int off = difference(got, rendered.pixel(x, y), grey);
                insideWorst = std::max(insideWorst, off);
                ++inside;
                insideSum += off;
                if (difference(render.pixel(x, y), photo.pixel(x, y), grey) > 48) ++inked;
            }
        }
        // Inside, the render encoded at the photo's quality with its tables, but for rounding where the
        // blocks were decoded and encoded once more.
        EXPECT_GT(inked, 200) << "the date is drawn";
        EXPECT_LT(static_cast<double>(insideSum) / inside, 2.5);
        EXPECT_LE(insideWorst, 24);
        if (qEnvironmentVariableIsSet("LOSSLESS_DUMP"))
            printf("%s: outside %d inside worst %d mean %.2f\n", c.name, outsideWorst, insideWorst,
                   static_cast<double>(insideSum) / inside);
    }
}

TEST(ALosslessCopy, encodesTheWholePictureAndSaysWhyWhenMoreThanTheItemsChangeIt) {
    struct Case {
        const char* name;
        int width, height, orientation;
        void (*arrange)(CDatedPicture& templ);
        const char* reason;
    };
    const Case cases[] = {
        {"white space for a 6 x 4 print of a square photo", 224, 224, 1,
         [](CDatedPicture& t) { t.aspectEnabled = 1; }, "white space"},
        {"a border", 224, 160, 1,
         [](CDatedPicture& t) {
             QImage frame(224, 160, QImage::Format_ARGB32_Premultiplied);
             frame.fill(Qt::transparent);
             t.borderBitmap = std::make_unique<imaging::Bitmap>(frame);
         },
         "border"},
        {"a watermark over the whole picture", 224, 160, 1,
         [](CDatedPicture& t) {
             ASSERT_TRUE(t.SetWatermarkItem("logo.png", 128));
             QImage logo(224, 160, QImage::Format_ARGB32_Premultiplied);
             logo.fill(qRgba(40, 40, 40, 40));
             t.watermarkBitmap = std::make_unique<imaging::Bitmap>(logo);
         },
         "watermark"},
        {"a turned photo of 170 x 100 pixels", 170, 100, 6, [](CDatedPicture&) {},
         "orientation 6 on a picture that is not whole MCUs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        photofactory::Photo p;
        p.width = c.width;
        p.height = c.height;
        DatedPhoto d(p, c.orientation, 0);
        c.arrange(d.templ);
        ASSERT_EQ(d.save(), SaveOutcome::Saved);
        EXPECT_EQ(d.road.wholeReason, c.reason);
        // Encoded at the template's quality: the copy is the picture the view shows.
        EXPECT_EQ(imaging::decodeImageFile(d.copy).image.size(), d.model.workPicture->image().size());

        // A picture read for its size only cannot be encoded whole: the caller decodes it and saves again.
        CopyRoad road{true, {}};
        CDatedPicture sized;
        sized.outputDir = d.model.outputDir;
        ASSERT_EQ(
            sized.LoadPicture(d.photo, d.templ, d.dialogs, nullptr, CDatedPicture::PhotoPixels::SizeOnly), 1);
        EXPECT_EQ(SaveDatedCopy(sized, d.copy, d.photo, d.dialogs, &road), SaveOutcome::NeedsDecodedPhoto);
        EXPECT_EQ(road.wholeReason, c.reason);
    }
}

TEST(TheJpegCoefficients, refuseWhatTheyCannotKeepAndNeverTouchBlocksNobodyDrewOn) {
    // Bad inputs, each with the reason a user reads.
    imaging::JpegCoefficients none;
    EXPECT_EQ(none.read(QByteArray("GIF89a, no JPEG at all"), 1), "not a JPEG photo");
    imaging::JpegCoefficients cut;
    photofactory::Photo p;
    p.textured = true;
    TempDir dir;
    ASSERT_EQ(photofactory::writePhoto(dir.path("a.jpg"), p), "");
    QFile file(QString::fromStdString(dir.path("a.jpg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray jpeg = file.readAll();
    EXPECT_EQ(cut.read(jpeg.left(jpeg.size() / 2), 1).rfind("damaged JPEG data", 0), 0u)
        << "a scan cut short";

    // Unchanged pixels give back the photo's own file data, block for block.
    imaging::JpegCoefficients whole;
    ASSERT_EQ(whole.read(jpeg, 1), "");
    std::string why;
    const QRect area = whole.wholeMcus(QRect(20, 20, 10, 10));
    EXPECT_EQ(area, QRect(16, 16, 16, 16));
    const QImage pixels = whole.decode(area, why);
    ASSERT_FALSE(pixels.isNull()) << why;
    EXPECT_EQ(whole.replace(pixels, pixels, area.topLeft(), why), 0);
    QImage drawn = pixels.copy();
    drawn.setPixel(0, 0, qRgb(255, 0, 0));
    EXPECT_EQ(whole.replace(pixels, drawn, area.topLeft(), why), 1) << "one MCU changed";
}
