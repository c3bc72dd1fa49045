#pragma once

#include "imaging/Status.h"

#include <QImage>

#include <string>

namespace imaging {

struct DecodedImage {
    QImage image;
    Status status = Status::GenericError;
    std::string reason; // for the user when status is not Ok, e.g. "file not found"
};

// Which files a decode takes: a photo is one of the formats PhotoContent tells; a border or watermark
// picture may be any format Qt reads too (a GIF, a BMP).
enum class Accept { AnyPicture, PhotosOnly };

// Decodes a picture file by its content, whatever its name: HEIF and AVIF through libheif (see
// HeifFile.h), the others through Qt's image readers. RGB32 for opaque pictures, premultiplied ARGB32
// for pictures with alpha, turned upright by the orientation in the file's metadata. Pictures larger
// than the product's limit are refused from their header, before their pixels are allocated.
DecodedImage decodeImageFile(const std::string& pathUtf8, Accept accept = Accept::AnyPicture);

// A JPEG photo's upright size without decoding its pixels: a picture of that size and RGB32 whose
// pixels are all 0, on memory the system provides only where it is written, for a copy made from the
// photo's own JPEG data. Refuses what decodeImageFile refuses before decoding, and any other format.
DecodedImage undecodedJpegFile(const std::string& pathUtf8);

// The Exif orientation (1 to 8) Qt's reader applies to the JPEG file held in `file`: 1 when it has none.
int jpegOrientation(const QByteArray& file);

// Keeps the pixel memory of up to `pictures` decoded JPEG photos once nothing uses them any more,
// and decodes the next photos of the same size into it. A program that dates photo after photo
// then writes into memory already in place, rather than having the system map and zero some 100 MB
// for every 24-megapixel photo, a third of its time. 0, the default, keeps none.
void keepDecodedPixelsForReuse(int pictures);

} // namespace imaging
