#pragma once

#include "imaging/ImageDecoder.h"

#include <QByteArray>

#include <string>

namespace imaging {

// Decodes the primary image of a HEIF or AVIF file through libheif, turned and mirrored as the file's
// transformations (irot, imir) say: the picture is then upright, and the orientation in its Exif is
// not applied again, as the format has the transformations take its place. RGB32, or premultiplied
// ARGB32 for a picture with alpha; a picture over the product's limits is refused before it is decoded.
DecodedImage decodeHeifFile(const std::string& pathUtf8);

// The metadata of a HEIF or AVIF file's primary image, as libheif finds it.
struct HeifMetadata {
    QByteArray exif;     // the TIFF structure of its Exif block (what follows "Exif\0\0" in a JPEG), or empty
    QByteArray xmp;      // its XMP packet, or empty
    QByteArray icc;      // its ICC colour profile, or empty
    std::string problem; // why the file or a block cannot be read; empty when all of it was read
};

HeifMetadata readHeifMetadata(const std::string& pathUtf8);

} // namespace imaging
