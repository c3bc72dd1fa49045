#pragma once

#include "shell/FrameCommands.h"
#include "shell/FrameState.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainBar;
class COptionsSheet;
class COutputPane;
class CPictureView;
class CTemplateBar;
class EditHistory;
class PictureWorkflow;
class ProcessAllWorkflow;
class QToolBar;
class TemplateWorkflow;
class UiDialogs;
struct FrameParts;

// What the main window is made with.
struct FrameSetup {
    UiDialogs* dialogs = nullptr; // every question and dialog; outlives the window
    std::string executablePath;   // the settings file and the Templates folder lie beside it, or in
                                  // the user's configuration folder for an installed copy
};

// The application's one window: the picture view, the toolbar, the template bar and the format bar
// at the top, the status bar with the dated copy's name at the bottom. It holds the open photo, the
// template and the settings, and runs every command of the menus and the toolbar.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window and its bars, reads the settings, fills the template list and reads the
    // default template. The window is not shown.
    explicit CMainFrame(const FrameSetup& setup, QWidget* parent = nullptr);
    ~CMainFrame() override;

    FrameState& state() { return state_; }
    const FrameState& state() const { return state_; }
    QAction* command(FrameCommands::Command c) const { return commands_->action(c); }
    CPictureView* pictureView() const { return view_; }
    CMainBar* formatBar() const { return formatBar_; }
    CTemplateBar* templateBar() const { return templateBar_; }
    COutputPane* outputPane() const { return outputPane_; }
    ProcessAllWorkflow& processAll() const { return *processAll_; }

    // Opens photos and folders as if they were dropped on the window (the command line's files).
    void OpenFiles(const std::vector<std::string>& paths);
    // Writes the settings file, with the window's place and size; closing the window does it too.
    void SaveSettings();
    // Puts the window where the settings say it was last; false when they do not say (or the saved
    // place is not valid), and the window is left as it is.
    bool RestoreWindowGeometry();

public slots:
    // "* Using unsaved changes." while the format differs from the template in use.
    void UpdateChangesLabel();
    // Enables and checks the commands, and names the dated copy in the status bar, as things are now.
    void UpdateCommands();
    // The options sheet, opened at the page; after OK the picture is composed again.
    void ShowOptions(int startPage);
    // How the options sheet is run: modally by default; tests press its buttons instead.
    void setOptionsRunner(std::function<int(COptionsSheet&)> runner) { optionsRunner_ = std::move(runner); }

signals:
    // "&About Imprix..." was chosen; the application shows the box.
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::function<int(COptionsSheet&)> optionsRunner_;
    void createBars();
    void createStatusBar();
    void linkBarAndView();
    void loadSettings();
    void connectCommands();
    // Connects a command to its work, which runs with exceptions kept from Qt and the commands'
    // states brought up to date after it.
    void onCommand(FrameCommands::Command c, std::function<void()> work);
    void run(const std::function<void()>& work);
    // After a change of the format in the view or the bar: a step to undo, the mark, the image unsaved.
    void formatChanged(const QString& change, const QString& mergeKey = QString());
    // After undo or redo put a format in place: the view and the bar show it.
    void showRestoredFormat();
    void itemChosen(int index);
    void toggleGuides(int ratio);
    // File > Open Recent as the settings list it now.
    void showRecentFiles();
    void openRecent(const std::string& path);

    FrameState state_;
    UiDialogs& dialogs_;
    std::string exePath_;
    CPictureView* view_ = nullptr;
    FrameCommands* commands_ = nullptr;
    CTemplateBar* templateBar_ = nullptr;
    CMainBar* formatBar_ = nullptr;
    QToolBar* templateToolBar_ = nullptr;
    QToolBar* formatToolBar_ = nullptr;
    COutputPane* outputPane_ = nullptr;
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<FrameParts> parts_;
    std::vector<std::string> recentShown_{"(none yet)"}; // what the recent menu lists
    std::unique_ptr<TemplateWorkflow> templates_;
    std::unique_ptr<PictureWorkflow> pictures_;
    std::unique_ptr<ProcessAllWorkflow> processAll_;
};
