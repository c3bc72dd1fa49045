#include "batch/BatchRun.h"
#include "batch/BatchOptions.h"

#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct BatchOutcome {
    int exitCode = -1;
    std::string err;
    std::string out;
};

BatchOutcome runBatch(const QStringList& args,
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(IMPRIX_BATCH_EXE), args);
    process.waitForFinished(120000);
    return BatchOutcome{process.exitCode(), process.readAllStandardError().toStdString(),
                        process.readAllStandardOutput().toStdString()};
}

// A template with the date taken in black, large, in the bottom-left corner.
std::string writeDateTemplate(const TempDir& dir) {
    CDatedPicture templ;
    templ.MakeNewTemplate();
    ImprintItem& date = templ.item(0);
    date.tag = kTagDateTimeOriginal;
    date.color = 0;
    date.fontSize = 30;
    date.offsetX = 20;
    date.offsetY = 20;
    templ.dateFormat = "%Y";
    const std::string path = dir.path("date.tpl");
    EXPECT_EQ(templ.WriteTemplate(path), 0);
    return path;
}

int darkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            dark += qGray(image.pixel(x, y)) < 60;
    return dark;
}

} // namespace

TEST(TheBatchCommandLine, readsOptionsAndRefusesBadOnes) {
    std::string error;
    BatchOptions o = parseBatchOptions(
        {"--jobs", "3", "--quality=85", "--shift=-0:01:30:00", "--dry-run", "a.jpg", "--", "-b.jpg"}, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(o.shift, -5400);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.quality, 85);
    EXPECT_TRUE(o.dryRun);
    EXPECT_EQ(o.inputs, (std::vector<std::string>{"a.jpg", "-b.jpg"}));
    EXPECT_FALSE(o.lossless.has_value()) << "the settings decide";
    EXPECT_EQ(parseBatchOptions({"--lossless", "a.jpg"}, error).lossless, true);
    EXPECT_EQ(parseBatchOptions({"--no-lossless", "a.jpg"}, error).lossless, false);
    EXPECT_FALSE(o.optimize.has_value()) << "the settings decide";
    EXPECT_EQ(parseBatchOptions({"--no-optimize", "--optimize", "a.jpg"}, error).optimize, true);

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--quality", "101", "a.jpg"},
                                                {"--jobs", "0", "a.jpg"},
                                                {"--jobs", "two", "a.jpg"},
                                                {"--shift=1:30", "a.jpg"},
                                                {"--template"},        // value missing
                                                {"--colour", "a.jpg"}, // unknown option
                                                {"--dry-run"}}) {      // nothing to do
        error.clear();
        parseBatchOptions(bad, error);
        EXPECT_FALSE(error.empty()) << bad.front();
    }
}

TEST(TheBatchProgram, printsWhatTheDecodersWarnOfOnlyWhenVerbose) {
    // libtiff warns of a tag it does not know, as of the private tags many cameras write.
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Image.0xc000", "7", 3}};
    const std::string path = dir.path("private-tag.tif");
    ASSERT_EQ(photofactory::writePhoto(path, photo), "");

    const BatchOutcome quiet = runBatch({"--items", QString::fromStdString(path)});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(quiet.err.find("0xc000"), std::string::npos) << quiet.err;
    const BatchOutcome verbose = runBatch({"--verbose", "--items", QString::fromStdString(path)});
    EXPECT_NE(verbose.err.find("imprix-batch: TIFFReadDirectory: Unknown field with tag 49152 (0xc000)"),
              std::string::npos)
        << verbose.err;
}

