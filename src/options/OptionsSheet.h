#pragma once

#include <QDialog>

#include <vector>

class COptionsPage;
class QString;
class QTabWidget;

// The tabbed options dialog with OK and Cancel. A page is left only when its controls read back
// without a failed check: a failed check keeps that page in front with its message and the focus on
// the control, whether the user chose another tab or OK. OK then runs the OK step of every page
// that was shown.
class COptionsSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = QT_TRANSLATE_NOOP("COptionsSheet", "Korvel Options");

    explicit COptionsSheet(QWidget* parent = nullptr);
    ~COptionsSheet() override;

    // Adds a page as the next tab; the sheet takes it as a child.
    void AddPage(COptionsPage* page, const QString& title);
    int pageCount() const;
    COptionsPage* page(int index) const;
    QTabWidget* tabs() const { return tabs_; }

    // Brings a page to the front and shows it, before the sheet runs. A page that does not exist
    // gives the first.
    void start(int startPage);

    // Shows another page, as a click on its tab does. False when the page in front kept it open.
    bool selectPage(int index);
    int currentPage() const { return current_; }

    // OK and Cancel, as the buttons do. pressOk is false when a page kept the sheet open.
    bool pressOk();
    void pressCancel() { reject(); }

public slots:
    void accept() override;

private:
    void tabChanged(int index);

    QTabWidget* tabs_ = nullptr;
    std::vector<COptionsPage*> pages_;
    int current_ = -1;
    bool switchingBack_ = false;
};
