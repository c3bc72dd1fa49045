#include "formatbar/FontCombo.h"

#include "formatbar/FontCatalogue.h"

#include <QPainter>

CFontCombo::CFontCombo(QWidget* parent) : CPictureCombo(parent) {}

void CFontCombo::PrepareFontCombo(int rowHeight, int markMask) {
    markMask_ = markMask;
    setRowHeight(rowHeight);
}

int CFontCombo::textOffset() const {
    return (markMask_ & kTrueTypeFontType) ? 3 + 15 : 3;
}

void CFontCombo::drawPicture(QPainter& painter, const QRect& box, int row) const {
    if (!(markMask_ & kTrueTypeFontType)) return;
    const int type = itemData(row).toInt();
    drawMark(painter, QPoint(box.left() + 3, box.top() + (box.height() - kMarkSize) / 2), type);
}

void CFontCombo::drawMark(QPainter& painter, QPoint at, int fontType) {
    painter.save();
    painter.translate(at);
    if (fontType & kOpenTypeFontMark) {
        // A letter O.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 110, 60), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    } else if (fontType & kTrueTypeFontType) {
        // Two letters T, the second in front of the first and lower right.
        const QColor back(128, 128, 128), front(0, 0, 128);
        painter.fillRect(QRect(0, 0, 7, 2), back);
        painter.fillRect(QRect(2, 2, 3, 6), back);
        painter.fillRect(QRect(5, 4, 7, 2), front);
        painter.fillRect(QRect(7, 6, 3, 6), front);
    }
    painter.restore();
}
