#include "formatbar/AnchorCombo.h"

#include <QPainter>

namespace {

// Picture pixels: the landscape frame on the left, the portrait frame on the right.
const QRect kLandscape(0, 1, 16, 11);
const QRect kPortrait(18, 0, 9, 12);

// The block where the text goes, in a corner inside a frame's outline, `gapX` and one pixel clear
// of it. The narrow portrait frame has no room for a horizontal gap.
QRect cornerBlock(const QRect& frame, QSize block, bool top, bool left, int gapX) {
    const QRect inside = frame.adjusted(1 + gapX, 2, -1 - gapX, -2);
    const int x = left ? inside.left() : inside.right() - block.width() + 1;
    const int y = top ? inside.top() : inside.bottom() - block.height() + 1;
    return {QPoint(x, y), block};
}

void drawFrame(QPainter& painter, const QRect& frame) {
    painter.fillRect(frame, QColor(96, 96, 96));
    painter.fillRect(frame.adjusted(1, 1, -1, -1), QColor(236, 240, 244));
}

} // namespace

CAnchorCombo::CAnchorCombo(QWidget* parent) : CPictureCombo(parent) {}

void CAnchorCombo::PrepareAnchorCombo(int rowHeight) {
    setRowHeight(rowHeight);
}

void CAnchorCombo::drawPicture(QPainter& painter, const QRect& box, int row) const {
    drawAnchorPicture(painter, QPoint(box.left() + 3, box.top() + (box.height() - kPictureHeight) / 2),
                      itemData(row).toInt());
}

void CAnchorCombo::drawAnchorPicture(QPainter& painter, QPoint at, int code) {
    if (code < 0 || code > 7) return;
    // Codes 0..3 and 4..7 name the corners in the same order: bottom left, bottom right, top left, top right.
    const bool top = (code & 2) != 0;
    const bool left = (code & 1) == 0;
    const QColor text(24, 24, 24);

    painter.save();
    painter.translate(at);
    drawFrame(painter, kLandscape);
    drawFrame(painter, kPortrait);
    painter.fillRect(cornerBlock(kLandscape, QSize(5, 2), top, left, 1), text);
    if (code < 4) {
        painter.fillRect(cornerBlock(kPortrait, QSize(3, 2), top, left, 0), text);
    } else {
        // The tall picture seen turned a quarter counter-clockwise: the view's left side is the
        // picture's top and the view's bottom is the picture's left, so the corner turns with it.
        painter.fillRect(cornerBlock(kPortrait, QSize(2, 4), /*top=*/left, /*left=*/!top, 0), text);
    }
    painter.restore();
}

QImage CAnchorCombo::anchorPicture(int code, qreal devicePixelRatio) {
    QImage image(qCeil(kPictureWidth * devicePixelRatio), qCeil(kPictureHeight * devicePixelRatio),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawAnchorPicture(painter, QPoint(0, 0), code);
    return image;
}
