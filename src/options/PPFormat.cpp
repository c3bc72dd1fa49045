#include "options/PPFormat.h"

#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "model/DateFormat.h"
#include "model/DateSources.h"
#include "model/DatedPicture.h"
#include "options/DataExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char* const kPresetFormats[] = {"%c", "%x", "%A, %B %d, %Y : %I:%M:%S %p", "%B %d, %Y   %I:%M %p",
                                      "%Y:%m:%d %H:%M:%S"};

const char* const kDateHelp =
    QT_TRANSLATE_NOOP("CPPFormat",
                      "Select from a drop down list of data and time formats. Or define a custom format with "
                      "the following "
                      "codes:\n\n"
                      "%a  Abbreviated weekday name \n"
                      "%A  Full weekday name \n"
                      "%b  Abbreviated month name \n"
                      "%B  Full month name \n"
                      "%c  Date and time representation appropriate for locale \n"
                      "%d  Day of month as decimal number (01 \u2013 31) \n"
                      "%H  Hour in 24-hour format (00 \u2013 23) \n"
                      "%I  Hour in 12-hour format (01 \u2013 12) \n"
                      "%j  Day of year as decimal number (001 \u2013 366) \n"
                      "%m  Month as decimal number (01 \u2013 12) \n"
                      "%M  Minute as decimal number (00 \u2013 59) \n"
                      "%p  Current locale's A.M./P.M. indicator for 12-hour clock \n"
                      "%S  Second as decimal number (00 \u2013 59) \n"
                      "%U  Week of year as decimal number, with Sunday as first day of week (00 \u2013 53) "
                      "\n") "%w  Weekday as decimal number (0 \u2013 6; Sunday is 0) \n"
                            "%W  Week of year as decimal number, with Monday as first day of week (00 \u2013 "
                            "53) \n"
                            "%x  Date representation for current locale \n"
                            "%X  Time representation for current locale \n"
                            "%y  Year without century, as decimal number (00 \u2013 99) \n"
                            "%Y  Year with century, as decimal number \n"
                            "%z, %Z  Either the time-zone name or time zone abbreviation, depending on "
                            "registry settings; no "
                            "characters if time zone is unknown \n"
                            "%%  Percent sign \n\n"
                            "Other characters and puctuation may be entered.";

const char* const kWatermarkHelp = QT_TRANSLATE_NOOP(
    "CPPFormat",
    "Select a bitmap to use as a watermark.  A new item will appear in the list of items to add to the "
    "picture. \r\nSelect Watermark from the list and position it on the picture.");

const char* const kLabelHelp = QT_TRANSLATE_NOOP(
    "CPPFormat",
    "This will add a text item to the list of available items for displaying on the picture.  Type the "
    "text such as 'California trip' and click the Add button.  On the main screen, find item in the list "
    "of items.");

const char* const kSourceLabels[] = {
    QT_TRANSLATE_NOOP("CPPFormat", "Its own tag only"),
    QT_TRANSLATE_NOOP("CPPFormat", "Its own tag, then the other Exif dates"),
    QT_TRANSLATE_NOOP("CPPFormat", "Any date the photo has: Exif, GPS time, file name, file time"),
    QT_TRANSLATE_NOOP("CPPFormat", "Its own tag, then the file name, then the file's time"),
};

// The combo box's text for a chain no choice of the list has (a template made elsewhere).
QString chainLabel(const DateSources& chain) {
    std::string text = "Its own tag, then";
    for (std::size_t i = 0; i < chain.size(); ++i)
        text += (i ? ", " : " ") + DateSourceName(chain[i]);
    return imaging::toQString(text);
}

QPushButton* helpButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("?"), parent);
    button->setObjectName(QLatin1String(name));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("?")) + 20);
    return button;
}

// A file name and the folder it lies in, for a file dialog to start from.
void startFrom(const std::string& path, UiDialogs::FileRequest& request) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        request.proposedName = path;
    } else {
        request.folder = path.substr(0, slash);
        request.proposedName = path.substr(slash + 1);
    }
}

} // namespace

