#include "formatbar/MainBar.h"

#include "formatbar/EffectsPanel.h"

#include "formatbar/AnchorCombo.h"
#include "formatbar/ColorButton.h"
#include "formatbar/ComboRows.h"
#include "formatbar/FontCombo.h"
#include "formatbar/ItemListCombo.h"
#include "formatbar/SystemFontCatalogue.h"
#include "imaging/TextCodec.h"
#include "model/DatedPicture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr std::array<int, 16> kStandardSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};

struct BasicStyle {
    const char* name;
    int weight;
    bool italic;
};
constexpr std::array<BasicStyle, 4> kBasicStyles = {
    {{"Regular", 400, false}, {"Bold", 700, false}, {"Italic", 400, true}, {"Bold Italic", 700, true}}};

const char* const kAnchorNames[8] = {QT_TRANSLATE_NOOP("CMainBar", "Rel: Bottom Left"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Rel: Bottom Right"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Rel: Top Left"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Rel: Top Right"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Lndscp: Bottom Left"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Lndscp: Bottom Right"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Lndscp: Top Left"),
                                     QT_TRANSLATE_NOOP("CMainBar", "Lndscp: Top Right")};

// Style row data: the weight, plus the flag for italic (the coding of ImprintItem::fontStyle).
int styleData(int weight, bool italic) {
    return weight | (italic ? ImprintItem::kItalicFlag : 0);
}

// The number a text begins with, as atoi reads it; 0 when it begins with none.
int leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min<long long>(value * 10 + (text[i].unicode() - u'0'), 1LL << 31);
    return static_cast<int>(std::clamp<long long>(negative ? -value : value, INT_MIN, INT_MAX));
}

// Writes a value into an item field; true when it changed.
template <class T> bool store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

// A one-line box cannot show a line break: it shows this mark in its place.
constexpr QChar kLineBreakMark(0x21B5); // ↵

QString shownLines(const std::string& text) {
    return imaging::toQString(text).replace(QLatin1Char('\n'), kLineBreakMark);
}

std::string storedLines(QString text) {
    return imaging::toUtf8(text.replace(kLineBreakMark, QLatin1Char('\n')));
}

} // namespace

using combo::clearSelection;
using combo::rowStartingWith;
using combo::selectedText;
using combo::selectRow;

CMainBar::CMainBar(QWidget* parent) : CMainBar(std::make_unique<SystemFontCatalogue>(), nullptr, parent) {}

CMainBar::CMainBar(const FontCatalogue& fonts, QWidget* parent) : CMainBar(nullptr, &fonts, parent) {}

CMainBar::CMainBar(std::unique_ptr<FontCatalogue> ownFonts, const FontCatalogue* fonts, QWidget* parent)
    : QWidget(parent), ownFonts_(std::move(ownFonts)), fonts_(fonts ? *fonts : *ownFonts_) {
    buildControls();

    const int rowHeight = std::max(16, fontMetrics().height() + 4);
    fontCombo_->PrepareFontCombo(rowHeight, -1);
    fillFontList();

    // Before any item is shown the bar shows Arial at 10 points, regular.
    const int arial = rowStartingWith(*fontCombo_, QStringLiteral("Arial"));
    selectRow(*fontCombo_, arial >= 0 ? arial : 0);
    changeFace();
    selectSizeText(QStringLiteral("10"));
    selectRow(*styleCombo_, styleCombo_->findData(styleData(400, false)));
    changeFace();

    anchorCombo_->PrepareAnchorCombo(rowHeight);
    fillAnchorList();
    changeFace();

    connectControls();
    ShowItem(-1);
}

CMainBar::~CMainBar() = default;

// --- building --------------------------------------------------------------------------------

int CMainBar::dialogUnitsX(int units) const {
    // The dialog base unit: the average width of the letters, as Windows computes it for dialogs.
    const int letters = fontMetrics().horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = (letters / 26 + 1) / 2;
    return (units * baseX + 2) / 4;
}

int CMainBar::dialogUnitsY(int units) const {
    return (units * fontMetrics().height() + 4) / 8;
}

