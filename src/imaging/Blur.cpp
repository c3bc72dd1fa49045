#include "imaging/Blur.h"

#include <algorithm>
#include <vector>

namespace imaging {
namespace {

// One box pass over `count` pixels `stride` apart: each becomes the mean of the 2r+1 around it, the
// pixels past either end counted as transparent.
void boxPass(QRgb* line, int count, int stride, int r, std::vector<QRgb>& scratch) {
    scratch.assign(static_cast<std::size_t>(count), 0);
    for (int i = 0; i < count; ++i)
        scratch[static_cast<std::size_t>(i)] = line[i * stride];
    const int window = 2 * r + 1;
    long a = 0, red = 0, green = 0, blue = 0;
    const auto add = [&](int i, int sign) {
        if (i < 0 || i >= count) return;
        const QRgb p = scratch[static_cast<std::size_t>(i)];
        a += sign * qAlpha(p);
        red += sign * qRed(p);
        green += sign * qGreen(p);
        blue += sign * qBlue(p);
    };
    for (int i = -r; i < r; ++i)
        add(i, 1);
    for (int i = 0; i < count; ++i) {
        add(i + r, 1);
        line[i * stride] = qRgba(static_cast<int>(red / window), static_cast<int>(green / window),
                                 static_cast<int>(blue / window), static_cast<int>(a / window));
        add(i - r, -1);
    }
}

} // namespace

void blurImage(QImage& image, int radius) {
    if (radius < 1 || image.isNull()) return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
    // Three box passes of a third of the radius come close to a Gaussian of that radius.
    const int r = std::max(1, radius / 3);
    const int w = image.width(), h = image.height();
    std::vector<QRgb> scratch;
    auto* pixels = reinterpret_cast<QRgb*>(image.bits());
    const int stride = static_cast<int>(image.bytesPerLine() / 4);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            boxPass(pixels + static_cast<std::ptrdiff_t>(y) * stride, w, 1, r, scratch);
        for (int x = 0; x < w; ++x)
            boxPass(pixels + x, h, stride, r, scratch);
    }
}

} // namespace imaging
