// "Process All": the rest of the batch dated with the saved template, as imprix-batch dates photos.

#include "shell/ShellFixture.h"

#include "shell/ProcessAllWorkflow.h"

#include <QImage>

using C = FrameCommands;

class ProcessingAll : public ShellFixture {
protected:
    ProcessingAll() {
        writeTemplate("Simple.tpl", "Dated_");
        writeSettings({});
    }

    // a.jpg, b.jpg, broken.jpg, c.jpg, d.jpg, with a.jpg open.
    void openBatch() {
        const std::string first = writePhoto("a.jpg");
        writePhoto("b.jpg");
        writeFile(photo("broken.jpg"), "\xFF\xD8\xFF this is no photo");
        writePhoto("c.jpg");
        writePhoto("d.jpg");
        start();
        open({first});
        ASSERT_EQ(state().fileList.size(), 5u);
    }

    std::vector<std::string> copies() const {
        std::vector<std::string> names;
        for (const QString& name : QDir(q(out())).entryList(QDir::Files, QDir::Name))
            names.push_back(name.toStdString());
        return names;
    }
};

TEST_F(ProcessingAll, datesTheRestOfTheBatchAndReportsTheBrokenPhotoWithoutStopping) {
    openBatch();
    frame->processAll().setJobs(2);
    trigger(C::ProcessAll);

    EXPECT_EQ(copies(),
              (std::vector<std::string>{"Dated_a.jpg", "Dated_b.jpg", "Dated_c.jpg", "Dated_d.jpg"}))
        << "the open photo is saved first";
    for (const std::string& name : copies())
        EXPECT_FALSE(QImage(q(out() + "/" + name)).isNull()) << name;
    EXPECT_EQ(user.progressSteps.size(), 4u);
    EXPECT_EQ(user.progressSteps.back().first, 4);
    ASSERT_EQ(user.texts().size(), 1u);
    const std::string summary = user.texts()[0];
    EXPECT_NE(summary.find("4 of 5 images were dated and saved in " + out()), std::string::npos) << summary;
    EXPECT_NE(summary.find("1 could not be dated:\nbroken.jpg: "), std::string::npos) << summary;
    EXPECT_EQ(user.messages.shown[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(title(), "a.jpg - Orvalinquestaporimex") << "the open photo stays";
    EXPECT_EQ(state().fileIndex, 0);
}

TEST_F(ProcessingAll, stopsWhenTheUserCancelsTheProgress) {
    openBatch();
    frame->processAll().setJobs(1);
    user.stopProgressAfter = 1;
    const ProcessAllWorkflow::Outcome outcome = frame->processAll().Run();
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(outcome.notStarted, 3);
    EXPECT_EQ(copies(), (std::vector<std::string>{"Dated_a.jpg", "Dated_b.jpg"}));
    ASSERT_EQ(user.texts().size(), 1u);
    EXPECT_NE(user.texts()[0].find("Stopped: 3 images were left as they were."), std::string::npos);
}

TEST_F(ProcessingAll, startsNothingAtTheEndOfTheBatchOrWithoutAnOutputFolder) {
    openBatch();
    state().fileIndex = 4;
    trigger(C::ProcessAll);
    EXPECT_EQ(user.texts(), std::vector<std::string>{"There are no more images in the list to process."});

    state().fileIndex = 0;
    state().imageSaved = 1;
    QDir(q(out())).removeRecursively();
    user.messages.script = {Dialogs::Answer::Cancel};
    trigger(C::ProcessAll);
    EXPECT_EQ(user.texts().back(),
              "The directory, " + out() + ", does not exist. Would you like to create it?");
    EXPECT_TRUE(user.progressSteps.empty());
    EXPECT_FALSE(QDir(q(out())).exists());
}
