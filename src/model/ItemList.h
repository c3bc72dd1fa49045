#pragma once

#include <string>

// The list the format bar offers items in: a sorted list of names, each with an item index as its
// data. The model fills it; the format bar's combo box implements it.
class ItemList {
public:
    virtual ~ItemList() = default;

    // Removes every entry.
    virtual void resetContent() = 0;
    // Inserts an entry at its place in the sorted order.
    virtual void addEntry(const std::string& text, int itemData) = 0;
    // Selects the first entry, in list order, whose text begins with the prefix (ignoring case);
    // leaves the selection as it is when none does.
    virtual void selectFirstStartingWith(const std::string& prefix) = 0;
};