TEST(TheBatchProgram, datesAFolderAndReportsTheBrokenPhotoWithoutStopping) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    for (int i = 0; i < 3; ++i) {
        photofactory::Photo photo;
        photo.width = 600;
        photo.height = 400;
        photo.color = QColor(235, 235, 235);
        photo.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
        ASSERT_EQ(photofactory::writePhoto(
                      dir.path("in/photo" + std::to_string(i) + (i == 2 ? ".PNG" : ".jpg")), photo),
                  "");
    }
    QFile broken(QString::fromStdString(dir.path("in/broken.jpg")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\xFF\xD8\xFF this is no photo");
    broken.close();
    QFile note(QString::fromStdString(dir.path("in/notes.txt"))); // not a photo: left alone
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.close();

    // A second folder with a photo of the same name, but dark: its copy would replace the first one's.
    QDir().mkpath(QString::fromStdString(dir.path("in2")));
    photofactory::Photo dark;
    dark.color = QColor(10, 10, 10);
    ASSERT_EQ(photofactory::writePhoto(dir.path("in2/photo0.jpg"), dark), "");

    const std::string tpl = writeDateTemplate(dir);
    const BatchOutcome run = runBatch(
        {"--template", QString::fromStdString(tpl), "--out-dir", QString::fromStdString(dir.path("out")),
         "--jobs", "2", QString::fromStdString(dir.path("in")), QString::fromStdString(dir.path("in2"))});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("broken.jpg"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("same name as the copy of " + dir.path("in/photo0.jpg")), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("3 written, 2 failed"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("notes.txt"), std::string::npos);

    for (const char* name : {"Dated_photo0.jpg", "Dated_photo1.jpg", "Dated_photo2.jpg"}) {
        const QImage copy(QString::fromStdString(dir.path(std::string("out/") + name)));
        ASSERT_FALSE(copy.isNull()) << name;
        // the year in the bottom-left corner: 20 points from the edges of a 6 x 4 inch print
        const QRect anchor(copy.width() * 20 / 432, copy.height() * 3 / 4, copy.width() / 3,
                           copy.height() / 4 - 8);
        EXPECT_GT(darkPixels(copy, anchor), 50) << name;
        EXPECT_EQ(darkPixels(copy, QRect(copy.width() / 2, 0, copy.width() / 2 - 1, copy.height() / 2)), 0)
            << name;
    }
}

TEST(TheBatchProgram, saysWhichCopiesHaveNoDateAndWhatATemplateLacksOnceAndNamesPhotosInFull) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    for (int i = 0; i < 3; ++i) {
        photofactory::Photo photo;
        if (i > 0)
            photo.tags = {
                {"Exif.Photo.DateTimeOriginal", i == 1 ? "2001:06:21 14:38:56" : "    :  :     :  :"}};
        ASSERT_EQ(photofactory::writePhoto(dir.path("in/p" + std::to_string(i) + ".jpg"), photo), "");
    }
    CDatedPicture templ; // the date, and a border and a watermark whose files are missing
    templ.MakeNewTemplate();
    templ.borderPath = "gone-border.png";
    ASSERT_TRUE(templ.AppendItem());
    templ.item(1).tag = kTagWatermark;
    templ.item(1).visible = 1;
    templ.item(1).fontName = "gone-mark.png";
    ASSERT_EQ(templ.WriteTemplate(dir.path("t.tpl")), 0);

    const BatchOutcome run = runBatch({"--template", QString::fromStdString(dir.path("t.tpl")), "--out-dir",
                                       QString::fromStdString(dir.path("out")), "--jobs", "2",
                                       QString::fromStdString(dir.path("in"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const auto count = [&](const std::string& text) {
        std::size_t n = 0;
        for (auto at = run.err.find(text); at != std::string::npos; at = run.err.find(text, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("Unable to load border gone-border.png"), 1u) << run.err;
    EXPECT_EQ(count("Unable to load Watermark"), 1u) << run.err;
    EXPECT_EQ(count("p0.jpg: written without a date: the photo has no Date Time Original"), 1u) << run.err;
    EXPECT_EQ(count("p2.jpg: written without a date: the date of \"Date Time Original\" cannot be shown"), 1u)
        << run.err;
    EXPECT_EQ(count("3 written (2 without a date), 0 failed"), 1u) << run.err;

    // A photo named relative to the current folder has its full path as "Image Path".
    QProcess items;
    items.setWorkingDirectory(QString::fromStdString(dir.path("in")));
    items.start(QStringLiteral(IMPRIX_BATCH_EXE), {"--items", "p1.jpg"});
    ASSERT_TRUE(items.waitForFinished(60000));
    const std::string listing = items.readAllStandardOutput().toStdString();
    EXPECT_NE(listing.find("PropertyTagTypeASCII\t" + dir.path("in/p1.jpg") + "\t"), std::string::npos)
        << listing;
}

TEST(TheBatchProgram, saysWhatDatedAPhotoWithoutItsOwnDateAndShiftsTheClockForOneRun) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/IMG_20180725_163423.jpg"), photofactory::Photo()), "");
    photofactory::Photo dated;
    dated.width = 600, dated.height = 400, dated.color = QColor(230, 230, 230);
    dated.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 23:38:56"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/dated.jpg"), dated), "");
    CDatedPicture templ;
    templ.MakeNewTemplate();
    templ.item(0).dateSources = {DateSource::DateTimeOriginal, DateSource::FileName};
    templ.item(0).color = 0;
    templ.item(0).fontSize = 60;
    templ.dateFormat = "%d";
    ASSERT_EQ(templ.WriteTemplate(dir.path("t.tpl")), 0);

    const BatchOutcome run =
        runBatch({"--template", QString::fromStdString(dir.path("t.tpl")), "--shift=0:01:00:00", "--out-dir",
                  QString::fromStdString(dir.path("out")), QString::fromStdString(dir.path("in"))});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("IMG_20180725_163423.jpg: dated from the file name"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("dated.jpg: dated from"), std::string::npos) << run.err; // its own date
    EXPECT_NE(run.err.find("2 written, 0 failed"), std::string::npos) << run.err;
    // The copy shows the shifted date, the next day's: it is nearer to that render than to the unshifted one.
    const QImage copy(QString::fromStdString(dir.path("out/Dated_dated.jpg")));
    const auto differenceFrom = [&](long long shift) {
        templ.clockShiftSeconds = shift;
        CDatedPicture photo;
        ScriptedDialogs dialogs;
        EXPECT_EQ(photo.LoadPicture(dir.path("in/dated.jpg"), templ, dialogs), 1);
        photo.RenderDatedImage();
        const QImage render = photo.workPicture->image();
        long long sum = 0;
        for (int y = 0; y < render.height(); ++y)
            for (int x = 0; x < render.width(); ++x)
                sum += std::abs(qGray(render.pixel(x, y)) - qGray(copy.pixel(x, y)));
        return sum;
    };
    ASSERT_EQ(copy.size(), QSize(600, 400));
    EXPECT_LT(differenceFrom(3600) * 2, differenceFrom(0));
}

TEST(TheBatchProgram, walksFoldersOfFoldersOnlyWhenAskedAndPrintsTheCopiesOnStandardOutput) {
    TempDir dir;
    for (const char* folder : {"in/sub/deeper", "in/sub2"})
        QDir().mkpath(QString::fromStdString(dir.path(folder)));
    for (const char* photo : {"in/a.jpg", "in/sub/b.jpg", "in/sub/deeper/c.jpg"})
        ASSERT_EQ(photofactory::writePhoto(dir.path(photo), photofactory::Photo()), "");
    const QString tpl = QString::fromStdString(writeDateTemplate(dir));
    const QString in = QString::fromStdString(dir.path("in"));

    const BatchOutcome flat =
        runBatch({"--template", tpl, "--out-dir", QString::fromStdString(dir.path("flat")), in});
    EXPECT_EQ(flat.exitCode, 0);
    EXPECT_EQ(flat.out, dir.path("flat/Dated_a.jpg") + "\n");
    EXPECT_NE(flat.err.find(dir.path("in") + ": 2 folders in it left out (-r dates them too)"),
              std::string::npos)
        << flat.err;

    const BatchOutcome deep =
        runBatch({"-rq", "--template", tpl, "--out-dir", QString::fromStdString(dir.path("deep")), in});
    EXPECT_EQ(deep.exitCode, 0);
    EXPECT_EQ(deep.err.find("[1/3]"), std::string::npos) << deep.err; // quiet: no progress, no summary
    EXPECT_EQ(deep.err.find("0 failed"), std::string::npos) << deep.err;
    // Each copy as it is written, two jobs at a time: in any order.
    QStringList copies = QString::fromStdString(deep.out).split('\n', Qt::SkipEmptyParts);
    copies.sort();
    EXPECT_EQ(copies, QStringList({QString::fromStdString(dir.path("deep/Dated_a.jpg")),
                                   QString::fromStdString(dir.path("deep/Dated_b.jpg")),
                                   QString::fromStdString(dir.path("deep/Dated_c.jpg"))}));

    // Nothing to do: a summary without a rate.
    const BatchOutcome none =
        runBatch({"--template", tpl, "--dry-run", QString::fromStdString(dir.path("in/sub2"))});
    EXPECT_EQ(none.err.find("per second"), std::string::npos) << none.err;
}

TEST(TheBatchProgram, listsItemsAsJsonThatKeepsEveryText) {
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Image.Make", "Caf\u00e9 \"Tab\"\tand\\slash"},
                  {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("p.jpg"), photo), "");
    const BatchOutcome run = runBatch({"--items", "--json", QString::fromStdString(dir.path("p.jpg"))});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out;
    const QJsonObject listed = doc.object();
    EXPECT_EQ(listed["path"].toString().toStdString(), dir.path("p.jpg"));
    EXPECT_EQ(listed["width"].toInt(), 120);
    std::map<std::string, QJsonObject> byTag;
    for (const QJsonValue& item : listed["items"].toArray())
        byTag[item["tag"].toString().toStdString()] = item.toObject();
    EXPECT_EQ(byTag["0x010f"]["value"].toString(), QStringLiteral("Caf\u00e9 \"Tab\"\tand\\slash"));
    EXPECT_EQ(byTag["0x9003"]["name"].toString(), QStringLiteral("Date Time Original"));
    EXPECT_EQ(byTag["0x9003"]["type"].toString(), QStringLiteral("PropertyTagTypeASCII"));
    EXPECT_TRUE(byTag["0x9003"]["listed"].isBool());
}

TEST(TheBatchProgram, neverWritesACopyOverAnotherPhotoOfTheRun) {
    const struct {
        const char* prefix;
        const char* postfix;
        const char* photo;  // dated...
        const char* victim; // ...into the name of this photo of the same folder
    } rows[] = {{"", " (1)", "beach.jpg", "beach (1).jpg"}, {"Dated_", "", "IMG.jpg", "Dated_IMG.jpg"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.victim);
        TempDir dir;
        for (const char* name : {row.photo, row.victim}) {
            photofactory::Photo photo;
            photo.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
            ASSERT_EQ(photofactory::writePhoto(dir.path(name), photo), "");
        }
        QFile victim(QString::fromStdString(dir.path(row.victim)));
        ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
        const QByteArray before = victim.readAll();
        victim.close();
        CDatedPicture templ;
        templ.MakeNewTemplate();
        templ.prefix = row.prefix;
        templ.postfix = row.postfix;
        ASSERT_EQ(templ.WriteTemplate(dir.path("t.tpl")), 0);
        // The photos' own folder is the output folder.
        const BatchOutcome run =
            runBatch({"--template", QString::fromStdString(dir.path("t.tpl")), "--out-dir",
                      QString::fromStdString(dir.root()), QString::fromStdString(dir.root())});
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_NE(run.err.find("left alone: its copy " + dir.path(row.victim) + " would replace " +
                               dir.path(row.victim) + ", a photo of this run"),
                  std::string::npos)
            << run.err;
        ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
        EXPECT_EQ(victim.readAll(), before);
    }
}

TEST(TheBatchRun, datesPhotosWhoseNamesAreNotUtf8AndSaysWhyAPathCannotBeUsed) {
    TempDir dir;
    const std::string name = "caf\xe9 \x1b[31m.jpg";  // Latin-1 and an escape sequence
    const std::string path = dir.root() + "/" + name; // (TempDir::path goes through QString)
    photofactory::Photo photo;
    photo.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("written.jpg"), photo), "");
    ASSERT_EQ(::rename(dir.path("written.jpg").c_str(), path.c_str()), 0);
    std::vector<std::string> problems;
    const std::string tooLong = "/" + std::string(5000, 'a') + ".jpg";
    BatchJob job;
    job.photos = collectPhotos({dir.root(), path, tooLong}, problems);
    EXPECT_EQ(job.photos, (std::vector<std::string>{path, path}));
    EXPECT_EQ(problems, std::vector<std::string>{tooLong + ": File name too long"});

    job.photos.resize(1);
    job.templ.MakeNewTemplate();
    job.outDir = dir.path("out");
    ASSERT_EQ(::mkdir(job.outDir.c_str(), 0755), 0);
    std::vector<std::string> messages;
    PhotoHooks hooks;
    hooks.message = [&](const std::string&, const std::string& text, bool) { messages.push_back(text); };
    const BatchSummary summary = datePhotos(job, hooks);
    EXPECT_EQ(summary.written, 1) << (messages.empty() ? "" : messages.front());
    EXPECT_EQ(::access((job.outDir + "/Dated_" + name).c_str(), R_OK), 0) << "the copy has the photo's bytes";
}

