#include "compose/DatedCopy.h"

#include "imaging/ImageEncoder.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImageReader>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A photo opened with the new template, ready to be saved into `outDir`.
struct OpenedPhoto {
    TempDir dir;
    std::string photo;
    CDatedPicture model;
    ScriptedDialogs dialogs;

    explicit OpenedPhoto(int orientation = 1) {
        photofactory::Photo p;
        p.width = 160;
        p.height = 100;
        p.thumbnail = true;
        p.tags = {{"Exif.Image.Make", "Canon"},
                  {"Exif.Image.Model", "EOS 20D"},
                  {"Exif.Image.Orientation", std::to_string(orientation)},
                  {"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}};
        photo = dir.path("IMG_0001.JPG");
        EXPECT_EQ(photofactory::writePhoto(photo, p), "");
        CDatedPicture templ;
        templ.MakeNewTemplate();
        EXPECT_EQ(model.LoadPicture(photo, templ, dialogs), 1);
        model.RenderDatedImage();
        model.outputDir = dir.path("out");
    }
};

// The ICC profile a JPEG carries: its APP2 "ICC_PROFILE" markers put together in their order.
QByteArray jpegIccProfile(const QByteArray& jpeg) {
    QByteArray profile;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF;) {
        const auto marker = static_cast<unsigned char>(jpeg[at + 1]);
        if (marker == 0xDA) break; // the scan: no more markers before it
        const int length =
            (static_cast<unsigned char>(jpeg[at + 2]) << 8) | static_cast<unsigned char>(jpeg[at + 3]);
        const QByteArray body = jpeg.mid(at + 4, length - 2);
        if (marker == 0xE2 && body.startsWith(QByteArray("ICC_PROFILE\0", 12))) profile += body.mid(14);
        at += 2 + length;
    }
    return profile;
}

const imaging::PropertyItem* find(const imaging::PropertyBlock& block, std::uint32_t id) {
    for (const auto& p : block.items())
        if (p.id == id) return &p;
    return nullptr;
}

} // namespace

TEST(TheOutputName, joinsFolderPrefixBasePostfixAndTheOwnExtension) {
    EXPECT_EQ(ComposeOutputName("/photos/IMG_0001.JPG", "/out", "Dated_", "_v2"),
              "/out/Dated_IMG_0001_v2.JPG");
    EXPECT_EQ(ComposeOutputName("/photos/p.jpeg", "/out", "", ""), "/out/p.jpeg");
    EXPECT_EQ(ComposeOutputName("/photos/scan.TIF", "/out", "Dated_", ""),
              "/out/Dated_scan.jpg");                                                         // JPEG data
    EXPECT_EQ(ComposeOutputName("/pho.tos/holiday", "/out", "", "_d"), "/out/holiday_d.jpg"); // no dot
    EXPECT_EQ(ComposeOutputName("a.b.png", "o", "x", ""), "o/xa.b.jpg");
    EXPECT_EQ(FindEncoder("image/jpeg"), 0);
    EXPECT_EQ(FindEncoder("image/JPEG"), -1); // exact match only
}

TEST(SavingADatedCopy, asksBeforeMakingAMissingFolderAndWritesNothingOnCancel) {
    OpenedPhoto o;
    const std::string target = o.model.outputDir + "/Dated_IMG_0001.JPG";
    o.dialogs.script = {Dialogs::Answer::Cancel};
    EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Cancelled);
    ASSERT_EQ(o.dialogs.shown.size(), 1u);
    EXPECT_EQ(o.dialogs.shown[0].text,
              "The directory, " + o.model.outputDir + ", does not exist. Would you like to create it?");
    EXPECT_FALSE(QDir(QString::fromStdString(o.model.outputDir)).exists());

    EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Saved); // OK this time
    EXPECT_EQ(QImageReader(QString::fromStdString(target)).size(), QSize(160, 100));

    o.model.outputDir = o.dir.path("a/b"); // every missing level is made
    EXPECT_EQ(SaveDatedCopy(o.model, o.dir.path("a/b/x.jpg"), o.photo, o.dialogs), SaveOutcome::Saved);
    o.model.outputDir = o.photo + "/sub"; // below a file: cannot be made, and the reason says why
    EXPECT_EQ(SaveDatedCopy(o.model, o.dir.path("x.jpg"), o.photo, o.dialogs), SaveOutcome::Failed);
    EXPECT_EQ(o.dialogs.shown.back().text, "Directory creation failed.\n\n" + o.photo + ": Not a directory");
    o.model.outputDir.clear(); // an empty folder counts as missing and cannot be made
    EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Failed);
    EXPECT_EQ(o.dialogs.shown.back().text, "Directory creation failed.\n\nno folder is named");
    o.model.outputDir = o.photo; // a file where the folder should be: nothing to ask, an error
    const std::size_t asked = o.dialogs.shown.size();
    EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Failed);
    ASSERT_EQ(o.dialogs.shown.size(), asked + 1);
    EXPECT_EQ(o.dialogs.shown.back().text,
              "Error 7, saving " + target + "\n\n" + o.photo + ": Not a directory");
}

