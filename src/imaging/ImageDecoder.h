#pragma once

#include "imaging/PixelMemory.h"
#include "imaging/Status.h"

#include <QImage>
#include <QPoint>

#include <memory>
#include <string>

namespace imaging {

class JpegDecoder;
class RowGate;
struct RowRing;

struct DecodedImage {
    QImage image;
    Status status = Status::GenericError;
    std::string reason; // for the user when status is not Ok, e.g. "file not found"
};

// Which files a decode takes: a photo is one of the formats PhotoContent tells; a border or watermark
// picture may be any format Qt reads too (a GIF, a BMP).
enum class Accept { AnyPicture, PhotosOnly };

// Decodes a picture file by its content, whatever its name: JPEG through JpegDecoder, HEIF and AVIF
// through libheif (see HeifFile.h), the others through Qt's image reader of that content only. RGB32
// for opaque pictures, premultiplied ARGB32 for pictures with alpha, turned upright by the orientation
// in the file's metadata. Pictures larger than the product's limit are refused from their header,
// before their pixels are allocated.
DecodedImage decodeImageFile(const std::string& pathUtf8, Accept accept = Accept::AnyPicture);

// A JPEG photo opened for decoding into a picture of the caller's (a larger one, with white space):
// the checks decodeImageFile makes before decoding are made, and its header is read. Null, with
// `refused` saying why, when decodeImageFile would refuse it or it is no JPEG photo.
std::unique_ptr<JpegDecoder> openJpegPhoto(const std::string& pathUtf8, DecodedImage& refused);

// Decodes the opened photo into `target` at `at` (see JpegDecoder::decodeInto); the result's status and
// reason are those decodeImageFile gives, its image is left null.
DecodedImage decodeJpegInto(JpegDecoder& decoder, QImage& target, QPoint at, RowGate* rows = nullptr,
                            RowRing* ring = nullptr);

// A JPEG photo's upright size without decoding its pixels: a picture of that size and RGB32 whose
// pixels are all 0, on memory the system provides only where it is written, for a copy made from the
// photo's own JPEG data. Refuses what decodeImageFile refuses before decoding, and any other format.
// With `opened`, the photo's decoder, its header read, is handed over for decoding it later.
DecodedImage undecodedJpegFile(const std::string& pathUtf8, std::unique_ptr<JpegDecoder>* opened = nullptr);

// The Exif orientation (1 to 8) Qt's reader applies to the JPEG file held in `file`: 1 when it has none.
int jpegOrientation(const QByteArray& file);

} // namespace imaging
