#pragma once

#include "formatbar/UiDialogs.h"
#include "support/ScriptedColorChooser.h"
#include "support/ScriptedDialogs.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The user of the desktop application, as a script: messages are recorded and answered as
// ScriptedDialogs does; each file or folder dialog is recorded and answered from its own script in
// order (nothing left in a script: the dialog is cancelled); the colour dialog as
// ScriptedColorChooser does. A progress display records what it shows and stops the task when the
// script says so.
class ScriptedUiDialogs : public UiDialogs {
public:
    ScriptedDialogs messages;
    ScriptedColorChooser colors;

    std::deque<std::optional<std::vector<std::string>>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

    // The user presses the progress display's Cancel once it has shown this many steps; -1 never.
    int stopProgressAfter = -1;
    std::vector<std::string> progressTitles;
    std::vector<std::pair<int, std::string>> progressSteps; // done, text

    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<std::string> folderTitles;

    Answer message(const std::string& text, Buttons buttons, Icon icon) override {
        return messages.message(text, buttons, icon);
    }
    std::optional<int> chooseColor(int initial, CustomColors* customColors) override {
        return colors.chooseColor(initial, customColors);
    }
    std::optional<std::vector<std::string>> openFiles(const FileRequest& request) override {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    std::optional<std::string> saveFile(const FileRequest& request) override {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }
    std::optional<std::string> chooseFolder(const std::string& title, const std::string&) override {
        folderTitles.push_back(title);
        return next(folderAnswers);
    }

    std::unique_ptr<Progress> startProgress(const std::string& title, const std::string&, int) override {
        progressTitles.push_back(title);
        return std::make_unique<ScriptedProgress>(*this);
    }

    // The texts of every message shown so far.
    std::vector<std::string> texts() const { return messages.texts(); }

private:
    class ScriptedProgress : public Progress {
    public:
        explicit ScriptedProgress(ScriptedUiDialogs& user) : user_(user) {}
        bool advance(int done, const std::string& text) override {
            user_.progressSteps.emplace_back(done, text);
            return user_.stopProgressAfter < 0 ||
                   static_cast<int>(user_.progressSteps.size()) < user_.stopProgressAfter;
        }

    private:
        ScriptedUiDialogs& user_;
    };

    template <typename T> static std::optional<T> next(std::deque<std::optional<T>>& script) {
        if (script.empty()) return std::nullopt;
        std::optional<T> answer = script.front();
        script.pop_front();
        return answer;
    }
};
