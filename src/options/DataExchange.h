#pragma once

#include <QString>

#include <optional>
#include <string>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

// Reading an options page's controls back into its fields, in the order the page gives, with the
// checks and messages dialogs have always had: the first control that fails stops the reading, and
// its message and the control are kept for the page to report.
class DataExchange {
public:
    static constexpr const char* kNotAnInteger = "Please enter an integer.";
    static constexpr const char* kNotANumber = "Please enter a number.";
    static constexpr const char* kNotPositive = "Please enter a number greater than 0.";
    // "Please enter an integer between 0 and 255." for the range 0 to 255.
    static std::string outOfRangeMessage(int low, int high);

    // A whole number as dialogs read one: blanks around it, an optional sign and digits; values past
    // the int range are clamped. Nothing for any other text.
    static std::optional<int> parseInteger(const QString& text);
    // A real number in the "C" form ("6", "4.5", "1e3"), blanks around it allowed. Nothing for any
    // other text and for values a float cannot hold.
    static std::optional<float> parseNumber(const QString& text);
    // A real number as it is shown: 6 significant digits.
    static QString numberText(float value);

    bool ok() const { return !failedControl_; }
    const std::string& message() const { return message_; }
    QWidget* failedControl() const { return failedControl_; }

    void text(const QLineEdit* edit, std::string& field);
    // The text of an editable combo box's edit field.
    void text(const QComboBox* combo, std::string& field);
    void integer(QLineEdit* edit, int& field);
    void integerInRange(QLineEdit* edit, int& field, int low, int high);
    void number(QLineEdit* edit, float& field);
    // A real number above 0: a print has no side of length 0.
    void positiveNumber(QLineEdit* edit, float& field);
    void check(const QAbstractButton* box, int& field);
    // The position of the checked button among `first` and `second`: 0 or 1; -1 when neither is.
    void radio(const QAbstractButton* first, const QAbstractButton* second, int& field);
    // A line edit whose text `read` turns into the field; its message when it cannot.
    template <typename T, typename Read>
    void parsed(QLineEdit* edit, T& field, Read read, const char* message) {
        if (!ok()) return;
        if (auto value = read(lineText(edit)))
            field = *value;
        else
            refuse(edit, message);
    }

private:
    static std::string lineText(const QLineEdit* edit);
    void refuse(QLineEdit* edit, const char* message);
    void fail(QWidget* control, std::string message);

    QWidget* failedControl_ = nullptr;
    std::string message_;
};