TEST(TheBatchProgram, writesTheSameCopiesWhateverTheNumberOfJobsAndNothingInADryRun) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    for (int i = 0; i < 4; ++i) {
        photofactory::Photo photo;
        photo.tags = {{"Exif.Photo.DateTimeOriginal", "2010:01:0" + std::to_string(i + 1) + " 10:00:00"}};
        ASSERT_EQ(photofactory::writePhoto(dir.path("in/p" + std::to_string(i) + ".jpg"), photo), "");
    }
    const QString tpl = QString::fromStdString(writeDateTemplate(dir));
    const QString in = QString::fromStdString(dir.path("in"));
    ASSERT_EQ(
        runBatch({"--template", tpl, "--out-dir", QString::fromStdString(dir.path("one")), "--jobs", "1", in})
            .exitCode,
        0);
    ASSERT_EQ(
        runBatch({"--template", tpl, "--out-dir", QString::fromStdString(dir.path("two")), "--jobs", "2", in})
            .exitCode,
        0);
    for (int i = 0; i < 4; ++i) {
        const std::string name = "/Dated_p" + std::to_string(i) + ".jpg";
        QFile a(QString::fromStdString(dir.path("one") + name)),
            b(QString::fromStdString(dir.path("two") + name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(a.readAll(), b.readAll()) << name;
    }

    const BatchOutcome dry =
        runBatch({"--template", tpl, "--out-dir", QString::fromStdString(dir.path("dry")), "--dry-run", in});
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_NE(dry.err.find("nothing written"), std::string::npos);
    EXPECT_FALSE(QDir(QString::fromStdString(dir.path("dry"))).exists());

    const BatchOutcome missing = runBatch({"--template", QString::fromStdString(dir.path("none.tpl")), in});
    EXPECT_EQ(missing.exitCode, 2);
}

TEST(TheBatchProgram, findsTheDefaultTemplateByItsNameOrItsBeginningIgnoringCase) {
    // A portable copy of the program with its settings and templates beside it.
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("bin/Templates")));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(IMPRIX_BATCH_EXE), QString::fromStdString(dir.path("bin/imprix-batch"))));
    for (const auto& [name, prefix] :
         {std::pair{"Holiday.tpl", "H_"}, std::pair{"home.tpl", "Home_"}, std::pair{"Hol Old.tpl", "Old_"}}) {
        CDatedPicture templ;
        templ.MakeNewTemplate();
        templ.prefix = prefix;
        ASSERT_EQ(templ.WriteTemplate(dir.path("bin/Templates/") + name), 0);
    }
    ASSERT_EQ(photofactory::writePhoto(dir.path("a.jpg"), photofactory::Photo{}), "");

    const auto copyWith = [&](const char* templateDef) {
        QFile ini(QString::fromStdString(dir.path("bin/imprix.ini")));
        EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write((std::string("[General]\nTemplateDef=") + templateDef + "\n").c_str());
        ini.close();
        QDir(QString::fromStdString(dir.path("out"))).removeRecursively();
        QProcess batch;
        batch.start(QString::fromStdString(dir.path("bin/imprix-batch")),
                    {QStringLiteral("--out-dir"), QString::fromStdString(dir.path("out")),
                     QString::fromStdString(dir.path("a.jpg"))});
        batch.waitForFinished(60000);
        const QStringList made = QDir(QString::fromStdString(dir.path("out"))).entryList(QDir::Files);
        return made.size() == 1 ? made.front().toStdString() : std::string("?");
    };
    EXPECT_EQ(copyWith("Holiday.tpl"), "H_a.jpg");
    EXPECT_EQ(copyWith("HOLIDAY"), "H_a.jpg") << "\".tpl\" added, found ignoring case";
    EXPECT_EQ(copyWith("holi"), "H_a.jpg") << "the first template starting with it, ignoring case";
    EXPECT_EQ(copyWith("ho"), "Old_a.jpg");
    EXPECT_EQ(copyWith("home"), "Home_a.jpg");
    EXPECT_EQ(copyWith("<New>"), "Dated_a.jpg");
    EXPECT_EQ(copyWith("Missing.tpl"), "Dated_a.jpg") << "a new template";
}