void CMainBar::buildControls() {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(dialogUnitsX(2));

    // Each control says what it is to a screen reader; the boxes behind "Lbl:", "Unit:" and "Op:"
    // are their labels' buddies.
    const auto place = [&](QWidget* widget, const char* name, int widthUnits, const QString& spoken) {
        widget->setObjectName(QLatin1String(name));
        widget->setAccessibleName(spoken);
        if (widthUnits > 0) widget->setFixedWidth(dialogUnitsX(widthUnits));
        layout->addWidget(widget);
    };

    itemList_ = new CItemListCombo(this);
    itemList_->setMaxVisibleItems(16);
    place(itemList_, "itemList", 86, tr("Item"));

    visibleBox_ = new QCheckBox(tr("Vis"), this);
    place(visibleBox_, "visible", 0, tr("Visible on the picture"));

    fontCombo_ = new CFontCombo(this);
    fontCombo_->setMaxVisibleItems(20);
    place(fontCombo_, "fontFace", 90, tr("Font"));

    sizeCombo_ = new QComboBox(this);
    sizeCombo_->setEditable(true);
    sizeCombo_->setInsertPolicy(QComboBox::NoInsert);
    sizeCombo_->setCompleter(nullptr);
    sizeCombo_->setMaxVisibleItems(16);
    place(sizeCombo_, "fontSize", 31, tr("Font size in points"));

    styleCombo_ = new QComboBox(this);
    place(styleCombo_, "fontStyle", 48, tr("Font style"));
    {
        // Qt's styles give the arrow more room than the old dialog units allowed: "Bold Italic" must
        // still show whole.
        QStyleOptionComboBox option;
        option.initFrom(styleCombo_);
        const QSize text(fontMetrics().horizontalAdvance(tr("Bold Italic")), fontMetrics().height());
        const int fits = style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, styleCombo_).width();
        if (fits > styleCombo_->width()) styleCombo_->setFixedWidth(fits);
    }

    anchorCombo_ = new CAnchorCombo(this);
    place(anchorCombo_, "anchor", 105, tr("Anchor corner"));

    colorButton_ = new CColorButton(this);
    colorButton_->setFixedHeight(std::max(dialogUnitsY(12), 16));
    place(colorButton_, "color", 23, tr("Text colour"));

    auto* labelEditLabel = new QLabel(tr("Lbl:"), this);
    layout->addWidget(labelEditLabel);
    labelEdit_ = new QLineEdit(this);
    place(labelEdit_, "label", 46, tr("Label drawn before the value"));
    labelEditLabel->setBuddy(labelEdit_);

    auto* unitEditLabel = new QLabel(tr("Unit:"), this);
    layout->addWidget(unitEditLabel);
    unitEdit_ = new QLineEdit(this);
    place(unitEdit_, "unit", 31, tr("Unit drawn after the value"));
    unitEditLabel->setBuddy(unitEdit_);

    auto* opacityEditLabel = new QLabel(tr("Op:"), this);
    layout->addWidget(opacityEditLabel);
    opacityEdit_ = new QLineEdit(this);
    opacityEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), opacityEdit_));
    place(opacityEdit_, "opacity", 22, tr("Opacity, 0 to 255"));
    opacityEditLabel->setBuddy(opacityEdit_);

    effectsButton_ = new QToolButton(this);
    effectsButton_->setText(tr("Effects"));
    effectsButton_->setToolTip(tr("Outline, shadow, box and automatic colour of the item's text"));
    place(effectsButton_, "effects", 0, tr("Text effects"));
    effectsPanel_ = new CEffectsPanel(this);

    showAllBox_ = new QCheckBox(tr("Show all"), this);
    place(showAllBox_, "showAll", 0, tr("Show all items"));
    showAllBox_->hide();

    layout->addStretch(1);
}

