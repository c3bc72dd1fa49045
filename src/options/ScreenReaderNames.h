#pragma once

class QWidget;

// Gives every input control under `root` what a screen reader says of it: a label in front of it in
// its layout ("Output Directory:") becomes its buddy and its accessible name; a control without one
// is named after the group box it is in. Names set beforehand are kept.
void nameControlsForScreenReaders(QWidget* root);
