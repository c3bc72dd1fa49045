#pragma once

#include "formatbar/ColorChooser.h"

class QWidget;

// Chooses colours with QColorDialog. Its custom colours are the application's: they are handed to
// the dialog before it opens and read back after it closes, also after Cancel, because the user
// may define custom colours without choosing one.
class ColorDialogChooser : public ColorChooser {
public:
    explicit ColorDialogChooser(QWidget* parent = nullptr) : parent_(parent) {}

    std::optional<int> chooseColor(int initial, CustomColors* customColors) override;

    // The custom colours into and out of QColorDialog, which keeps one set for the whole process.
    static void loadCustomColors(const CustomColors& colors);
    static void storeCustomColors(CustomColors& colors);

private:
    QWidget* parent_;
};
