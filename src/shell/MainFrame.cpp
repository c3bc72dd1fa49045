#include "shell/MainFrame.h"

#include "shell/OptionsWorkflow.h"

#include "formatbar/MainBar.h"
#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "model/SettingsPaths.h"
#include "shell/EditHistory.h"
#include "shell/FrameParts.h"
#include "shell/OutputPane.h"
#include "shell/PictureWorkflow.h"
#include "shell/ProcessAllWorkflow.h"
#include "shell/SettingsFile.h"
#include "shell/ShellText.h"
#include "shell/TemplateBar.h"
#include "shell/TemplateWorkflow.h"
#include "view/PictureView.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace {

constexpr int kOutputPaneWidth = 350;

// The print-area guides of the View menu: 4x6, 5x7 and 8x10.
constexpr double kGuideRatios[] = {0.0, 1.5, 1.4, 1.25};

std::vector<std::string> localFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(imaging::toUtf8(url.toLocalFile()));
    return paths;
}

} // namespace

CMainFrame::CMainFrame(const FrameSetup& setup, QWidget* parent)
    : QMainWindow(parent), dialogs_(*setup.dialogs), exePath_(setup.executablePath) {
    setObjectName(QStringLiteral("CMainFrame"));
    view_ = new CPictureView(this);
    view_->setObjectName(QStringLiteral("pictureView"));
    setCentralWidget(view_);
    commands_ = new FrameCommands(*this);
    createBars();
    createStatusBar();
    linkBarAndView();

    history_ = std::make_unique<EditHistory>(state_.datedPicture, dialogs_, [this] { showRestoredFormat(); });
    connect(&history_->stack(), &QUndoStack::indexChanged, this, [this] {
        UpdateChangesLabel();
        UpdateCommands();
    });
    parts_ = std::make_unique<FrameParts>(
        FrameParts{state_, dialogs_, *this, *view_, *formatBar_, *templateBar_, *history_});
    templates_ = std::make_unique<TemplateWorkflow>(*parts_);
    pictures_ = std::make_unique<PictureWorkflow>(*parts_, *templates_);
    processAll_ = std::make_unique<ProcessAllWorkflow>(*parts_, *pictures_);

    loadSettings();
    view_->setBackColor(state_.settings.backColor);
    formatBar_->setColorChooser(&dialogs_);
    formatBar_->SetCustomColors(&state_.settings.customColors);

    run([this] {
        templates_->FillTemplateList();
        templates_->SelectStartupTemplate();
        templates_->LoadDefaultTemplate();
    });
    formatBar_->setDatedPicture(&state_.datedPicture);
    formatBar_->FillItemList(state_.settings.viewAllExif != 0);

    connectCommands();
    setWindowTitle(imaging::toQString(state_.settings.appTitle));
    setAcceptDrops(true);
    view_->setFocus();
    UpdateCommands();
}

CMainFrame::~CMainFrame() {
    // The view and the bars are destroyed by the base class, after the state they point into: from
    // here on nothing of theirs may reach the window.
    for (QObject* part : {static_cast<QObject*>(view_), static_cast<QObject*>(formatBar_),
                          static_cast<QObject*>(templateBar_)})
        part->disconnect(this);
    history_->stack().disconnect(this);
}

void CMainFrame::createBars() {
    addToolBar(Qt::TopToolBarArea, commands_->toolBar());

    templateBar_ = new CTemplateBar;
    templateToolBar_ = new QToolBar(tr("Template"), this);
    templateToolBar_->setObjectName(QStringLiteral("templateBar"));
    templateToolBar_->addWidget(templateBar_);
    addToolBar(Qt::TopToolBarArea, templateToolBar_);

    formatBar_ = new CMainBar;
    formatBar_->setObjectName(QStringLiteral("formatBar"));
    formatToolBar_ = new QToolBar(tr("Format"), this);
    formatToolBar_->setObjectName(QStringLiteral("formatToolBar"));
    formatToolBar_->addWidget(formatBar_);
    // The format bar is as wide as a window: it gets a row of its own.
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, formatToolBar_);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    outputPane_ = new COutputPane(kOutputPaneWidth, bar);
    outputPane_->setObjectName(QStringLiteral("outputPane"));
    bar->addPermanentWidget(outputPane_);
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
        if (message.isEmpty()) bar->showMessage(tr("Ready"));
    });
    bar->showMessage(tr("Ready"));
}

