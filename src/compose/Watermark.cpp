// The watermark item: its bitmap drawn at the item's place instead of text.

#include "model/DatedPicture.h"

#include "imaging/Graphics.h"

void CDatedPicture::DrawWatermark(ImprintItem& item, imaging::Graphics& graphics) {
    // Drawn once watermark files can be loaded; until then the item has no size.
    (void)item;
    (void)graphics;
}
