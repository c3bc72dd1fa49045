#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <memory>
#include <string>

namespace imaging {

class RowGate;
struct JpegDecoderState;
struct RowRing;

// Decodes a JPEG photo with libjpeg-turbo straight into 4-byte pixel rows: those of a picture of its
// own, or of a larger picture at the place the photo takes there (white space around it), turned
// upright by its Exif orientation. The pixels, resolution, comments and colour profile are those Qt's
// JPEG reader gives, which first decodes every row into 3 bytes a pixel and then copies it into the
// picture pixel by pixel: a sixth of dating a photo. Grey photos decode to grey RGB, CMYK photos (as
// Photoshop writes them, inverted) to RGB as Qt converts them.
//
// One decoder reads one photo: open() reads its header, decodeInto() its pixels, once.
class JpegDecoder {
public:
    JpegDecoder();
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // Reads the header of a JPEG file, or of JPEG data held in memory. False when libjpeg cannot read
    // it or it has a colour model no picture has (reason() says why, in libjpeg's words).
    bool open(const std::string& pathUtf8);
    bool open(const QByteArray& data);

    // The size of the pixels as stored, and upright (a quarter turn swaps the sides).
    QSize storedSize() const;
    QSize size() const;
    // The Exif orientation (1 to 8) the photo is turned upright by: the first one in its APP1
    // segments, read as Qt's reader reads it; 1 when it has none or a damaged one.
    int orientation() const;

    // Gives the picture the photo's resolution (JFIF density), comments (as texts, "key: value") and
    // colour profile, as Qt's reader does.
    void describe(QImage& image) const;

    // Decodes every pixel, upright, into `target` (RGB32, ARGB32 or ARGB32_Premultiplied) with the
    // photo's top-left at `at`; size() at `at` must lie inside the target. Damaged picture data decodes
    // as libjpeg makes it out (warning() says what was damaged); false when libjpeg gives up (reason()).
    // With `rows`, the target's rows are made known as they are finished (top to bottom, for upright
    // and mirrored photos; the others all at once at the end); on failure `rows` is left as it is. A
    // gate abandoned meanwhile stops the decoding (false). With a ring as well, it is settled as soon as
    // the gate is armed (at the end, at the latest), and the target's rows it streams are written into
    // its slots in turn, each once the gate's reader consumed the row a turn before, and never into the
    // target: for a photo decoded top down at (0, 0) only.
    bool decodeInto(QImage& target, QPoint at, RowGate* rows = nullptr, RowRing* ring = nullptr);
    // True when the rows are decoded top down, as they lie upright (orientations 1 and 2).
    bool decodesTopDown() const;

    const std::string& reason() const;
    // True when libjpeg gave up for want of memory.
    bool ranOutOfMemory() const;
    // libjpeg's first warning about damaged picture data; empty when there was none.
    const std::string& warning() const;

private:
    std::unique_ptr<JpegDecoderState> d_;
};

} // namespace imaging
