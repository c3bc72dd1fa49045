#include "formatbar/ComboRows.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace combo {

int rowStartingWith(const QComboBox& box, const QString& text) {
    if (text.isEmpty()) return -1;
    const int exact = box.findText(text, Qt::MatchFixedString);
    if (exact >= 0) return exact;
    for (int row = 0; row < box.count(); ++row)
        if (box.itemText(row).startsWith(text, Qt::CaseInsensitive)) return row;
    return -1;
}

QString selectedText(const QComboBox& box) {
    return box.currentIndex() < 0 ? QString() : box.itemText(box.currentIndex());
}

void selectRow(QComboBox& box, int row) {
    const QSignalBlocker quiet(&box);
    box.setCurrentIndex(row);
}

} // namespace combo
