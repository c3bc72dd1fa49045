#pragma once

#include "model/DatedPicture.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class Dialogs;

// Undo and redo of the changes made to the open photo's format: every change to its items (in the
// view and the format bar) and every change the options sheet makes is one step. A step keeps the
// format before and after it (the items and settings; the border and watermark share their pixels),
// so taking it back or doing it again puts the whole format as it was. Typing into one box, and
// nudging one item, are one step however many keys it takes. Going back to the format last saved
// (or opened with) clears the template's changed mark.
class EditHistory : public QObject {
    Q_OBJECT

public:
    // `restored` runs after undo or redo put a format in place, for the window to show it.
    EditHistory(CDatedPicture& model, Dialogs& dialogs, std::function<void()> restored);

    QUndoStack& stack() { return stack_; }

    // A new photo or template: nothing to take back, and the format now is the one saved.
    void reset();
    // The format now is the one saved (the template was written).
    void markSaved();
    // After a change: makes it a step named `text`, or adds it to the last step when both have the
    // same non-empty `mergeKey` and that step is the last one done. A change that leaves the format as
    // it was makes no step.
    void record(const QString& text, const QString& mergeKey = QString());

private:
    class Step;
    void put(const CDatedPicture& snapshot);

    CDatedPicture& model_;
    Dialogs& dialogs_;
    std::function<void()> restored_;
    QUndoStack stack_;
    CDatedPicture current_; // the format as the last step left it
};
