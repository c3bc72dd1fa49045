#pragma once

#include <string>

// The questions and messages the product puts to the user. The core reports through this interface
// and never opens a window itself; the desktop application shows message boxes, the batch program
// prints, and tests answer from a script.
class Dialogs {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { Error, Warning, Question, Information };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    // Shows the text with the buttons and returns the one chosen.
    virtual Answer message(const std::string& text, Buttons buttons, Icon icon) = 0;

    // Shorthand for an error with an OK button.
    void error(const std::string& text) { message(text, Buttons::Ok, Icon::Error); }
};
