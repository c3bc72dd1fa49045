#include "options/PPAspect.h"

#include "formatbar/ColorButton.h"
#include "formatbar/UiDialogs.h"
#include "options/DataExchange.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

void checkOne(QRadioButton* first, QRadioButton* second, int value) {
    // Neither is checked for a value that names neither side, as a radio group shows it.
    QButtonGroup* group = first->group();
    if (group) group->setExclusive(value == 0 || value == 1);
    first->setChecked(value == 0);
    second->setChecked(value == 1);
    if (group) group->setExclusive(true);
}

QLabel* wrappedText(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

CPPAspect::CPPAspect(UiDialogs& dialogs, QWidget* parent) : COptionsPage(dialogs, parent) {
    auto* page = new QVBoxLayout(this);

    enabledBox_ = new QCheckBox(tr("Enable aspect ratio changes"), this);
    enabledBox_->setObjectName(QStringLiteral("aspectEnabled"));
    page->addWidget(enabledBox_);

    auto* ratio = new QHBoxLayout;
    widthEdit_ = new QLineEdit(this);
    widthEdit_->setObjectName(QStringLiteral("aspectWidth"));
    heightEdit_ = new QLineEdit(this);
    heightEdit_->setObjectName(QStringLiteral("aspectHeight"));
    for (QLineEdit* edit : {widthEdit_, heightEdit_})
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00.00000")) + 12);
    ratio->addWidget(new QLabel(tr("Target Aspect Ratio:"), this));
    ratio->addWidget(new QLabel(tr("Width:"), this));
    ratio->addWidget(widthEdit_);
    ratio->addWidget(new QLabel(tr("Height:"), this));
    ratio->addWidget(heightEdit_);
    ratio->addStretch(1);
    page->addLayout(ratio);

    auto* location = new QGroupBox(tr("White space location"), this);
    auto* sides = new QHBoxLayout(location);
    sides->addWidget(buildSideGroup(tr("When horizontally oriented"), "wide", wideRight_, wideLeft_));
    sides->addWidget(buildSideGroup(tr("When vertically oriented"), "tall", tallRight_, tallLeft_));
    page->addWidget(location);

    auto* colorRow = new QHBoxLayout;
    colorButton_ = new CColorButton(this);
    colorButton_->setObjectName(QStringLiteral("whiteColor"));
    colorButton_->setFixedSize(44, 24);
    colorButton_->setColorChooser(&dialogs_);
    colorRow->addWidget(new QLabel(tr("White space color:"), this));
    colorRow->addWidget(colorButton_);
    colorRow->addStretch(1);
    page->addLayout(colorRow);

    page->addWidget(
        wrappedText("Changing the apect ratio allows the whole image to appear on the print, and it "
                    "gives a little extra blank area to put the date and other data.",
                    this));
    page->addWidget(wrappedText("See the manual for an illustration of how this works.", this));
    page->addStretch(1);

    connect(enabledBox_, &QCheckBox::clicked, this, &CPPAspect::markChanged);
    for (QRadioButton* radio : {wideRight_, wideLeft_, tallRight_, tallLeft_})
        connect(radio, &QRadioButton::clicked, this, &CPPAspect::markChanged);
    connect(widthEdit_, &QLineEdit::textChanged, this, &CPPAspect::markChanged);
    connect(heightEdit_, &QLineEdit::textChanged, this, &CPPAspect::markChanged);
    // Connected after the button's own listener, which has asked for the colour by now.
    connect(colorButton_, &QAbstractButton::clicked, this, &CPPAspect::colorClicked);
}

QWidget* CPPAspect::buildSideGroup(const QString& title, const char* name, QRadioButton*& first,
                                   QRadioButton*& second) {
    auto* group = new QGroupBox(title, this);
    auto* rows = new QVBoxLayout(group);
    first = new QRadioButton(tr("Right side when adding to width"), group);
    first->setObjectName(QLatin1String(name) + QStringLiteral("Right"));
    second = new QRadioButton(tr("Left side when adding to width"), group);
    second->setObjectName(QLatin1String(name) + QStringLiteral("Left"));
    auto* buttons = new QButtonGroup(group);
    buttons->addButton(first);
    buttons->addButton(second);

    const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const auto under = [&](const char* text) {
        auto* label = new QLabel(QLatin1String(text), group);
        label->setContentsMargins(indent, 0, 0, 0);
        return label;
    };
    rows->addWidget(new QLabel(tr("Add white space to:"), group));
    rows->addWidget(first);
    rows->addWidget(under("Bottom when adding to height"));
    rows->addWidget(second);
    rows->addWidget(under("Top when adding to height"));
    rows->addStretch(1);
    return group;
}

void CPPAspect::onStart() {
    colorButton_->SetColor(whiteColor);
    colorButton_->SetCustomColors(customColors);
    shownColor_ = whiteColor;
    writeControls();
}

void CPPAspect::writeControls() {
    enabledBox_->setChecked(aspectEnabled != 0);
    checkOne(wideRight_, wideLeft_, whiteSideWide);
    checkOne(tallRight_, tallLeft_, whiteSideTall);
    widthEdit_->setText(DataExchange::numberText(aspectWidth));
    heightEdit_->setText(DataExchange::numberText(aspectHeight));
}

void CPPAspect::readControls(DataExchange& exchange) {
    exchange.check(enabledBox_, aspectEnabled);
    exchange.radio(wideRight_, wideLeft_, whiteSideWide);
    exchange.radio(tallRight_, tallLeft_, whiteSideTall);
    // A side of 0 or less gives no print and no picture: the page stays open until it is mended.
    exchange.positiveNumber(widthEdit_, aspectWidth);
    exchange.positiveNumber(heightEdit_, aspectHeight);
}

void CPPAspect::onOk() {
    whiteColor = colorButton_->GetColor();
}

void CPPAspect::markChanged() {
    if (!filling()) changed = 1;
}

// A new white-space colour marks the page like every other control of it, so switching templates
// asks before the colour is lost.
void CPPAspect::colorClicked() {
    if (colorButton_->GetColor() == shownColor_) return;
    shownColor_ = colorButton_->GetColor();
    changed = 1;
}
