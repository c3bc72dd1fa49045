#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <memory>
#include <string>

namespace imaging {

// A JPEG photo held as its quantised DCT coefficients, turned upright, for a copy that encodes again
// only the blocks where something was drawn and keeps every other block exactly as the camera wrote
// it. Rectangles and points are in upright picture pixels; "MCU" is the photo's minimum coded unit
// (16 x 16 pixels for 4:2:0 colours, 8 x 8 for 4:4:4 and grey), turned with the picture.
class JpegCoefficients {
public:
    JpegCoefficients();
    ~JpegCoefficients();
    JpegCoefficients(const JpegCoefficients&) = delete;
    JpegCoefficients& operator=(const JpegCoefficients&) = delete;

    // Reads every coefficient of the JPEG file in `file` and turns them upright by the Exif
    // `orientation` (1 to 8, as the decoder applies it). Returns an empty text, or why the photo's
    // coefficients cannot be kept in the copy, in a few words for the user: "not a JPEG photo",
    // "CMYK colours", "12-bit samples", "orientation 6 on a picture that is not whole MCUs", "damaged
    // JPEG data (...)"; the object is then of no further use.
    std::string read(const QByteArray& file, int orientation);

    QSize size() const;    // the upright picture
    QSize mcuSize() const; // one MCU of the upright picture
    bool progressive() const;
    bool arithmetic() const;
    int restartInterval() const; // in MCUs; 0 without restart markers

    // The rectangle grown outwards to MCU boundaries and clipped to the picture.
    QRect wholeMcus(const QRect& area) const;

    // The RGB32 pixels of a rectangle of whole MCUs (wholeMcus), as a decoder of the whole photo gives
    // them, but for the one pixel next to the rectangle's inner edges, where the chroma of 4:2:0
    // photos is upsampled without its neighbours outside. Null, with `why` set, when libjpeg fails.
    QImage decode(const QRect& area, std::string& why) const;

    // Encodes `after` (a picture of the rectangle of whole MCUs whose top-left is `at`) with the photo's
    // quantisation tables and sampling, and puts its blocks in place of the photo's in every MCU where
    // `after` differs from `before` (what decode gave for the rectangle). Returns the number of MCUs
    // replaced, or -1 with `why` set when libjpeg fails (the coefficients are then as they were).
    int replace(const QImage& before, const QImage& after, QPoint at, std::string& why);

    // Encodes the coefficients as a JPEG file: the photo's own sampling, quantisation tables, restart
    // interval and JFIF density, progressive when the photo is, arithmetic-coded when the photo is,
    // else with the standard Huffman tables. Returns an empty text, or libjpeg's reason.
    std::string write(QByteArray& out) const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

} // namespace imaging