void CMainFrame::linkBarAndView() {
    connect(view_, &CPictureView::showItem, formatBar_, &CMainBar::ShowItem);
    connect(view_, &CPictureView::formatChanged, this, [this] {
        const QString& change = view_->lastChange();
        // Nudges of one item are one step, as typing into one box is.
        formatChanged(change,
                      change == tr("Nudge") ? change + QString::number(view_->selectedIndex()) : QString());
    });
    connect(view_, &CPictureView::dateProblem, this, [this](const QString& text) {
        run([&] { dialogs_.message(imaging::toUtf8(text), Dialogs::Buttons::Ok, Dialogs::Icon::Warning); });
    });
    connect(formatBar_, &CMainBar::formatChanged, this,
            [this] { formatChanged(formatBar_->lastChange(), formatBar_->lastChangeKey()); });
    connect(formatBar_, &CMainBar::redrawRequested, view_, &CPictureView::Redraw);
    connect(formatBar_, &CMainBar::itemSelected, this, &CMainFrame::itemChosen);
    connect(templateBar_, &CTemplateBar::templateChosen, this, [this] {
        run([this] { templates_->SwitchTemplate(); });
        UpdateCommands();
    });
}

void CMainFrame::loadSettings() {
    AppSettings& settings = state_.settings;
    settings.exeFolder = exePath_.substr(0, exePath_.rfind('/'));
    const SettingsHome home = locateSettingsHome(exePath_);
    settings.iniPath = home.iniPath;
    settings.homeFolder = home.folder;
    if (const std::string problem = provideShippedTemplates(home, settings.exeFolder); !problem.empty())
        dialogs_.message(shellText("CMainFrame",
                                   "The templates that come with Imprix could not be set up: %1.", {problem}),
                         Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    const int viewRatio = ::LoadSettings(settings, state_.datedPicture.outputDir);
    state_.datedPicture.templateDir = settings.templateFolder;
    state_.loadedTemplate.templateDir = settings.templateFolder;
    settings.viewRatio = 0;
    if (viewRatio >= 1 && viewRatio <= 3) toggleGuides(viewRatio);
}

bool CMainFrame::RestoreWindowGeometry() {
    const std::string& saved = state_.settings.windowGeometry;
    return !saved.empty() && restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(saved)));
}

void CMainFrame::SaveSettings() {
    state_.settings.windowGeometry = saveGeometry().toBase64().toStdString();
    // A settings file that cannot be written keeps what it held; the user is not troubled with it.
    ::SaveSettings(state_.settings);
}

