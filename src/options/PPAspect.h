#pragma once

#include "formatbar/ColorChooser.h"
#include "options/OptionsPage.h"

class CColorButton;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// "Aspect Ratio": whether and to which print ratio white space is added, on which sides, and its
// colour; all template settings.
class CPPAspect : public COptionsPage {
    Q_OBJECT

public:
    explicit CPPAspect(UiDialogs& dialogs, QWidget* parent = nullptr);

    int changed = 0;
    int aspectEnabled = 0;
    int reservedAspect = 0; // no control: passes through
    int whiteSideWide = 0;  // 0 right or bottom, 1 left or top
    int whiteSideTall = 0;
    int whiteColor = 0;
    CustomColors* customColors = nullptr;
    float aspectWidth = 0;
    float aspectHeight = 0;

    void onOk() override;

protected:
    void onStart() override;
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    QWidget* buildSideGroup(const QString& title, const char* name, QRadioButton*& first,
                            QRadioButton*& second);
    void markChanged();
    void colorClicked();

    QCheckBox* enabledBox_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QRadioButton* wideRight_ = nullptr;
    QRadioButton* wideLeft_ = nullptr;
    QRadioButton* tallRight_ = nullptr;
    QRadioButton* tallLeft_ = nullptr;
    CColorButton* colorButton_ = nullptr;
    int shownColor_ = 0; // what the colour button showed before its last click
};
