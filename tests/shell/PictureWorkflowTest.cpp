// Opening, moving through, closing and saving the photos of a batch.

#include "shell/AppCommandLine.h"
#include "shell/SettingsFile.h"
#include "shell/ShellFixture.h"
#include "shell/ShellText.h"

#include "formatbar/MainBar.h"
#include "view/PictureView.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using C = FrameCommands;

namespace {

constexpr const char* kImageQuestion =
    "The current imprinted image has not been saved.  Would you like to save it?";
constexpr const char* kFormatQuestion =
    "The format has been changed. Would you like to save the template so that it will be applied to the next "
    "image?";

} // namespace

class ThePictureWorkflow : public ShellFixture {
protected:
    ThePictureWorkflow() {
        writeTemplate("Simple.tpl", "Dated_");
        writeSettings({});
    }

    // Chooses the item the photo shows in the format bar and changes its label, as the user types it.
    void editTheFormat() {
        ASSERT_GE(shownItem(), 0);
        emit frame->formatBar()->itemSelected(shownItem());
        auto* label = frame->formatBar()->findChild<QLineEdit*>(QStringLiteral("label"));
        ASSERT_TRUE(label);
        ASSERT_TRUE(label->isEnabled()) << "an item is shown";
        label->setText(QStringLiteral("Taken: "));
    }
};

TEST_F(ThePictureWorkflow, withNoPictureOffersNothingToSaveOrMoveTo) {
    start();
    EXPECT_FALSE(enabled(C::SaveCopy));
    EXPECT_FALSE(enabled(C::Previous));
    EXPECT_FALSE(enabled(C::Next));
    EXPECT_EQ(pane(), "No file selected.");

    // Save As and Close have nothing to work on and do nothing.
    trigger(C::SaveCopyAs);
    trigger(C::CloseFile);
    EXPECT_TRUE(user.saveRequests.empty());
    EXPECT_EQ(QDir(q(out())).entryList(QDir::Files).size(), 0);
}

TEST_F(ThePictureWorkflow, opensSeveralChosenPhotosAsTheBatchWithoutLookingInTheirFolder) {
    const std::vector<std::string> chosen = {writePhoto("c.jpg"), writePhoto("a.jpg"), writePhoto("b.tif")};
    writePhoto("d.jpg"); // in the same folder, not chosen
    start();
    open(chosen);

    ASSERT_EQ(user.openRequests.size(), 1u);
    EXPECT_EQ(user.openRequests[0].title, "Select image to date or a list of images.");
    EXPECT_EQ(
        user.openRequests[0].filter,
        std::string(
            "Photos|*.jpg;*.jpeg;*.jpe;*.tif;*.tiff;*.png;*.webp;*.heic;*.heif;*.avif;*.JPG;*.JPEG;*.JPE;"
            "*.TIF;*.TIFF;*.PNG;*.WEBP;*.HEIC;*.HEIF;*.AVIF|All (*.*)|*.*||"));
    EXPECT_TRUE(user.openRequests[0].multiple);
    EXPECT_EQ(state().fileList, chosen);
    EXPECT_EQ(state().fileIndex, 0);
    EXPECT_TRUE(enabled(C::SaveCopy));
    EXPECT_FALSE(enabled(C::Previous));
    EXPECT_TRUE(enabled(C::Next));
    EXPECT_EQ(title(), "c.jpg - Orvalinquestaporimex");
    EXPECT_EQ(pane(), "Out file: " + out() + "/Dated_c.jpg");
    EXPECT_EQ(frame->pictureView()->datedPicture(), &state().datedPicture);
}

