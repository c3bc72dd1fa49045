#pragma once

#include <QLineF>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <optional>

// What a print of a given aspect ratio keeps of a picture: the two bands it cuts off (dark masks)
// and the two lines along the cut, in picture pixels. Ratios are 1.5 for 4x6, 1.4 for 5x7 and 1.25
// for 8x10, and are turned to the picture's orientation.
struct PrintGuides {
    std::array<QRectF, 2> masks;
    std::array<QLineF, 2> lines;

    // No guides for a ratio below 0.1 (guides off), an empty picture, or a band under one pixel.
    static std::optional<PrintGuides> of(QSizeF picturePx, double printRatio);
};
