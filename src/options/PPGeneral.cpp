#include "options/PPGeneral.h"

#include "formatbar/ColorButton.h"
#include "formatbar/UiDialogs.h"
#include "imaging/TextCodec.h"
#include "options/DataExchange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CPPGeneral::CPPGeneral(UiDialogs& dialogs, QWidget* parent) : COptionsPage(dialogs, parent) {
    auto* page = new QVBoxLayout(this);

    auto* templates = new QGroupBox(tr("Templates"), this);
    auto* grid = new QGridLayout(templates);
    templateList_ = new QComboBox(templates);
    templateList_->setObjectName(QStringLiteral("defaultTemplate"));
    folderEdit_ = new QLineEdit(templates);
    folderEdit_->setObjectName(QStringLiteral("templateFolder"));
    auto* browse = new QPushButton(tr("Browse..."), templates);
    browse->setObjectName(QStringLiteral("browseTemplateFolder"));
    grid->addWidget(new QLabel(tr("Default Template:"), templates), 0, 0);
    grid->addWidget(templateList_, 0, 1);
    grid->addWidget(new QLabel(tr("Template Path:"), templates), 1, 0);
    grid->addWidget(folderEdit_, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->setColumnStretch(1, 1);
    page->addWidget(templates);

    auto* colors = new QGroupBox(tr("Colors"), this);
    auto* row = new QHBoxLayout(colors);
    colorButton_ = new CColorButton(colors);
    colorButton_->setObjectName(QStringLiteral("backColor"));
    colorButton_->setFixedSize(44, 24);
    colorButton_->setColorChooser(&dialogs_);
    row->addWidget(new QLabel(tr("Background color:"), colors));
    row->addWidget(colorButton_);
    row->addStretch(1);
    page->addWidget(colors);

    auto* copies = new QGroupBox(tr("Dated copies"), this);
    auto* copiesRow = new QVBoxLayout(copies);
    losslessBox_ = new QCheckBox(tr("Keep the photo's own JPEG data outside the imprint"), copies);
    losslessBox_->setObjectName(QStringLiteral("losslessJpeg"));
    losslessBox_->setToolTip(QStringLiteral(
        "Only the blocks under the items are encoded again, at the photo's own quality. Copies with white "
        "space, a border or a watermark over the picture are encoded whole at the template's quality."));
    copiesRow->addWidget(losslessBox_);
    optimizeBox_ = new QCheckBox(tr("Fit the Huffman tables to each picture (smaller, slower)"), copies);
    optimizeBox_->setObjectName(QStringLiteral("optimizeHuffman"));
    optimizeBox_->setToolTip(tr("Copies encoded whole keep the same pixels in a file about a fifth smaller, "
                                "for a second pass over the picture."));
    copiesRow->addWidget(optimizeBox_);
    page->addWidget(copies);
    page->addStretch(1);

    connect(browse, &QPushButton::clicked, this, &CPPGeneral::browseTemplateFolder);
}

void CPPGeneral::onStart() {
    colorButton_->SetColor(backColor);
    colorButton_->SetCustomColors(customColors);

    // A sorted list, as the system sorts it: without regard to case. "<New>" is no default.
    const QSignalBlocker quiet(templateList_);
    templateList_->clear();
    if (templateFiles) {
        for (const std::string& file : *templateFiles) {
            const QString name = imaging::toQString(file);
            int at = 0;
            while (at < templateList_->count() &&
                   QString::compare(templateList_->itemText(at), name, Qt::CaseInsensitive) <= 0)
                ++at;
            templateList_->insertItem(at, name);
        }
    }
    const QString wanted = imaging::toQString(defaultTemplate);
    int selected = templateList_->count() > 0 ? 0 : -1;
    for (int at = 0; at < templateList_->count(); ++at) {
        if (templateList_->itemText(at).startsWith(wanted, Qt::CaseInsensitive)) {
            selected = at;
            break;
        }
    }
    templateList_->setCurrentIndex(selected);

    writeControls();
}

void CPPGeneral::writeControls() {
    setText(folderEdit_, templateFolder);
    losslessBox_->setChecked(losslessJpeg != 0);
    optimizeBox_->setChecked(optimizeHuffman != 0);
}

void CPPGeneral::readControls(DataExchange& exchange) {
    exchange.text(folderEdit_, templateFolder);
    exchange.check(losslessBox_, losslessJpeg);
    exchange.check(optimizeBox_, optimizeHuffman);
}

void CPPGeneral::onOk() {
    backColor = colorButton_->GetColor();
    defaultTemplate =
        templateList_->currentIndex() < 0 ? std::string() : imaging::toUtf8(templateList_->currentText());
}

void CPPGeneral::browseTemplateFolder() {
    if (!readForButton()) return;
    if (const std::optional<std::string> chosen = browseForFolder(templateFolder)) templateFolder = *chosen;
    writeControls();
}
