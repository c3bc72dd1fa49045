#pragma once

#include "options/OptionsPage.h"

#include <string>

class CDatedPicture;
class QComboBox;
class QLabel;
class QLineEdit;

// "Format / Misc": the date format with a preview, the watermark image and its opacity, and adding
// free-text labels to the open picture.
class CPPFormat : public COptionsPage {
    Q_OBJECT

public:
    // The date every format is previewed on.
    static constexpr const char* kSampleDate = "2001:6:21 14:38:56";

    explicit CPPFormat(UiDialogs& dialogs, QWidget* parent = nullptr);

    int changed = 0;
    CDatedPicture* datedPicture = nullptr; // "Add Item" adds its labels here at once
    std::string previewText;
    std::string watermarkPath;
    int watermarkOpacity = 255;
    std::string dateFormat;
    std::string labelName;
    std::string labelText;

    // The sample date in a format, or why it cannot be shown.
    static std::string PreviewOf(const std::string& format);

protected:
    void onStart() override;
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    QWidget* buildDateGroup();
    QWidget* buildWatermarkGroup();
    QWidget* buildLabelGroup();

    void dateFormatEdited();
    void showPreview(const std::string& format);
    void browseWatermark();
    void removeWatermark();
    void addLabel();
    void markChanged();

    QComboBox* dateCombo_ = nullptr;
    QLabel* preview_ = nullptr;
    QLineEdit* watermarkEdit_ = nullptr;
    QLineEdit* opacityEdit_ = nullptr;
    QLineEdit* labelTextEdit_ = nullptr;
    QLineEdit* labelNameEdit_ = nullptr;
};
