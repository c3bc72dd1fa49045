#include "imaging/ImageAttributes.h"

namespace imaging {

QImage ImageAttributes::keyed(const QImage& source) const {
    QImage out = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!colorKey_ || out.isNull()) return out;
    const int lr = qRed(colorKey_->low), lg = qGreen(colorKey_->low), lb = qBlue(colorKey_->low);
    const int hr = qRed(colorKey_->high), hg = qGreen(colorKey_->high), hb = qBlue(colorKey_->high);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            // Keys compare the colour itself, so undo the premultiplication of translucent pixels.
            const QRgb p = qUnpremultiply(line[x]);
            const int r = qRed(p), g = qGreen(p), b = qBlue(p);
            if (r >= lr && r <= hr && g >= lg && g <= hg && b >= lb && b <= hb) line[x] = 0;
        }
    }
    return out;
}

} // namespace imaging
