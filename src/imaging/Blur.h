#pragma once

#include <QImage>

namespace imaging {

// Softens a premultiplied ARGB image in place, close to a Gaussian blur of the radius (pixels): three
// passes of a box blur each way, every channel. A radius below 1 leaves the image as it is.
void blurImage(QImage& image, int radius);

} // namespace imaging