TEST(SavingADatedCopy, passesTheQualityToTheEncoder) {
    OpenedPhoto o;
    QDir().mkpath(QString::fromStdString(o.model.outputDir));
    // noise, so the quality shows in the size
    QImage& work = o.model.workPicture->image();
    for (int y = 0; y < work.height(); ++y)
        for (int x = 0; x < work.width(); ++x)
            work.setPixel(x, y, qRgb((x * 37) % 256, (y * 91) % 256, (x * y) % 256));
    o.model.jpegQuality = 0;
    ASSERT_EQ(SaveDatedCopy(o.model, o.model.outputDir + "/q0.jpg", o.photo, o.dialogs), SaveOutcome::Saved);
    o.model.jpegQuality = 100;
    ASSERT_EQ(SaveDatedCopy(o.model, o.model.outputDir + "/q100.jpg", o.photo, o.dialogs),
              SaveOutcome::Saved);
    EXPECT_GT(readAll(o.model.outputDir + "/q100.jpg").size(),
              4 * readAll(o.model.outputDir + "/q0.jpg").size());
}

TEST(SavingADatedCopy, keepsThePhotosMetadataWithTheOrientationOfUprightPixels) {
    OpenedPhoto o(6); // stored sideways: decoded upright, 100 x 160
    QDir().mkpath(QString::fromStdString(o.model.outputDir));
    const std::string target = o.model.outputDir + "/copy.jpg";
    ASSERT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Saved);

    const imaging::PropertyBlock saved = imaging::readProperties(target);
    const auto text = [&](std::uint32_t id) {
        const auto* p = find(saved, id);
        return p ? std::string(reinterpret_cast<const char*>(p->value)) : std::string("(none)");
    };
    EXPECT_EQ(text(0x9003), "2005:04:10 13:04:54");
    EXPECT_EQ(text(0x010f), "Canon");
    EXPECT_EQ(text(0x0110), "EOS 20D");
    ASSERT_NE(find(saved, 0x0112), nullptr);
    EXPECT_EQ(find(saved, 0x0112)->value[0], 1);
    EXPECT_EQ(find(saved, 0x501b), nullptr); // the photo's thumbnail shows the old pixels: left behind
    ASSERT_NE(find(saved, 0xa002), nullptr);
    EXPECT_EQ(find(saved, 0xa002)->value[0] | (find(saved, 0xa002)->value[1] << 8), 100);
    QImageReader reader(QString::fromStdString(target));
    reader.setAutoTransform(true);
    EXPECT_EQ(reader.read().size(), QSize(100, 160)); // upright in every viewer
    EXPECT_EQ(readAll(o.photo), readAll(o.photo));    // (read twice: the photo is only read)
    // Behind its metadata, the copy holds the picture as it was encoded, from its first scan on.
    QByteArray encoded;
    ASSERT_EQ(imaging::encodeImage(o.model.workPicture->image(), *imaging::findEncoder("image/jpeg"),
                                   o.model.jpegQuality, encoded)
                  .status,
              imaging::Status::Ok);
    const QByteArray copy = readAll(target), scan("\xFF\xDA", 2);
    EXPECT_TRUE(copy.mid(copy.indexOf(scan)) == encoded.mid(encoded.indexOf(scan)));
}

