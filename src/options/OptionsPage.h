#pragma once

#include <QWidget>

#include <optional>
#include <string>

class DataExchange;
class QLineEdit;
class QString;
class UiDialogs;

// One page of the options sheet. Its values live in plain fields of the page: they are written
// into the controls when the page is first shown (and again whenever it is shown anew), and read
// back and checked when it is left, for another page or for OK. A page that is never shown keeps
// the values it was given.
class COptionsPage : public QWidget {
    Q_OBJECT

public:
    struct Failure {
        std::string message;
        QWidget* control = nullptr;
    };

    explicit COptionsPage(UiDialogs& dialogs, QWidget* parent = nullptr);

    // The page is shown: the first time it starts, later its fields are written again.
    void activate();
    // The page is left: reads the controls into the fields; the first check that fails is returned
    // and the fields after it keep their values.
    std::optional<Failure> leave();
    // Shows the failure's message and puts the focus on its control, its text selected.
    void report(const Failure& failure);
    // The page's own step when the sheet ends with OK; runs only for a page that was shown.
    virtual void onOk() {}

    bool started() const { return started_; }

protected:
    // Writes the fields into the controls.
    virtual void writeControls() = 0;
    // Reads the controls into the fields, in the page's order.
    virtual void readControls(DataExchange& exchange) = 0;
    // The page's start: the fields into the controls, and whatever else the page shows at first.
    virtual void onStart() { writeControls(); }

    // Reads the controls as a button does before it acts; false (the failure reported) when a check
    // failed.
    bool readForButton();
    // True while the page fills its controls as it is shown: those text changes are not the user's.
    // A button that rewrites the controls does so openly, so a text it changes counts as changed.
    bool filling() const { return filling_ > 0; }

    // Shows a help text with an OK button.
    void showHelp(const char* text);
    // The folder browser, starting at the folder in `current`. Nothing when it was cancelled.
    std::optional<std::string> browseForFolder(const std::string& current);

    static void setText(QLineEdit* edit, const std::string& text);
    static void setInteger(QLineEdit* edit, int value);
    // Lets only digits be typed, as the number-only edit boxes do.
    static void acceptDigitsOnly(QLineEdit* edit);

    UiDialogs& dialogs_;

private:
    bool started_ = false;
    int filling_ = 0;
};
