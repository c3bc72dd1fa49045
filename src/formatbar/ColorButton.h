#pragma once

#include "formatbar/ColorChooser.h"

#include <QPushButton>

// A push button showing a colour swatch that asks for a new colour when clicked. The format bar's
// colour button and the options pages' colour buttons; all share the application's custom colours.
// Listeners of clicked() run after the button has asked, and read the result with GetColor().
class CColorButton : public QPushButton {
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr);

    // Windows colour value (red in the low byte).
    void SetColor(int colorRef);
    int GetColor() const { return color_; }

    // A click asks for a colour only while the button is active.
    void SetActive(bool active) { active_ = active; }
    bool IsActive() const { return active_; }

    // Not owned; the array outlives the button.
    void SetCustomColors(CustomColors* customColors) { customColors_ = customColors; }
    void setColorChooser(ColorChooser* chooser) { chooser_ = chooser; }

    // Asks for a colour starting from the current one. Returns true when a different colour was
    // chosen (and is now shown).
    bool PickColor();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintText(QPainter& painter, const QRect& swatch);

    int color_ = 0;
    bool active_ = true;
    CustomColors* customColors_ = nullptr;
    ColorChooser* chooser_ = nullptr;
};