TEST(SavingADatedCopy, keepsThePhotosColourProfileByteForByteAndAddsNoneToAPhotoWithout) {
    const QByteArray adobeRgb = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    ASSERT_GT(adobeRgb.size(), 100);
    const std::pair<const char*, QByteArray> photos[] = {
        {"phone.jpg", adobeRgb}, {"scan.tif", adobeRgb}, {"screen.png", adobeRgb},
        {"plain.jpg", {}},       {"plain.png", {}},
    };
    for (const auto& [name, profile] : photos) {
        SCOPED_TRACE(name);
        TempDir dir;
        photofactory::Photo p;
        p.tags = {{"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}};
        p.iccProfile = profile;
        const std::string photo = dir.path(name);
        ASSERT_EQ(photofactory::writePhoto(photo, p), "");
        for (const int whiteSpace : {0, 1}) { // the copy of the picture, and a new larger picture
            CDatedPicture templ;
            templ.MakeNewTemplate();
            templ.aspectEnabled = whiteSpace;
            templ.aspectWidth = 3;
            ScriptedDialogs user;
            CDatedPicture model;
            ASSERT_EQ(model.LoadPicture(photo, templ, user), 1);
            model.RenderDatedImageForSave();
            model.outputDir = dir.root();
            const std::string copy = dir.path("copy" + std::to_string(whiteSpace) + ".jpg");
            ASSERT_EQ(SaveDatedCopy(model, copy, photo, user), SaveOutcome::Saved);
            EXPECT_EQ(jpegIccProfile(readAll(copy)), profile);
        }
    }
}

TEST(SavingADatedCopy, laysTransparentPartsOfAPictureOnWhite) {
    TempDir dir;
    QImage picture(90, 30, QImage::Format_ARGB32);
    for (int x = 0; x < 90; ++x)
        for (int y = 0; y < 30; ++y)
            picture.setPixel(x, y,
                             x < 30   ? qRgba(0, 0, 0, 0)
                             : x < 60 ? qRgba(255, 0, 0, 128)
                                      : qRgb(0, 0, 200));
    for (const char* name : {"logo.png", "logo.tif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(picture.save(QString::fromStdString(dir.path(name))));
        CDatedPicture templ;
        templ.MakeNewTemplate(); // the date is missing: nothing is drawn
        ScriptedDialogs user;
        CDatedPicture model;
        ASSERT_EQ(model.LoadPicture(dir.path(name), templ, user), 1);
        model.RenderDatedImageForSave();
        model.outputDir = dir.root();
        const std::string copy = dir.path("copy.jpg");
        ASSERT_EQ(SaveDatedCopy(model, copy, dir.path(name), user), SaveOutcome::Saved);
        const QImage saved(QString::fromStdString(copy));
        const auto near = [](QRgb got, QRgb want) {
            return std::abs(qRed(got) - qRed(want)) <= 3 && std::abs(qGreen(got) - qGreen(want)) <= 3 &&
                   std::abs(qBlue(got) - qBlue(want)) <= 3;
        };
        EXPECT_TRUE(near(saved.pixel(15, 15), qRgb(255, 255, 255))) << std::hex << saved.pixel(15, 15);
        EXPECT_TRUE(near(saved.pixel(45, 15), qRgb(255, 127, 127))) << std::hex << saved.pixel(45, 15);
        EXPECT_TRUE(near(saved.pixel(75, 15), qRgb(0, 0, 200))) << std::hex << saved.pixel(75, 15);
    }
}

TEST(SavingADatedCopy, keepsTheExifWhenTheXmpIsLargerThanAJpegSegmentAndSaysSo) {
    TempDir dir;
    photofactory::Photo p;
    p.tags = {{"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}, {"Exif.Image.Make", "Canon"}};
    const std::string photo = dir.path("scan.png");
    ASSERT_EQ(photofactory::writePhoto(photo, p), "");
    {
        auto image = Exiv2::ImageFactory::open(photo);
        image->readMetadata();
        image->xmpData()["Xmp.dc.description"] = std::string(70000, 'x'); // extended XMP is legal
        image->writeMetadata();
    }
    CDatedPicture templ;
    templ.MakeNewTemplate();
    ScriptedDialogs user;
    CDatedPicture model;
    ASSERT_EQ(model.LoadPicture(photo, templ, user), 1);
    model.RenderDatedImageForSave();
    model.outputDir = dir.root();
    const std::string copy = dir.path("copy.jpg");
    ASSERT_EQ(SaveDatedCopy(model, copy, photo, user), SaveOutcome::Saved);
    ASSERT_EQ(user.texts().size(), 1u);
    EXPECT_NE(
        user.texts()[0].find("XMP metadata (70 KB) is larger than a JPEG segment holds and was left out"),
        std::string::npos)
        << user.texts()[0];
    const imaging::PropertyBlock saved = imaging::readProperties(copy);
    ASSERT_NE(find(saved, 0x9003), nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(find(saved, 0x9003)->value), "2005:04:10 13:04:54");
    EXPECT_NE(find(saved, 0x010f), nullptr);
}

TEST(SavingADatedCopy, neverWritesOverTheOpenedPhoto) {
    OpenedPhoto o;
    const QByteArray before = readAll(o.photo);
    o.model.outputDir = o.dir.root();
    o.model.prefix.clear();
    const std::string target = ComposeOutputName(o.photo, o.model.outputDir, "", "");
    EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Failed);
    EXPECT_NE(o.dialogs.shown.back().text.find("over the photo itself"), std::string::npos);
    EXPECT_EQ(SaveDatedCopy(o.model, o.dir.root() + "/./IMG_0001.JPG", o.photo, o.dialogs),
              SaveOutcome::Failed);
    EXPECT_EQ(readAll(o.photo), before);
}

TEST(SavingADatedCopy, leavesTheEarlierCopyWholeWhenTheWriteFails) {
    OpenedPhoto o;
    QDir().mkpath(QString::fromStdString(o.model.outputDir));
    const std::string target = o.model.outputDir + "/Dated_IMG_0001.JPG";
    ASSERT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Saved);
    const QByteArray earlier = readAll(target);

    // a disk that fills up after a few bytes
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    o.model.workPicture->image().fill(Qt::green);
    const SaveOutcome outcome = SaveDatedCopy(o.model, target, o.photo, o.dialogs);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(outcome, SaveOutcome::Failed);
    EXPECT_EQ(o.dialogs.shown.back().text,
              "Error 7, saving " + target + "\n\n" + std::strerror(EFBIG)); // and why
    EXPECT_EQ(readAll(target), earlier);
    EXPECT_EQ(QDir(QString::fromStdString(o.model.outputDir)).entryList(QDir::Files).size(),
              1); // no leftovers
}

TEST(SavingADatedCopy, writesNothingWithoutAPictureOrAChoice) {
    CDatedPicture empty;
    ScriptedDialogs dialogs;
    std::string outputPath = "/tmp/never.jpg";
    EXPECT_EQ(SaveDatedCopy(empty, outputPath, "/tmp/x.jpg", dialogs), SaveOutcome::Failed);
    EXPECT_EQ(SaveDatedCopyAs(empty, outputPath, "/tmp/x.jpg", std::nullopt, dialogs),
              SaveOutcome::Cancelled);
    EXPECT_EQ(outputPath, "/tmp/never.jpg");
    EXPECT_TRUE(dialogs.shown.empty());

    OpenedPhoto o;
    QDir().mkpath(QString::fromStdString(o.model.outputDir));
    std::string path = o.model.outputDir + "/first.jpg";
    ASSERT_EQ(SaveDatedCopyAs(o.model, path, o.photo, o.model.outputDir + "/chosen", o.dialogs),
              SaveOutcome::Saved);
    EXPECT_EQ(path, o.model.outputDir + "/chosen"); // typed without extension: used as typed
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
}

TEST(SavingADatedCopy, thatCannotWriteItsFileSaysWhyAndLeavesEveryOtherFileAsItWas) {
    OpenedPhoto o;
    const QString out = QString::fromStdString(o.model.outputDir);
    QDir().mkpath(out);
    const std::string earlier = o.model.outputDir + "/Dated_IMG_0001.JPG";
    ASSERT_EQ(SaveDatedCopy(o.model, earlier, o.photo, o.dialogs), SaveOutcome::Saved);
    const QByteArray earlierBytes = readAll(earlier);
    const QByteArray photoBytes = readAll(o.photo);
    {
        QFile notes(out + "/notes.txt");
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("keep me");
    }
    ASSERT_EQ(::mkfifo((o.model.outputDir + "/pipe.jpg").c_str(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(out + "/folder.jpg"));
    // A link at the copy's name, to a file of the user's outside the folder.
    const std::string victim = o.dir.path("victim.txt");
    {
        QFile file(QString::fromStdString(victim));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the user's");
    }
    ASSERT_EQ(::symlink("../victim.txt", (o.model.outputDir + "/Dated_link.jpg").c_str()), 0);
    const QStringList before =
        QDir(out).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);

    const std::pair<std::string, std::string> targets[] = {
        {o.model.outputDir + "/notes.txt/copy.jpg", std::strerror(ENOTDIR)},
        {o.model.outputDir + "/" + std::string(300, 'n') + ".jpg", std::strerror(ENAMETOOLONG)},
        {o.model.outputDir + "/pipe.jpg", "not a regular file"}, // it would be replaced by a file
        {o.model.outputDir + "/folder.jpg", std::strerror(EISDIR)},
        {o.model.outputDir + "/Dated_link.jpg", "a symbolic link has this name; it is left as it is"},
    };
    o.model.workPicture->image().fill(Qt::green);
    for (const auto& [target, reason] : targets) {
        SCOPED_TRACE(target.substr(o.model.outputDir.size()));
        EXPECT_EQ(SaveDatedCopy(o.model, target, o.photo, o.dialogs), SaveOutcome::Failed);
        EXPECT_EQ(o.dialogs.shown.back().text, "Error 7, saving " + target + "\n\n" + reason);
    }
    EXPECT_EQ(readAll(earlier), earlierBytes);
    EXPECT_EQ(readAll(o.photo), photoBytes);
    EXPECT_EQ(readAll(o.model.outputDir + "/notes.txt"), "keep me");
    EXPECT_EQ(readAll(victim), "the user's");
    struct stat pipe {};
    ASSERT_EQ(::stat((o.model.outputDir + "/pipe.jpg").c_str(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
    EXPECT_EQ(QDir(out).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              before)
        << "no half-written files left";
}

TEST(TheOpenedPhoto, staysByteForByteAsItWasThroughLoadRenderSavesAndTemplateWrites) {
    for (const char* name : {"IMG_0001.JPG", "scan.tif", "screen.png"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        photofactory::Photo p;
        p.width = 160;
        p.height = 100;
        p.thumbnail = std::string(name).ends_with(".JPG");
        p.tags = {{"Exif.Image.Make", "Canon"},
                  {"Exif.Image.Orientation", "6"},
                  {"Exif.Photo.DateTimeOriginal", "2005:04:10 13:04:54"}};
        const std::string photo = dir.path(name);
        ASSERT_EQ(photofactory::writePhoto(photo, p), "");
        const QByteArray bytes = readAll(photo);
        struct stat before {};
        ASSERT_EQ(::stat(photo.c_str(), &before), 0);

        CDatedPicture templ;
        templ.MakeNewTemplate();
        templ.aspectEnabled = 1; // white space too
        ScriptedDialogs user;
        CDatedPicture model;
        ASSERT_EQ(model.LoadPicture(photo, templ, user), 1);
        model.RenderDatedImage();
        model.outputDir = dir.root();

        // Its own name, through a symbolic link and through a second name for the same file: refused.
        ASSERT_EQ(::symlink(photo.c_str(), dir.path("link.jpg").c_str()), 0);
        ASSERT_EQ(::link(photo.c_str(), dir.path("hard.jpg").c_str()), 0);
        std::string output = photo;
        EXPECT_EQ(SaveDatedCopy(model, output, photo, user), SaveOutcome::Failed);
        EXPECT_EQ(SaveDatedCopyAs(model, output, photo, dir.path("link.jpg"), user), SaveOutcome::Failed);
        EXPECT_EQ(SaveDatedCopyAs(model, output, photo, dir.path("hard.jpg"), user), SaveOutcome::Failed);
        // Beside it, a template beside it, and the last repaint before a save: the photo is only read.
        EXPECT_EQ(SaveDatedCopy(model, ComposeOutputName(photo, dir.root(), "Dated_", ""), photo, user),
                  SaveOutcome::Saved);
        EXPECT_EQ(SaveDatedCopyAs(model, output, photo, dir.path("other.jpg"), user), SaveOutcome::Saved);
        ASSERT_EQ(model.WriteTemplate(dir.path("beside.tpl")), 0);
        EXPECT_EQ(templ.ReadTemplate(dir.path("beside.tpl"), user), 0);
        model.RenderDatedImageForSave();
        EXPECT_EQ(SaveDatedCopy(model, dir.path("last.jpg"), photo, user), SaveOutcome::Saved);

        EXPECT_EQ(readAll(photo), bytes);
        struct stat after {};
        ASSERT_EQ(::stat(photo.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino); // not replaced by a new file either
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
}
