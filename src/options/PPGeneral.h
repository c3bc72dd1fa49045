#pragma once

#include "formatbar/ColorChooser.h"
#include "options/OptionsPage.h"

#include <string>
#include <vector>

class CColorButton;
class QCheckBox;
class QComboBox;
class QLineEdit;

// "Global Options": the default template, the template folder, the view's background colour and
// whether copies of JPEG photos keep the photo's own data outside the imprint, all application settings.
class CPPGeneral : public COptionsPage {
    Q_OBJECT

public:
    explicit CPPGeneral(UiDialogs& dialogs, QWidget* parent = nullptr);

    std::string templateFolder;
    std::string defaultTemplate;
    const std::vector<std::string>* templateFiles = nullptr; // the names the template scan found
    int backColor = 0;
    int losslessJpeg = 1;
    int optimizeHuffman = 0;
    CustomColors* customColors = nullptr;

    void onOk() override;

protected:
    void onStart() override;
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    void browseTemplateFolder();

    QComboBox* templateList_ = nullptr;
    QLineEdit* folderEdit_ = nullptr;
    CColorButton* colorButton_ = nullptr;
    QCheckBox* losslessBox_ = nullptr;
    QCheckBox* optimizeBox_ = nullptr;
};
