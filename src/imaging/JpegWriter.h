#pragma once

#include "imaging/ImageEncoder.h"

#include <QByteArray>
#include <QImage>

#include <memory>

namespace imaging {

class RowGate;
struct RowRing;
struct JpegWriterPlan;

// JPEG encoding straight from Qt's 4-byte pixels. Qt's own writer first copies every pixel of every row
// into a 3-byte row, one at a time, which costs a tenth of dating a photo; libjpeg-turbo reads the
// 4-byte rows as they are. The result is the file Qt's writer makes of the image at the same quality
// without optimized Huffman tables, byte for byte: JFIF density from the image's resolution, its texts
// as comments, its colour space as an ICC profile, then the same pixels encoded the same way.

// True when writeJpeg takes images of the format: RGB32, ARGB32 and ARGB32_Premultiplied (whose
// colour channels are encoded as stored, as Qt does).
bool jpegWriterTakes(QImage::Format format);

// How a picture is encoded.
struct JpegEncoding {
    int quality = 75; // 0 to 100
    // Huffman tables fitted to the picture instead of the standard ones: the same pixels in a file
    // about a fifth smaller at quality 60 (a tenth at 90), for a second pass over every coefficient,
    // which libjpeg holds in memory meanwhile (three quarters of the picture's own size for 4:2:0).
    bool optimizeHuffman = false;
    // When set, the rows are read as the gate lets them through, so that the encoding runs beside the
    // decoding and painting that make them; without it, every row is taken to be there.
    RowGate* rows = nullptr;
    // With the gate: the rows a settled ring streams are read from its slots, and the gate is told
    // what was consumed (see RowRing).
    const RowRing* ring = nullptr;
};

// One picture's encoding. What it needs of the image (its rows, resolution, texts and colour profile)
// is taken when it is made, so that encode() may run on another thread while a gate's rows are made:
// that thread touches the image only through the rows the gate let through.
class JpegWriter {
public:
    JpegWriter(const QImage& image, const JpegEncoding& how);
    ~JpegWriter();
    JpegWriter(const JpegWriter&) = delete;
    JpegWriter& operator=(const JpegWriter&) = delete;

    // Encodes into `out`. An image of another format, one libjpeg refuses, or rows whose maker gave up,
    // give an error with the reason and leave `out` empty.
    EncodeResult encode(QByteArray& out);

private:
    std::unique_ptr<JpegWriterPlan> plan_;
};

// Encodes the image at a quality of 0 to 100 into `out` (see JpegWriter::encode).
EncodeResult writeJpeg(const QImage& image, int quality, QByteArray& out);

} // namespace imaging
