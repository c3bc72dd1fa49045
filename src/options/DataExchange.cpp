#include "options/DataExchange.h"

#include "imaging/TextCodec.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include <charconv>
#include <climits>
#include <cmath>

namespace {

// Dialogs skip only blanks and tabs around a number.
QString withoutBlanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && (text[first] == u' ' || text[first] == u'\t'))
        ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t'))
        --last;
    return text.mid(first, last - first);
}

} // namespace

std::string DataExchange::outOfRangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

std::optional<int> DataExchange::parseInteger(const QString& text) {
    const QString t = withoutBlanks(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    if (i == t.size()) return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9') return std::nullopt;
        value = std::min<long long>(value * 10 + (t[i].unicode() - u'0'), 1LL << 32);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::optional<float> DataExchange::parseNumber(const QString& text) {
    QByteArray t = withoutBlanks(text).toLatin1();
    // from_chars reads no leading plus sign; the C library does.
    if (t.startsWith('+') && t.size() > 1 && t[1] != '-' && t[1] != '+') t.remove(0, 1);
    float value = 0;
    const char* end = t.constData() + t.size();
    const auto [stop, error] = std::from_chars(t.constData(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || t.isEmpty() || !std::isfinite(value)) return std::nullopt;
    // Only what a person types: no "inf", "nan" or hexadecimal forms.
    for (const char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == 'e' || c == 'E' || c == '+'))
            return std::nullopt;
    return value;
}

QString DataExchange::numberText(float value) {
    return QString::number(static_cast<double>(value), 'g', 6);
}

void DataExchange::fail(QWidget* control, std::string message) {
    failedControl_ = control;
    message_ = std::move(message);
}

std::string DataExchange::lineText(const QLineEdit* edit) {
    return imaging::toUtf8(edit->text());
}

void DataExchange::refuse(QLineEdit* edit, const char* message) {
    fail(edit, message);
}

void DataExchange::text(const QLineEdit* edit, std::string& field) {
    if (ok()) field = imaging::toUtf8(edit->text());
}

void DataExchange::text(const QComboBox* combo, std::string& field) {
    if (ok()) field = imaging::toUtf8(combo->currentText());
}

void DataExchange::integer(QLineEdit* edit, int& field) {
    if (!ok()) return;
    const std::optional<int> value = parseInteger(edit->text());
    if (!value) return fail(edit, kNotAnInteger);
    field = *value;
}

void DataExchange::integerInRange(QLineEdit* edit, int& field, int low, int high) {
    integer(edit, field);
    if (ok() && (field < low || field > high)) fail(edit, outOfRangeMessage(low, high));
}

void DataExchange::number(QLineEdit* edit, float& field) {
    if (!ok()) return;
    const std::optional<float> value = parseNumber(edit->text());
    if (!value) return fail(edit, kNotANumber);
    field = *value;
}

void DataExchange::positiveNumber(QLineEdit* edit, float& field) {
    if (!ok()) return;
    const std::optional<float> value = parseNumber(edit->text());
    if (!value) return fail(edit, kNotANumber);
    if (!(*value > 0)) return fail(edit, kNotPositive);
    field = *value;
}

void DataExchange::check(const QAbstractButton* box, int& field) {
    if (ok()) field = box->isChecked() ? 1 : 0;
}

void DataExchange::radio(const QAbstractButton* first, const QAbstractButton* second, int& field) {
    if (ok()) field = first->isChecked() ? 0 : second->isChecked() ? 1 : -1;
}
