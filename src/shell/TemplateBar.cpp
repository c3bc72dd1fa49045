#include "shell/TemplateBar.h"

#include "imaging/TextCodec.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

CTemplateBar::CTemplateBar(QWidget* parent) : QWidget(parent) {
    auto* caption = new QLabel(tr("Template:"), this);
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("templateList"));
    list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list_->setMinimumContentsLength(16);
    list_->setMaxVisibleItems(20);
    caption->setBuddy(list_);
    changesLabel_ = new QLabel(this);
    changesLabel_->setObjectName(QStringLiteral("changesLabel"));
    QFont small = changesLabel_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    changesLabel_->setFont(small);
    // Room for the note while there is none, so the bar keeps its height.
    changesLabel_->setMinimumHeight(changesLabel_->fontMetrics().height());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(0);
    layout->addWidget(caption, 0, 0);
    layout->addWidget(list_, 0, 1);
    layout->addWidget(changesLabel_, 1, 1);

    connect(list_, &QComboBox::activated, this, [this] { emit templateChosen(); });
}

void CTemplateBar::clear() {
    for (int row = list_->count() - 1; row >= 0; --row)
        list_->removeItem(row);
}

void CTemplateBar::addEntry(const std::string& text) {
    const QString entry = imaging::toQString(text);
    int row = 0;
    while (row < list_->count() && QString::compare(list_->itemText(row), entry, Qt::CaseInsensitive) <= 0)
        ++row;
    const bool hadSelection = list_->currentIndex() >= 0;
    list_->insertItem(row, entry);
    // A combo box selects the first entry it gets; the list's selection is the program's to make.
    if (!hadSelection) list_->setCurrentIndex(-1);
}

bool CTemplateBar::selectStartingWith(const std::string& text) {
    const QString prefix = imaging::toQString(text);
    for (int row = 0; row < list_->count(); ++row) {
        if (!list_->itemText(row).startsWith(prefix, Qt::CaseInsensitive)) continue;
        list_->setCurrentIndex(row);
        return true;
    }
    return false;
}

int CTemplateBar::findEntry(const std::string& text) const {
    const QString entry = imaging::toQString(text);
    for (int row = 0; row < list_->count(); ++row)
        if (list_->itemText(row).compare(entry, Qt::CaseInsensitive) == 0) return row;
    return -1;
}

void CTemplateBar::selectRow(int row) {
    list_->setCurrentIndex(row);
}

int CTemplateBar::count() const {
    return list_->count();
}

int CTemplateBar::selectedRow() const {
    return list_->currentIndex();
}

std::string CTemplateBar::selectedText() const {
    return list_->currentIndex() < 0 ? std::string() : imaging::toUtf8(list_->currentText());
}

std::string CTemplateBar::entryText(int row) const {
    return imaging::toUtf8(list_->itemText(row));
}

void CTemplateBar::setChangesText(const QString& text) {
    changesLabel_->setText(text);
}

QString CTemplateBar::changesText() const {
    return changesLabel_->text();
}
