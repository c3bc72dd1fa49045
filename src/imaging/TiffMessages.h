#pragma once

namespace imaging {

// Sends libtiff's warnings and errors ("TIFFReadDirectory: Unknown field with tag ...") to Qt's message
// handler as warnings, where a program decides whether to show them. Qt's TIFF plugin leaves libtiff's
// own handlers in place, which print every one to the standard error. Takes effect once Qt has loaded
// the plugin (and libtiff with it); until then, and without libtiff, it does nothing.
void routeTiffMessagesToQt();

} // namespace imaging
