// What OK does with the pages' values: the settings, the template settings in use, the border and
// watermark files, and the picture composed again; and what Cancel leaves alone.

#include "options/OptionsFixture.h"

#include "formatbar/ColorButton.h"

#include "options/PPFormat.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>

#include <sys/stat.h>

namespace {

constexpr int kFileHandling = 0;
constexpr int kFormat = 1;
constexpr int kAspect = 2;
constexpr int kBorder = 3;

QByteArray contents(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ino_t inodeOf(const std::string& path) {
    struct stat st = {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

using OptionsOk = OptionsFixture;

TEST_F(OptionsOk, withNoPictureShowsOnlyGlobalOptionsAndChangesOnlyTheSettings) {
    picture.jpegQuality = 77;
    picture.prefix = "P_";
    picture.borderPath = "frame.png";
    const std::string newFolder = dir.path("Elsewhere");
    dialogs.folderAnswers.push_back(newFolder);
    dialogs.colors.script.push_back({0x123456, {{3, 0xABCDEF}}});
    QStringList titles, offered;
    QString chosenAtStart;
    run([&](COptionsSheet& sheet) {
        for (int i = 0; i < sheet.pageCount(); ++i)
            titles << sheet.tabs()->tabText(i);
        auto* defaults = control<QComboBox>(sheet, "defaultTemplate");
        offered = rows(*defaults);
        chosenAtStart = defaults->currentText();
        defaults->setCurrentIndex(defaults->findText("caption.tpl"));
        click(sheet, "browseTemplateFolder");
        click(sheet, "backColor");
        auto* lossless = control<QAbstractButton>(sheet, "losslessJpeg");
        EXPECT_TRUE(lossless->isChecked()) << "on by default";
        lossless->setChecked(false);
        auto* optimize = control<QAbstractButton>(sheet, "optimizeHuffman");
        EXPECT_FALSE(optimize->isChecked()) << "off by default";
        optimize->setChecked(true);
        EXPECT_TRUE(sheet.pressOk());
    });
    EXPECT_EQ(titles, QStringList({"Global Options"}));
    EXPECT_EQ(settings.losslessJpeg, 0);
    EXPECT_EQ(settings.optimizeHuffman, 1);
    // Sorted without regard to case; "<New>" is no default.
    EXPECT_EQ(offered, QStringList({"caption.tpl", "Simple.tpl", "Watermark.tpl"}));
    EXPECT_EQ(chosenAtStart, "Simple.tpl");
    EXPECT_EQ(dialogs.folderTitles, std::vector<std::string>({"Current Selection"}));

    EXPECT_EQ(settings.defaultTemplate, "caption.tpl");
    EXPECT_EQ(settings.templateFolder, newFolder);
    EXPECT_EQ(settings.backColor, 0x123456);
    EXPECT_EQ(settings.customColors[3], 0xABCDEF)
        << "the colour dialog shares the application's custom colours";
    EXPECT_EQ(view.backColor(), 0x123456);
    EXPECT_EQ(picture.templateDir, newFolder);
    EXPECT_EQ(templ.templateDir, newFolder);
    // The template settings hand back what they were given.
    EXPECT_EQ(picture.jpegQuality, 77);
    EXPECT_EQ(picture.prefix, "P_");
    EXPECT_EQ(picture.borderPath, "frame.png");
    EXPECT_EQ(picture.modified, 0);
    EXPECT_EQ(changesLabelUpdates, 1);
}

TEST_F(OptionsOk, takesTheFileHandlingAndNamesTheDatedCopyAgain) {
    openPhoto();
    const std::string outFolder = dir.path("dated");
    dialogs.folderAnswers.push_back(outFolder);
    run([&](COptionsSheet& sheet) {
        type(sheet, "jpegQuality", "150"); // no range: the encoder takes what it is given
        type(sheet, "prefix", "Stamped_");
        type(sheet, "postfix", "_v2");
        click(sheet, "browseOutputDir");
        EXPECT_TRUE(sheet.pressOk());
    });
    EXPECT_EQ(picture.jpegQuality, 150);
    EXPECT_EQ(picture.prefix, "Stamped_");
    EXPECT_EQ(picture.postfix, "_v2");
    EXPECT_EQ(picture.outputDir, outFolder);
    EXPECT_EQ(outputPath, outFolder + "/Stamped_IMG_0001_v2.JPG");
    EXPECT_EQ(picture.modified, 1);
}

TEST_F(OptionsOk, copiesABorderFromElsewhereIntoTheTemplateFolderAndLoadsIt) {
    openPhoto();
    QDir().mkpath(QString::fromStdString(dir.path("Frames")));
    const std::string chosen = dir.path("Frames/gold.png");
    writeImage(chosen, 60, 40, Qt::yellow);
    writeImage(templateFolder + "/gold.png", 10, 10, Qt::blue); // an older copy
    dialogs.openAnswers.push_back(std::vector<std::string>{chosen});
    run(
        [&](COptionsSheet& sheet) {
            click(sheet, "browseBorder");
            EXPECT_TRUE(sheet.pressOk());
        },
        kBorder);
    EXPECT_EQ(contents(templateFolder + "/gold.png"), contents(chosen));
    EXPECT_EQ(picture.borderPath, "gold.png");
    ASSERT_TRUE(picture.borderBitmap);
    EXPECT_EQ(picture.borderBitmap->width(), 60);
    EXPECT_EQ(picture.modified, 1);
    EXPECT_TRUE(dialogs.texts().empty());
}

TEST_F(OptionsOk, onlyLoadsABorderThatLiesInTheTemplateFolder) {
    openPhoto();
    const std::string inFolder = templateFolder + "/frame.png";
    writeImage(inFolder, 30, 20);
    const ino_t before = inodeOf(inFolder);
    // The file by its path, by another path to it, and by the bare name the template keeps.
    for (const std::string& typed :
         {inFolder, dir.path("Templates/../Templates/frame.png"), std::string("frame.png")}) {
        picture.borderBitmap.reset();
        picture.borderPath.clear();
        run(
            [&](COptionsSheet& sheet) {
                type(sheet, "borderPath", QString::fromStdString(typed));
                type(sheet, "borderOpacity", "128");
                EXPECT_TRUE(sheet.pressOk());
            },
            kBorder);
        EXPECT_EQ(inodeOf(inFolder), before) << typed << ": not written again";
        EXPECT_EQ(picture.borderPath, "frame.png");
        EXPECT_TRUE(picture.borderBitmap) << typed;
        EXPECT_EQ(picture.borderOpacity, 128);
    }
    EXPECT_EQ(QDir(QString::fromStdString(templateFolder)).entryList(QDir::Files),
              QStringList({"frame.png"}));
}

TEST_F(OptionsOk, reportsABorderThatCannotBeLoaded) {
    openPhoto();
    run(
        [&](COptionsSheet& sheet) {
            type(sheet, "borderPath", QString::fromStdString(dir.path("nowhere/rust.png")));
            EXPECT_TRUE(sheet.pressOk());
        },
        kBorder);
    EXPECT_EQ(dialogs.texts(),
              std::vector<std::string>({"Unable to load border rust.png.  Invalid type or permissions."}));
    EXPECT_FALSE(picture.borderBitmap);
    EXPECT_EQ(picture.borderPath, "");
}

TEST_F(OptionsOk, removesTheBorderWhenItsPathIsEmptied) {
    writeImage(templateFolder + "/frame.png", 30, 20);
    ASSERT_TRUE(templ.LoadBorder("frame.png", 200, dialogs));
    openPhoto();
    ASSERT_TRUE(picture.borderBitmap);
    run(
        [&](COptionsSheet& sheet) {
            EXPECT_EQ(edit(sheet, "borderPath")->text(), "frame.png");
            EXPECT_EQ(edit(sheet, "borderOpacity")->text(), "200");
            click(sheet, "removeBorder");
            EXPECT_EQ(edit(sheet, "borderPath")->text(), "");
            EXPECT_TRUE(sheet.pressOk());
        },
        kBorder);
    EXPECT_EQ(picture.borderPath, "");
    EXPECT_FALSE(picture.borderBitmap);
    EXPECT_EQ(picture.modified, 1);
}

TEST_F(OptionsOk, copiesLoadsAndListsANewWatermark) {
    openPhoto();
    const std::string chosen = dir.path("stamp.png");
    writeImage(chosen, 16, 8);
    dialogs.openAnswers.push_back(std::vector<std::string>{chosen});
    ASSERT_FALSE(barRows().contains("Watermark"));
    run(
        [&](COptionsSheet& sheet) {
            type(sheet, "watermarkOpacity", "90");
            click(sheet, "browseWatermark");
            EXPECT_TRUE(sheet.pressOk());
        },
        kFormat);
    EXPECT_EQ(contents(templateFolder + "/stamp.png"), contents(chosen));
    ASSERT_GE(picture.watermarkIndex, 0);
    const ImprintItem& mark = picture.item(picture.watermarkIndex);
    EXPECT_EQ(mark.visible, 1);
    EXPECT_EQ(mark.fontName, "stamp.png");
    EXPECT_EQ(mark.fontSize, 90);
    ASSERT_TRUE(picture.watermarkBitmap);
    EXPECT_EQ(barRows().count("Watermark"), 1);
    EXPECT_EQ(picture.modified, 1);
}

// A template with a watermark in the template folder, applied to the photo.
class OptionsOkWithWatermark : public OptionsFixture {
protected:
    void SetUp() override {
        writeImage(templateFolder + "/stamp.png", 16, 8);
        ASSERT_TRUE(templ.LoadWatermark("stamp.png", 200, dialogs));
        openPhoto();
        ASSERT_GE(picture.watermarkIndex, 0);
        ASSERT_TRUE(barRows().contains("Watermark"));
    }
};

TEST_F(OptionsOkWithWatermark, hidesTheWatermarkAndItsEntryWhenItsPathIsEmptied) {
    const int index = picture.watermarkIndex;
    run(
        [&](COptionsSheet& sheet) {
            EXPECT_EQ(edit(sheet, "watermarkPath")->text(), "stamp.png");
            EXPECT_EQ(edit(sheet, "watermarkOpacity")->text(), "200");
            type(sheet, "watermarkPath", "");
            EXPECT_TRUE(sheet.pressOk());
        },
        kFormat);
    EXPECT_EQ(picture.watermarkIndex, -1);
    EXPECT_EQ(picture.item(index).visible, 0);
    EXPECT_EQ(picture.item(index).fontName, "");
    EXPECT_FALSE(picture.watermarkBitmap);
    EXPECT_FALSE(barRows().contains("Watermark"));
    EXPECT_EQ(picture.modified, 1);
}

TEST_F(OptionsOkWithWatermark, reloadsTheWatermarkWhenOnlyItsOpacityChanges) {
    writeImage(templateFolder + "/stamp.png", 24, 12); // the file changed since it was loaded
    run(
        [&](COptionsSheet& sheet) {
            type(sheet, "watermarkOpacity", "100");
            EXPECT_TRUE(sheet.pressOk());
        },
        kFormat);
    ASSERT_GE(picture.watermarkIndex, 0);
    EXPECT_EQ(picture.item(picture.watermarkIndex).fontSize, 100);
    EXPECT_EQ(picture.item(picture.watermarkIndex).visible, 1);
    ASSERT_TRUE(picture.watermarkBitmap);
    EXPECT_EQ(picture.watermarkBitmap->width(), 24) << "read again from the template folder";
    EXPECT_EQ(barRows().count("Watermark"), 1);
    EXPECT_EQ(picture.modified, 1);
    EXPECT_TRUE(dialogs.texts().empty());
}

// Every control of the Aspect Ratio and Border pages marks the template when it changes.
TEST_F(OptionsOk, marksTheTemplateForEachWhiteSpaceAndBorderChange) {
    openPhoto();
    struct Row {
        const char* what;
        int page;
        std::function<void(COptionsSheet&)> act;
        std::function<bool()> took;
    };
    const std::vector<Row> changes = {
        {"wide side", kAspect, [](COptionsSheet& s) { click(s, "wideLeft"); },
         [&] { return picture.whiteSideWide == 1; }},
        {"tall side", kAspect, [](COptionsSheet& s) { click(s, "tallLeft"); },
         [&] { return picture.whiteSideTall == 1; }},
        {"white colour", kAspect,
         [&](COptionsSheet& s) {
             dialogs.colors.script.push_back({0x00FFFF, {}});
             click(s, "whiteColor");
         },
         [&] { return picture.whiteColor == 0x00FFFF; }},
        {"enabled", kAspect, [](COptionsSheet& s) { click(s, "aspectEnabled"); },
         [&] { return picture.aspectEnabled == 1; }},
        {"auto rotate", kBorder, [](COptionsSheet& s) { click(s, "borderAutoRotate"); },
         [&] { return picture.borderAutoRotate == 0; }},
        {"border opacity", kBorder, [](COptionsSheet& s) { type(s, "borderOpacity", "40"); },
         [&] { return picture.borderOpacity == 40; }},
    };
    for (const Row& change : changes) {
        picture.modified = 0;
        run(
            [&](COptionsSheet& sheet) {
                change.act(sheet);
                EXPECT_TRUE(sheet.pressOk());
            },
            change.page);
        EXPECT_TRUE(change.took()) << change.what;
        EXPECT_EQ(picture.modified, 1) << change.what;
    }
}

TEST_F(OptionsOk, composesThePictureAgainWithTheWhiteSpace) {
    openPhoto(100, 100);
    ASSERT_EQ(picture.workPicture->width(), 100);
    run(
        [&](COptionsSheet& sheet) {
            click(sheet, "aspectEnabled");
            type(sheet, "aspectWidth", "6");
            type(sheet, "aspectHeight", "4");
            EXPECT_TRUE(sheet.pressOk());
        },
        kAspect);
    ASSERT_TRUE(picture.workPicture);
    EXPECT_EQ(picture.workPicture->width(), 150);
    EXPECT_EQ(picture.workPicture->height(), 100);
    EXPECT_EQ(view.datedPicture(), &picture);
    EXPECT_EQ(picture.modified, 1);
}

TEST_F(OptionsOk, setsTheDateSourcesOfEveryDateItemTheClockShiftAndNamesAndDatesAPhotoWithoutExif) {
    openPhoto();
    const auto choose = [&](int source, const char* shift, bool names) {
        run(
            [&](COptionsSheet& sheet) {
                control<QComboBox>(sheet, "dateSources")->setCurrentIndex(source);
                type(sheet, "clockShift", shift);
                if (control<QCheckBox>(sheet, "localeNames")->isChecked() != names)
                    click(sheet, "localeNames");
                EXPECT_TRUE(sheet.pressOk());
            },
            kFormat);
    };
    choose(2, "0:00:30:00", true);
    const DateSources every = CPPFormat::DateSourceChoices()[2];
    int dates = 0;
    for (int i = 0; i < picture.itemCount; ++i)
        if (isDateTag(picture.item(i).tag)) {
            ++dates;
            EXPECT_EQ(picture.item(i).dateSources, every);
        }
    EXPECT_EQ(dates, 2);
    EXPECT_EQ(picture.clockShiftSeconds, 1800);
    EXPECT_EQ(picture.localeNames, 1);
    EXPECT_EQ(picture.modified, 1);
    // The page shows what the picture has the next time.
    run(
        [&](COptionsSheet& sheet) {
            EXPECT_EQ(control<QComboBox>(sheet, "dateSources")->currentIndex(), 2);
            EXPECT_EQ(edit(sheet, "clockShift")->text(), "0:00:30:00");
            EXPECT_TRUE(sheet.pressOk());
        },
        kFormat);

    // A scan with nothing but its name: the date comes from the name, where a new template puts it.
    const std::string scan = dir.path("IMG_20180725_163423.jpg");
    ASSERT_EQ(photofactory::writePhoto(scan, photofactory::Photo()), "");
    CDatedPicture blank;
    blank.MakeNewTemplate();
    blank.item(0).visible = 0;
    ASSERT_EQ(picture.LoadPicture(scan, blank, dialogs), 1);
    choose(3, "", false);
    const ImprintItem& date = picture.item(picture.itemCount - 1);
    EXPECT_EQ(date.tag, kTagDateTimeOriginal);
    EXPECT_EQ(date.visible, 1);
    EXPECT_EQ(date.resolvedDate, "2018:07:25 16:34:23");
    EXPECT_GT(date.textWidthPx, 0);
    EXPECT_EQ(picture.clockShiftSeconds, 0);
}

TEST_F(OptionsOk, offersEveryPageWhenTheRatioLeftNoPictureSoItCanBeMended) {
    openPhoto(100, 100);
    picture.aspectEnabled = 1;
    picture.aspectHeight = 0; // a template of an older version may hold it
    picture.BuildWorkPicture(dialogs);
    ASSERT_FALSE(picture.workPicture);
    QStringList titles;
    run([&](COptionsSheet& sheet) {
        for (int i = 0; i < sheet.pageCount(); ++i)
            titles << sheet.tabs()->tabText(i);
        sheet.tabs()->setCurrentIndex(kAspect);
        type(sheet, "aspectHeight", "4");
        EXPECT_TRUE(sheet.pressOk());
    });
    EXPECT_EQ(titles.size(), 5);
    ASSERT_TRUE(picture.workPicture) << "the mended ratio gives a picture again";
    EXPECT_EQ(picture.workPicture->width(), 150);
}

TEST_F(OptionsOk, cancelChangesNothingButTheLabelsAdded) {
    openPhoto();
    const CDatedPicture before(picture);
    const AppSettings settingsBefore = settings;
    const std::string outputBefore = outputPath;
    run([&](COptionsSheet& sheet) {
        type(sheet, "prefix", "X_");
        sheet.selectPage(kFormat);
        control<QComboBox>(sheet, "dateFormat")->setEditText("%Y");
        type(sheet, "labelName", "Trip");
        click(sheet, "addItem");
        sheet.selectPage(kAspect);
        click(sheet, "wideLeft");
        sheet.selectPage(kBorder);
        click(sheet, "removeBorder");
        sheet.selectPage(4);
        type(sheet, "templateFolder", "/elsewhere");
        sheet.pressCancel();
    });
    EXPECT_EQ(picture.itemCount, before.itemCount + 1);
    EXPECT_EQ(picture.item(before.itemCount).displayName, "Trip");
    EXPECT_EQ(picture.prefix, before.prefix);
    EXPECT_EQ(picture.dateFormat, before.dateFormat);
    EXPECT_EQ(picture.whiteSideWide, before.whiteSideWide);
    EXPECT_EQ(settings.templateFolder, settingsBefore.templateFolder);
    EXPECT_EQ(picture.templateDir, before.templateDir);
    EXPECT_EQ(outputPath, outputBefore);
}
