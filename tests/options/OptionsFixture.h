#pragma once

#include "formatbar/FakeFontCatalogue.h"
#include "formatbar/MainBar.h"
#include "model/DatedPicture.h"
#include "model/ItemList.h"
#include "options/OptionsPage.h"
#include "options/OptionsSheet.h"
#include "shell/AppSettings.h"
#include "shell/OptionsWorkflow.h"
#include "support/ScriptedUiDialogs.h"
#include "support/TempDir.h"
#include "view/PictureView.h"

#include "photofactory/PhotoFactory.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The main window's side of the options sheet: settings, a template folder, the open photo's
// model, the view and the format bar, and the user as a script. run() shows the sheet and lets the
// test act as the user, who ends with OK or Cancel (or neither, which counts as Cancel).
class OptionsFixture : public ::testing::Test {
protected:
    OptionsFixture() {
        templateFolder = dir.path("Templates");
        QDir().mkpath(QString::fromStdString(templateFolder));
        settings.templateFolder = templateFolder;
        settings.defaultTemplate = "Simple.tpl";
        settings.backColor = 0x909090;
        templateFiles = {"Simple.tpl", "caption.tpl", "Watermark.tpl"};
        templ.MakeNewTemplate();
        templ.templateDir = templateFolder;
        picture = templ;
        view.resize(400, 300);
    }

    // Opens a photo taken on the sample date, as the main window does.
    void openPhoto(int width = 120, int height = 80) {
        picturePath = dir.path("IMG_0001.JPG");
        photofactory::Photo photo;
        photo.width = width;
        photo.height = height;
        photo.tags = {{"Exif.Image.DateTime", "2001:06:21 14:38:56"},
                      {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
        ASSERT_EQ(photofactory::writePhoto(picturePath, photo), "");
        templ.outputDir = dir.path("out");
        ASSERT_EQ(picture.LoadPicture(picturePath, templ, dialogs), 1);
        ASSERT_TRUE(picture.workPicture);
        outputPath = dir.path("out/Dated_IMG_0001.JPG");
        view.AttachPicture(&picture);
        bar.setDatedPicture(&picture);
        bar.FillItemList(false);
        bar.ShowItem(-1);
    }

    // Writes a picture file of a size in one colour.
    static void writeImage(const std::string& path, int width, int height, QColor color = Qt::red) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG")) << path;
    }

    OptionsContext context() {
        return OptionsContext{.settings = settings,
                              .datedPicture = picture,
                              .loadedTemplate = templ,
                              .outputPath = outputPath,
                              .picturePath = picturePath,
                              .templateFiles = templateFiles,
                              .dialogs = dialogs,
                              .view = &view,
                              .formatBar = &bar,
                              .updateChangesLabel = [this] { ++changesLabelUpdates; },
                              .parent = nullptr};
    }

    // Runs the options sheet from `startPage` with the user's actions.
    void run(const std::function<void(COptionsSheet&)>& user, int startPage = 0) {
        COptionsWorkflow workflow(context(), [&](COptionsSheet& sheet) {
            sheet.show();
            user(sheet);
            return sheet.result();
        });
        workflow.ShowOptions(startPage);
    }

    template <class W> static W* control(COptionsSheet& sheet, const char* name) {
        W* widget = sheet.findChild<W*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QLineEdit* edit(COptionsSheet& sheet, const char* name) { return control<QLineEdit>(sheet, name); }
    // The user replaces an edit box's text.
    static void type(COptionsSheet& sheet, const char* name, const QString& text) {
        edit(sheet, name)->setText(text);
    }
    static void click(COptionsSheet& sheet, const char* name) {
        control<QAbstractButton>(sheet, name)->click();
    }
    // Brings the page with this tab text to the front.
    static void showPage(COptionsSheet& sheet, const QString& title) {
        for (int i = 0; i < sheet.pageCount(); ++i)
            if (sheet.tabs()->tabText(i) == title) {
                ASSERT_TRUE(sheet.selectPage(i)) << title.toStdString();
                return;
            }
        FAIL() << "no page " << title.toStdString();
    }

    static QStringList rows(const QComboBox& box) {
        QStringList texts;
        for (int row = 0; row < box.count(); ++row)
            texts << box.itemText(row);
        return texts;
    }
    QStringList barRows() { return rows(*dynamic_cast<QComboBox*>(&bar.itemList())); }

    TempDir dir;
    std::string templateFolder;
    AppSettings settings;
    std::vector<std::string> templateFiles;
    CDatedPicture templ;
    CDatedPicture picture;
    std::string picturePath;
    std::string outputPath;
    ScriptedUiDialogs dialogs;
    CPictureView view;
    FakeFontCatalogue fonts;
    CMainBar bar{fonts};
    int changesLabelUpdates = 0;
};
