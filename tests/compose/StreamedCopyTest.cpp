#include "compose/DatedCopy.h"

#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

using Pixels = CDatedPicture::PhotoPixels;
constexpr int kDateTaken = 0x9003;

QByteArray readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A template showing the date taken, as the case asks.
struct Look {
    const char* name;
    int orientation;
    int anchor = 3; // bottom right
    bool whiteSpace = false;
    bool border = false;
    bool autoColor = false;
};

CDatedPicture templateFor(const Look& look) {
    CDatedPicture templ;
    templ.MakeNewTemplate();
    for (int i = 0; i < templ.itemCount; ++i) {
        ImprintItem& it = templ.item(i);
        if (it.tag != kDateTaken) continue;
        it.anchor = look.anchor;
        it.fontSize = 20;
        it.effects.shadow = true;
        it.effects.autoColor = look.autoColor;
    }
    templ.aspectEnabled = look.whiteSpace ? 1 : 0;
    templ.aspectWidth = 5;
    templ.aspectHeight = 4;
    if (look.border) {
        QImage frame(64, 48, QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        frame.setPixel(0, 0, qRgb(200, 0, 0));
        templ.borderBitmap = std::make_unique<imaging::Bitmap>(frame);
        templ.borderPath = "frame.png";
    }
    return templ;
}

} // namespace

TEST(AStreamedCopy, isByteForByteTheCopyOfThePhotoDecodedFirst) {
    const Look looks[] = {
        {"date at the bottom", 1},
        {"mirrored, date at the bottom", 2},
        {"date at the top: nothing is encoded early", 1, 0},
        {"white space around a turned photo", 6, 3, true},
        {"a border", 1, 3, false, true},
        {"an automatic colour, upside down", 3, 3, false, false, true},
        {"mirrored, white space", 2, 1, true},
    };
    TempDir dir;
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        photofactory::Photo p;
        p.width = 645; // partial blocks at the right and bottom
        p.height = 483;
        p.textured = true;
        p.tags = {{"Exif.Image.Orientation", std::to_string(look.orientation)},
                  {"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}};
        const std::string photo = dir.path("IMG_0001.JPG");
        ASSERT_EQ(photofactory::writePhoto(photo, p), "");
        const CDatedPicture templ = templateFor(look);
        ScriptedDialogs dialogs;
        CopyRoad road;
        QDir().mkpath(QString::fromStdString(dir.path("decoded")));
        QDir().mkpath(QString::fromStdString(dir.path("streamed")));

        CDatedPicture decoded;
        ASSERT_EQ(decoded.LoadPicture(photo, templ, dialogs, nullptr, Pixels::Decoded), 1);
        decoded.outputDir = dir.path("decoded");
        decoded.RenderDatedImageForSave();
        ASSERT_EQ(SaveDatedCopy(decoded, dir.path("decoded/copy.jpg"), photo, dialogs, &road),
                  SaveOutcome::Saved);

        CDatedPicture streamed;
        ASSERT_EQ(streamed.LoadPicture(photo, templ, dialogs, nullptr, Pixels::Streamed), 1);
        ASSERT_TRUE(streamed.PhotoPending());
        streamed.outputDir = dir.path("streamed");
        ASSERT_EQ(SaveStreamedCopy(streamed, dir.path("streamed/copy.jpg"), photo, dialogs, road),
                  SaveOutcome::Saved);
        EXPECT_FALSE(streamed.PhotoPending());

        const QByteArray a = readAll(dir.path("decoded/copy.jpg")),
                         b = readAll(dir.path("streamed/copy.jpg"));
        EXPECT_FALSE(a.isEmpty());
        EXPECT_TRUE(a == b) << "the copies differ";
        EXPECT_EQ(dialogs.texts(), std::vector<std::string>{});
    }
}

TEST(AStreamedCopy, thatCannotDecodeThePhotoSaysWhyAndWritesNothing) {
    TempDir dir;
    photofactory::Photo p;
    p.width = 320;
    p.height = 240;
    p.textured = true;
    p.layout.sampling = photofactory::JpegLayout::Sampling::YCbCr420;
    p.layout.progressive = true;
    const std::string photo = dir.path("IMG_0001.JPG");
    ASSERT_EQ(photofactory::writePhoto(photo, p), "");
    // The header reads well; the second scan names a component the frame does not have, which libjpeg
    // only finds while decoding.
    QByteArray bytes = readAll(photo);
    const qsizetype firstScan = bytes.indexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype secondScan = bytes.indexOf(QByteArray("\xFF\xDA", 2), firstScan + 2);
    ASSERT_GT(secondScan, 0);
    bytes[secondScan + 5] = char(9); // the first component selector of its header
    QFile out(QString::fromStdString(photo));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();

    CDatedPicture templ;
    templ.MakeNewTemplate();
    ScriptedDialogs dialogs;
    CDatedPicture model;
    ASSERT_EQ(model.LoadPicture(photo, templ, dialogs, nullptr, Pixels::Streamed), 1);
    model.outputDir = dir.path("out");
    QDir().mkpath(QString::fromStdString(model.outputDir));
    EXPECT_EQ(SaveStreamedCopy(model, dir.path("out/copy.jpg"), photo, dialogs, CopyRoad{}),
              SaveOutcome::Failed);
    ASSERT_EQ(dialogs.texts().size(), 1u);
    EXPECT_NE(dialogs.texts()[0].find("cannot decode the picture (Invalid component ID 9 in SOS)"),
              std::string::npos)
        << dialogs.texts()[0];
    EXPECT_TRUE(QDir(QString::fromStdString(model.outputDir)).isEmpty())
        << "nothing written, nothing left over";
}
