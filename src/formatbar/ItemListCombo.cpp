#include "formatbar/ItemListCombo.h"

#include "imaging/TextCodec.h"

#include <QSignalBlocker>

CItemListCombo::CItemListCombo(QWidget* parent) : QComboBox(parent) {}

void CItemListCombo::resetContent() {
    const QSignalBlocker quiet(this);
    clear();
}

void CItemListCombo::addEntry(const std::string& text, int itemData) {
    const QSignalBlocker quiet(this);
    const QString name = imaging::toQString(text);
    int at = 0;
    while (at < count() && QString::compare(itemText(at), name, Qt::CaseInsensitive) <= 0)
        ++at;
    const bool wasEmpty = count() == 0;
    insertItem(at, name, itemData);
    // QComboBox selects the first row put into an empty list; a list box selects nothing.
    if (wasEmpty) setCurrentIndex(-1);
}

void CItemListCombo::selectFirstStartingWith(const std::string& prefix) {
    const QString start = imaging::toQString(prefix);
    for (int row = 0; row < count(); ++row) {
        if (itemText(row).startsWith(start, Qt::CaseInsensitive)) return selectRow(row);
    }
}

int CItemListCombo::rowOfItem(int itemIndex) const {
    return findData(itemIndex);
}

int CItemListCombo::selectedItemIndex() const {
    const int row = currentIndex();
    return row < 0 ? -1 : itemData(row).toInt();
}

void CItemListCombo::selectRow(int row) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(row);
}
