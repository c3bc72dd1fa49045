// The watermark item: its bitmap drawn at the item's place instead of text.

#include "compose/PrintFrame.h"
#include "model/DatedPicture.h"

#include "imaging/Graphics.h"

void CDatedPicture::DrawWatermark(ImprintItem& item, imaging::Graphics& graphics) {
    if (item.tag != kTagWatermark || !watermarkBitmap || watermarkBitmap->isNull() || !workPicture) return;

    // The item is measured like text, so that placing and dragging treat it alike.
    const PrintFrame frame(workPicture->width(), workPicture->height(), aspectWidth, aspectHeight);
    const int width = watermarkBitmap->width(), height = watermarkBitmap->height();
    item.textWidthPx = width;
    item.textHeightPx = height;
    item.textWidthPt = truncToInt(width / frame.longPx() * frame.printLong * 72.0);
    item.textHeightPt = truncToInt(height / frame.longPx() * frame.printLong * 72.0);

    // The opacity is the watermark setting's, kept in the font size of the watermark item.
    const bool known = watermarkIndex >= 0 && watermarkIndex < itemCount;
    const int opacity = known ? this->item(watermarkIndex).fontSize : item.fontSize;

    graphics.beginContainer();
    graphics.translate(item.posX, item.posY);
    preparedWatermark_.draw(*watermarkBitmap, item.angle, opacity, graphics);
    graphics.endContainer();
}
