#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// Real numbers become whole numbers by truncation toward zero; values beyond the int range (from
// hostile templates) saturate instead of being undefined.
inline int truncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

// The print an item's distances and font sizes refer to: a print of the template's aspect ratio
// read as inches, its long side along the picture's long side. Distances are print points (1/72
// inch); the results are work-picture pixels, and the other way round.
struct PrintFrame {
    double width = 0; // work picture, pixels
    double height = 0;
    double printW = 0;    // print inches along the picture's width
    double printH = 0;    // and along its height
    double printLong = 0; // inches
    bool tall = false;    // taller than wide; a square picture counts as wide

    PrintFrame(int w, int h, double aspectWidth, double aspectHeight)
        : width(w), height(h), printLong(std::max(aspectWidth, aspectHeight)), tall(h > w) {
        const double printShort = std::min(aspectWidth, aspectHeight);
        printW = tall ? printShort : printLong;
        printH = tall ? printLong : printShort;
    }

    double longPx() const { return std::max(width, height); }

    // Print points to pixels along the picture's width and height.
    double dx(double points) const { return points / printW * width / 72.0; }
    double dy(double points) const { return points / printH * height / 72.0; }
    // Pixels to print points along the picture's width and height.
    double ux(double pixels) const { return pixels / width * printW * 72.0; }
    double uy(double pixels) const { return pixels / height * printH * 72.0; }
};