TEST_F(ThePictureWorkflow, extendsOnePhotoWithThePhotosOfItsFolderInNameOrderAndSavesOnTheWayThrough) {
    const std::string first = writePhoto("IMG_1.jpg");
    writePhoto("IMG_2.JPG");
    writePhoto("IMG_3.tif");
    writePhoto("IMG_10.png");
    writeFile(photo("notes.txt"), "not a photo");
    start();
    open({photo("IMG_2.JPG")}); // among its neighbours by name
    const std::vector<std::string> folder = {first, photo("IMG_2.JPG"), photo("IMG_3.tif"),
                                             photo("IMG_10.png")};
    EXPECT_EQ(state().fileList, folder);
    EXPECT_EQ(state().fileIndex, 1);
    EXPECT_TRUE(enabled(C::Previous));
    user.messages.script = {Dialogs::Answer::No}; // the copy of IMG_2 is not wanted
    open({first});
    EXPECT_EQ(state().fileList, folder);
    EXPECT_EQ(state().fileIndex, 0);
    EXPECT_TRUE(enabled(C::Next));
    user.messages.shown.clear();

    trigger(C::Next);
    EXPECT_TRUE(exists(out() + "/Dated_IMG_1.jpg")) << "the copy is saved before moving on";
    EXPECT_EQ(state().fileIndex, 1);
    EXPECT_EQ(title(), "IMG_2.JPG - Orvalinquestaporimex");
    EXPECT_EQ(pane(), "Out file: " + out() + "/Dated_IMG_2.JPG");
    EXPECT_TRUE(enabled(C::Previous));

    trigger(C::Next);
    trigger(C::Next);
    EXPECT_FALSE(enabled(C::Next));
    trigger(C::Previous);
    EXPECT_EQ(state().fileIndex, 2);
    EXPECT_TRUE(exists(out() + "/Dated_IMG_3.jpg")); // a JPEG named so
    EXPECT_TRUE(exists(out() + "/Dated_IMG_10.jpg"));
    EXPECT_TRUE(user.texts().empty());
}

TEST_F(ThePictureWorkflow, asksAboutUnsavedWorkAndCancelLeavesEverythingAsItWas) {
    const std::vector<std::string> batch = {writePhoto("a.jpg"), writePhoto("b.jpg")};
    start();
    open(batch);
    editTheFormat();
    EXPECT_EQ(note(), "* Using unsaved changes.");

    // Every item listed: the bar still shows, and so edits, the item it showed.
    const int shown = frame->formatBar()->selectedItem();
    trigger(C::ShowAllExif);
    EXPECT_EQ(frame->formatBar()->selectedItem(), shown);
    trigger(C::ShowAllExif);
    EXPECT_EQ(frame->formatBar()->selectedItem(), shown);

    user.messages.script = {Dialogs::Answer::No, Dialogs::Answer::Cancel};
    trigger(C::Open);
    EXPECT_EQ(user.texts(), (std::vector<std::string>{kImageQuestion, kFormatQuestion}));
    EXPECT_EQ(user.openRequests.size(), 1u) << "no file dialog after Cancel";
    EXPECT_EQ(state().fileList, batch);
    EXPECT_EQ(title(), "a.jpg - Orvalinquestaporimex");
    EXPECT_TRUE(state().hasWorkPicture());
    EXPECT_EQ(state().datedPicture.modified, 1);

    // Next asks the same about the format; Cancel stays, nothing is saved.
    user.messages.script = {Dialogs::Answer::Cancel};
    trigger(C::Next);
    EXPECT_EQ(state().fileIndex, 0);
    EXPECT_FALSE(exists(out() + "/Dated_a.jpg"));
}

TEST_F(ThePictureWorkflow, asksTheSameQuestionsBeforeTheWindowClosesAndCancelKeepsItOpen) {
    for (const C::Command quit : {C::Exit, C::Count}) { // "E&xit", and the window's close box
        SCOPED_TRACE(quit);
        start();
        frame->show();
        open({writePhoto("a.jpg")});
        editTheFormat();
        user.messages.shown.clear();
        user.messages.script = {Dialogs::Answer::No, Dialogs::Answer::Cancel};
        quit == C::Exit ? trigger(C::Exit) : void(frame->close());
        EXPECT_EQ(user.texts(), (std::vector<std::string>{kImageQuestion, kFormatQuestion}));
        EXPECT_TRUE(frame->isVisible()) << "Cancel keeps everything open";
        EXPECT_EQ(note(), "* Using unsaved changes.");

        user.messages.script = {Dialogs::Answer::Yes, Dialogs::Answer::No};
        EXPECT_TRUE(frame->close());
        EXPECT_TRUE(exists(out() + "/Dated_a.jpg")) << "Yes saved the copy first";
    }
}

