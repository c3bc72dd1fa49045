#include "formatbar/ColorButton.h"
#include "formatbar/ColorDialogChooser.h"
#include "formatbar/FormatBarFixture.h"
#include "imaging/Color.h"

#include <QColorDialog>
#include <QImage>

using AFormatBarColorButton = FormatBarFixture;

TEST_F(AFormatBarColorButton, opensNoDialogWhileInactive) {
    const int hidden = addItem("Date Time", kTagDateTimeOriginal, 0);
    openAndShow(hidden);
    chooser.script.push_back({0x00ff00, {}});

    control<CColorButton>("color")->click(); // disabled: the click goes nowhere
    control<CColorButton>("color")->setEnabled(true);
    control<CColorButton>("color")->click(); // enabled but still inactive
    EXPECT_TRUE(chooser.openings.empty());
    EXPECT_EQ(model.item(hidden).color, 240);
    EXPECT_EQ(formatChanged.count(), 0);
}

TEST_F(AFormatBarColorButton, changesTheItemOnlyForAnotherColour) {
    const int i = addItem("Date Time");
    model.item(i).color = 0x102030;
    openAndShow(i);
    CColorButton* button = control<CColorButton>("color");

    chooser.script.push_back({0x102030, {}}); // the same colour again
    button->click();
    chooser.script.push_back({std::nullopt, {}}); // Cancel
    button->click();
    ASSERT_EQ(chooser.openings.size(), 2u);
    EXPECT_EQ(chooser.openings[0].initial, 0x102030);
    EXPECT_EQ(formatChanged.count(), 0);
    EXPECT_EQ(model.modified, 0);

    chooser.script.push_back({0x0000ff, {}});
    button->click();
    EXPECT_EQ(model.item(i).color, 0x0000ff);
    EXPECT_EQ(button->GetColor(), 0x0000ff);
    EXPECT_EQ(formatChanged.count(), 1);
    EXPECT_EQ(model.modified, 1);
}

TEST_F(AFormatBarColorButton, offersCustomColoursDefinedInOneDialogInTheNextAnywhere) {
    const int i = addItem("Date Time");
    openAndShow(i);
    customColors.fill(0xffffff);
    chooser.script.push_back({std::nullopt, {{2, 0x405060}}}); // defined, then cancelled
    chooser.script.push_back({std::nullopt, {}});
    chooser.script.push_back({std::nullopt, {}});

    control<CColorButton>("color")->click();
    control<CColorButton>("color")->click();
    // An options page's button, handed the same custom colours.
    CColorButton pageButton;
    pageButton.setColorChooser(&chooser);
    pageButton.SetCustomColors(&customColors);
    pageButton.click();

    ASSERT_EQ(chooser.openings.size(), 3u);
    EXPECT_EQ(chooser.openings[1].customColors->at(2), 0x405060);
    EXPECT_EQ(chooser.openings[2].customColors->at(2), 0x405060);
    EXPECT_EQ(customColors[2], 0x405060);
}

TEST(AColorDialogChooser, handsTheCustomColoursToTheDialogAndTakesBackWhatTheUserDefined) {
    CustomColors mine{};
    for (int slot = 0; slot < 16; ++slot)
        mine[static_cast<std::size_t>(slot)] = 0x010101 * slot;
    ColorDialogChooser::loadCustomColors(mine);
    EXPECT_EQ(QColorDialog::customColor(15), imaging::fromColorRef(0x0f0f0f));
    EXPECT_EQ(QColorDialog::customColor(3), imaging::fromColorRef(0x030303));

    QColorDialog::setCustomColor(4, QColor(10, 20, 30)); // what the user does in the dialog
    CustomColors back{};
    ColorDialogChooser::storeCustomColors(back);
    EXPECT_EQ(back[4], imaging::toColorRef(QColor(10, 20, 30)));
    EXPECT_EQ(back[4], 10 | (20 << 8) | (30 << 16)); // red in the low byte
    EXPECT_EQ(back[15], 0x0f0f0f);
}

TEST(AColorButton, showsItsSwatchInsetByTwoAndInHalfToneWhenDisabled) {
    CColorButton button;
    button.resize(30, 20);
    button.SetColor(0x0000ff); // red
    const QColor red(255, 0, 0);

    QImage enabled = button.grab().toImage();
    EXPECT_EQ(enabled.pixelColor(2, 2), red);
    EXPECT_EQ(enabled.pixelColor(27, 17), red);
    EXPECT_EQ(enabled.pixelColor(15, 10), red);

    button.setEnabled(false);
    const QImage disabled = button.grab().toImage();
    const QColor face = button.palette().color(QPalette::Disabled, QPalette::Button);
    EXPECT_EQ(disabled.pixelColor(2, 2), face); // x + y even
    EXPECT_EQ(disabled.pixelColor(3, 2), red);  // odd
    EXPECT_EQ(disabled.pixelColor(3, 3), face);
    EXPECT_EQ(disabled.pixelColor(27, 16), red);
    EXPECT_EQ(disabled.pixelColor(27, 17), face);
}
