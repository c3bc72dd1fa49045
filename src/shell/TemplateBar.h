#pragma once

#include <QString>
#include <QWidget>

#include <string>

class QComboBox;
class QLabel;

// The bar that names the template in use: the text "Template:", the sorted list of the template
// folder's files and "<New>", and under the list the note about unsaved changes. Choosing an entry
// signals templateChosen(); selecting one from the program signals nothing.
class CTemplateBar : public QWidget {
    Q_OBJECT

public:
    explicit CTemplateBar(QWidget* parent = nullptr);

    // Removes every entry.
    void clear();
    // Inserts an entry at its place in the list's order (ignoring case).
    void addEntry(const std::string& text);
    // Selects the first entry, in list order, that begins with the text (ignoring case). Returns
    // false, leaving the selection as it was, when none does.
    bool selectStartingWith(const std::string& text);
    // The row of the entry with exactly this text (ignoring case), or -1.
    int findEntry(const std::string& text) const;
    // Selects the entry at the row (-1 for none).
    void selectRow(int row);
    int count() const;
    int selectedRow() const;
    // The selected entry's text, or an empty text.
    std::string selectedText() const;
    std::string entryText(int row) const;

    // The note under the list.
    void setChangesText(const QString& text);
    QString changesText() const;

    QComboBox* list() const { return list_; }

signals:
    // The user chose an entry of the list (also the one already selected).
    void templateChosen();

private:
    QComboBox* list_;
    QLabel* changesLabel_;
};