TEST_F(ThePictureWorkflow, keepsTypingInTheFormatBarFromMovingToTheNextPhoto) {
    start();
    frame->show();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get())) << "shortcuts work in the active window only";
    open({writePhoto("a.jpg"), writePhoto("b.jpg")});
    editTheFormat();
    auto* label = frame->formatBar()->findChild<QLineEdit*>(QStringLiteral("label"));
    label->setFocus();
    QTest::keyClick(label, Qt::Key_PageDown);
    EXPECT_EQ(state().fileIndex, 0);
    EXPECT_FALSE(exists(out() + "/Dated_a.jpg"));
    frame->pictureView()->setFocus();
    user.messages.script = {Dialogs::Answer::No};
    QTest::keyClick(frame->pictureView(), Qt::Key_PageDown);
    EXPECT_EQ(state().fileIndex, 1) << "elsewhere Page Down still goes on";
}

TEST_F(ThePictureWorkflow, savesTheChangedFormatAsTheTemplateForTheNextPhotos) {
    const std::vector<std::string> batch = {writePhoto("a.jpg"), writePhoto("b.jpg")};
    start();
    open(batch);
    editTheFormat();

    user.messages.script = {Dialogs::Answer::Yes};
    trigger(C::Next);
    EXPECT_EQ(note(), "");
    EXPECT_EQ(state().fileIndex, 1);
    CDatedPicture written;
    ASSERT_EQ(written.ReadTemplate(templates() + "/Simple.tpl", user), 0);
    ASSERT_GE(written.itemCount, 1);
    EXPECT_EQ(written.item(0).label, "Taken: ");
    const int shown = shownItem();
    ASSERT_GE(shown, 0);
    EXPECT_EQ(state().datedPicture.item(shown).label, "Taken: ") << "the next photo has the new format";
}

TEST_F(ThePictureWorkflow, stopsOnAFailedSave) {
    writeSettings({});
    QDir(q(out())).removeRecursively();
    const std::vector<std::string> batch = {writePhoto("a.jpg"), writePhoto("b.jpg")};
    start();
    open(batch);
    user.messages.script = {Dialogs::Answer::Cancel}; // not making the missing output folder
    trigger(C::Next);
    EXPECT_EQ(user.texts().size(), 1u);
    EXPECT_EQ(state().fileIndex, 0);
    EXPECT_EQ(title(), "a.jpg - Orvalinquestaporimex");
    EXPECT_FALSE(exists(out() + "/Dated_b.jpg"));
}

TEST_F(ThePictureWorkflow, closingAsksFirstThenKeepsTheBatchAndTheOutputNameButNothingToEditOrSave) {
    const std::vector<std::string> batch = {writePhoto("a.jpg"), writePhoto("b.jpg")};
    start();
    open(batch);
    user.messages.script = {Dialogs::Answer::Cancel};
    trigger(C::CloseFile);
    EXPECT_EQ(user.texts(), std::vector<std::string>{kImageQuestion});
    EXPECT_TRUE(enabled(C::SaveCopy)) << "Cancel keeps the photo open";

    user.messages.script = {Dialogs::Answer::No};
    trigger(C::CloseFile);
    EXPECT_FALSE(enabled(C::SaveCopy));
    EXPECT_FALSE(enabled(C::SaveCopyAs));
    EXPECT_FALSE(state().datedPicture.picture || state().datedPicture.workPicture);
    EXPECT_EQ(frame->formatBar()->datedPicture(), nullptr) << "nothing left to edit";
    EXPECT_EQ(pane(), "Out file: " + out() + "/Dated_a.jpg");
    EXPECT_EQ(state().fileList, batch);
    EXPECT_EQ(title(), "Orvalinquestaporimex");
    EXPECT_TRUE(enabled(C::Next));
    EXPECT_FALSE(exists(out() + "/Dated_a.jpg"));

    // Nothing is left to save: opening asks nothing.
    user.messages.shown.clear();
    trigger(C::Open);
    EXPECT_TRUE(user.texts().empty());
}

