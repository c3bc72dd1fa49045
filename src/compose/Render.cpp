// Painting the dated image: the loaded picture, the white space, the border, then the items.

#include "compose/PrintFrame.h"
#include "model/DatedPicture.h"

#include "imaging/Color.h"
#include "imaging/Graphics.h"
#include "imaging/PixelMemory.h"

#include <algorithm>
#include <cmath>

namespace {

// A placement value as a whole number of pixels; values no picture can have count as none.
double wholePixels(float v) {
    if (!std::isfinite(v)) return 0;
    return std::clamp(std::trunc(static_cast<double>(v)), -1e9, 1e9);
}

} // namespace

bool CDatedPicture::WorkPictureSharesPicture() const {
    // QImage copies share their pixels until one is written to; constBits() does not detach.
    return picture && workPicture && !picture->isNull() &&
           picture->image().constBits() == workPicture->image().constBits();
}

void CDatedPicture::RenderDatedImage() {
    if (!needsRedraw || !workPicture || workPicture->isNull()) return;
    // A work picture that still shares the picture's pixels gets its own copy of them before it is
    // painted (made here, so that one failing for want of memory leaves a null work picture, not a
    // painter without a surface); drawing the picture onto that copy again would change nothing.
    const bool holdsPicture = WorkPictureSharesPicture();
    if (holdsPicture) {
        // On memory of its own, which large pictures take in huge pages (see imaging::newPicture).
        workPicture->image() = imaging::ownCopy(workPicture->image());
        if (workPicture->isNull()) return;
    }
    imaging::Graphics graphics(*workPicture);
    RenderRect(graphics, workPicture->image().rect(), true, !holdsPicture);
}

void CDatedPicture::RenderDatedImageForSave() {
    // Without the picture, its pixels are the work picture's alone and painting needs no copy of them.
    if (WorkPictureSharesPicture()) picture.reset();
    RenderDatedImage();
    picture.reset();
}

void CDatedPicture::RenderDatedImage(const QRegion& region) {
    if (!needsRedraw || !workPicture || workPicture->isNull()) return;
    const QRegion inside = region.intersected(workPicture->image().rect());
    if (inside.isEmpty()) return;
    imaging::Graphics graphics(*workPicture);
    for (const QRect& rect : inside) {
        graphics.setClip(QRectF(rect));
        RenderRect(graphics, rect, false);
    }
}

void CDatedPicture::RenderRect(imaging::Graphics& graphics, const QRect& clip, bool whole, bool drawPicture) {
    const double W = workPicture->width(), H = workPicture->height();
    const double offsetX = wholePixels(whiteOffsetX), offsetY = wholePixels(whiteOffsetY);
    const double width = wholePixels(pictureWidth), height = wholePixels(pictureHeight);

    if (drawPicture && picture && !picture->isNull()) {
        // The work picture takes the picture's pixels as they are, alpha included, rather than
        // blending them over what the last repaint left: so every repaint, whole or in part, gives
        // the same pixels.
        QPainter& painter = graphics.painter();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        graphics.drawImage(*picture, QRectF(offsetX, offsetY, width, height), picture->bounds());
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    const imaging::Brush white = imaging::Brush::solid(imaging::fromColorRef(whiteColor, 255));
    if (offsetX != 0) graphics.fillRectangle(white, QRectF(0, 0, offsetX, H));
    if (offsetY != 0) graphics.fillRectangle(white, QRectF(0, 0, W, offsetY));
    if (width + offsetX < W)
        graphics.fillRectangle(white, QRectF(width + offsetX, 0, W - offsetX - width, H));
    if (height + offsetY < H)
        graphics.fillRectangle(white, QRectF(0, height + offsetY, W, H - offsetY - height));

    if (borderBitmap && !borderBitmap->isNull()) {
        preparedBorder_.draw(*borderBitmap, borderOpacity, borderAutoRotate != 0, workPicture->image().size(),
                             graphics, clip);
    }

    for (int i = 0; i < itemCount; ++i) {
        ImprintItem& it = item(i);
        if (!it.visible) continue;
        // A whole repaint draws every item, which also measures it; a partial one only what shows.
        if (!whole && !ItemCoverage(i).intersects(clip)) continue;
        DrawItem(it, graphics);
    }
}

QRect CDatedPicture::ItemCoverage(int index) const {
    if (!workPicture || index < 0 || index >= itemCount) return {};
    const ImprintItem& it = item(index);
    ImprintItem turned;
    turned.textWidthPx = it.textWidthPx;
    turned.textHeightPx = it.textHeightPx;
    turned.angle = it.angle;
    ComputeItemBounds(turned);

    // Glyphs reach past their advance and cell (italics, accents, smoothing); the box is also
    // built from truncated corners and a slightly short degree.
    const long long margin = 4 + (it.tag == kTagWatermark ? 0 : std::max(0, it.textHeightPx) / 2);
    const long long w = workPicture->width(), h = workPicture->height();
    const long long left = static_cast<long long>(it.posX) + turned.bounds.x - margin;
    const long long top = static_cast<long long>(it.posY) + turned.bounds.y - margin;
    const long long right = left + turned.bounds.width + 2 * margin;
    const long long bottom = top + turned.bounds.height + 2 * margin;
    const auto near = [](long long v, long long limit) {
        return static_cast<int>(std::clamp(v, -1LL, limit + 1));
    };
    const QRect area(QPoint(near(left, w), near(top, h)), QPoint(near(right, w) - 1, near(bottom, h) - 1));
    return area.intersected(QRect(0, 0, static_cast<int>(w), static_cast<int>(h)));
}

int CDatedPicture::FirstPaintedRow() const {
    if (!workPicture) return 0;
    const int W = workPicture->width(), H = workPicture->height();
    const double offsetX = wholePixels(whiteOffsetX), offsetY = wholePixels(whiteOffsetY);
    const double width = wholePixels(pictureWidth), height = wholePixels(pictureHeight);
    // White space beside the picture, or a border, reaches the top rows.
    if (offsetX != 0 || offsetY != 0 || width + offsetX < W || (borderBitmap && !borderBitmap->isNull()))
        return 0;
    int first = height + offsetY < H ? static_cast<int>(height + offsetY) : H;
    for (int i = 0; i < itemCount; ++i)
        if (item(i).visible) first = std::min(first, ItemCoverage(i).top());
    constexpr int kBlockRow = 16;
    return std::max(0, first - kBlockRow) / kBlockRow * kBlockRow;
}
