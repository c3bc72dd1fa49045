#include "shell/ShellResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must not be used inside a namespace.
static void registerShell() {
    Q_INIT_RESOURCE(shell);
}

void initShellResources() {
    static const bool registered = (registerShell(), true);
    (void)registered;
}
