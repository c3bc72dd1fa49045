#include "view/PrintGuides.h"

std::optional<PrintGuides> PrintGuides::of(QSizeF picturePx, double printRatio) {
    PrintGuides guides;
    const double pw = picturePx.width(), ph = picturePx.height();
    if (!(printRatio >= 0.1) || !(pw > 0 && ph > 0)) return std::nullopt;

    // The print's long side goes with the picture's.
    double r = printRatio;
    if (pw / ph >= 1) {
        if (printRatio < 1) r = 1 / printRatio;
    } else {
        if (printRatio > 1) r = 1 / printRatio;
    }

    if (pw / ph <= r) {
        // Taller than the print: it keeps the full width and a centred height.
        const double kept = pw / r;
        const double band = (ph - kept) * 0.5;
        if (band < 1) return std::nullopt;
        guides.masks = {QRectF(0, 0, pw, band), QRectF(0, band + kept, pw, band)};
        guides.lines = {QLineF(0, band, pw, band), QLineF(0, band + kept, pw, band + kept)};
    } else {
        // Wider than the print: it keeps the full height and a centred width.
        const double kept = ph * r;
        const double band = (pw - kept) * 0.5;
        if (band < 1) return std::nullopt;
        guides.masks = {QRectF(0, 0, band, ph), QRectF(band + kept, 0, band, ph)};
        guides.lines = {QLineF(band, 0, band, ph), QLineF(band + kept, 0, band + kept, ph)};
    }
    return guides;
}
