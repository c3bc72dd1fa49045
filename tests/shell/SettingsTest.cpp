// Start-up and exit: the settings file read and written as the application always did.

#include "shell/ShellFixture.h"

#include "model/SettingsPaths.h"
#include "view/PictureView.h"

using TheSettings = ShellFixture;
using C = FrameCommands;

namespace {

// The "Key=value" lines of the file, in order.
std::vector<std::string> keyLines(const std::string& path) {
    std::vector<std::string> keys;
    const ProfileFile file(path);
    for (const std::string& line : file.lines())
        if (line.find('=') != std::string::npos) keys.push_back(line);
    return keys;
}

std::string keyOf(const std::string& line) {
    return line.substr(0, line.find('='));
}

} // namespace

TEST_F(TheSettings, areTheDefaultsWithoutAFileAndAreAllWrittenAtClose) {
    writeTemplate("Simple.tpl", "S_");
    CMainFrame& f = start();
    const AppSettings& s = state().settings;

    EXPECT_EQ(s.templateFolder, templates());
    EXPECT_EQ(s.defaultTemplate, "Simple.tpl");
    EXPECT_EQ(state().loadedTemplate.prefix, "S_") << "the default template is read";
    EXPECT_EQ(s.backColor, 0x909090);
    EXPECT_EQ(f.pictureView()->backColor(), 0x909090);
    EXPECT_EQ(s.viewRatio, 1) << "the default \"1.5\" reads as 1: the 4x6 guides";
    EXPECT_DOUBLE_EQ(f.pictureView()->printRatio(), 1.5);
    EXPECT_TRUE(checked(C::View4x6));
    EXPECT_FALSE(checked(C::ShowAllExif));
    for (int color : s.customColors)
        EXPECT_EQ(color, 0xFFFFFF);
    EXPECT_EQ(state().datedPicture.outputDir, defaultOutputFolder());
    EXPECT_EQ(title(), "Orvalinquestaporimex");

    EXPECT_FALSE(exists(ini()));
    f.close();
    const std::vector<std::string> lines = keyLines(ini());
    std::vector<std::string> keys;
    for (const std::string& line : lines)
        keys.push_back(keyOf(line));
    std::vector<std::string> expected = {"OutDir",      "TemplateDef", "TemplatePath", "BackColor",
                                         "ViewAllExif", "ViewRatio",   "LosslessJpeg", "OptimizeHuffman"};
    for (int i = 1; i <= 16; ++i)
        expected.push_back("C" + std::to_string(i));
    expected.push_back("Geometry");
    EXPECT_EQ(keys, expected);
    const ProfileFile file(ini());
    EXPECT_TRUE(QDir::isAbsolutePath(q(file.getString("General", "TemplatePath", ""))));
    EXPECT_EQ(file.getString("General", "TemplatePath", ""), templates());
    EXPECT_EQ(file.getString("General", "BackColor", ""), "9474192");
    EXPECT_EQ(file.getString("General", "ViewRatio", ""), "1");
    EXPECT_EQ(file.getString("General", "LosslessJpeg", ""), "1")
        << "copies keep a JPEG photo's data by default";
    EXPECT_EQ(file.getString("General", "OptimizeHuffman", ""), "0") << "the standard tables by default";
    EXPECT_EQ(file.getString("CustomColors", "C16", ""), "16777215");
}

TEST_F(TheSettings, viewRatioTurnsOnTheGuidesItNamesAndKeepsTheLastChoice) {
    struct Case {
        const char* value;
        int viewRatio;
        double printRatio;
    };
    for (const Case& c : {Case{"2", 2, 1.4}, Case{"0", 0, 0.0}, Case{"9", 0, 0.0}, Case{"3x", 3, 1.25},
                          Case{"wide", 0, 0.0}}) {
        writeSettings({std::string("ViewRatio=") + c.value});
        start();
        EXPECT_EQ(state().settings.viewRatio, c.viewRatio) << c.value;
        EXPECT_DOUBLE_EQ(frame->pictureView()->printRatio(), c.printRatio) << c.value;
        EXPECT_EQ(checked(C::View4x6), c.viewRatio == 1) << c.value;
        EXPECT_EQ(checked(C::View5x7), c.viewRatio == 2) << c.value;
        EXPECT_EQ(checked(C::View8x10), c.viewRatio == 3) << c.value;
    }

    // Choosing the checked entry turns the guides off; another replaces them.
    writeSettings({"ViewRatio=1"});
    start();
    trigger(C::View4x6);
    EXPECT_DOUBLE_EQ(frame->pictureView()->printRatio(), 0.0);
    EXPECT_FALSE(checked(C::View4x6) || checked(C::View5x7) || checked(C::View8x10));
    trigger(C::View8x10);
    trigger(C::View5x7);
    EXPECT_TRUE(checked(C::View5x7));
    EXPECT_FALSE(checked(C::View8x10));
    frame->close();
    EXPECT_EQ(ProfileFile(ini()).getString("General", "ViewRatio", ""), "2");
}

