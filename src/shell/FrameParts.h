#pragma once

#include <string>

class CMainBar;
class EditHistory;
class CPictureView;
class CTemplateBar;
class QMainWindow;
class UiDialogs;
struct FrameState;

// The parts of the main window the commands work on, and the small steps they share.
struct FrameParts {
    FrameState& state;
    UiDialogs& dialogs;
    QMainWindow& window;
    CPictureView& view;
    CMainBar& formatBar;
    CTemplateBar& templateBar;
    EditHistory& history; // undo and redo of the open photo's format

    // Shows the open photo afresh: the view fitted, the format bar's item list refilled, no item chosen.
    void ShowPicture() const;
    // The dated copy's path for the open photo, or empty without a picture.
    void ComposeOutputName() const;
    // "* Using unsaved changes." under the template list while the format differs from the template.
    void UpdateChangesLabel() const;
    // The open photo's file name, " - " and the application title.
    void SetTitle() const;
    // A passing note in the status bar's message area.
    void ShowStatus(const std::string& text) const;
};
