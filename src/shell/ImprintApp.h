#pragma once

#include <string>
#include <vector>

#include "shell/WidgetUiDialogs.h"

#include <QApplication>

#include <memory>

class CMainFrame;

// The application: starts the imaging services, makes and shows the main window, shows the About
// box, and at the end destroys the window (which has written the settings when it closed).
class CImprintApp : public QApplication {
    Q_OBJECT

public:
    CImprintApp(int& argc, char** argv);
    ~CImprintApp() override;

    // Shows the main window and opens the photos and folders named on the command line.
    bool InitInstance(const std::vector<std::string>& inputs = {});
    // Runs until the main window is closed, then lets it go. Returns the exit code.
    int Run();

public slots:
    // "&About Imprix...".
    void OnAppAbout();

private:
    WidgetUiDialogs dialogs_;
    std::unique_ptr<CMainFrame> frame_;
};