bool CMainBar::eventFilter(QObject* watched, QEvent* event) {
    // Shift+Enter in the label and unit boxes starts a new line of the item's text.
    if (event->type() == QEvent::KeyPress && (watched == labelEdit_ || watched == unitEdit_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers().testFlag(Qt::ShiftModifier)) {
            static_cast<QLineEdit*>(watched)->insert(QString(kLineBreakMark));
            return true;
        }
    }
    // Page Up and Page Down go to the previous and next photo from anywhere in the window, but not
    // while a text is typed here: the box takes them (and does nothing with them), so no photo is
    // saved and left in the middle of a word.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CMainBar::connectControls() {
    for (QLineEdit* box : {labelEdit_, unitEdit_, opacityEdit_, sizeCombo_->lineEdit()})
        box->installEventFilter(this);
    // Activated, not changed: choosing the row already selected shows its item too.
    connect(itemList_, &QComboBox::activated, this,
            [this](int row) { emit itemSelected(row < 0 ? -1 : itemList_->itemData(row).toInt()); });
    connect(visibleBox_, &QCheckBox::clicked, this, &CMainBar::visibleClicked);
    connect(fontCombo_, &QComboBox::currentIndexChanged, this, &CMainBar::changeFace);
    connect(sizeCombo_, &QComboBox::currentIndexChanged, this, &CMainBar::chooseSize);
    connect(sizeCombo_->lineEdit(), &QLineEdit::textEdited, this, &CMainBar::editSize);
    connect(styleCombo_, &QComboBox::currentIndexChanged, this, &CMainBar::chooseStyle);
    connect(anchorCombo_, &QComboBox::currentIndexChanged, this, &CMainBar::chooseAnchor);
    connect(colorButton_, &QAbstractButton::clicked, this, &CMainBar::colorClicked);
    connect(labelEdit_, &QLineEdit::textChanged, this, &CMainBar::editLabel);
    connect(unitEdit_, &QLineEdit::textChanged, this, &CMainBar::editUnit);
    connect(opacityEdit_, &QLineEdit::textChanged, this, &CMainBar::editOpacity);
    connect(showAllBox_, &QCheckBox::clicked, this, &CMainBar::showAllClicked);
    connect(effectsButton_, &QToolButton::clicked, this, [this] {
        effectsPanel_->adjustSize();
        effectsPanel_->move(effectsButton_->mapToGlobal(QPoint(0, effectsButton_->height())));
        effectsPanel_->show();
    });
    connect(effectsPanel_, &CEffectsPanel::effectsChanged, this, &CMainBar::changeEffects);
}

void CMainBar::fillFontList() {
    const QSignalBlocker quiet(fontCombo_);
    std::vector<FontFace> faces = fonts_.faces();
    std::stable_sort(faces.begin(), faces.end(), [](const FontFace& a, const FontFace& b) {
        return QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
    });
    int widest = 0;
    for (const FontFace& face : faces) {
        if (face.name.isEmpty() || fontCombo_->findText(face.name, Qt::MatchFixedString) >= 0) continue;
        fontCombo_->addItem(face.name, face.type);
        widest = std::max(widest, fontCombo_->rowWidth(fontCombo_->count() - 1));
    }
    fontCombo_->view()->setMinimumWidth(widest);
    clearSelection(*fontCombo_);
}

void CMainBar::fillAnchorList() {
    const QSignalBlocker quiet(anchorCombo_);
    int widest = 0;
    for (int code = 0; code < 8; ++code) {
        anchorCombo_->addItem(tr(kAnchorNames[code]), code);
        widest = std::max(widest, anchorCombo_->rowWidth(code));
    }
    anchorCombo_->view()->setMinimumWidth(widest);
    clearSelection(*anchorCombo_);
}

// --- the model ---------------------------------------------------------------------------------

void CMainBar::setDatedPicture(CDatedPicture* picture) {
    picture_ = picture;
    if (!picture_) {
        itemList_->resetContent();
        ShowItem(-1);
    }
}

void CMainBar::setColorChooser(ColorChooser* chooser) {
    colorButton_->setColorChooser(chooser);
    effectsPanel_->setColorChooser(chooser);
}

void CMainBar::SetCustomColors(CustomColors* customColors) {
    colorButton_->SetCustomColors(customColors);
    effectsPanel_->SetCustomColors(customColors);
}

void CMainBar::changeEffects(const QString& what, bool typed) {
    const int index = selectedItem();
    if (index < 0) return;
    picture_->item(index).effects = effectsPanel_->effects();
    picture_->ChooseAutoColor(index);
    lastChange_ = what;
    apply(what.toLatin1().constData(), typed);
}

ItemList& CMainBar::itemList() {
    return *itemList_;
}

void CMainBar::FillItemList(bool showAll) {
    if (picture_) picture_->FillItemList(*itemList_, showAll);
    showAllBox_->setEnabled(itemList_->count() > 0);
}

int CMainBar::selectedItem() const {
    const int index = itemList_->selectedItemIndex();
    return picture_ && index >= 0 && index < picture_->itemCount ? index : -1;
}

ImprintItem* CMainBar::selectedImprintItem() const {
    const int index = selectedItem();
    return index < 0 ? nullptr : &picture_->item(index);
}

void CMainBar::apply(const char* change, bool typed) {
    if (!applyChanges_ || !picture_) return;
    lastChange_ = QString::fromLatin1(change);
    lastChangeKey_ = typed ? lastChange_ + QLatin1Char(' ') + QString::number(selectedItem()) : QString();
    picture_->modified = 1;
    emit formatChanged();
    requestRedraw();
}

void CMainBar::requestRedraw() {
    if (picture_) picture_->needsRedraw = 1;
    emit redrawRequested();
}

