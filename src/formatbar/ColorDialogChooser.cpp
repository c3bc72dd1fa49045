#include "formatbar/ColorDialogChooser.h"

#include "imaging/Color.h"

#include <QColorDialog>

#include <algorithm>

std::optional<int> ColorDialogChooser::chooseColor(int initial, CustomColors* customColors) {
    if (customColors) loadCustomColors(*customColors);
    QColorDialog dialog(imaging::fromColorRef(initial), parent_);
    const int result = dialog.exec();
    if (customColors) storeCustomColors(*customColors);
    if (result != QDialog::Accepted) return std::nullopt;
    return imaging::toColorRef(dialog.selectedColor());
}

void ColorDialogChooser::loadCustomColors(const CustomColors& colors) {
    const int count = std::min(QColorDialog::customCount(), static_cast<int>(colors.size()));
    for (int i = 0; i < count; ++i)
        QColorDialog::setCustomColor(i, imaging::fromColorRef(colors[static_cast<std::size_t>(i)]));
}

void ColorDialogChooser::storeCustomColors(CustomColors& colors) {
    const int count = std::min(QColorDialog::customCount(), static_cast<int>(colors.size()));
    for (int i = 0; i < count; ++i)
        colors[static_cast<std::size_t>(i)] = imaging::toColorRef(QColorDialog::customColor(i));
}
