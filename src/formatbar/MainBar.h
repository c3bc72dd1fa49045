#pragma once

#include "formatbar/ColorChooser.h"

#include <QString>
#include <QWidget>

#include <memory>

class CAnchorCombo;
class CColorButton;
class CDatedPicture;
class CEffectsPanel;
class QToolButton;
class CFontCombo;
class CItemListCombo;
class FontCatalogue;
class ItemList;
class QCheckBox;
class QComboBox;
class QLineEdit;
struct ImprintItem;

// The one-line bar above the picture that names the current item and shows its formatting:
// visibility, font face, size, style, anchor, colour, label, unit and opacity. Every change made in
// the bar is written at once into the selected item of the attached picture model and asks for a
// redraw; every change, a click on "Vis" too, also marks the template modified and signals
// formatChanged(). The bar holds the model without owning it and knows nothing of the view: the main
// window connects the signals and calls ShowItem when the selection changes elsewhere.
class CMainBar : public QWidget {
    Q_OBJECT

public:
    // Offers the faces installed on the system.
    explicit CMainBar(QWidget* parent = nullptr);
    // Offers the faces of `fonts`, which outlives the bar.
    explicit CMainBar(const FontCatalogue& fonts, QWidget* parent = nullptr);
    ~CMainBar() override;

    // The open picture's model, or none. Without one the item list is emptied and nothing is shown.
    void setDatedPicture(CDatedPicture* picture);
    CDatedPicture* datedPicture() const { return picture_; }

    // What the colour button asks with, and the application's custom colours it offers (not owned).
    void setColorChooser(ColorChooser* chooser);
    void SetCustomColors(CustomColors* customColors);

    // The item list, for CDatedPicture::FillItemList.
    ItemList& itemList();
    // Refills the item list from the attached model; every item when `showAll`.
    void FillItemList(bool showAll);
    // The index of the item selected in the item list, or -1.
    int selectedItem() const;
    // What the last change made in the bar was ("Label", "Font" ...), for the undo list. Typing in a
    // box is one change however many keys it takes: the box's changes share a key ("Label 3"), others
    // have none.
    const QString& lastChange() const { return lastChange_; }
    const QString& lastChangeKey() const { return lastChangeKey_; }

public slots:
    // Shows the item with this index, or the empty state for -1.
    void ShowItem(int index);

signals:
    // An item was changed in the bar and the template is marked modified.
    void formatChanged();
    // The picture must be drawn again (the model's items changed or the selection moved).
    void redrawRequested();
    // The user chose a row of the item list: its item index, or -1 for the empty row.
    void itemSelected(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CMainBar(std::unique_ptr<FontCatalogue> ownFonts, const FontCatalogue* fonts, QWidget* parent);

    void buildControls();
    void connectControls();
    void fillFontList();
    void fillAnchorList();
    int dialogUnitsX(int units) const;
    int dialogUnitsY(int units) const;

    void showNoItem();
    void showItemAt(int index);

    // Reactions to the user.
    void changeFace();
    void chooseSize(int row);
    void editSize(const QString& text);
    void chooseStyle(int row);
    void chooseAnchor(int row);
    void colorClicked();
    void editLabel(const QString& text);
    void editUnit(const QString& text);
    void editOpacity(const QString& text);
    void visibleClicked(bool checked);
    void showAllClicked(bool checked);
    void changeEffects(const QString& what, bool typed);

    void fillSizes(const QString& face, int fontType);
    void fillStyles(const QString& face);
    void selectSizeText(const QString& text);

    ImprintItem* selectedImprintItem() const;
    // Marks the template, signals and redraws, unless the bar itself is filling its controls. `change`
    // names it for the undo list; `typed` when it is one key of a text typed into a box.
    void apply(const char* change = "Format", bool typed = false);
    void requestRedraw();

    std::unique_ptr<FontCatalogue> ownFonts_;
    const FontCatalogue& fonts_;
    CDatedPicture* picture_ = nullptr;
    // False while ShowItem fills the controls from an item.
    QToolButton* effectsButton_ = nullptr;
    CEffectsPanel* effectsPanel_ = nullptr;
    QString lastChange_;
    QString lastChangeKey_;
    bool applyChanges_ = true;
    // The last size and style chosen explicitly, carried across face changes.
    QString lastSizeText_;
    QString lastStyleText_;

    CItemListCombo* itemList_ = nullptr;
    QCheckBox* visibleBox_ = nullptr;
    CFontCombo* fontCombo_ = nullptr;
    QComboBox* sizeCombo_ = nullptr;
    QComboBox* styleCombo_ = nullptr;
    CAnchorCombo* anchorCombo_ = nullptr;
    CColorButton* colorButton_ = nullptr;
    QLineEdit* labelEdit_ = nullptr;
    QLineEdit* unitEdit_ = nullptr;
    QLineEdit* opacityEdit_ = nullptr;
    QCheckBox* showAllBox_ = nullptr;
};
