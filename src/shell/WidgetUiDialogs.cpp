#include "shell/WidgetUiDialogs.h"

#include "imaging/TextCodec.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>

namespace {

class DialogProgress : public UiDialogs::Progress {
public:
    DialogProgress(QWidget* parent, const QString& title, const QString& text, int total)
        : dialog_(text, QStringLiteral("Cancel"), 0, total, parent) {
        dialog_.setWindowTitle(title);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(0);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setMinimumWidth(420);
        dialog_.setValue(0);
    }

    bool advance(int done, const std::string& text) override {
        dialog_.setLabelText(imaging::toQString(text));
        dialog_.setValue(done);
        return !dialog_.wasCanceled();
    }

private:
    QProgressDialog dialog_;
};

} // namespace

WidgetUiDialogs::WidgetUiDialogs(QWidget* parent) : parent_(parent), messages_(parent), colors_(parent) {}

void WidgetUiDialogs::setParent(QWidget* parent) {
    parent_ = parent;
    messages_ = WidgetDialogs(parent);
    colors_ = ColorDialogChooser(parent);
}

Dialogs::Answer WidgetUiDialogs::message(const std::string& text, Buttons buttons, Icon icon) {
    return messages_.message(text, buttons, icon);
}

std::optional<int> WidgetUiDialogs::chooseColor(int initial, CustomColors* customColors) {
    return colors_.chooseColor(initial, customColors);
}

QString WidgetUiDialogs::qtFilter(const std::string& filter) {
    const QStringList parts = imaging::toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt takes the patterns from the parentheses of the name when it has them.
        filters << (parts[i].contains(QLatin1Char('(')) ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    return filters.join(QStringLiteral(";;"));
}

QString WidgetUiDialogs::startFolder(const std::string& requested) const {
    if (!requested.empty()) return imaging::toQString(requested);
    if (!lastFolder_.isEmpty()) return lastFolder_;
    // The pictures folder when there is one; a dialog must not start in a folder that does not exist.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void WidgetUiDialogs::remember(const QString& chosenPath) {
    lastFolder_ = QFileInfo(chosenPath).absolutePath();
}

std::optional<std::vector<std::string>> WidgetUiDialogs::openFiles(const FileRequest& request) {
    QFileDialog dialog(parent_, imaging::toQString(request.title), startFolder(request.folder),
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.proposedName.empty()) dialog.selectFile(imaging::toQString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& path : dialog.selectedFiles())
        paths.push_back(imaging::toUtf8(path));
    if (paths.empty()) return std::nullopt;
    remember(dialog.selectedFiles().front());
    return paths;
}

std::optional<std::string> WidgetUiDialogs::saveFile(const FileRequest& request) {
    QFileDialog dialog(parent_, imaging::toQString(request.title), startFolder(request.folder),
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.proposedName.empty()) dialog.selectFile(imaging::toQString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = dialog.selectedFiles().front();
    remember(path);
    return imaging::toUtf8(path);
}

std::optional<std::string> WidgetUiDialogs::chooseFolder(const std::string& title, const std::string& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(parent_, imaging::toQString(title), startFolder(start));
    if (folder.isEmpty()) return std::nullopt;
    return imaging::toUtf8(folder);
}

std::unique_ptr<UiDialogs::Progress> WidgetUiDialogs::startProgress(const std::string& title,
                                                                    const std::string& text, int total) {
    return std::make_unique<DialogProgress>(parent_, imaging::toQString(title), imaging::toQString(text),
                                            total);
}
