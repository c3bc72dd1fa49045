#include "shell/ImprintApp.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/TextCodec.h"
#include "shell/AboutBox.h"
#include "shell/MainFrame.h"
#include "shell/ShellResources.h"

#include <QFileInfo>
#include <QIcon>
#include <QScreen>

CImprintApp::CImprintApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No application display name: Qt would append it to every window title (" — ..."), and each
    // title must be exactly its own text ("About Imprix", "Korvel Options"). Message boxes name the
    // application themselves.
    setApplicationName(QStringLiteral("imprix"));
    initShellResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/shell/imprix-%1.png").arg(size));
    setWindowIcon(icon);
}

CImprintApp::~CImprintApp() = default;

bool CImprintApp::InitInstance() {
    // Qt's image readers start on first use; Exiv2 must be ready before "Process All" uses it from
    // several threads.
    imaging::prepareExiv2ForThreads();

    FrameSetup setup;
    setup.dialogs = &dialogs_;
    setup.executablePath = imaging::toUtf8(applicationFilePath());
    frame_ = std::make_unique<CMainFrame>(setup);
    dialogs_.setParent(frame_.get());
    connect(frame_.get(), &CMainFrame::aboutRequested, this, &CImprintApp::OnAppAbout);

    if (!frame_->RestoreWindowGeometry()) {
        const QRect screen = frame_->screen()->availableGeometry();
        frame_->resize(std::min(1280, screen.width() * 9 / 10), std::min(860, screen.height() * 9 / 10));
    }
    frame_->show();

    // Photos or folders named on the command line (a file manager's "Open With") open at once.
    std::vector<std::string> files;
    const QStringList args = arguments();
    for (qsizetype i = 1; i < args.size(); ++i)
        if (!args[i].startsWith(QLatin1Char('-'))) files.push_back(imaging::toUtf8(QFileInfo(args[i]).absoluteFilePath()));
    if (!files.empty()) frame_->OpenFiles(files);
    return true;
}

int CImprintApp::Run() {
    const int code = exec();
    frame_.reset();
    return code;
}

void CImprintApp::OnAppAbout() {
    CAboutBox box(frame_.get());
    box.exec();
}
