#pragma once

#include "model/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

// The user, as a script: every message is recorded, and questions are answered from the script in
// order. With the script used up, a box is answered with its first button (OK or Yes), as a user
// pressing Enter would.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string text;
        Buttons buttons;
        Icon icon;
    };

    std::vector<Shown> shown;
    std::deque<Answer> script;

    Answer message(const std::string& text, Buttons buttons, Icon icon) override {
        shown.push_back(Shown{text, buttons, icon});
        if (!script.empty()) {
            const Answer next = script.front();
            script.pop_front();
            return next;
        }
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& s : shown)
            out.push_back(s.text);
        return out;
    }
};
