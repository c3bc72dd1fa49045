#include "model/ProfileFile.h"
#include "model/SettingsPaths.h"

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

void writeText(const std::string& path, const char* text) {
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray readText(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(TheSettingsFile, readsValuesTheWayTheyWereAlwaysRead) {
    TempDir dir;
    writeText(dir.path("s.ini"),
              "; written by hand\r\n[general]\r\n OutDir = /home/me/Pictures \r\n"
              "TemplateDef=\"My Template.tpl\"\r\nBackColor=12abc\r\n[Other]\r\nOutDir=/elsewhere\r\n");
    const ProfileFile ini(dir.path("s.ini"));
    EXPECT_EQ(ini.getString("General", "outdir", "x"), "/home/me/Pictures");    // either case, blanks dropped
    EXPECT_EQ(ini.getString("General", "TemplateDef", "x"), "My Template.tpl"); // quotes dropped
    EXPECT_EQ(ini.getInt("General", "BackColor", "0"), 12);  // digits up to the first other
    EXPECT_EQ(ini.getInt("General", "ViewRatio", "1.5"), 1); // the default, read alike
    EXPECT_EQ(ini.getString("Missing", "OutDir", "fallback"), "fallback");

    writeText(dir.path("long.ini"), ("[General]\nOutDir=" + std::string(300, 'a') + "\n").c_str());
    EXPECT_EQ(ProfileFile(dir.path("long.ini")).getString("General", "OutDir", "").size(), 255u);
    EXPECT_EQ(ProfileFile(dir.path("absent.ini")).getString("General", "OutDir", "d"), "d");
}

TEST(TheSettingsFile, changesOnlyTheKeysWrittenAndKeepsTheRest) {
    TempDir dir;
    writeText(dir.path("s.ini"), "; keep me\n[General]\nOutDir=/a\nUnknown=1\n\n[CustomColors]\nC1=5\n");
    ProfileFile ini(dir.path("s.ini"));
    ini.setString("general", "OUTDIR", "/b");
    ini.setInt("General", "ViewRatio", 2);
    ini.setInt("CustomColors", "C2", 7);
    ini.setString("New", "Key", "v");
    ASSERT_EQ(ini.save(dir.path("s.ini")), "");
    EXPECT_EQ(
        readText(dir.path("s.ini")),
        "; keep "
        "me\n[General]\nOUTDIR=/b\nUnknown=1\nViewRatio=2\n\n[CustomColors]\nC1=5\nC2=7\n\n[New]\nKey=v\n");
}

TEST(TheSettingsFile, survivesAFailedWrite) {
    TempDir dir;
    writeText(dir.path("s.ini"), "[General]\nOutDir=/a\n");
    ProfileFile ini(dir.path("s.ini"));
    ini.setString("General", "OutDir", "/b" + std::string(200, 'b'));
    EXPECT_NE(ini.save(dir.path("s.ini/inside")), "");        // a file is no folder
    EXPECT_NE(ini.save(dir.path(std::string(300, 's'))), ""); // a name longer than a folder takes
    {
        const FileSizeLimit full(16); // the disk fills up after a few bytes
        if (full.active()) {
            EXPECT_NE(ini.save(dir.path("s.ini")), "");
        }
    }
    EXPECT_EQ(readText(dir.path("s.ini")), "[General]\nOutDir=/a\n");
    EXPECT_EQ(QDir(QString::fromStdString(dir.root())).entryList(QDir::Files | QDir::Hidden),
              QStringList{"s.ini"});
}

TEST(TheSettingsFile, readsAPipeOrADeviceAsNoSettingsWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.path("pipe.ini").c_str(), 0600), 0); // no writer will ever come
    EXPECT_TRUE(ProfileFile(dir.path("pipe.ini")).lines().empty());
    EXPECT_TRUE(ProfileFile("/dev/zero").lines().empty()); // endless
}

TEST(TheSettingsPath, replacesOnlyTheExtensionOfTheFileName) {
    EXPECT_EQ(settingsFilePath("/opt/imprix/bin/imprix"), "/opt/imprix/bin/imprix.ini");
    EXPECT_EQ(settingsFilePath("/opt/imprix-2.0/bin/imprix"), "/opt/imprix-2.0/bin/imprix.ini");
    EXPECT_EQ(settingsFilePath("/tools/Imprix.exe"), "/tools/Imprix.ini");
    EXPECT_EQ(settingsFilePath("/tools/.imprix"), "/tools/.imprix.ini");
    EXPECT_EQ(resolveTemplateFolder("Templates", "/opt/bin"), "/opt/bin/Templates");
    EXPECT_EQ(resolveTemplateFolder("../Templates", "/opt/bin"), "../Templates");
    EXPECT_EQ(resolveTemplateFolder("/srv/tpl", "/opt/bin"), "/srv/tpl");
    const std::string home = QDir::homePath().toStdString();
    EXPECT_EQ(resolveTemplateFolder("~/tpl", "/opt/bin"), home + "/tpl");
    EXPECT_EQ(expandHomeFolder("~"), home); // never a folder named "~"
    EXPECT_EQ(expandHomeFolder("~bob/x"), "~bob/x");
}

