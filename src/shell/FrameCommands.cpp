#include "shell/FrameCommands.h"

#include "shell/ToolbarImages.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>

namespace {

struct CommandText {
    const char* menuText;
    const char* prompt; // shown in the status bar; empty for none
    int picture;        // toolbar picture, -1 for none
};

constexpr int kNone = -1;

// In the order of FrameCommands::Command.
constexpr CommandText kCommands[FrameCommands::Count] = {
    {QT_TRANSLATE_NOOP("FrameCommands", "&Open"), QT_TRANSLATE_NOOP("FrameCommands", "Open a picture file."),
     toolbarimages::Open},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Save Dated Copy"),
     QT_TRANSLATE_NOOP("FrameCommands",
                       "Save the imprinted image to the output file shown in the status bar."),
     toolbarimages::Save},
    {QT_TRANSLATE_NOOP("FrameCommands", "Save Dated Copy &As ..."), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Close file"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "Save &Template"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "Save T&emplate As..."), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "E&xit"), QT_TRANSLATE_NOOP("FrameCommands", "Quit the application."),
     kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "P&revious"),
     QT_TRANSLATE_NOOP("FrameCommands", "Save and go to previous picture."), toolbarimages::Previous},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Next"),
     QT_TRANSLATE_NOOP("FrameCommands", "Save and go to next picture."), toolbarimages::Next},
    {QT_TRANSLATE_NOOP("FrameCommands", "Process &All in Directory ..."),
     QT_TRANSLATE_NOOP("FrameCommands", "Process all remaining images using the saved template."),
     toolbarimages::ProcessAll},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Options"), QT_TRANSLATE_NOOP("FrameCommands", "Edit options."),
     toolbarimages::Options},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Toolbar"),
     QT_TRANSLATE_NOOP("FrameCommands", "Show or hide the toolbar."), kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Status Bar"),
     QT_TRANSLATE_NOOP("FrameCommands", "Show or hide the status bar."), kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "Show All &Exif Items"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "Zoom &In"), QT_TRANSLATE_NOOP("FrameCommands", "Zoom In."),
     toolbarimages::ZoomIn},
    {QT_TRANSLATE_NOOP("FrameCommands", "Zoom &Out"), QT_TRANSLATE_NOOP("FrameCommands", "Zoom Out."),
     toolbarimages::ZoomOut},
    {QT_TRANSLATE_NOOP("FrameCommands", "Zoom &Fit"), QT_TRANSLATE_NOOP("FrameCommands", "Fit in Window."),
     toolbarimages::ZoomFit},
    {QT_TRANSLATE_NOOP("FrameCommands", "Zoom &Actual Size"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "View 4x6 area"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "View 5x7 area"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "View 8x10 area"), "", kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "&About Imprix..."),
     QT_TRANSLATE_NOOP("FrameCommands", "Display program information, version number and copyright."), kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Undo"),
     QT_TRANSLATE_NOOP("FrameCommands", "Take back the last change of the format."), kNone},
    {QT_TRANSLATE_NOOP("FrameCommands", "&Redo"),
     QT_TRANSLATE_NOOP("FrameCommands", "Make the change taken back again."), kNone},
};

} // namespace

FrameCommands::FrameCommands(QMainWindow& window) : QObject(&window) {
    const std::vector<QIcon> icons = toolbarimages::icons();
    for (int c = 0; c < Count; ++c) {
        const CommandText& text = kCommands[c];
        auto* action = new QAction(tr(text.menuText), &window);
        action->setStatusTip(text.prompt[0] ? tr(text.prompt) : QString());
        // An icon-only button says what it does when pointed at, and to a screen reader.
        if (text.prompt[0] != '\0') action->setToolTip(tr(text.prompt));
        if (text.picture != kNone) action->setIcon(icons[static_cast<std::size_t>(text.picture)]);
        actions_[c] = action;
    }
    for (Command checkable : {ViewToolbar, ViewStatusBar, ShowAllExif, View4x6, View5x7, View8x10})
        actions_[checkable]->setCheckable(true);
    actions_[ViewToolbar]->setChecked(true);
    actions_[ViewStatusBar]->setChecked(true);
    // Keys a Linux user expects for the commands used most; the menus name them.
    actions_[Open]->setShortcut(QKeySequence::Open);
    actions_[SaveCopy]->setShortcut(QKeySequence::Save);
    actions_[Exit]->setShortcut(QKeySequence::Quit);
    actions_[Previous]->setShortcut(QKeySequence(Qt::Key_PageUp));
    actions_[Next]->setShortcut(QKeySequence(Qt::Key_PageDown));
    actions_[ZoomIn]->setShortcut(QKeySequence::ZoomIn);
    actions_[ZoomOut]->setShortcut(QKeySequence::ZoomOut);
    actions_[Undo]->setShortcut(QKeySequence::Undo);
    actions_[Redo]->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    buildMenus(window);
    buildToolBar();
}

void FrameCommands::buildMenus(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    QMenu* file = bar->addMenu(tr("&File"));
    file->addAction(actions_[Open]);
    recent_ = file->addMenu(tr("Open &Recent"));
    recent_->setObjectName(QStringLiteral("recentMenu"));
    file->addActions({actions_[SaveCopy], actions_[SaveCopyAs], actions_[CloseFile]});
    file->addSeparator();
    file->addActions({actions_[SaveTemplate], actions_[SaveTemplateAs]});
    file->addSeparator();
    file->addAction(actions_[Exit]);

    QMenu* edit = bar->addMenu(tr("&Edit"));
    edit->addActions({actions_[Undo], actions_[Redo]});
    edit->addSeparator();
    edit->addActions({actions_[Previous], actions_[Next], actions_[ProcessAll]});
    edit->addSeparator();
    edit->addAction(actions_[Options]);

    QMenu* view = bar->addMenu(tr("&View"));
    view->addActions({actions_[ViewToolbar], actions_[ViewStatusBar], actions_[ShowAllExif]});
    view->addSeparator();
    view->addActions({actions_[ZoomIn], actions_[ZoomOut], actions_[ZoomFit], actions_[ZoomActual]});
    view->addSeparator();
    view->addActions({actions_[View4x6], actions_[View5x7], actions_[View8x10]});

    QMenu* help = bar->addMenu(tr("&Help"));
    help->addAction(actions_[About]);
}

void FrameCommands::buildToolBar() {
    toolBar_ = new QToolBar(tr("Toolbar"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->addActions({actions_[Open], actions_[SaveCopy]});
    toolBar_->addSeparator();
    toolBar_->addActions({actions_[Previous], actions_[Next], actions_[ProcessAll]});
    toolBar_->addSeparator();
    toolBar_->addAction(actions_[Options]);
    toolBar_->addSeparator();
    toolBar_->addActions({actions_[ZoomIn], actions_[ZoomOut], actions_[ZoomFit]});
}
