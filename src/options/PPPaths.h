#pragma once

#include "options/OptionsPage.h"

#include <string>

class QLineEdit;

// "File Handling": where and under which name the dated copy is written, and its JPEG quality; all
// template settings.
class CPPPaths : public COptionsPage {
    Q_OBJECT

public:
    explicit CPPPaths(UiDialogs& dialogs, QWidget* parent = nullptr);

    int changed = 0;
    int useDefaultOutputDir = 0; // no control: passes through
    int jpegQuality = 0;         // no range check: the encoder takes what it is given
    std::string prefix;
    std::string postfix;
    std::string outputDir;

protected:
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    void browseOutputDir();
    void markChanged();

    QLineEdit* outputDirEdit_ = nullptr;
    QLineEdit* prefixEdit_ = nullptr;
    QLineEdit* postfixEdit_ = nullptr;
    QLineEdit* qualityEdit_ = nullptr;
};
