#include "imaging/Font.h"

#include "imaging/TextCodec.h"

#include <QFontMetricsF>

#include <cmath>

namespace imaging {
namespace {

// Qt sizes fonts by their em; the description gives the cell height. Measure the cell of a large
// reference size once and scale, which keeps the error below half a pixel.
int pixelSizeForCellHeight(QFont font, int cellHeight) {
    constexpr int kReference = 1000;
    font.setPixelSize(kReference);
    const qreal referenceCell = QFontMetricsF(font).height();
    if (referenceCell <= 0) return cellHeight;
    const long size = std::lround(cellHeight * kReference / referenceCell);
    return static_cast<int>(std::max(1L, size));
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
        font_.setPixelSize(-logFont.height); // a negative height is the em size itself
    } else {
        record(Status::InvalidParameter);
        font_.setPixelSize(12);
    }
}

} // namespace imaging
