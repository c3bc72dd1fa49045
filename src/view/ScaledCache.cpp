#include "view/ScaledCache.h"

#include "compose/PrintFrame.h"

#include <QPainter>

#include <cmath>

void ScaledCache::refresh(const QImage& work, const Layout& layout, qint64 keyBefore,
                          const QRegion& changedPx) {
    rowsScaled_ = 0;
    const QSize size(qRound(truncToInt(layout.destSize.width()) * layout.pixelRatio),
                     qRound(truncToInt(layout.destSize.height()) * layout.pixelRatio));
    if (work.isNull() || size.isEmpty() || layout.sourcePx.isEmpty()) {
        clear();
        return;
    }
    const QImage::Format format =
        work.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    const bool sameLayout =
        !image_.isNull() && layout == layout_ && image_.size() == size && image_.format() == format;
    if (sameLayout && work.cacheKey() == workKey_) return;

    if (sameLayout && keyBefore == workKey_ && !changedPx.isEmpty()) {
        scale(work, rowsOf(changedPx));
    } else {
        if (image_.size() != size || image_.format() != format) image_ = QImage(size, format);
        layout_ = layout;
        scale(work, QRegion(image_.rect()));
    }
    workKey_ = work.cacheKey();
}

void ScaledCache::clear() {
    image_ = QImage();
    layout_ = Layout();
    workKey_ = 0;
}

QRegion ScaledCache::rowsOf(const QRegion& changedPx) const {
    // Whole rows, not rectangles: the smooth scaler steps along a row from where its span starts, so
    // only rows scaled from their first pixel come out exactly as in a whole scale.
    const double scaleY = layout_.destSize.height() * layout_.pixelRatio / layout_.sourcePx.height();
    QRegion rows;
    for (const QRect& r : changedPx) {
        // One more picture pixel on each side for the neighbours the filter blends in.
        const double top = (r.top() - 1 - layout_.sourcePx.y()) * scaleY;
        const double bottom = (r.bottom() + 2 - layout_.sourcePx.y()) * scaleY;
        const int y0 = std::max(0, static_cast<int>(std::floor(top)) - 1);
        const int y1 = std::min(image_.height(), static_cast<int>(std::ceil(bottom)) + 1);
        if (y1 > y0) rows += QRect(0, y0, image_.width(), y1 - y0);
    }
    return rows;
}

void ScaledCache::scale(const QImage& work, const QRegion& rows) {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRectF dest(0, 0, layout_.destSize.width() * layout_.pixelRatio,
                      layout_.destSize.height() * layout_.pixelRatio);
    for (const QRect& band : rows) {
        painter.setClipRect(band);
        painter.drawImage(dest, work, layout_.sourcePx);
        rowsScaled_ += band.height();
    }
}
