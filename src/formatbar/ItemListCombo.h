#pragma once

#include "model/ItemList.h"

#include <QComboBox>

// The format bar's list of items: names sorted without regard to case, each with its item index as
// data. Filling it and selecting in it from code never signal a selection change.
class CItemListCombo : public QComboBox, public ItemList {
    Q_OBJECT

public:
    explicit CItemListCombo(QWidget* parent = nullptr);

    void resetContent() override;
    void addEntry(const std::string& text, int itemData) override;
    void selectFirstStartingWith(const std::string& prefix) override;

    // The row whose data is the item index, or -1.
    int rowOfItem(int itemIndex) const;
    // The item index of the selected row; -1 for none and for the empty row.
    int selectedItemIndex() const;
    // Selects a row (-1 for none) without signalling.
    void selectRow(int row);
};
