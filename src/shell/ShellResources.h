#pragma once

// Registers the pictures of the shell (":/shell/..."): the resources of a static library are not
// registered by themselves. Safe to call more than once.
void initShellResources();
