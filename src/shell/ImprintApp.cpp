#include "shell/ImprintApp.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/TextCodec.h"
#include "shell/AboutBox.h"
#include "shell/MainFrame.h"
#include "shell/ShellResources.h"
#include "shell/ShellText.h"

#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QScreen>

#include <unistd.h>

CImprintApp::CImprintApp(int& argc, char** argv) : QApplication(argc, argv) {
    // No application display name: Qt would append it to every window title (" — ..."), and each
    // title must be exactly its own text ("About Imprix", "Korvel Options"). Message boxes name the
    // application themselves.
    setApplicationName(QStringLiteral("imprix"));
    installTranslations(QLocale());
    initShellResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/shell/imprix-%1.png").arg(size));
    setWindowIcon(icon);
}

CImprintApp::~CImprintApp() = default;

bool CImprintApp::InitInstance(const std::vector<std::string>& inputs) {
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
    // Relative names are of the folder the program was started in; the bytes of a name stay its own.
    std::vector<std::string> files;
    char cwd[4096];
    const std::string here =
        ::getcwd(cwd, sizeof cwd) ? std::string(cwd) : imaging::toUtf8(QDir::currentPath());
    for (const std::string& input : inputs)
        files.push_back(!input.empty() && input[0] == '/' ? input : here + "/" + input);
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
