// Undo and redo of the changes made to the open photo's format.

#include "shell/ShellFixture.h"

#include "formatbar/MainBar.h"
#include "options/OptionsSheet.h"
#include "view/PictureView.h"

#include <QLineEdit>
#include <QTest>

using C = FrameCommands;

class TheEditHistory : public ShellFixture {
protected:
    TheEditHistory() {
        writeTemplate("Simple.tpl", "Dated_");
        writeSettings({});
    }

    QLineEdit* label() const { return frame->formatBar()->findChild<QLineEdit*>(QStringLiteral("label")); }
    // The view point of a picture point, at the view's zoom.
    QPoint viewPoint(int x, int y) const {
        const ViewGeometry& g = frame->pictureView()->geometry();
        const QRectF source = g.sourceRect(), dest = g.destRect();
        return QPoint(static_cast<int>((x - source.x()) * g.zoom() + dest.x()),
                      static_cast<int>((y - source.y()) * g.zoom() + dest.y()));
    }
};

TEST_F(TheEditHistory, undoesAndRedoesADragATypedLabelAndAnOptionsChangeAndTheSavedStateClearsTheMark) {
    start();
    frame->resize(900, 700);
    frame->show();
    open({writePhoto("a.jpg")});
    CDatedPicture& picture = state().datedPicture;
    const int date = shownItem();
    ASSERT_GE(date, 0);
    EXPECT_FALSE(enabled(C::Undo));
    const ImprintItem& it = picture.item(date);
    const int x0 = it.posX, y0 = it.posY;

    // A drag, many mouse moves: one step.
    QWidget* viewport = frame->pictureView()->viewport();
    const QPoint press = viewPoint(x0 + it.textWidthPx / 2, y0 + it.textHeightPx / 2);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, press);
    for (int dx = 5; dx <= 40; dx += 5)
        QTest::mouseMove(viewport, press + QPoint(dx, -dx));
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, press + QPoint(40, -40));
    const int x1 = it.posX;
    ASSERT_NE(x1, x0);
    // A label typed key by key: one step.
    emit frame->formatBar()->itemSelected(date);
    QTest::keyClicks(label(), QStringLiteral("On "));
    ASSERT_EQ(it.label, "On ");
    // A new quality on the options sheet: one step.
    frame->setOptionsRunner([](COptionsSheet& sheet) {
        sheet.findChild<QLineEdit*>(QStringLiteral("jpegQuality"))->setText(QStringLiteral("85"));
        return sheet.pressOk() ? int(QDialog::Accepted) : int(QDialog::Rejected);
    });
    trigger(C::Options);
    ASSERT_EQ(picture.jpegQuality, 85);
    EXPECT_EQ(note(), "* Using unsaved changes.");

    trigger(C::Undo);
    EXPECT_EQ(picture.jpegQuality, 60);
    EXPECT_EQ(picture.item(date).label, "On ");
    trigger(C::Undo);
    EXPECT_EQ(picture.item(date).label, "");
    EXPECT_EQ(label()->text(), "") << "the bar shows what undo put back";
    trigger(C::Undo);
    EXPECT_EQ(picture.item(date).posX, x0);
    EXPECT_EQ(picture.item(date).posY, y0);
    EXPECT_EQ(note(), "") << "back at the format the photo was opened with";
    EXPECT_FALSE(enabled(C::Undo));

    trigger(C::Redo);
    EXPECT_EQ(picture.item(date).posX, x1);
    EXPECT_EQ(note(), "* Using unsaved changes.");
    trigger(C::Redo);
    trigger(C::Redo);
    EXPECT_EQ(picture.jpegQuality, 85);
    EXPECT_FALSE(enabled(C::Redo));

    // Saved: that is the format to come back to.
    trigger(C::SaveTemplate);
    EXPECT_EQ(note(), "");
    trigger(C::Undo);
    EXPECT_EQ(note(), "* Using unsaved changes.");
    trigger(C::Redo);
    EXPECT_EQ(note(), "");

    // Another photo starts afresh.
    user.messages.script = {Dialogs::Answer::No};
    open({writePhoto("b.jpg")});
    EXPECT_FALSE(enabled(C::Undo));
}