TEST(TheSettingsHome, isBesideAPortableCopyAndInTheConfigFolderForAnInstalledOne) {
    TempDir dir;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path("config")));
    const QString shipped = QString::fromStdString(dir.path("prefix/share/imprix/Templates"));
    QDir().mkpath(shipped);
    QDir().mkpath(QString::fromStdString(dir.path("prefix/bin")));
    writeText(shipped.toStdString() + "/Simple.tpl", "shipped simple");
    writeText(shipped.toStdString() + "/Logo.png", "shipped logo");
    QFile::setPermissions(shipped + "/Simple.tpl", QFileDevice::ReadOwner | QFileDevice::ReadOther);

    // Installed: bin/ holds neither settings nor templates.
    const SettingsHome installed = locateSettingsHome(dir.path("prefix/bin/imprix"));
    EXPECT_FALSE(installed.portable);
    EXPECT_EQ(installed.iniPath, dir.path("config/imprix/imprix.ini"));
    EXPECT_EQ(installed.folder, dir.path("config/imprix"));
    EXPECT_EQ(provideShippedTemplates(installed, dir.path("prefix/bin")), "");
    EXPECT_EQ(readText(dir.path("config/imprix/Templates/Simple.tpl")), "shipped simple");
    EXPECT_EQ(readText(dir.path("config/imprix/Templates/Logo.png")), "shipped logo");
    writeText(dir.path("config/imprix/Templates/Simple.tpl"), "the user's own");
    QFile::remove(QString::fromStdString(dir.path("config/imprix/Templates/Logo.png")));
    EXPECT_EQ(provideShippedTemplates(installed, dir.path("prefix/bin")), "");
    EXPECT_EQ(readText(dir.path("config/imprix/Templates/Simple.tpl")), "the user's own")
        << "the user's templates are never replaced";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.path("config/imprix/Templates/Logo.png"))))
        << "a template the user removed stays removed";

    // Portable: a Templates folder or the settings file beside the program.
    QDir().mkpath(QString::fromStdString(dir.path("portable/Templates")));
    const SettingsHome portable = locateSettingsHome(dir.path("portable/imprix"));
    EXPECT_TRUE(portable.portable);
    EXPECT_EQ(portable.iniPath, dir.path("portable/imprix.ini"));
    EXPECT_EQ(portable.folder, dir.path("portable"));
    EXPECT_EQ(provideShippedTemplates(portable, dir.path("portable")), "");
    QDir().mkpath(QString::fromStdString(dir.path("stick")));
    writeText(dir.path("stick/imprix.ini"), "[General]\n");
    EXPECT_TRUE(locateSettingsHome(dir.path("stick/imprix")).portable);

    // A template folder that cannot be made is said.
    writeText(dir.path("config2"), "a file where the folder should be");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path("config2")));
    const SettingsHome blocked = locateSettingsHome(dir.path("prefix/bin/imprix"));
    EXPECT_NE(provideShippedTemplates(blocked, dir.path("prefix/bin")), "");
    // ... and the shipped templates are used as they are, not a new template in their place.
    EXPECT_EQ(usableTemplateFolder(blocked.folder + "/Templates", dir.path("prefix/bin")),
              shipped.toStdString());
    EXPECT_EQ(usableTemplateFolder(dir.path("portable/Templates"), dir.path("prefix/bin")),
              dir.path("portable/Templates"));
    qunsetenv("XDG_CONFIG_HOME");

    // Installed where bin/ and share/ are apart: found in the desktop's data folders.
    const QString data = QString::fromStdString(dir.path("data"));
    QDir().mkpath(data + "/imprix/Templates");
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", (QString::fromStdString(dir.path("none")) + ":" + data).toUtf8());
    EXPECT_EQ(shippedTemplatesFolder(dir.path("elsewhere/bin")), dir.path("data/imprix/Templates"));
    if (dataDirs.isEmpty())
        qunsetenv("XDG_DATA_DIRS");
    else
        qputenv("XDG_DATA_DIRS", dataDirs);
}
