#pragma once

#include "formatbar/PictureCombo.h"

#include <QImage>

// The format bar's list of the eight anchors. Each row shows a picture of where the anchor puts the
// text: a landscape and a portrait frame with a small block in the anchored corner. The "Lndscp:"
// anchors put the text on a tall picture turned a quarter, so there the block runs along the side.
class CAnchorCombo : public CPictureCombo {
    Q_OBJECT

public:
    explicit CAnchorCombo(QWidget* parent = nullptr);

    // Sets the row height (view pixels).
    void PrepareAnchorCombo(int rowHeight);

    // Logical size of an anchor picture.
    static constexpr int kPictureWidth = 27;
    static constexpr int kPictureHeight = 12;
    // Draws the picture of an anchor code (0..7) with its top-left at `at`; nothing for another code.
    static void drawAnchorPicture(QPainter& painter, QPoint at, int code);
    // The picture alone on a transparent image of the given device pixel ratio.
    static QImage anchorPicture(int code, qreal devicePixelRatio = 1.0);

protected:
    void drawPicture(QPainter& painter, const QRect& box, int row) const override;
    int textOffset() const override { return 35; }
};