CPPFormat::CPPFormat(UiDialogs& dialogs, QWidget* parent) : COptionsPage(dialogs, parent) {
    auto* page = new QVBoxLayout(this);
    page->addWidget(buildDateGroup());
    page->addWidget(buildSourceGroup());
    page->addWidget(buildWatermarkGroup());
    page->addWidget(buildLabelGroup());
    page->addStretch(1);

    connect(dateCombo_, &QComboBox::editTextChanged, this, &CPPFormat::dateFormatEdited);
    connect(watermarkEdit_, &QLineEdit::textChanged, this, &CPPFormat::markChanged);
    connect(opacityEdit_, &QLineEdit::textChanged, this, &CPPFormat::markChanged);
}

QWidget* CPPFormat::buildDateGroup() {
    auto* group = new QGroupBox(tr("Date Time Format"), this);
    auto* grid = new QGridLayout(group);
    dateCombo_ = new QComboBox(group);
    dateCombo_->setObjectName(QStringLiteral("dateFormat"));
    dateCombo_->setEditable(true);
    dateCombo_->setInsertPolicy(QComboBox::NoInsert);
    dateCombo_->setCompleter(nullptr);
    for (const char* format : kPresetFormats)
        dateCombo_->addItem(QLatin1String(format));
    auto* help = helpButton("dateFormatHelp", group);
    preview_ = new QLabel(group);
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setTextFormat(Qt::PlainText);
    grid->addWidget(dateCombo_, 0, 0, 1, 2);
    grid->addWidget(help, 0, 2);
    grid->addWidget(new QLabel(tr("Preview"), group), 1, 0);
    grid->addWidget(preview_, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    connect(help, &QPushButton::clicked, this, [this] { showHelp(kDateHelp); });
    return group;
}

const std::vector<DateSources>& CPPFormat::DateSourceChoices() {
    using S = DateSource;
    static const std::vector<DateSources> choices = {
        {},
        {S::DateTimeOriginal, S::DateTimeDigitized, S::DateTime},
        {S::DateTimeOriginal, S::DateTimeDigitized, S::DateTime, S::GpsDateTime, S::FileName, S::FileTime},
        {S::FileName, S::FileTime},
    };
    return choices;
}

QWidget* CPPFormat::buildSourceGroup() {
    auto* group = new QGroupBox(tr("Date Source and Clock"), this);
    auto* grid = new QGridLayout(group);
    sourceCombo_ = new QComboBox(group);
    sourceCombo_->setObjectName(QStringLiteral("dateSources"));
    for (const char* label : kSourceLabels)
        sourceCombo_->addItem(tr(label));
    sourceCombo_->setToolTip(QStringLiteral(
        "Where a date item takes its date when the photo does not have the item's own date: scans, "
        "messenger copies and screenshots often carry it only in the file name or the file's time."));
    shiftEdit_ = new QLineEdit(group);
    shiftEdit_->setObjectName(QStringLiteral("clockShift"));
    shiftEdit_->setPlaceholderText(QStringLiteral("0:00:00:00"));
    shiftEdit_->setFixedWidth(shiftEdit_->fontMetrics().horizontalAdvance(QStringLiteral("-00000:00:00:00")) +
                              12);
    namesBox_ = new QCheckBox(tr("Month and day names in the desktop's language"), group);
    namesBox_->setObjectName(QStringLiteral("localeNames"));

    auto* sourceLabel = new QLabel(tr("&Date from:"), group);
    sourceLabel->setBuddy(sourceCombo_);
    auto* shiftLabel = new QLabel(tr("&Shift the clock by:"), group);
    shiftLabel->setBuddy(shiftEdit_);
    auto* shiftRow = new QHBoxLayout;
    shiftRow->addWidget(shiftEdit_);
    shiftRow->addWidget(new QLabel(tr("(days:hours:minutes:seconds, - for earlier)"), group), 1);
    grid->addWidget(sourceLabel, 0, 0);
    grid->addWidget(sourceCombo_, 0, 1);
    grid->addWidget(shiftLabel, 1, 0);
    grid->addLayout(shiftRow, 1, 1);
    grid->addWidget(namesBox_, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    const auto edited = [this] {
        showPreview(imaging::toUtf8(dateCombo_->currentText()));
        markChanged();
    };
    connect(sourceCombo_, &QComboBox::activated, this, &CPPFormat::markChanged);
    connect(shiftEdit_, &QLineEdit::textChanged, this, edited);
    connect(namesBox_, &QCheckBox::toggled, this, edited);
    return group;
}

QWidget* CPPFormat::buildWatermarkGroup() {
    auto* group = new QGroupBox(tr("Watermark Image"), this);
    auto* grid = new QGridLayout(group);
    watermarkEdit_ = new QLineEdit(group);
    watermarkEdit_->setObjectName(QStringLiteral("watermarkPath"));
    auto* browse = new QPushButton(tr("Browse"), group);
    browse->setObjectName(QStringLiteral("browseWatermark"));
    auto* help = helpButton("watermarkHelp", group);
    opacityEdit_ = new QLineEdit(group);
    opacityEdit_->setObjectName(QStringLiteral("watermarkOpacity"));
    opacityEdit_->setFixedWidth(opacityEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    acceptDigitsOnly(opacityEdit_);
    auto* remove = new QPushButton(tr("Remove"), group);
    remove->setObjectName(QStringLiteral("removeWatermark"));

    auto* opacityRow = new QHBoxLayout;
    opacityRow->addWidget(opacityEdit_);
    opacityRow->addWidget(new QLabel(tr("(0 invisible, 128 semitransparent, 255 solid)"), group), 1);
    grid->addWidget(new QLabel(tr("Path:"), group), 0, 0);
    grid->addWidget(watermarkEdit_, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(help, 0, 3);
    grid->addWidget(new QLabel(tr("Opacity:"), group), 1, 0);
    grid->addLayout(opacityRow, 1, 1);
    grid->addWidget(remove, 1, 2);
    grid->setColumnStretch(1, 1);

    connect(browse, &QPushButton::clicked, this, &CPPFormat::browseWatermark);
    connect(remove, &QPushButton::clicked, this, &CPPFormat::removeWatermark);
    connect(help, &QPushButton::clicked, this, [this] { showHelp(kWatermarkHelp); });
    return group;
}

QWidget* CPPFormat::buildLabelGroup() {
    auto* group = new QGroupBox(tr("Add a Label"), this);
    auto* grid = new QGridLayout(group);
    labelTextEdit_ = new QLineEdit(group);
    labelTextEdit_->setObjectName(QStringLiteral("labelText"));
    auto* help = helpButton("labelHelp", group);
    labelNameEdit_ = new QLineEdit(group);
    labelNameEdit_->setObjectName(QStringLiteral("labelName"));
    auto* add = new QPushButton(tr("Add Item"), group);
    add->setObjectName(QStringLiteral("addItem"));

    grid->addWidget(new QLabel(tr("Label text:"), group), 0, 0);
    grid->addWidget(labelTextEdit_, 0, 1);
    grid->addWidget(help, 0, 2);
    grid->addWidget(new QLabel(tr("Label name:"), group), 1, 0);
    grid->addWidget(labelNameEdit_, 1, 1);
    grid->addWidget(new QLabel(tr("(Identifies the label in the list of items.)"), group), 2, 1);
    grid->addWidget(add, 2, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);

    connect(add, &QPushButton::clicked, this, &CPPFormat::addLabel);
    connect(help, &QPushButton::clicked, this, [this] { showHelp(kLabelHelp); });
    return group;
}

std::string CPPFormat::PreviewOf(const std::string& format, const DateShowing& showing) {
    try {
        return FormatDate(kSampleDate, format, showing);
    } catch (const DateConversionError& error) {
        return error.what();
    }
}

void CPPFormat::onStart() {
    writeControls();
    showPreview(dateFormat);
}

void CPPFormat::writeControls() {
    preview_->setText(imaging::toQString(previewText));
    setText(watermarkEdit_, watermarkPath);
    dateCombo_->setEditText(imaging::toQString(dateFormat));
    setInteger(opacityEdit_, watermarkOpacity);
    setText(labelNameEdit_, labelName);
    setText(labelTextEdit_, labelText);
    showSources();
    setText(shiftEdit_, clockShiftSeconds == 0 ? std::string() : ClockShiftText(clockShiftSeconds));
    namesBox_->setChecked(localeNames != 0);
}

void CPPFormat::showSources() {
    const auto& choices = DateSourceChoices();
    const auto at = std::find(choices.begin(), choices.end(), dateSources);
    while (sourceCombo_->count() > static_cast<int>(choices.size()))
        sourceCombo_->removeItem(sourceCombo_->count() - 1);
    if (at == choices.end()) sourceCombo_->addItem(chainLabel(dateSources));
    sourceCombo_->setCurrentIndex(at == choices.end() ? sourceCombo_->count() - 1
                                                      : static_cast<int>(at - choices.begin()));
}

void CPPFormat::readControls(DataExchange& exchange) {
    exchange.text(watermarkEdit_, watermarkPath);
    exchange.text(dateCombo_, dateFormat);
    exchange.integerInRange(opacityEdit_, watermarkOpacity, 0, 255);
    exchange.text(labelNameEdit_, labelName);
    exchange.text(labelTextEdit_, labelText);
    exchange.parsed(
        shiftEdit_, clockShiftSeconds,
        [](const std::string& text) {
            return text.find_first_not_of(" \t") == std::string::npos
                       ? std::optional<long long>(0)
                       : ParseClockShift(text, CDatedPicture::kLongestClockShift);
        },
        kBadShiftMessage);
    exchange.check(namesBox_, localeNames);
    if (exchange.ok() && sourceCombo_->currentIndex() < static_cast<int>(DateSourceChoices().size()))
        dateSources = DateSourceChoices()[static_cast<std::size_t>(sourceCombo_->currentIndex())];
}

// Typing in the date field and choosing one of its formats both land here: the edit field then
// holds the format to preview.
void CPPFormat::dateFormatEdited() {
    showPreview(imaging::toUtf8(dateCombo_->currentText()));
    markChanged();
}

// Only the preview is written: checking every field on each key press would put the opacity's
// message up while the user types a date format.
void CPPFormat::showPreview(const std::string& format) {
    DateShowing showing;
    showing.shiftSeconds =
        ParseClockShift(imaging::toUtf8(shiftEdit_->text()), CDatedPicture::kLongestClockShift).value_or(0);
    showing.localeNames = namesBox_->isChecked();
    previewText = PreviewOf(format, showing);
    preview_->setText(imaging::toQString(previewText));
}

void CPPFormat::markChanged() {
    if (!filling()) changed = 1;
}

void CPPFormat::browseWatermark() {
    if (!readForButton()) return;
    UiDialogs::FileRequest request;
    request.title = "Select an image.";
    request.filter = "All (*.*)|*.*||";
    startFrom(watermarkPath, request);
    // A bare name is a file of the template folder, where the model looks it up.
    if (request.folder.empty() && datedPicture) request.folder = datedPicture->templateDir;
    const auto chosen = dialogs_.openFiles(request);
    if (chosen && !chosen->empty()) {
        watermarkPath = chosen->front();
        changed = 1;
    }
    writeControls();
}

void CPPFormat::removeWatermark() {
    if (!readForButton()) return;
    watermarkPath.clear();
    changed = 1;
    writeControls();
}

void CPPFormat::addLabel() {
    if (!readForButton()) return;
    if (labelName.empty() || !datedPicture) return;
    datedPicture->AddLabelItem(labelName, labelText);
    changed = 1;
}
