// The template list, the start-up template and switching and saving templates.

#include "shell/ShellFixture.h"

#include "shell/TemplateWorkflow.h"

using C = FrameCommands;

namespace {

constexpr const char* kNew = "<New>";

} // namespace

class TheTemplates : public ShellFixture {
protected:
    TheTemplates() {
        writeTemplate("Simple.tpl", "S_");
        writeTemplate("Beach.tpl", "B_");
        writeFile(templates() + "/notes.txt", "not a template");
    }

    void startWithDefault(const std::string& name) {
        writeSettings({"TemplateDef=" + name});
        start();
    }

    std::string selected() const { return frame->templateBar()->selectedText(); }

    // Marks the format changed, as an edit in the bar or the view does.
    void changeTheFormat() {
        state().datedPicture.modified = 1;
        frame->UpdateChangesLabel();
        ASSERT_EQ(note(), "* Using unsaved changes.");
    }

    static bool isNewTemplate(const CDatedPicture& t) {
        return t.itemCount == 1 && t.item(0).tag == kTagDateTimeOriginal && t.item(0).visible == 1 &&
               t.item(0).label.empty() && t.templatePath.empty();
    }
};

TEST_F(TheTemplates, areListedSortedWithTheDefaultSelectedAndRead) {
    struct Case {
        const char* defaultName;
        const char* selected;
        const char* defaultAfter;
        const char* prefixRead; // "" when the new template is made instead
    };
    for (const Case& c :
         {Case{"Simple.tpl", "Simple.tpl", "Simple.tpl", "S_"},
          Case{"simple", "Simple.tpl", "simple", "S_"},          // prefix, any case; the file found anyway
          Case{"Missing.tpl", "Simple.tpl", "Simple.tpl", "S_"}, // the last entry
          Case{"<New>", "<New>", "<New>", ""}}) {
        startWithDefault(c.defaultName);
        EXPECT_EQ(listEntries(), (std::vector<std::string>{kNew, "Beach.tpl", "Simple.tpl"}))
            << c.defaultName;
        EXPECT_EQ(selected(), c.selected) << c.defaultName;
        EXPECT_EQ(state().settings.defaultTemplate, c.defaultAfter) << c.defaultName;
        if (*c.prefixRead) {
            EXPECT_EQ(state().loadedTemplate.prefix, c.prefixRead) << c.defaultName;
        } else {
            EXPECT_TRUE(isNewTemplate(state().loadedTemplate)) << c.defaultName;
        }
        EXPECT_EQ(state().datedPicture.modified, 0);
        EXPECT_EQ(note(), "");
    }
    startWithDefault("simple");
    EXPECT_EQ(state().templateName, "simple.tpl");

    // An empty folder offers the new template only, which becomes the default.
    QDir(q(templates())).removeRecursively();
    startWithDefault("Simple.tpl");
    EXPECT_EQ(listEntries(), std::vector<std::string>{kNew});
    EXPECT_EQ(state().settings.defaultTemplate, kNew);
    EXPECT_TRUE(isNewTemplate(state().loadedTemplate));
}

TEST_F(TheTemplates, newWithNoPictureResetsTheTemplateAndClearsTheNote) {
    startWithDefault("Simple.tpl");
    changeTheFormat();
    user.messages.script = {Dialogs::Answer::No};
    chooseTemplate(kNew);
    EXPECT_EQ(user.texts(),
              std::vector<std::string>{"The current template (Simple.tpl) was changed. Would you like "
                                       "to save it before loading the new template?"});
    EXPECT_TRUE(isNewTemplate(state().loadedTemplate));
    EXPECT_EQ(state().templateName, kNew);
    EXPECT_EQ(state().datedPicture.modified, 0);
    EXPECT_EQ(note(), "");
}

TEST_F(TheTemplates, switchedWithNoPictureAreOnlyReadUntilAPhotoIsOpened) {
    startWithDefault("Simple.tpl");
    chooseTemplate("Beach.tpl");
    EXPECT_TRUE(user.texts().empty());
    EXPECT_EQ(state().templateName, "Beach.tpl");
    EXPECT_EQ(state().loadedTemplate.prefix, "B_");
    EXPECT_EQ(state().datedPicture.prefix, "Dated_") << "no photo: nothing applied";
    EXPECT_FALSE(state().hasWorkPicture());

    open({writePhoto("a.jpg")});
    EXPECT_EQ(pane(), "Out file: " + out() + "/B_a.jpg");

    // With a photo open the switch applies at once.
    chooseTemplate("Simple.tpl");
    EXPECT_EQ(pane(), "Out file: " + out() + "/S_a.jpg");
    EXPECT_EQ(state().datedPicture.prefix, "S_");
}

TEST_F(TheTemplates, withoutAnOutputFolderOfTheirOwnWriteIntoTheSettingsFolder) {
    CDatedPicture elsewhere;
    elsewhere.MakeNewTemplate();
    elsewhere.outputDir = dir.path("elsewhere");
    QDir().mkpath(q(elsewhere.outputDir));
    ASSERT_EQ(elsewhere.WriteTemplate(templates() + "/Elsewhere.tpl"), 0);
    startWithDefault("Elsewhere.tpl");
    open({writePhoto("a.jpg")});
    EXPECT_EQ(pane(), "Out file: " + dir.path("elsewhere") + "/Dated_a.jpg");
    chooseTemplate(kNew);
    EXPECT_EQ(pane(), "Out file: " + out() + "/Dated_a.jpg") << "not the folder of the template before";
    chooseTemplate("Elsewhere.tpl");
    chooseTemplate("Beach.tpl");
    EXPECT_EQ(pane(), "Out file: " + out() + "/B_a.jpg");
    frame->close();
    EXPECT_EQ(ProfileFile(ini()).getString("General", "OutDir", ""), out())
        << "a template's folder stays its own";
}

