#include "imaging/Font.h"

#include "imaging/TextCodec.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace imaging {
namespace {

// Sizes from hostile templates would overflow the arithmetic here and the coordinates of Qt's
// rasterizer, and Qt makes some glyphs into images of the pixel size squared (a box for a glyph no
// installed font has, the picture of a colour emoji): 4 GB at 65000 pixels. 8192 pixels (64 MB) is an
// eighth of the longest side a picture may have, and 290 print points on a 100-megapixel photo.
constexpr int kMaxPixelSize = 8192;

// Qt sizes fonts by their em; the description gives the cell height. Measure the cell of a large
// reference size once and scale, which keeps the error below half a pixel.
int pixelSizeForCellHeight(QFont font, int cellHeight) {
    constexpr int kReference = 1000;
    font.setPixelSize(kReference);
    const qreal referenceCell = QFontMetricsF(font).height();
    if (referenceCell <= 0) return std::min(cellHeight, kMaxPixelSize);
    const double size = std::round(static_cast<double>(cellHeight) * kReference / referenceCell);
    return static_cast<int>(std::clamp(size, 1.0, static_cast<double>(kMaxPixelSize)));
}

} // namespace

Font::Font(const LogFont& logFont) : logFont_(logFont) {
    font_.setFamily(toQString(logFont.faceName));
    font_.setWeight(static_cast<QFont::Weight>(logFont.weight <= 0 ? 400 : qBound(1, logFont.weight, 1000)));
    font_.setItalic(logFont.italic);
    font_.setUnderline(logFont.underline);
    font_.setStrikeOut(logFont.strikeOut);
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setStyleStrategy(QFont::PreferAntialias);
    if (logFont.height > 0) {
        font_.setPixelSize(pixelSizeForCellHeight(font_, logFont.height));
    } else if (logFont.height < 0) {
        // a negative height is the em size itself
        const long long em = -static_cast<long long>(logFont.height);
        font_.setPixelSize(static_cast<int>(std::min<long long>(em, kMaxPixelSize)));
    } else {
        record(Status::InvalidParameter);
        font_.setPixelSize(12);
    }
}

} // namespace imaging
