#pragma once

#include "shell/UiDialogs.h"
#include "support/ScriptedColorChooser.h"
#include "support/ScriptedDialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// The user of the desktop application, as a script: messages are recorded and answered as
// ScriptedDialogs does; each file or folder dialog is recorded and answered from its own script in
// order (nothing left in a script: the dialog is cancelled); the colour dialog as
// ScriptedColorChooser does.
class ScriptedUiDialogs : public UiDialogs {
public:
    ScriptedDialogs messages;
    ScriptedColorChooser colors;

    std::deque<std::optional<std::vector<std::string>>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

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

    // The texts of every message shown so far.
    std::vector<std::string> texts() const { return messages.texts(); }

private:
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& script) {
        if (script.empty()) return std::nullopt;
        std::optional<T> answer = script.front();
        script.pop_front();
        return answer;
    }
};
