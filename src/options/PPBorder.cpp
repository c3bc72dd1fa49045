#include "options/PPBorder.h"

#include "formatbar/UiDialogs.h"
#include "options/DataExchange.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kBorderHelp = QT_TRANSLATE_NOOP(
    "CPPBorder",
    "Select a bitmap to use as a border.  The bitmap should be roughly the same aspect ratio and "
    "resolution as the picture. It will be stretched as necessary to match the size of the picture. The "
    "color at the center of the bitmap will be chosen as the invisible color so the picture can show "
    "through.  Choose from the borders directory or create your own with a paint program.");

// The file the border dialog proposes, in the template folder.
constexpr const char* kProposedBorder = "borderblack.gif";

} // namespace

CPPBorder::CPPBorder(UiDialogs& dialogs, QWidget* parent) : COptionsPage(dialogs, parent) {
    auto* page = new QVBoxLayout(this);
    auto* grid = new QGridLayout;

    pathEdit_ = new QLineEdit(this);
    pathEdit_->setObjectName(QStringLiteral("borderPath"));
    auto* browse = new QPushButton(tr("Browse ..."), this);
    browse->setObjectName(QStringLiteral("browseBorder"));
    auto* help = new QPushButton(QStringLiteral("?"), this);
    help->setObjectName(QStringLiteral("borderHelp"));
    help->setFixedWidth(help->fontMetrics().horizontalAdvance(QStringLiteral("?")) + 20);
    opacityEdit_ = new QLineEdit(this);
    opacityEdit_->setObjectName(QStringLiteral("borderOpacity"));
    opacityEdit_->setFixedWidth(opacityEdit_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    acceptDigitsOnly(opacityEdit_);
    autoRotateBox_ = new QCheckBox(tr("Auto rotate to match aspect ratio"), this);
    autoRotateBox_->setObjectName(QStringLiteral("borderAutoRotate"));
    auto* remove = new QPushButton(tr("Remove"), this);
    remove->setObjectName(QStringLiteral("removeBorder"));

    grid->addWidget(new QLabel(tr("Border Path:"), this), 0, 0);
    grid->addWidget(pathEdit_, 0, 1, 1, 2);
    grid->addWidget(browse, 0, 3);
    grid->addWidget(help, 0, 4);
    grid->addWidget(new QLabel(tr("Opacity:"), this), 1, 0);
    grid->addWidget(opacityEdit_, 1, 1);
    grid->addWidget(autoRotateBox_, 1, 2);
    grid->addWidget(remove, 1, 3);
    grid->setColumnStretch(2, 1);
    page->addLayout(grid);
    page->addStretch(1);

    connect(browse, &QPushButton::clicked, this, &CPPBorder::browseBorder);
    connect(remove, &QPushButton::clicked, this, &CPPBorder::removeBorder);
    connect(help, &QPushButton::clicked, this, [this] { showHelp(kBorderHelp); });
    connect(pathEdit_, &QLineEdit::textChanged, this, &CPPBorder::markChanged);
    connect(opacityEdit_, &QLineEdit::textChanged, this, &CPPBorder::markChanged);
    // Turning the border marks the page like every other control of it, so switching templates asks
    // before the setting is lost.
    connect(autoRotateBox_, &QCheckBox::clicked, this, &CPPBorder::markChanged);
}

void CPPBorder::writeControls() {
    setText(pathEdit_, borderPath);
    setInteger(opacityEdit_, borderOpacity);
    autoRotateBox_->setChecked(borderAutoRotate != 0);
}

void CPPBorder::readControls(DataExchange& exchange) {
    exchange.text(pathEdit_, borderPath);
    exchange.integerInRange(opacityEdit_, borderOpacity, 0, 255);
    exchange.check(autoRotateBox_, borderAutoRotate);
}

void CPPBorder::markChanged() {
    if (!filling()) changed = 1;
}

void CPPBorder::browseBorder() {
    if (!readForButton()) return;
    UiDialogs::FileRequest request;
    request.title = "Select a background image.";
    request.filter = "All (*.*)|*.*||";
    request.folder = templateFolder;
    request.proposedName = kProposedBorder;
    const auto chosen = dialogs_.openFiles(request);
    if (chosen && !chosen->empty()) {
        borderPath = chosen->front();
        changed = 1;
    }
    writeControls();
}

void CPPBorder::removeBorder() {
    if (!readForButton()) return;
    borderPath.clear();
    changed = 1;
    writeControls();
}
