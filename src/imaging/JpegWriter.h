#pragma once

#include "imaging/ImageEncoder.h"

#include <QByteArray>
#include <QImage>

namespace imaging {

// JPEG encoding straight from Qt's 4-byte pixels. Qt's own writer first copies every pixel of every row
// into a 3-byte row, one at a time, which costs a tenth of dating a photo; libjpeg-turbo reads the
// 4-byte rows as they are. The result is the file Qt's writer makes of the image at the same quality
// without optimized Huffman tables, byte for byte: JFIF density from the image's resolution, its texts
// as comments, its colour space as an ICC profile, then the same pixels encoded the same way.

// True when writeJpeg takes images of the format: RGB32, ARGB32 and ARGB32_Premultiplied (whose
// colour channels are encoded as stored, as Qt does).
bool jpegWriterTakes(QImage::Format format);

// Encodes the image at a quality of 0 to 100 into `out`. An image of another format, or one libjpeg
// refuses, gives an error with libjpeg's reason and leaves `out` empty.
EncodeResult writeJpeg(const QImage& image, int quality, QByteArray& out);

} // namespace imaging
