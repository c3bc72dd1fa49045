#include "options/OptionsSheet.h"
#include "options/ScreenReaderNames.h"

#include "options/OptionsPage.h"

#include <QDialogButtonBox>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QVBoxLayout>

COptionsSheet::COptionsSheet(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr(kCaption));
    // Wide enough for a folder path, also when "Global Options" is the only page.
    setMinimumWidth(fontMetrics().averageCharWidth() * 90);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("pages"));
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    connect(tabs_, &QTabWidget::currentChanged, this, &COptionsSheet::tabChanged);
}

// The pages go with the sheet's children; the tab widget must not report their removal to a sheet
// that is no more.
COptionsSheet::~COptionsSheet() {
    disconnect(tabs_, nullptr, this, nullptr);
}

void COptionsSheet::AddPage(COptionsPage* page, const QString& title) {
    // The tab widget makes the first page current as it is added; the sheet starts none before start().
    const QScopedValueRollback<bool> quiet(switchingBack_, true);
    tabs_->addTab(page, title);
    pages_.push_back(page);
    nameControlsForScreenReaders(page);
}

int COptionsSheet::pageCount() const {
    return static_cast<int>(pages_.size());
}

COptionsPage* COptionsSheet::page(int index) const {
    return index >= 0 && index < pageCount() ? pages_[static_cast<std::size_t>(index)] : nullptr;
}

void COptionsSheet::start(int startPage) {
    if (pages_.empty()) return;
    if (startPage < 0 || startPage >= pageCount()) startPage = 0;
    {
        const QScopedValueRollback<bool> quiet(switchingBack_, true);
        tabs_->setCurrentIndex(startPage);
    }
    current_ = startPage;
    pages_[static_cast<std::size_t>(startPage)]->activate();
}

bool COptionsSheet::selectPage(int index) {
    if (!page(index)) return false;
    tabs_->setCurrentIndex(index);
    return current_ == index;
}

// A tab widget cannot refuse a change of page: when the page that was in front fails its checks, the
// change is undone before the user is told, so the page in front is the one the message is about.
void COptionsSheet::tabChanged(int index) {
    if (switchingBack_ || index == current_ || !page(index)) return;
    COptionsPage* leaving = page(current_);
    if (leaving) {
        if (const auto failure = leaving->leave()) {
            {
                const QScopedValueRollback<bool> quiet(switchingBack_, true);
                tabs_->setCurrentIndex(current_);
            }
            leaving->report(*failure);
            return;
        }
    }
    current_ = index;
    page(index)->activate();
}

void COptionsSheet::accept() {
    if (COptionsPage* front = page(current_)) {
        if (const auto failure = front->leave()) {
            front->report(*failure);
            return;
        }
    }
    for (COptionsPage* each : pages_)
        if (each->started()) each->onOk();
    QDialog::accept();
}

bool COptionsSheet::pressOk() {
    accept();
    return result() == QDialog::Accepted;
}