TEST_F(ThePictureWorkflow, saveAsNamesTheCopyFromThenOn) {
    start();
    open({writePhoto("a.jpg")});
    user.saveAnswers = {std::nullopt};
    trigger(C::SaveCopyAs);
    ASSERT_EQ(user.saveRequests.size(), 1u);
    EXPECT_EQ(user.saveRequests[0].title, "Save Dated Image As...");
    EXPECT_EQ(user.saveRequests[0].proposedName, out() + "/Dated_a.jpg");
    EXPECT_EQ(QDir(q(out())).entryList(QDir::Files).size(), 0) << "cancelled: nothing written";

    // A name where nothing can be written is not kept: the next save goes where it went before.
    user.saveAnswers = {out() + "/no/such/folder/x.jpg"};
    trigger(C::SaveCopyAs);
    EXPECT_EQ(pane(), "Out file: " + out() + "/Dated_a.jpg");
    trigger(C::SaveCopy);
    EXPECT_TRUE(exists(out() + "/Dated_a.jpg"));

    const std::string chosen = out() + "/holiday.jpg";
    user.saveAnswers = {chosen};
    trigger(C::SaveCopyAs);
    EXPECT_TRUE(exists(chosen));
    EXPECT_EQ(pane(), "Out file: " + chosen);
    QFile::remove(q(chosen));
    trigger(C::SaveCopy);
    EXPECT_TRUE(exists(chosen));
    EXPECT_EQ(state().imageSaved, 1);
}

TEST_F(ThePictureWorkflow, showsTheItemChosenInTheBarAndTheChangesUnderTheTemplateList) {
    start();
    open({writePhoto("a.jpg")});
    CDatedPicture& picture = state().datedPicture;
    int name = -1;
    for (int i = 0; i < picture.itemCount; ++i)
        if (picture.item(i).displayName == "Image Name") name = i;
    ASSERT_GE(name, 0);
    ASSERT_EQ(picture.item(name).visible, 0);
    emit frame->formatBar()->itemSelected(name);
    EXPECT_EQ(picture.item(name).visible, 1);
    EXPECT_EQ(frame->pictureView()->selectedIndex(), name);
    EXPECT_EQ(frame->formatBar()->selectedItem(), name);
    EXPECT_EQ(note(), "* Using unsaved changes.") << "showing a hidden item changes the template";

    editTheFormat();
    EXPECT_EQ(note(), "* Using unsaved changes.");
    EXPECT_EQ(state().imageSaved, 0);
}

TEST_F(ThePictureWorkflow, opensPhotosAndFoldersDroppedOnTheWindow) {
    const std::vector<std::string> dropped = {writePhoto("b.jpg"), writePhoto("a.jpg")};
    writePhoto("c.jpg");
    start();
    const auto drop = [this](const std::vector<std::string>& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(q(path));
        data.setUrls(urls);
        // Qt delivers a drop to the widget that accepted the drag's entering.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &event);
    };

    drop(dropped);
    EXPECT_EQ(state().fileList, dropped);
    EXPECT_TRUE(state().hasWorkPicture());
    EXPECT_TRUE(enabled(C::Next));
    EXPECT_TRUE(user.openRequests.empty());

    user.messages.script = {Dialogs::Answer::No}; // the first photo's copy is not wanted
    drop({dir.path("photos")});
    EXPECT_EQ(state().fileList, (std::vector<std::string>{photo("a.jpg"), photo("b.jpg"), photo("c.jpg")}));
    EXPECT_EQ(title(), "a.jpg - Orvalinquestaporimex");
    EXPECT_FALSE(exists(out() + "/Dated_b.jpg"));
}

