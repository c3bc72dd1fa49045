#include "options/OptionsPage.h"

#include <QCoreApplication>

#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "options/DataExchange.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

COptionsPage::COptionsPage(UiDialogs& dialogs, QWidget* parent) : QWidget(parent), dialogs_(dialogs) {}

void COptionsPage::activate() {
    ++filling_;
    if (!started_) {
        started_ = true;
        onStart();
    } else {
        writeControls();
    }
    --filling_;
}

std::optional<COptionsPage::Failure> COptionsPage::leave() {
    DataExchange exchange;
    readControls(exchange);
    if (exchange.ok()) return std::nullopt;
    return Failure{exchange.message(), exchange.failedControl()};
}

void COptionsPage::report(const Failure& failure) {
    dialogs_.message(failure.message, Dialogs::Buttons::Ok, Dialogs::Icon::Warning);
    if (!failure.control) return;
    failure.control->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(failure.control)) edit->selectAll();
}

bool COptionsPage::readForButton() {
    const std::optional<Failure> failure = leave();
    if (failure) report(*failure);
    return !failure;
}

void COptionsPage::showHelp(const char* text) {
    // The help texts are translated in the context of the page that has them.
    const QString shown = QCoreApplication::translate(metaObject()->className(), text);
    dialogs_.message(imaging::toUtf8(shown), Dialogs::Buttons::Ok, Dialogs::Icon::Information);
}

std::optional<std::string> COptionsPage::browseForFolder(const std::string& current) {
    return dialogs_.chooseFolder("Current Selection", current);
}

void COptionsPage::setText(QLineEdit* edit, const std::string& text) {
    edit->setText(imaging::toQString(text));
    edit->setCursorPosition(0);
}

void COptionsPage::setInteger(QLineEdit* edit, int value) {
    edit->setText(QString::number(value));
}

void COptionsPage::acceptDigitsOnly(QLineEdit* edit) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
}