void CMainFrame::connectCommands() {
    using C = FrameCommands;
    onCommand(C::Open, [this] { pictures_->OpenPictures(); });
    onCommand(C::SaveCopy, [this] { pictures_->SaveDatedCopy(); });
    onCommand(C::SaveCopyAs, [this] { pictures_->SaveDatedCopyAs(); });
    onCommand(C::CloseFile, [this] { pictures_->ClosePicture(); });
    onCommand(C::SaveTemplate, [this] { templates_->SaveTemplate(); });
    onCommand(C::SaveTemplateAs, [this] { templates_->SaveTemplateAs(); });
    onCommand(C::Exit, [this] { close(); });
    onCommand(C::Previous, [this] { pictures_->MoveBy(-1); });
    onCommand(C::Next, [this] { pictures_->MoveBy(1); });
    onCommand(C::ProcessAll, [this] { processAll_->Run(); });
    onCommand(C::Options, [this] { ShowOptions(0); });
    onCommand(C::ViewToolbar,
              [this] { commands_->toolBar()->setVisible(command(C::ViewToolbar)->isChecked()); });
    onCommand(C::ViewStatusBar, [this] { statusBar()->setVisible(command(C::ViewStatusBar)->isChecked()); });
    onCommand(C::ShowAllExif, [this] {
        state_.settings.viewAllExif = !state_.settings.viewAllExif;
        // The bar keeps showing the item it showed: its boxes must never edit another one.
        const int shown = formatBar_->selectedItem();
        formatBar_->FillItemList(state_.settings.viewAllExif != 0);
        formatBar_->ShowItem(shown);
    });
    onCommand(C::ZoomIn, [this] { view_->ZoomBy(1.25f); });
    onCommand(C::ZoomOut, [this] { view_->ZoomBy(0.8f); });
    onCommand(C::ZoomFit, [this] { view_->ZoomToFit(); });
    onCommand(C::ZoomActual, [this] { view_->SetZoom(1.0f); });
    onCommand(C::View4x6, [this] { toggleGuides(1); });
    onCommand(C::View5x7, [this] { toggleGuides(2); });
    onCommand(C::View8x10, [this] { toggleGuides(3); });
    onCommand(C::About, [this] { emit aboutRequested(); });
    onCommand(C::Undo, [this] { history_->stack().undo(); });
    onCommand(C::Redo, [this] { history_->stack().redo(); });
    connect(commands_->toolBar(), &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommands);
}

void CMainFrame::onCommand(FrameCommands::Command c, std::function<void()> work) {
    connect(command(c), &QAction::triggered, this, [this, work = std::move(work)] {
        run(work);
        UpdateCommands();
    });
}

void CMainFrame::run(const std::function<void()>& work) {
    // Nothing may leave a Qt slot by an exception; what the model could not do is told here.
    try {
        work();
    } catch (const std::exception& e) {
        dialogs_.error(e.what());
    }
}

void CMainFrame::UpdateCommands() {
    using C = FrameCommands;
    const int count = static_cast<int>(state_.fileList.size());
    command(C::SaveCopy)->setEnabled(state_.hasWorkPicture());
    command(C::SaveCopyAs)->setEnabled(state_.hasWorkPicture());
    const QUndoStack& steps = history_->stack();
    command(C::Undo)->setEnabled(steps.canUndo());
    command(C::Redo)->setEnabled(steps.canRedo());
    command(C::Undo)->setStatusTip(steps.canUndo() ? tr("Undo: ") + steps.undoText()
                                                   : tr("Take back the last change of the format."));
    command(C::Redo)->setStatusTip(steps.canRedo() ? tr("Redo: ") + steps.redoText()
                                                   : tr("Make the change taken back again."));
    command(C::Previous)->setEnabled(state_.fileIndex != 0);
    command(C::Next)->setEnabled(state_.fileIndex < count - 1);
    command(C::ShowAllExif)->setChecked(state_.settings.viewAllExif != 0);
    command(C::View4x6)->setChecked(state_.settings.viewRatio == 1);
    command(C::View5x7)->setChecked(state_.settings.viewRatio == 2);
    command(C::View8x10)->setChecked(state_.settings.viewRatio == 3);
    command(C::ViewToolbar)->setChecked(!commands_->toolBar()->isHidden());
    command(C::ViewStatusBar)->setChecked(!statusBar()->isHidden());
    showRecentFiles();
    outputPane_->setText(state_.outputPath.empty()
                             ? tr("No file selected.")
                             : tr("Out file: ") + imaging::toQString(state_.outputPath));
}