TEST(TheBatchProgram, keepsTheJpegDataOfPhotosAndSaysWhichCopiesEncodeTheWholePictureAndWhy) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    photofactory::Photo photo;
    photo.width = 320;
    photo.height = 240;
    photo.textured = true;
    photo.tags = {{"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/a.jpeg"), photo), "");
    photo.width = 170; // not whole MCUs
    photo.height = 100;
    photo.tags.push_back({"Exif.Image.Orientation", "6"});
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/turned.jpg"), photo), "");
    const std::string plain = writeDateTemplate(dir);
    CDatedPicture wide;
    ScriptedDialogs dialogs;
    ASSERT_EQ(wide.ReadTemplate(plain, dialogs), 0);
    wide.aspectEnabled = 1;
    ASSERT_EQ(wide.WriteTemplate(dir.path("wide.tpl")), 0);

    const auto run = [&](const std::string& templ, const QString& road) {
        return runBatch({"--template", QString::fromStdString(templ), "--out-dir",
                         QString::fromStdString(dir.path("out")), road, "--jobs", "2",
                         QString::fromStdString(dir.path("in"))});
    };
    const auto count = [](const std::string& err, const std::string& text) {
        std::size_t n = 0;
        for (auto at = err.find(text); at != std::string::npos; at = err.find(text, at + 1))
            ++n;
        return n;
    };
    BatchOutcome kept = run(plain, "--lossless");
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(
        count(kept.err,
              "turned.jpg: orientation 6 on a picture that is not whole MCUs: whole picture re-encoded"),
        1u)
        << kept.err;
    EXPECT_EQ(count(kept.err, "re-encoded"), 1u) << "a.jpeg keeps its data: " << kept.err;
    // Far from the date, the copy is the photo itself.
    const QImage original(QString::fromStdString(dir.path("in/a.jpeg")));
    const QImage copy(QString::fromStdString(dir.path("out/Dated_a.jpeg")));
    ASSERT_EQ(copy.size(), original.size());
    EXPECT_EQ(copy.copy(160, 0, 160, 120), original.copy(160, 0, 160, 120));

    const BatchOutcome widened = run(dir.path("wide.tpl"), "--lossless");
    EXPECT_EQ(count(widened.err, "white space: whole picture re-encoded"), 1u)
        << "said once: " << widened.err;

    const BatchOutcome whole = run(plain, "--no-lossless");
    EXPECT_EQ(count(whole.err, "re-encoded"), 0u) << whole.err;
    EXPECT_NE(QImage(QString::fromStdString(dir.path("out/Dated_a.jpeg"))).copy(160, 0, 160, 120),
              original.copy(160, 0, 160, 120))
        << "encoded again at the template's quality";
}