TEST_F(TheSettings, areReadLikeTheOldProfileFunctionsAndKeepTheRestOfTheFile) {
    writeSettings({"TemplatePath=MyTemplates", "BackColor=blue", "ViewAllExif=1", "; kept as it is",
                   "[CustomColors]", "C3=255", "[Other]", "Mine=1"});
    start();
    const AppSettings& s = state().settings;
    EXPECT_EQ(s.templateFolder, dir.path("bin/MyTemplates")) << "a bare name lies beside the executable";
    EXPECT_EQ(s.backColor, 0) << "no digits read as 0";
    EXPECT_TRUE(checked(C::ShowAllExif));
    EXPECT_EQ(s.customColors[2], 255);
    EXPECT_EQ(s.customColors[3], 0xFFFFFF);
    EXPECT_EQ(state().datedPicture.outputDir, out());

    trigger(C::ShowAllExif);
    frame->close();
    const ProfileFile file(ini());
    EXPECT_EQ(file.getString("General", "ViewAllExif", ""), "0");
    EXPECT_EQ(file.getString("General", "BackColor", ""), "0");
    EXPECT_EQ(file.getString("Other", "Mine", ""), "1");
    const auto& lines = file.lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "; kept as it is"), lines.end());

    // A path with a separator is taken as written, relative or not; values are cut to 255 characters.
    writeSettings({"TemplatePath=../shared/tpl"});
    start();
    EXPECT_EQ(state().settings.templateFolder, "../shared/tpl");
    writeSettings({"TemplatePath=/" + std::string(300, 'x')});
    start();
    EXPECT_EQ(state().settings.templateFolder.size(), 255u);
}

TEST_F(TheSettings, keepTheWindowsPlaceAndSize) {
    writeTemplate("Simple.tpl", "S_");
    start().setGeometry(40, 60, 720, 510);
    frame->close();
    EXPECT_NE(ProfileFile(ini()).getString("Window", "Geometry", ""), "");

    CMainFrame& again = start();
    ASSERT_TRUE(again.RestoreWindowGeometry());
    EXPECT_EQ(again.size(), QSize(720, 510));

    writeSettings({"[Window]", "Geometry=not what Qt wrote"});
    EXPECT_FALSE(start().RestoreWindowGeometry()) << "a damaged value leaves the window as it is";
}

TEST_F(TheSettings, ofAnInstalledCopyLieInTheConfigFolderWithTheShippedTemplates) {
    // bin/ of a prefix: no settings, no Templates; the templates ship in share/imprix/Templates.
    const std::string prefix = dir.path("prefix");
    QDir().mkpath(q(prefix + "/bin"));
    QDir().mkpath(q(prefix + "/share/imprix/Templates"));
    CDatedPicture shipped;
    shipped.MakeNewTemplate();
    shipped.prefix = "Shipped_";
    ASSERT_EQ(shipped.WriteTemplate(prefix + "/share/imprix/Templates/Simple.tpl"), 0);
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir.path("config")));

    FrameSetup setup;
    setup.dialogs = &user;
    setup.executablePath = prefix + "/bin/imprix";
    frame = std::make_unique<CMainFrame>(setup);
    EXPECT_EQ(state().settings.templateFolder, dir.path("config/imprix/Templates"));
    EXPECT_EQ(state().loadedTemplate.prefix, "Shipped_") << "the copied default template is read";
    const std::vector<std::string> entries = listEntries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "Simple.tpl"), entries.end());
    frame->close();
    EXPECT_TRUE(exists(dir.path("config/imprix/imprix.ini")));
    EXPECT_FALSE(exists(prefix + "/bin/imprix.ini"));
    EXPECT_TRUE(user.texts().empty());
    qunsetenv("XDG_CONFIG_HOME");
}
