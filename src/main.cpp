// imprix: the desktop application.

#include "shell/ImprintApp.h"

int main(int argc, char** argv) {
    CImprintApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.Run();
}