TEST_F(TheTemplates, switchingKeepsTheChangedTemplateOnCancelAndSavesItOnYes) {
    startWithDefault("Simple.tpl");
    open({writePhoto("a.jpg")});
    changeTheFormat();
    user.messages.script = {Dialogs::Answer::Cancel};
    chooseTemplate("Beach.tpl");
    EXPECT_EQ(state().templateName, "Simple.tpl");
    EXPECT_EQ(selected(), "Simple.tpl") << "the list shows the template still in use";
    EXPECT_EQ(state().datedPicture.modified, 1);

    state().datedPicture.postfix = "_edited";
    user.messages.script = {Dialogs::Answer::Yes};
    chooseTemplate("Beach.tpl");
    EXPECT_EQ(state().templateName, "Beach.tpl");
    CDatedPicture simple;
    ASSERT_EQ(simple.ReadTemplate(templates() + "/Simple.tpl", user), 0);
    EXPECT_EQ(simple.postfix, "_edited");
    EXPECT_EQ(note(), "");
}

TEST_F(TheTemplates, savedUnderANewNameAreListedAndUsedAtOnce) {
    startWithDefault("<New>");
    open({writePhoto("a.jpg")});
    state().datedPicture.prefix = "Mine_";
    changeTheFormat();

    // "<New>" names no file: Save Template asks for one, in the template folder.
    user.saveAnswers = {templates() + "/Mine"};
    trigger(C::SaveTemplate);
    ASSERT_EQ(user.saveRequests.size(), 1u);
    EXPECT_EQ(user.saveRequests[0].folder, templates());
    EXPECT_TRUE(exists(templates() + "/Mine.tpl")) << "\".tpl\" is added";
    EXPECT_EQ(listEntries(), (std::vector<std::string>{kNew, "Beach.tpl", "Mine.tpl", "Simple.tpl"}));
    EXPECT_EQ(selected(), "Mine.tpl");
    EXPECT_EQ(state().templateName, "Mine.tpl");
    EXPECT_EQ(state().loadedTemplate.prefix, "Mine_");
    EXPECT_EQ(note(), "");

    // Saved again, it goes to its file without a question; Save As with Cancel does nothing.
    state().datedPicture.postfix = "_2";
    trigger(C::SaveTemplate);
    EXPECT_EQ(user.saveRequests.size(), 1u);
    CDatedPicture mine;
    ASSERT_EQ(mine.ReadTemplate(templates() + "/Mine.tpl", user), 0);
    EXPECT_EQ(mine.postfix, "_2");
    trigger(C::SaveTemplateAs);
    EXPECT_EQ(user.saveRequests.size(), 2u);
    EXPECT_EQ(state().templateName, "Mine.tpl");
}

TEST_F(TheTemplates, aCorruptDefaultIsReportedOnceAndTakesNothingElseDown) {
    // Simple.tpl, the default, claims -1 items.
    CDatedPicture broken;
    broken.MakeNewTemplate();
    broken.prefix = "Broken_";
    broken.item(0).visible = 0;
    ASSERT_EQ(broken.WriteTemplate(templates() + "/Simple.tpl"), 0);
    QFile file(q(templates() + "/Simple.tpl"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.right(4), QByteArray(4, '\0')) << "the item count ends the file";
    bytes.replace(bytes.size() - 4, 4, QByteArray(4, '\xff'));
    file.seek(0);
    file.write(bytes);
    file.close();

    startWithDefault("Simple.tpl");
    EXPECT_EQ(user.texts(), std::vector<std::string>{CDatedPicture::kCorruptTemplateMessage});
    EXPECT_EQ(listEntries(), (std::vector<std::string>{kNew, "Beach.tpl", "Simple.tpl"}));

    // The photo is still dated (with no items), the other templates still work, and nothing was
    // written over the broken file.
    open({writePhoto("a.jpg")});
    trigger(C::SaveCopy);
    EXPECT_TRUE(exists(out() + "/Broken_a.jpg"));
    chooseTemplate("Beach.tpl");
    EXPECT_EQ(state().loadedTemplate.prefix, "B_");
    frame->close();
    QFile after(q(templates() + "/Simple.tpl"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    const std::vector<std::string> texts = user.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), CDatedPicture::kCorruptTemplateMessage), 1);
}

TEST_F(TheTemplates, aDefaultThatCannotBeOpenedLeavesANewTemplate) {
    // "Simp" selects Simple.tpl in the list, but the file read is Simp.tpl, which is not there.
    startWithDefault("Simp");
    EXPECT_EQ(selected(), "Simple.tpl");
    ASSERT_GE(state().loadedTemplate.itemCount, 1);
    EXPECT_EQ(state().loadedTemplate.item(0).tag, kTagDateTimeOriginal) << "a new template's date";
    EXPECT_EQ(state().loadedTemplate.templateDir, templates());
    open({writePhoto("a.jpg")});
    EXPECT_GE(shownItem(), 0) << "the photo shows its date";
    EXPECT_TRUE(user.texts().empty());
}
