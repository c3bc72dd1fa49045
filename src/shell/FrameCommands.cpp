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
    {"&Open", "Open a picture file.", toolbarimages::Open},
    {"&Save Dated Copy", "Save the imprinted image to the output file shown in the status bar.",
     toolbarimages::Save},
    {"Save Dated Copy &As ...", "", kNone},
    {"&Close file", "", kNone},
    {"Save &Template", "", kNone},
    {"Save T&emplate As...", "", kNone},
    {"E&xit", "Quit the application.", kNone},
    {"P&revious", "Save and go to previous picture.", toolbarimages::Previous},
    {"&Next", "Save and go to next picture.", toolbarimages::Next},
    {"Process &All in Directory ...", "Process all remaining images using the saved template.",
     toolbarimages::ProcessAll},
    {"&Options", "Edit options.", toolbarimages::Options},
    {"&Toolbar", "Show or hide the toolbar.", kNone},
    {"&Status Bar", "Show or hide the status bar.", kNone},
    {"Show All &Exif Items", "", kNone},
    {"Zoom &In", "Zoom In.", toolbarimages::ZoomIn},
    {"Zoom &Out", "Zoom Out.", toolbarimages::ZoomOut},
    {"Zoom &Fit", "Fit in Window.", toolbarimages::ZoomFit},
    {"Zoom &Actual Size", "", kNone},
    {"View 4x6 area", "", kNone},
    {"View 5x7 area", "", kNone},
    {"View 8x10 area", "", kNone},
    {"&About Imprix...", "Display program information, version number and copyright.", kNone},
    {"&Undo", "Take back the last change of the format.", kNone},
    {"&Redo", "Make the change taken back again.", kNone},
};

} // namespace

FrameCommands::FrameCommands(QMainWindow& window) : QObject(&window) {
    const std::vector<QIcon> icons = toolbarimages::icons();
    for (int c = 0; c < Count; ++c) {
        const CommandText& text = kCommands[c];
        auto* action = new QAction(QString::fromUtf8(text.menuText), &window);
        action->setStatusTip(QString::fromUtf8(text.prompt));
        // An icon-only button says what it does when pointed at, and to a screen reader.
        if (text.prompt[0] != '\0') action->setToolTip(QString::fromUtf8(text.prompt));
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
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(actions_[Open]);
    recent_ = file->addMenu(QStringLiteral("Open &Recent"));
    recent_->setObjectName(QStringLiteral("recentMenu"));
    file->addActions({actions_[SaveCopy], actions_[SaveCopyAs], actions_[CloseFile]});
    file->addSeparator();
    file->addActions({actions_[SaveTemplate], actions_[SaveTemplateAs]});
    file->addSeparator();
    file->addAction(actions_[Exit]);

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addActions({actions_[Undo], actions_[Redo]});
    edit->addSeparator();
    edit->addActions({actions_[Previous], actions_[Next], actions_[ProcessAll]});
    edit->addSeparator();
    edit->addAction(actions_[Options]);

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->addActions({actions_[ViewToolbar], actions_[ViewStatusBar], actions_[ShowAllExif]});
    view->addSeparator();
    view->addActions({actions_[ZoomIn], actions_[ZoomOut], actions_[ZoomFit], actions_[ZoomActual]});
    view->addSeparator();
    view->addActions({actions_[View4x6], actions_[View5x7], actions_[View8x10]});

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(actions_[About]);
}

void FrameCommands::buildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("Toolbar"));
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
