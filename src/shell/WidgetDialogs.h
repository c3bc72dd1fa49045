#pragma once

#include "model/Dialogs.h"

class QWidget;

// Message boxes of the desktop application.
class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    Answer message(const std::string& text, Buttons buttons, Icon icon) override;

private:
    QWidget* parent_;
};
