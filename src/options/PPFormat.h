#pragma once

#include "model/DateFormat.h"
#include "model/ItemExtras.h"
#include "options/OptionsPage.h"

#include <string>

class CDatedPicture;
class QCheckBox;
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
    DateSources dateSources;         // where date items look when the photo lacks their own date
    long long clockShiftSeconds = 0; // added to every date shown
    int localeNames = 0;             // the desktop's month and day names

    // The choices of where dates come from, in the order the page lists them.
    static const std::vector<DateSources>& DateSourceChoices();
    static constexpr const char* kBadShiftMessage =
        "Please enter the shift as [-]D:HH:MM:SS, such as 0:01:00:00 for an hour later.";

    // The sample date in a format, or why it cannot be shown.
    static std::string PreviewOf(const std::string& format, const DateShowing& showing = {});

protected:
    void onStart() override;
    void writeControls() override;
    void readControls(DataExchange& exchange) override;

private:
    QWidget* buildDateGroup();
    QWidget* buildSourceGroup();
    QWidget* buildWatermarkGroup();
    QWidget* buildLabelGroup();

    void dateFormatEdited();
    void showPreview(const std::string& format);
    void showSources();
    void browseWatermark();
    void removeWatermark();
    void addLabel();
    void markChanged();

    QComboBox* dateCombo_ = nullptr;
    QLabel* preview_ = nullptr;
    QComboBox* sourceCombo_ = nullptr;
    QLineEdit* shiftEdit_ = nullptr;
    QCheckBox* namesBox_ = nullptr;
    QLineEdit* watermarkEdit_ = nullptr;
    QLineEdit* opacityEdit_ = nullptr;
    QLineEdit* labelTextEdit_ = nullptr;
    QLineEdit* labelNameEdit_ = nullptr;
};