TEST(TheBatchProgram, datesAFolderOfPhotosByTheirContentIntoUprightJpegCopiesWithTheirDates) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    photofactory::Photo photo;
    photo.width = 320;
    photo.height = 240;
    photo.color = QColor(200, 200, 200);
    photo.tags = {{"Exif.Image.Orientation", "6"}, {"Exif.Photo.DateTimeOriginal", "2019:07:14 09:30:05"}};
    photo.heifOrientation = 6; // a portrait phone photo: shown a quarter turn clockwise
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/IMG_1.HEIC"), photo), "");
    photo.heifOrientation = 1;
    photo.tags[0].value = "1";
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/IMG_2.jpeg"), photo), "");
    QFile notes(QString::fromStdString(dir.path("in/notes.heic")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("shopping list\n");
    notes.close();

    const BatchOutcome run =
        runBatch({QStringLiteral("--template"), QString::fromStdString(writeDateTemplate(dir)),
                  QStringLiteral("--out-dir"), QString::fromStdString(dir.path("out")),
                  QString::fromStdString(dir.path("in"))});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(
        run.err.find("notes.heic: not a picture: its content is none of JPEG, TIFF, PNG, WebP, HEIF or AVIF"),
        std::string::npos)
        << run.err;
    QImage heic(QString::fromStdString(dir.path("out/Dated_IMG_1.jpg")), "jpeg");
    ASSERT_FALSE(heic.isNull()) << run.err;
    EXPECT_EQ(heic.size(), QSize(240, 320)) << "turned once";
    EXPECT_GT(darkPixels(heic, QRect(0, 220, 120, 100)), 20) << "the year drawn from the HEIC's Exif";
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.path("out/Dated_IMG_2.jpeg"))));
    const imaging::PropertyBlock copied = imaging::readProperties(dir.path("out/Dated_IMG_1.jpg"));
    const imaging::PropertyItem* taken = propertyitems::find(copied, 0x9003);
    ASSERT_NE(taken, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(taken->value), "2019:07:14 09:30:05");
}

