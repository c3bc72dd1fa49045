#pragma once

#include "formatbar/ColorDialogChooser.h"
#include "formatbar/UiDialogs.h"
#include "shell/WidgetDialogs.h"

#include <QString>

class QWidget;

// The dialog interface on the system's dialogs: QMessageBox, QColorDialog, QFileDialog and
// QProgressDialog, all modal to the parent window.
class WidgetUiDialogs : public UiDialogs {
public:
    explicit WidgetUiDialogs(QWidget* parent = nullptr);

    // The window the dialogs belong to (the main window, once it exists).
    void setParent(QWidget* parent);

    Answer message(const std::string& text, Buttons buttons, Icon icon) override;
    std::optional<int> chooseColor(int initial, CustomColors* customColors) override;
    std::optional<std::vector<std::string>> openFiles(const FileRequest& request) override;
    std::optional<std::string> saveFile(const FileRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) override;
    std::unique_ptr<Progress> startProgress(const std::string& title, const std::string& text,
                                            int total) override;

    // "Pictures (*.jpg;*.tif)|*.jpg;*.tif|All (*.*)|*.*||" as Qt's filter list.
    static QString qtFilter(const std::string& filter);

private:
    // Where a file dialog without a folder of its own starts: the folder of the last file chosen,
    // else the user's pictures.
    QString startFolder(const std::string& requested) const;
    void remember(const QString& chosenPath);

    QWidget* parent_;
    WidgetDialogs messages_;
    ColorDialogChooser colors_;
    QString lastFolder_;
};
