#pragma once

#include "formatbar/PictureCombo.h"

// The format bar's list of font faces. Each row's data is the face's font type; outline faces carry
// a small mark before their name, and every name starts at the same place, marked or not.
class CFontCombo : public CPictureCombo {
    Q_OBJECT

public:
    explicit CFontCombo(QWidget* parent = nullptr);

    // Sets the row height (view pixels) and the font types that get a mark (-1: every type).
    void PrepareFontCombo(int rowHeight, int markMask);

    // Logical size of a mark.
    static constexpr int kMarkSize = 12;
    // Draws the mark for a font type with its top-left at `at`; nothing for a type without one.
    static void drawMark(QPainter& painter, QPoint at, int fontType);

protected:
    void drawPicture(QPainter& painter, const QRect& box, int row) const override;
    int textOffset() const override;

private:
    int markMask_ = -1;
};