TEST(TheBatchProgram, datesItsOtherPhotosAndSaysWhyAHeifPhotoIsRefusedWhenLibheifCannotBeLoaded) {
    TempDir dir;
    QDir().mkpath(QString::fromStdString(dir.path("in")));
    QDir().mkpath(QString::fromStdString(dir.path("lib")));
    photofactory::Photo photo;
    photo.tags = {{"Exif.Photo.DateTimeOriginal", "2019:07:14 09:30:05"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/IMG_1.heic"), photo), "");
    ASSERT_EQ(photofactory::writePhoto(dir.path("in/IMG_2.jpg"), photo), "");
    // A damaged libheif.so.1, found before the installed one, stands for a missing libheif: the
    // program still starts and dates the JPEG.
    QFile damaged(QString::fromStdString(dir.path("lib/libheif.so.1")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a library\n");
    damaged.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QStringList libraryPath = environment.value("LD_LIBRARY_PATH").split(':', Qt::SkipEmptyParts);
    libraryPath.prepend(QString::fromStdString(dir.path("lib")));
    environment.insert("LD_LIBRARY_PATH", libraryPath.join(':'));

    const BatchOutcome run =
        runBatch({QStringLiteral("--template"), QString::fromStdString(writeDateTemplate(dir)),
                  QStringLiteral("--out-dir"), QString::fromStdString(dir.path("out")),
                  QString::fromStdString(dir.path("in"))},
                 environment);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("IMG_1.heic: cannot decode the picture (HEIF support is not installed: "),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.path("out/Dated_IMG_2.jpg")))) << run.err;
}

TEST(TheBatchProgram, datesAJpegPhotoWithoutLoadingAnyOtherImageLibrary) {
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Photo.DateTimeOriginal", "2019:07:14 09:30:05"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("IMG_2.jpg"), photo), "");
    // The dynamic loader names every library it loads: no image plugin of Qt's, no libheif.
    QProcessEnvironment traced = QProcessEnvironment::systemEnvironment();
    traced.insert("LD_DEBUG", "files");
    for (const char* road : {"--lossless", "--no-lossless"}) {
        const BatchOutcome run =
            runBatch({QStringLiteral("--template"), QString::fromStdString(writeDateTemplate(dir)),
                      QStringLiteral("--out-dir"), QString::fromStdString(dir.path("out")),
                      QString::fromLatin1(road), QString::fromStdString(dir.path("IMG_2.jpg"))},
                     traced);
        EXPECT_EQ(run.exitCode, 0) << road;
        EXPECT_NE(run.err.find("libQt6Gui"), std::string::npos) << "the loader was heard";
        EXPECT_EQ(run.err.find("imageformats/"), std::string::npos) << road;
        EXPECT_EQ(run.err.find("libheif"), std::string::npos) << road;
    }
}
