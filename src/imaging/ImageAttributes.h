#pragma once

#include "imaging/Status.h"

#include <QImage>
#include <QRgb>

#include <optional>

namespace imaging {

// Owner of the adjustments applied when one image is drawn on another: a colour-key range whose
// pixels are not drawn, and an alpha scale (the colour-matrix entry that fades an image).
class ImageAttributes : public StatusOwner {
public:
    struct ColorKey {
        QRgb low;
        QRgb high;
    };

    void setColorKey(QRgb low, QRgb high) { colorKey_ = ColorKey{low, high}; }
    void clearColorKey() { colorKey_.reset(); }
    const std::optional<ColorKey>& colorKey() const { return colorKey_; }

    void setAlphaScale(qreal scale) { alphaScale_ = qBound<qreal>(0.0, scale, 1.0); }
    qreal alphaScale() const { return alphaScale_; }

    // A copy of the image in premultiplied ARGB with every pixel whose red, green and blue all lie in
    // the key range made transparent. Callers that draw the same image often keep the result.
    QImage keyed(const QImage& source) const;

private:
    std::optional<ColorKey> colorKey_;
    qreal alphaScale_ = 1.0;
};

} // namespace imaging
