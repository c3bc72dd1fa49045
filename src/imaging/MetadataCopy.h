#pragma once

#include <QByteArray>

#include <string>

namespace imaging {

// Carries the Exif, XMP and IPTC metadata and the colour profile of a source photo into an encoded
// JPEG held in memory; a JPEG profile of the source's own replaces any other, and a source without
// a profile gives a JPEG without one.
// The JPEG's pixels are upright and may have another size, so the orientation becomes 1, the pixel
// dimensions are those of the JPEG, and the source's thumbnail and picture-structure tags are left
// behind. Returns false, leaving the JPEG as it was, when the metadata cannot be read or written;
// `problem` then says why.
bool copyMetadataInto(QByteArray& jpeg, int width, int height, const std::string& sourcePathUtf8,
                      std::string* problem = nullptr);

} // namespace imaging
