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

// Decodes a picture file through Qt's image readers: RGB32 for opaque pictures, premultiplied ARGB32
// for pictures with alpha, turned upright by the orientation in the file's metadata. Pictures larger
// than the product's limit are refused from their header, before their pixels are allocated.
DecodedImage decodeImageFile(const std::string& pathUtf8);

} // namespace imaging
