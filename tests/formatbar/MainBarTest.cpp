#include "formatbar/FormatBarFixture.h"

#include "formatbar/EffectsPanel.h"

#include <QDoubleSpinBox>
#include <QToolButton>

using AFormatBar = FormatBarFixture;

TEST_F(AFormatBar, withNoPictureHasEveryItemControlDisabledAndAnEmptyItemList) {
    EXPECT_EQ(combo("itemList")->count(), 0);
    for (const char* name : {"itemList", "visible", "fontFace", "fontSize", "fontStyle", "anchor", "color",
                             "label", "unit", "opacity", "showAll"})
        EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
    // Before any item it shows the face, size and style a new item gets.
    EXPECT_EQ(combo("fontFace")->currentText(), "Arial");
    EXPECT_EQ(combo("fontSize")->currentText(), "10");
    EXPECT_EQ(combo("fontStyle")->currentText(), "Regular");
    EXPECT_FALSE(control<QWidget>("showAll")->isVisible());
    // Every face once, sorted without regard to case.
    EXPECT_EQ(rows(combo("fontFace")), QStringList({"Arial", "Book Face", "Courier New", "Fixed"}));
}

TEST_F(AFormatBar, showsTheSelectedItemsFormattingWithoutChangingIt) {
    addItem("Date Time Original");
    const int shown = addItem("Make");
    ImprintItem& it = model.item(shown);
    it.fontName = "Courier New";
    it.fontSize = 24;
    it.fontStyle = 700 | ImprintItem::kItalicFlag;
    it.anchor = 6;
    it.color = 0x3366cc;
    it.label = "Camera: ";
    it.unit = " (body)";
    it.opacity = 128;
    const ImprintItem before = it;
    openAndShow(shown);

    EXPECT_EQ(bar.selectedItem(), shown);
    EXPECT_EQ(combo("itemList")->currentText(), "Make");
    EXPECT_TRUE(control<QCheckBox>("visible")->isChecked());
    EXPECT_EQ(combo("fontFace")->currentText(), "Courier New");
    EXPECT_EQ(combo("fontSize")->currentText(), "24");
    EXPECT_EQ(combo("fontStyle")->currentText(), "Bold Italic");
    EXPECT_EQ(combo("anchor")->currentIndex(), 6);
    EXPECT_EQ(control<CColorButton>("color")->GetColor(), 0x3366cc);
    EXPECT_EQ(edit("label")->text(), "Camera: ");
    EXPECT_EQ(edit("unit")->text(), " (body)");
    EXPECT_EQ(edit("opacity")->text(), "128");
    for (const char* name : {"itemList", "visible", "fontFace", "fontSize", "fontStyle", "anchor", "color",
                             "label", "unit", "opacity", "showAll"})
        EXPECT_TRUE(control<QWidget>(name)->isEnabled()) << name;

    EXPECT_EQ(it.fontName, before.fontName);
    EXPECT_EQ(it.fontSize, before.fontSize);
    EXPECT_EQ(it.fontStyle, before.fontStyle);
    EXPECT_EQ(it.label, before.label);
    EXPECT_EQ(it.opacity, before.opacity);
    EXPECT_EQ(model.modified, 0);
}

TEST_F(AFormatBar, showsTheFirstFaceForAnItemWhoseFontIsNotListed) {
    const int fixed = addItem("Make");
    model.item(fixed).fontName = "Fixed";
    const int unknown = addItem("Model");
    model.item(unknown).fontName = "Helvetica Neue";
    openAndShow(fixed);
    ASSERT_EQ(combo("fontFace")->currentText(), "Fixed");

    bar.ShowItem(unknown);
    EXPECT_EQ(combo("fontFace")->currentIndex(), 0);
    EXPECT_EQ(model.item(unknown).fontName, "Helvetica Neue");
}

TEST_F(AFormatBar, appliesATypedSizeOnlyWhenTheListHoldsIt) {
    const int i = addItem("Date Time");
    openAndShow(i); // Arial, an outline face with the standard sizes
    QLineEdit* sizeText = combo("fontSize")->lineEdit();

    type(sizeText, "13");
    EXPECT_EQ(model.item(i).fontSize, 12);
    EXPECT_EQ(formatChanged.count(), 0);
    EXPECT_EQ(model.modified, 0);

    type(sizeText, "14");
    EXPECT_EQ(model.item(i).fontSize, 14);
    EXPECT_EQ(combo("fontSize")->currentIndex(), combo("fontSize")->findText("14"));
    EXPECT_EQ(formatChanged.count(), 1);
    EXPECT_EQ(model.modified, 1);
}

