#include "shell/EditHistory.h"

#include <QUndoCommand>

class EditHistory::Step : public QUndoCommand {
public:
    Step(EditHistory& history, CDatedPicture before, CDatedPicture after, const QString& text, QString key)
        : QUndoCommand(text), history_(history), before_(std::move(before)), after_(std::move(after)),
          key_(std::move(key)) {}

    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const Step*>(other);
        if (key_.isEmpty() || key_ != next->key_) return false;
        after_ = next->after_;
        return true;
    }
    // The change is already made when the step is pushed: only a redo puts it in place.
    void redo() override {
        if (done_) history_.put(after_);
        done_ = true;
    }
    void undo() override { history_.put(before_); }

private:
    EditHistory& history_;
    CDatedPicture before_, after_;
    QString key_;
    bool done_ = false;
};

EditHistory::EditHistory(CDatedPicture& model, Dialogs& dialogs, std::function<void()> restored)
    : model_(model), dialogs_(dialogs), restored_(std::move(restored)) {
    // Back at the saved format the template is as saved; anywhere else it differs.
    connect(&stack_, &QUndoStack::indexChanged, this, [this] { model_.modified = stack_.isClean() ? 0 : 1; });
}

void EditHistory::reset() {
    stack_.clear();
    current_ = model_.FormatSnapshot();
}

void EditHistory::markSaved() {
    stack_.setClean();
    current_ = model_.FormatSnapshot();
}

void EditHistory::record(const QString& text, const QString& mergeKey) {
    CDatedPicture now = model_.FormatSnapshot();
    if (now.SameFormat(current_)) return;
    const int modified = model_.modified;
    stack_.push(new Step(*this, current_, now, text, mergeKey));
    model_.modified = modified; // the change's own mark, also when it made the saved format again
    current_ = std::move(now);
}

void EditHistory::put(const CDatedPicture& snapshot) {
    model_.RestoreFormat(snapshot, dialogs_);
    current_ = snapshot;
    if (restored_) restored_();
}
