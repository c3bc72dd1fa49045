#include "shell/WidgetDialogs.h"

#include "imaging/TextCodec.h"
#include "shell/AppSettings.h"

#include <QApplication>
#include <QMessageBox>

Dialogs::Answer WidgetDialogs::message(const std::string& text, Buttons buttons, Icon icon) {
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::Ok:
        standard = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::Error:
        boxIcon = QMessageBox::Critical;
        break;
    case Icon::Warning:
        boxIcon = QMessageBox::Warning;
        break;
    case Icon::Question:
        boxIcon = QMessageBox::Question;
        break;
    case Icon::Information:
        boxIcon = QMessageBox::Information;
        break;
    }
    QMessageBox box(boxIcon, imaging::toQString(AppSettings().appTitle), imaging::toQString(text), standard,
                    parent_);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}
