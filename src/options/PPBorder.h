#pragma once

#include "options/OptionsPage.h"

#include <string>

class QCheckBox;
class QLineEdit;

// "Border": the picture laid over the dated image as a frame, its opacity and whether it turns to
// match the picture; all template settings.
class CPPBorder : public COptionsPage {
    Q_OBJECT

public:
    explicit CPPBorder(UiDialogs& dialogs, QWidget* parent = nullptr);

    std::string borderPath;
    int borderOpacity = 255;
    int borderAutoRotate = 1;
    std::string templateFolder; // where "Browse ..." proposes the shipped border
    int changed = 0;

protected:
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    void browseBorder();
    void removeBorder();
    void markChanged();

    QLineEdit* pathEdit_ = nullptr;
    QLineEdit* opacityEdit_ = nullptr;
    QCheckBox* autoRotateBox_ = nullptr;
};
