#pragma once

#include <QColor>

namespace imaging {

// Colours are stored as Windows colour values: red in the low byte, then green, then blue.
inline QColor fromColorRef(int colorRef, int alpha = 255) {
    const auto v = static_cast<unsigned>(colorRef);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF), qBound(0, alpha, 255));
}

inline int toColorRef(const QColor& c) {
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

} // namespace imaging