// --- showing an item -----------------------------------------------------------------------------

void CMainBar::ShowItem(int index) {
    if (index >= 0 && picture_ && index < picture_->itemCount)
        showItemAt(index);
    else
        showNoItem();
    showAllBox_->setEnabled(itemList_->count() > 0);
}

void CMainBar::showNoItem() {
    const bool hasRows = itemList_->count() > 0;
    itemList_->selectRow(hasRows ? 0 : -1);
    itemList_->setEnabled(hasRows);
    for (QWidget* control :
         std::initializer_list<QWidget*>{visibleBox_, fontCombo_, styleCombo_, sizeCombo_, anchorCombo_,
                                         colorButton_, labelEdit_, unitEdit_, opacityEdit_, effectsButton_})
        control->setEnabled(false);
    effectsPanel_->hide();
    colorButton_->SetActive(false);
}

void CMainBar::showItemAt(int index) {
    applyChanges_ = false;
    const ImprintItem& item = picture_->item(index);
    const bool visible = item.visible != 0;

    int row = itemList_->rowOfItem(index);
    if (row < 0) {
        itemList_->addEntry(item.displayName, index);
        row = itemList_->rowOfItem(index);
    }
    itemList_->selectRow(row);
    visibleBox_->setChecked(visible);

    if (item.tag == kTagImageStamp || item.tag == kTagWatermark) {
        // These items have no font: the watermark keeps its file name and opacity in the font fields.
        for (QComboBox* combo : {static_cast<QComboBox*>(fontCombo_), sizeCombo_, styleCombo_}) {
            clearSelection(*combo);
            combo->setEnabled(false);
        }
    } else {
        const int face = rowStartingWith(*fontCombo_, imaging::toQString(item.fontName));
        selectRow(*fontCombo_, face >= 0 ? face : (fontCombo_->count() > 0 ? 0 : -1));
        // A size the list does not hold leaves the box as it was.
        const int size = rowStartingWith(*sizeCombo_, QString::number(item.fontSize));
        if (size >= 0) selectRow(*sizeCombo_, size);
        selectRow(*styleCombo_, styleCombo_->findData(item.fontStyle));
        for (QWidget* control : std::initializer_list<QWidget*>{fontCombo_, styleCombo_, sizeCombo_})
            control->setEnabled(visible);
        colorButton_->setEnabled(visible);
        colorButton_->SetActive(visible);
        labelEdit_->setEnabled(visible);
        unitEdit_->setEnabled(visible);
        opacityEdit_->setEnabled(visible);
    }
    effectsButton_->setEnabled(visible && item.tag != kTagWatermark && item.tag != kTagImageStamp);
    effectsPanel_->showEffects(item.effects);

    selectRow(*anchorCombo_, item.anchor >= 0 && item.anchor < anchorCombo_->count() ? item.anchor : -1);
    colorButton_->SetColor(item.color);
    // Filling the boxes runs their change handlers, which find the item's own texts and change nothing.
    labelEdit_->setText(shownLines(item.label));
    unitEdit_->setText(shownLines(item.unit));
    opacityEdit_->setText(QString::number(item.opacity));
    for (QLineEdit* box : {labelEdit_, unitEdit_, opacityEdit_})
        box->setCursorPosition(0);

    itemList_->setEnabled(true);
    visibleBox_->setEnabled(true);
    anchorCombo_->setEnabled(visible);
    applyChanges_ = true;
    requestRedraw();
}

// --- the face and its sizes and styles ------------------------------------------------------------

void CMainBar::changeFace() {
    const int faceRow = fontCombo_->currentIndex();
    if (faceRow < 0) return;
    const QString face = fontCombo_->itemText(faceRow);
    QString sizeText = selectedText(*sizeCombo_);
    QString styleText = selectedText(*styleCombo_);

    fillSizes(face, fontCombo_->itemData(faceRow).toInt());
    fillStyles(face);

    if (sizeText.isEmpty())
        sizeText = lastSizeText_;
    else
        lastSizeText_ = sizeText;
    selectSizeText(sizeText);

    if (styleText.isEmpty())
        styleText = lastStyleText_;
    else
        lastStyleText_ = styleText;
    selectRow(*styleCombo_, rowStartingWith(*styleCombo_, styleText));

    ImprintItem* item = selectedImprintItem();
    if (!item) return;
    bool changed = store(item->fontName, imaging::toUtf8(face));
    changed |= store(item->fontSize, leadingNumber(sizeText));
    // A face without the remembered style leaves the item's style as it was.
    if (styleCombo_->currentIndex() >= 0)
        changed |= store(item->fontStyle, styleCombo_->currentData().toInt());
    if (changed) apply("Font");
}

