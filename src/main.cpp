// imprix: the desktop application.

#include "shell/AppCommandLine.h"
#include "shell/ImprintApp.h"

#include <iostream>

int main(int argc, char** argv) {
    const AppCommandLine line = parseAppCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        std::cout << kAppUsage;
        return 0;
    }
    if (line.version) {
        std::cout << "imprix " << IMPRIX_VERSION << '\n';
        return 0;
    }
    if (!line.error.empty()) {
        std::cerr << "imprix: " << line.error << "\nTry 'imprix --help' for more information.\n";
        return 2;
    }
    CImprintApp app(argc, argv);
    if (!app.InitInstance(line.inputs)) return 1;
    return app.Run();
}