TEST_F(AFormatBar, keepsASizeCarriedFromAFixedFaceToAnOutlineFaceInTheBoxAndTheItem) {
    const int i = addItem("Date Time");
    openAndShow(i);

    choose(combo("fontFace"), "Fixed");
    EXPECT_EQ(rows(combo("fontSize")), QStringList({"9", "13", "15"})); // ascending, each once
    choose(combo("fontSize"), "15");
    ASSERT_EQ(model.item(i).fontSize, 15);

    choose(combo("fontFace"), "Courier New");
    EXPECT_EQ(combo("fontSize")->count(), 16);
    EXPECT_EQ(combo("fontSize")->currentIndex(), -1);
    EXPECT_EQ(combo("fontSize")->currentText(), "15");
    EXPECT_EQ(model.item(i).fontSize, 15);
    EXPECT_EQ(model.item(i).fontName, "Courier New");

    // From one outline face to another the carried size still holds, with no row to select.
    choose(combo("fontFace"), "Arial");
    EXPECT_EQ(combo("fontSize")->currentText(), "15");
    EXPECT_EQ(model.item(i).fontSize, 15);
}

TEST_F(AFormatBar, offersTheBasicStylesOnlyWhereTheFaceRendersThem) {
    const int i = addItem("Date Time");
    openAndShow(i);
    choose(combo("fontFace"), "Book Face");
    EXPECT_EQ(rows(combo("fontStyle")), QStringList({"Book", "Oblique", "Semibold", "Regular", "Italic"}));
    choose(combo("fontFace"), "Fixed");
    EXPECT_EQ(rows(combo("fontStyle")), QStringList({"Regular"}));
}

TEST_F(AFormatBar, keepsTheItemsStyleWhenTheNewFaceLacksTheRememberedOne) {
    const int i = addItem("Date Time");
    openAndShow(i);
    choose(combo("fontStyle"), "Bold");
    ASSERT_EQ(model.item(i).fontStyle, 700);

    choose(combo("fontFace"), "Book Face");
    EXPECT_EQ(combo("fontStyle")->currentIndex(), -1);
    EXPECT_EQ(model.item(i).fontStyle, 700);
    EXPECT_EQ(model.item(i).fontName, "Book Face");

    // Back on a face with a bold, the remembered "Bold" is selected again.
    choose(combo("fontFace"), "Courier New");
    EXPECT_EQ(combo("fontStyle")->currentText(), "Bold");
}

TEST_F(AFormatBar, storesTheOpacityClampedAndAnEmptyBoxAsZero) {
    const int i = addItem("Date Time");
    model.item(i).opacity = 128;
    openAndShow(i);

    type(edit("opacity"), "300");
    EXPECT_EQ(model.item(i).opacity, 255);
    EXPECT_EQ(edit("opacity")->text(), "300");

    type(edit("opacity"), "");
    EXPECT_EQ(model.item(i).opacity, 0);
    EXPECT_EQ(formatChanged.count(), 3 + 1); // "3", "30", "300", then the deletion

    type(edit("opacity"), "x7"); // only digits can be typed
    EXPECT_EQ(edit("opacity")->text(), "7");
    EXPECT_EQ(model.item(i).opacity, 7);
}

TEST_F(AFormatBar, writesLabelAndUnitAsTheyAreTyped) {
    const int i = addItem("Exposure Time");
    openAndShow(i);
    type(edit("label"), "Exp ");
    type(edit("unit"), " s");
    EXPECT_EQ(model.item(i).label, "Exp ");
    EXPECT_EQ(model.item(i).unit, " s");
    EXPECT_EQ(formatChanged.count(), 4 + 2); // one per key
}

TEST_F(AFormatBar, redrawsAndMarksTheTemplateOnVisAndDisablesEveryBoxOfAHiddenItem) {
    const int i = addItem("Date Time");
    openAndShow(i);

    control<QCheckBox>("visible")->click();
    EXPECT_EQ(model.item(i).visible, 0);
    EXPECT_GE(redraws.count(), 1);
    EXPECT_EQ(formatChanged.count(), 1); // which items show is part of the template
    EXPECT_EQ(model.modified, 1);
    for (const char* name : {"fontFace", "fontSize", "fontStyle", "anchor"})
        EXPECT_FALSE(combo(name)->isEnabled()) << name;
    EXPECT_FALSE(edit("label")->isEnabled());
    EXPECT_FALSE(control<CColorButton>("color")->IsActive());

    control<QCheckBox>("visible")->click();
    EXPECT_EQ(model.item(i).visible, 1);
    EXPECT_TRUE(edit("label")->isEnabled());
    EXPECT_TRUE(combo("fontFace")->isEnabled());
    EXPECT_EQ(formatChanged.count(), 2);
}