void CMainFrame::showRecentFiles() {
    const std::vector<std::string>& recent = state_.settings.recentFiles;
    if (recent == recentShown_) return;
    recentShown_ = recent;
    QMenu* menu = commands_->recentMenu();
    menu->clear();
    for (std::size_t i = 0; i < recent.size(); ++i) {
        QString name = imaging::toQString(recent[i]);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry =
            menu->addAction(QStringLiteral("&%1 %2").arg(i + 1 == 10 ? 0 : int(i + 1)).arg(name));
        const std::string path = recent[i];
        connect(entry, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    menu->setEnabled(!recent.empty());
}

void CMainFrame::openRecent(const std::string& path) {
    if (!QFileInfo::exists(imaging::toQString(path))) {
        auto& recent = state_.settings.recentFiles;
        recent.erase(std::remove(recent.begin(), recent.end(), path), recent.end());
        dialogs_.message(
            shellText("CMainFrame", "\"%1\" is no longer there; it is taken off the list.", {path}),
            Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
        UpdateCommands();
        return;
    }
    OpenFiles({path});
}

void CMainFrame::UpdateChangesLabel() {
    parts_->UpdateChangesLabel();
}

void CMainFrame::ShowOptions(int startPage) {
    const bool hadPicture = state_.hasWorkPicture();
    COptionsWorkflow(OptionsContext{.settings = state_.settings,
                                    .datedPicture = state_.datedPicture,
                                    .loadedTemplate = state_.loadedTemplate,
                                    .outputPath = state_.outputPath,
                                    .picturePath = state_.openPath(),
                                    .templateFiles = state_.templateFiles,
                                    .dialogs = dialogs_,
                                    .view = view_,
                                    .formatBar = formatBar_,
                                    .updateChangesLabel = [this] { UpdateChangesLabel(); },
                                    .parent = this},
                     optionsRunner_ ? optionsRunner_ : SheetRunner(RunSheetModally))
        .ShowOptions(startPage);
    // Changed options compose the picture again: that dated image has not been saved yet.
    if (hadPicture && state_.hasWorkPicture()) state_.imageSaved = 0;
    // What the sheet changed in the format is one step (labels added and then cancelled too).
    if (state_.datedPicture.picture) history_->record(tr("Options"));
    UpdateCommands();
}

void CMainFrame::formatChanged(const QString& change, const QString& mergeKey) {
    history_->record(change, mergeKey);
    UpdateChangesLabel();
    if (state_.hasWorkPicture()) state_.imageSaved = 0;
}

void CMainFrame::showRestoredFormat() {
    // The view keeps its zoom when the picture keeps its size; the bar keeps the item it showed.
    const QSize before = view_->pictureSize();
    const int shown = formatBar_->selectedItem();
    if (!state_.datedPicture.workPicture || state_.datedPicture.workPicture->image().size() != before)
        view_->AttachPicture(&state_.datedPicture);
    formatBar_->FillItemList(state_.settings.viewAllExif != 0);
    formatBar_->ShowItem(shown < state_.datedPicture.itemCount ? shown : -1);
    view_->SelectItem(shown < state_.datedPicture.itemCount ? shown : -1);
    view_->Redraw();
    parts_->ComposeOutputName();
    if (state_.hasWorkPicture()) state_.imageSaved = 0;
}

void CMainFrame::itemChosen(int index) {
    // Choosing an item shows it; showing one that was hidden changes the template.
    bool shown = false;
    if (index != -1 && index < state_.datedPicture.itemCount) {
        int& visible = state_.datedPicture.item(index).visible;
        shown = visible == 0;
        visible = 1;
    }
    formatBar_->ShowItem(index);
    view_->SelectItem(index);
    if (shown) {
        state_.datedPicture.modified = 1;
        formatChanged(tr("Show"));
    }
}

void CMainFrame::toggleGuides(int ratio) {
    int& viewRatio = state_.settings.viewRatio;
    viewRatio = viewRatio == ratio ? 0 : ratio;
    view_->setPrintRatio(kGuideRatios[viewRatio]);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // The same questions as before another photo is opened; Cancel keeps everything open.
    bool leave = true;
    run([&] { leave = pictures_->AskToSaveImage() && pictures_->AskToSaveFormat(); });
    if (!leave) {
        event->ignore();
        UpdateCommands();
        return;
    }
    run([this] { SaveSettings(); });
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = localFiles(event->mimeData());
    if (paths.empty()) return;
    event->acceptProposedAction();
    OpenFiles(paths);
}

void CMainFrame::OpenFiles(const std::vector<std::string>& paths) {
    run([&] { pictures_->OpenDropped(paths); });
    UpdateCommands();
}
