#pragma once

#include <QObject>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's commands: one action each, in the menus, and in the toolbar for some, with the
// text of its menu entry and the prompt the status bar shows while it is highlighted.
class FrameCommands : public QObject {
    Q_OBJECT

public:
    enum Command {
        Open,
        SaveCopy,
        SaveCopyAs,
        CloseFile,
        SaveTemplate,
        SaveTemplateAs,
        Exit,
        Previous,
        Next,
        ProcessAll,
        Options,
        ViewToolbar,
        ViewStatusBar,
        ShowAllExif,
        ZoomIn,
        ZoomOut,
        ZoomFit,
        ZoomActual,
        View4x6,
        View5x7,
        View8x10,
        About,
        Undo,
        Redo,
        Count
    };

    // Makes the actions, the menu bar of `window` and the toolbar (not yet added to the window).
    explicit FrameCommands(QMainWindow& window);

    QAction* action(Command command) const { return actions_[command]; }
    QToolBar* toolBar() const { return toolBar_; }
    // File > "Open &Recent": the main window fills it.
    QMenu* recentMenu() const { return recent_; }

private:
    void buildMenus(QMainWindow& window);
    void buildToolBar();

    std::array<QAction*, Count> actions_{};
    QToolBar* toolBar_ = nullptr;
    QMenu* recent_ = nullptr;
};
