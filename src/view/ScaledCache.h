#pragma once

#include <QImage>
#include <QRectF>
#include <QRegion>
#include <QSizeF>

// The shown part of the work picture scaled to the view, kept between paints so that a paint after a
// small change scales again only the rows the change touched.
class ScaledCache {
public:
    struct Layout {
        QRectF sourcePx;      // the shown part, picture pixels
        QSizeF destSize;      // its size in view pixels: the source size times the zoom
        qreal pixelRatio = 1; // device pixels per view pixel
        bool operator==(const Layout&) const = default;
    };

    // Brings the cache up to date with the work picture. `changedPx` holds the picture pixels that
    // changed since the picture's key was `keyBefore`: when the cache shows that state, only the rows
    // they reach are scaled again, else all of it.
    void refresh(const QImage& work, const Layout& layout, qint64 keyBefore, const QRegion& changedPx);
    void clear();

    // Device pixels; trunc(destSize) view pixels.
    const QImage& image() const { return image_; }
    // Device rows scaled by the last refresh, for tests and benchmarks.
    int rowsScaledLastTime() const { return rowsScaled_; }

private:
    QRegion rowsOf(const QRegion& changedPx) const;
    void scale(const QImage& work, const QRegion& rows);

    QImage image_;
    Layout layout_;
    qint64 workKey_ = 0;
    int rowsScaled_ = 0;
};
