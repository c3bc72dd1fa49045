#pragma once

#include "formatbar/ColorChooser.h"
#include "model/Dialogs.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Every question and dialog of the desktop application: messages, the colour dialog and the file
// and folder dialogs. The application shows the system's dialogs; tests answer from a script, so no
// test ever waits on a modal dialog. Paths and texts are UTF-8.
class UiDialogs : public Dialogs, public ColorChooser {
public:
    // A filter is given as the old "Name (*.ext)|*.ext||" pairs; the implementation turns it into its own.
    struct FileRequest {
        std::string title;
        std::string filter;
        std::string folder;           // where the dialog starts; empty for the dialog's own choice
        std::string proposedName;     // the name offered (save dialogs)
        bool multiple = false;        // open dialogs: several files may be chosen
        bool confirmOverwrite = true; // save dialogs
    };

    // The files chosen, in the order the dialog gives them, or nothing when cancelled.
    virtual std::optional<std::vector<std::string>> openFiles(const FileRequest& request) = 0;
    // The path chosen, or nothing when cancelled.
    virtual std::optional<std::string> saveFile(const FileRequest& request) = 0;
    // The folder chosen, or nothing when cancelled.
    virtual std::optional<std::string> chooseFolder(const std::string& title, const std::string& start) = 0;

    // A long task's progress while it runs, with a way for the user to stop it.
    class Progress {
    public:
        virtual ~Progress() = default;
        // Shows that `done` of the steps are finished and what comes next. Returns false once the
        // user asked to stop.
        virtual bool advance(int done, const std::string& text) = 0;
    };
    // Starts showing the progress of a task of `total` steps; it is shown until the object is gone.
    // By default nothing is shown and the task is never stopped.
    virtual std::unique_ptr<Progress> startProgress(const std::string& title, const std::string& text,
                                                    int total);
};