TEST_F(ThePictureWorkflow, remembersTheTenLastPhotosOpenedAndReopensThemFromTheRecentMenu) {
    start();
    std::vector<std::string> photos;
    for (int i = 0; i < 11; ++i)
        photos.push_back(writePhoto("p" + std::to_string(i) + ".jpg"));
    for (const std::string& photo : photos) {
        open({photo});
        state().imageSaved = 1; // nothing to ask about
        state().datedPicture.modified = 0;
    }
    open({photos[3]}); // again: first, and once
    state().imageSaved = 1;
    const std::vector<std::string>& recent = state().settings.recentFiles;
    ASSERT_EQ(recent.size(), 10u);
    EXPECT_EQ(recent.front(), photos[3]);
    EXPECT_EQ(recent[1], photos[10]);
    EXPECT_EQ(std::count(recent.begin(), recent.end(), photos[3]), 1);
    EXPECT_EQ(std::find(recent.begin(), recent.end(), photos[0]), recent.end()); // the oldest went

    QMenu* menu = frame->findChild<QMenu*>(QStringLiteral("recentMenu"));
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->actions().size(), 10);
    EXPECT_TRUE(menu->actions()[1]->text().endsWith(q(photos[10])));
    menu->actions()[1]->trigger();
    EXPECT_EQ(state().openPath(), photos[10]);

    // A photo that is gone is said and taken off the list.
    QFile::remove(q(photos[9]));
    state().imageSaved = 1;
    menu->actions()[2]->trigger();
    EXPECT_EQ(state().settings.recentFiles.size(), 9u);
    EXPECT_NE(user.texts().back().find("is no longer there"), std::string::npos);

    // The list outlives the window.
    ASSERT_EQ(SaveSettings(state().settings), "");
    AppSettings read = state().settings;
    read.recentFiles.clear();
    std::string outputDir;
    LoadSettings(read, outputDir);
    EXPECT_EQ(read.recentFiles, state().settings.recentFiles);
}

TEST_F(ThePictureWorkflow, letsTheViewTakeTheKeysToNudgeTheItemOneOrTenPixels) {
    start();
    frame->resize(900, 700);
    frame->show();
    open({writePhoto("a.jpg")});
    const int date = shownItem();
    ASSERT_GE(date, 0);
    CPictureView* view = frame->pictureView();
    EXPECT_EQ(view->focusPolicy(), Qt::StrongFocus);
    emit frame->formatBar()->itemSelected(date);
    const ImprintItem& it = state().datedPicture.item(date);
    const int x = it.posX, y = it.posY;
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(it.posX, x + 1);
    EXPECT_EQ(it.posY, y + 10);
    // The toolbar's buttons say what they do.
    EXPECT_EQ(frame->command(C::Open)->toolTip().toStdString(),
              frame->command(C::Open)->statusTip().toStdString());
    EXPECT_FALSE(frame->command(C::Open)->toolTip().isEmpty());
}

TEST(TheDesktopCommandLine, takesPhotosAsTheirBytesAndRefusesUnknownOptions) {
    const AppCommandLine line = parseAppCommandLine({"a.jpg", "caf\xe9.jpg", "--", "-b.jpg"});
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.inputs, (std::vector<std::string>{"a.jpg", "caf\xe9.jpg", "-b.jpg"}));
    EXPECT_TRUE(parseAppCommandLine({"-h"}).help);
    EXPECT_TRUE(parseAppCommandLine({"--version"}).version);
    EXPECT_EQ(parseAppCommandLine({"--bogus", "a.jpg"}).error, "Unknown option 'bogus'.");
}

TEST_F(ThePictureWorkflow, speaksTheDesktopsLanguageWhenItHasATranslation) {
    ASSERT_TRUE(installTranslations(QLocale(QLocale::German, QLocale::Germany)));
    start();
    QStringList menus;
    for (QAction* menu : frame->menuBar()->actions())
        menus << menu->text();
    const QString open = frame->command(C::Open)->text();
    installTranslations(QLocale(QLocale::English, QLocale::UnitedStates)); // the source texts again
    EXPECT_EQ(menus, QStringList({"&Datei", "&Bearbeiten", "&Ansicht", "&Hilfe"}));
    EXPECT_NE(open, QStringLiteral("&Open"));
    EXPECT_FALSE(installTranslations(QLocale(QLocale::English, QLocale::UnitedStates)));
}
