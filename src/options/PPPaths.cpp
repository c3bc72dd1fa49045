#include "options/PPPaths.h"

#include "options/DataExchange.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CPPPaths::CPPPaths(UiDialogs& dialogs, QWidget* parent) : COptionsPage(dialogs, parent) {
    auto* page = new QVBoxLayout(this);

    auto* folders = new QGroupBox(tr("Template Specific Directories"), this);
    auto* folderRow = new QHBoxLayout(folders);
    outputDirEdit_ = new QLineEdit(folders);
    outputDirEdit_->setObjectName(QStringLiteral("outputDir"));
    auto* browse = new QPushButton(tr("Browse..."), folders);
    browse->setObjectName(QStringLiteral("browseOutputDir"));
    folderRow->addWidget(new QLabel(tr("Output Directory:"), folders));
    folderRow->addWidget(outputDirEdit_, 1);
    folderRow->addWidget(browse);
    page->addWidget(folders);

    auto* naming = new QGroupBox(tr("Output File Naming"), this);
    auto* namingRows = new QVBoxLayout(naming);
    prefixEdit_ = new QLineEdit(naming);
    prefixEdit_->setObjectName(QStringLiteral("prefix"));
    postfixEdit_ = new QLineEdit(naming);
    postfixEdit_->setObjectName(QStringLiteral("postfix"));
    namingRows->addWidget(new QLabel(tr("Prefix to add at beginning of output file name:"), naming));
    namingRows->addWidget(prefixEdit_);
    namingRows->addWidget(new QLabel(tr("Postfix to add at end of output file name:"), naming));
    namingRows->addWidget(postfixEdit_);
    page->addWidget(naming);

    auto* image = new QGroupBox(tr("Image Settings"), this);
    auto* imageGrid = new QGridLayout(image);
    qualityEdit_ = new QLineEdit(image);
    qualityEdit_->setObjectName(QStringLiteral("jpegQuality"));
    qualityEdit_->setFixedWidth(qualityEdit_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    acceptDigitsOnly(qualityEdit_);
    imageGrid->addWidget(new QLabel(tr("JPEG Quality:"), image), 0, 0);
    imageGrid->addWidget(qualityEdit_, 0, 1);
    imageGrid->addWidget(new QLabel(tr("0 lowest quality, most compression"), image), 0, 2);
    imageGrid->addWidget(new QLabel(tr("100 highest quality, lowest compression"), image), 1, 2);
    imageGrid->setColumnStretch(2, 1);
    page->addWidget(image);
    page->addStretch(1);

    connect(browse, &QPushButton::clicked, this, &CPPPaths::browseOutputDir);
    for (QLineEdit* edit : {prefixEdit_, postfixEdit_, outputDirEdit_, qualityEdit_})
        connect(edit, &QLineEdit::textChanged, this, &CPPPaths::markChanged);
}

void CPPPaths::writeControls() {
    setInteger(qualityEdit_, jpegQuality);
    setText(prefixEdit_, prefix);
    setText(postfixEdit_, postfix);
    setText(outputDirEdit_, outputDir);
}

void CPPPaths::readControls(DataExchange& exchange) {
    exchange.integer(qualityEdit_, jpegQuality);
    exchange.text(prefixEdit_, prefix);
    exchange.text(postfixEdit_, postfix);
    exchange.text(outputDirEdit_, outputDir);
}

void CPPPaths::markChanged() {
    if (!filling()) changed = 1;
}

void CPPPaths::browseOutputDir() {
    if (!readForButton()) return;
    if (const std::optional<std::string> chosen = browseForFolder(outputDir)) outputDir = *chosen;
    writeControls();
}
