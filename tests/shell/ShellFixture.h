#pragma once

#include "imaging/TextCodec.h"
#include "model/DatedPicture.h"
#include "model/ProfileFile.h"
#include "photofactory/PhotoFactory.h"
#include "shell/MainFrame.h"
#include "shell/OutputPane.h"
#include "shell/TemplateBar.h"
#include "support/ScriptedUiDialogs.h"
#include "support/TempDir.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A main window as the application makes it, in a folder of its own: the executable's folder
// "bin" with its "Templates", photos in "photos", copies in "out". The user is a script.
class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() {
        QDir().mkpath(q(templates()));
        QDir().mkpath(q(dir.path("photos")));
        QDir().mkpath(q(out()));
    }

    static QString q(const std::string& s) { return QString::fromStdString(s); }

    std::string exe() const { return dir.path("bin/imprix"); }
    std::string ini() const { return dir.path("bin/imprix.ini"); }
    std::string templates() const { return dir.path("bin/Templates"); }
    std::string out() const { return dir.path("out"); }
    std::string photo(const std::string& name) const { return dir.path("photos/" + name); }

    // Settings that send the copies to out/, plus the lines given.
    void writeSettings(const std::vector<std::string>& general) {
        QFile file(q(ini()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[General]\nOutDir=" + out() + "\n").c_str());
        for (const std::string& line : general)
            file.write((line + "\n").c_str());
    }

    // A template in the template folder whose copies are named with `prefix`.
    void writeTemplate(const std::string& name, const std::string& prefix) {
        CDatedPicture templ;
        templ.MakeNewTemplate();
        templ.prefix = prefix;
        ASSERT_EQ(templ.WriteTemplate(templates() + "/" + name), 0);
    }

    std::string writePhoto(const std::string& name) {
        photofactory::Photo p;
        p.tags = {{"Exif.Image.DateTime", "2001:06:21 14:38:56"},
                  {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}};
        const std::string path = photo(name);
        EXPECT_EQ(photofactory::writePhoto(path, p), "");
        return path;
    }

    void writeFile(const std::string& path, const char* bytes) {
        QFile file(q(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    CMainFrame& start() {
        FrameSetup setup;
        setup.dialogs = &user;
        setup.executablePath = exe();
        frame = std::make_unique<CMainFrame>(setup);
        return *frame;
    }

    // Opens the photos through "&Open" with the file dialog's answer.
    void open(const std::vector<std::string>& paths) {
        user.openAnswers.push_back(paths);
        trigger(FrameCommands::Open);
    }

    void trigger(FrameCommands::Command c) { frame->command(c)->trigger(); }
    bool enabled(FrameCommands::Command c) const { return frame->command(c)->isEnabled(); }
    bool checked(FrameCommands::Command c) const { return frame->command(c)->isChecked(); }
    FrameState& state() { return frame->state(); }
    std::string title() const { return frame->windowTitle().toStdString(); }
    std::string pane() const { return frame->outputPane()->text().toStdString(); }
    std::string note() const { return frame->templateBar()->changesText().toStdString(); }

    // Chooses the template list's entry as the user does.
    void chooseTemplate(const std::string& name) {
        QComboBox* list = frame->templateBar()->list();
        const int row = list->findText(q(name));
        ASSERT_GE(row, 0) << name;
        list->setCurrentIndex(row);
        emit list->activated(row);
    }

    // The first item the open photo shows, or -1.
    int shownItem() {
        for (int i = 0; i < state().datedPicture.itemCount; ++i)
            if (state().datedPicture.item(i).visible) return i;
        return -1;
    }

    std::vector<std::string> listEntries() const {
        std::vector<std::string> entries;
        for (int row = 0; row < frame->templateBar()->count(); ++row)
            entries.push_back(frame->templateBar()->entryText(row));
        return entries;
    }

    static bool exists(const std::string& path) { return QFile::exists(q(path)); }

    TempDir dir;
    ScriptedUiDialogs user;
    std::unique_ptr<CMainFrame> frame;
};