TEST_F(AFormatBar, editsTheEffectsOfTheItemInItsPanelAndTakesLineBreaksWithShiftEnter) {
    const int i = addItem("Date Time");
    openAndShow(i);
    auto* panel = bar.findChild<CEffectsPanel*>(QStringLiteral("effectsPanel"));
    ASSERT_TRUE(panel);
    control<QToolButton>("effects")->click();
    EXPECT_TRUE(panel->isVisible());
    panel->findChild<QCheckBox*>(QStringLiteral("outline"))->click();
    panel->findChild<QDoubleSpinBox*>(QStringLiteral("outlineWidth"))->setValue(2.5);
    EXPECT_TRUE(model.item(i).effects.outline);
    EXPECT_FLOAT_EQ(model.item(i).effects.outlineWidthPt, 2.5f);
    EXPECT_EQ(formatChanged.count(), 2);
    EXPECT_EQ(bar.lastChangeKey(), "Outline width " + QString::number(i))
        << "a number box's steps are one change";
    EXPECT_EQ(model.modified, 1);

    QLineEdit* label = edit("label");
    label->setFocus();
    QTest::keyClicks(label, QStringLiteral("Taken"));
    QTest::keyClick(label, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(label, QStringLiteral("on "));
    EXPECT_EQ(model.item(i).label, "Taken\non ");
    bar.ShowItem(i);
    EXPECT_EQ(label->text(), QString::fromUtf8("Taken\u21B5on ")) << "a one-line box marks the break";
}

TEST_F(AFormatBar, marksTheTemplateAndRedrawsWhenRestyledOrAnchored) {
    const int i = addItem("Date Time");
    openAndShow(i);

    choose(combo("fontStyle"), "Bold Italic");
    EXPECT_EQ(model.item(i).fontStyle, 700 | ImprintItem::kItalicFlag);
    EXPECT_EQ(formatChanged.count(), 1);
    EXPECT_EQ(model.modified, 1);
    EXPECT_GE(redraws.count(), 1);

    combo("anchor")->setCurrentIndex(5);
    EXPECT_EQ(model.item(i).anchor, 5);
    EXPECT_EQ(formatChanged.count(), 2);
}

TEST_F(AFormatBar, givesWatermarkAndStampItemsNoFontSizeOrStyle) {
    const int text = addItem("Date Time");
    const int watermark = addItem("Watermark", kTagWatermark);
    model.item(watermark).fontName = "logo.png";
    model.item(watermark).fontSize = 200;
    const int stamp = addItem("Image Stamp", kTagImageStamp);
    openAndShow(text);

    for (const int index : {watermark, stamp}) {
        bar.ShowItem(index);
        for (const char* name : {"fontFace", "fontSize", "fontStyle"}) {
            EXPECT_FALSE(combo(name)->isEnabled()) << name;
            EXPECT_EQ(combo(name)->currentIndex(), -1) << name;
        }
        EXPECT_TRUE(combo("fontSize")->currentText().isEmpty());
        EXPECT_TRUE(combo("anchor")->isEnabled());
    }
    EXPECT_EQ(model.item(watermark).fontName, "logo.png");
    EXPECT_EQ(model.item(watermark).fontSize, 200);
    EXPECT_EQ(model.modified, 0);
}

TEST_F(AFormatBar, followsTheItemListAndAddsAnItemItDoesNotList) {
    addItem("Make");
    const int date = addItem("Date Time Original");
    addItem("date Time"); // sorts before "Date Time Original" without regard to case
    const int unlisted = addItem("Maker Note", 0x927c, 0);
    model.item(unlisted).listed = 0;
    open();
    QSignalSpy chosen(&bar, &CMainBar::itemSelected);

    EXPECT_EQ(rows(combo("itemList")), QStringList({"", "date Time", "Date Time Original", "Make"}));
    EXPECT_EQ(combo("itemList")->currentText(), "") << "ShowItem(-1) selects the empty row";
    EXPECT_TRUE(control<QWidget>("showAll")->isEnabled());

    choose(combo("itemList"), "Date Time Original");
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), date);
    choose(combo("itemList"), "Date Time Original"); // the row already chosen, chosen again
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen.at(1).at(0).toInt(), date);

    bar.ShowItem(unlisted);
    EXPECT_EQ(combo("itemList")->currentText(), "Maker Note");
    EXPECT_EQ(bar.selectedItem(), unlisted);
    EXPECT_EQ(chosen.count(), 2) << "showing an item is not the user's choice";

    control<QCheckBox>("showAll")->click();
    EXPECT_EQ(combo("itemList")->count(), 5);
}