void CMainBar::fillSizes(const QString& face, int fontType) {
    const QSignalBlocker quiet(sizeCombo_);
    sizeCombo_->clear();
    if (fontType & kTrueTypeFontType) {
        for (const int size : kStandardSizes)
            sizeCombo_->addItem(QString::number(size), size);
    } else {
        // Fixed sizes, kept ascending and each once.
        for (const int size : fonts_.fixedSizes(face)) {
            const QString text = QString::number(size);
            if (sizeCombo_->findText(text) >= 0) continue;
            int at = 0;
            while (at < sizeCombo_->count() && sizeCombo_->itemData(at).toInt() <= size)
                ++at;
            sizeCombo_->insertItem(at, text, size);
        }
    }
    clearSelection(*sizeCombo_);
}

void CMainBar::fillStyles(const QString& face) {
    const QSignalBlocker quiet(styleCombo_);
    styleCombo_->clear();
    const auto listed = [this](const QString& name) {
        return styleCombo_->findText(name, Qt::MatchFixedString) >= 0;
    };
    for (const FontStyle& style : fonts_.styles(face)) {
        if (style.name.isEmpty() || listed(style.name)) continue;
        styleCombo_->addItem(style.name, styleData(style.weight, style.italic));
    }
    for (const BasicStyle& basic : kBasicStyles) {
        const QString name = QLatin1String(basic.name);
        if (listed(name) || !fonts_.renders(face, basic.weight, basic.italic)) continue;
        styleCombo_->addItem(name, styleData(basic.weight, basic.italic));
    }
    clearSelection(*styleCombo_);
}

void CMainBar::selectSizeText(const QString& text) {
    const int row = rowStartingWith(*sizeCombo_, text);
    if (row >= 0) selectRow(*sizeCombo_, row);
    // A size the face does not list still shows and still applies.
    const QSignalBlocker quiet(sizeCombo_);
    sizeCombo_->setEditText(text);
}

// --- the user's changes --------------------------------------------------------------------------

void CMainBar::chooseSize(int row) {
    if (row < 0) return;
    const QString text = sizeCombo_->itemText(row);
    {
        const QSignalBlocker quiet(sizeCombo_);
        sizeCombo_->setEditText(text);
    }
    ImprintItem* item = selectedImprintItem();
    if (item && store(item->fontSize, leadingNumber(text))) apply("Size");
}

void CMainBar::editSize(const QString& text) {
    // Only a text that names a listed size counts; anything else is typing still under way.
    const int row = sizeCombo_->findText(text, Qt::MatchFixedString);
    if (row < 0) return;
    selectRow(*sizeCombo_, row);
    chooseSize(row);
}

void CMainBar::chooseStyle(int row) {
    ImprintItem* item = selectedImprintItem();
    if (row >= 0 && item && store(item->fontStyle, styleCombo_->itemData(row).toInt())) apply("Style");
}

void CMainBar::chooseAnchor(int row) {
    ImprintItem* item = selectedImprintItem();
    if (row >= 0 && item && store(item->anchor, row)) apply("Corner");
}

void CMainBar::colorClicked() {
    // The button has already asked for a colour when it is active; it holds the one to take.
    ImprintItem* item = selectedImprintItem();
    if (item && store(item->color, colorButton_->GetColor())) apply("Colour");
}

void CMainBar::editLabel(const QString& text) {
    ImprintItem* item = selectedImprintItem();
    if (!item || shownLines(item->label) == text) return;
    item->label = storedLines(text);
    apply("Label", true);
}

void CMainBar::editUnit(const QString& text) {
    ImprintItem* item = selectedImprintItem();
    if (!item || shownLines(item->unit) == text) return;
    item->unit = storedLines(text);
    apply("Unit", true);
}

void CMainBar::editOpacity(const QString& text) {
    ImprintItem* item = selectedImprintItem();
    if (item && store(item->opacity, std::clamp(leadingNumber(text), 0, 255))) apply("Opacity", true);
}

void CMainBar::visibleClicked(bool checked) {
    const int index = selectedItem();
    if (index < 0) return;
    picture_->item(index).visible = checked ? 1 : 0;
    ShowItem(index);
    // Which items show is part of the template, like how they look.
    apply(checked ? "Show" : "Hide");
}

void CMainBar::showAllClicked(bool checked) {
    FillItemList(checked);
}
