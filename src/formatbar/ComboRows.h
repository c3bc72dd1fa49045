#pragma once

#include <QString>

class QComboBox;

// Finding and selecting rows of the format bar's lists the way list boxes do it.
namespace combo {

// The row whose text is `text` (ignoring case), else the first that begins with it; -1 for none and
// for an empty text.
int rowStartingWith(const QComboBox& box, const QString& text);

// The text of the selected row; empty when none is selected (whatever an editable box shows).
QString selectedText(const QComboBox& box);

// Selects a row (-1 for none) from code: listeners of a user's choice hear nothing.
void selectRow(QComboBox& box, int row);

// QComboBox selects the first row put into an empty list; the bar's lists start with none.
inline void clearSelection(QComboBox& box) {
    selectRow(box, -1);
}

} // namespace combo
