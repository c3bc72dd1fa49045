#pragma once

#include <QByteArray>

#include <string>

namespace imaging {

// What became of a photo's metadata in its copy.
struct MetadataCopy {
    // Why none of it could be written into the copy, for the user; empty when it was written, or when
    // the photo has none to give.
    std::string failure;
    // What the copy lacks although the photo has it, and why (an XMP packet larger than a JPEG
    // segment holds, metadata too damaged to read); empty when nothing is missing.
    std::string leftOut;
};

// Carries the Exif, XMP and IPTC metadata and the colour profile of a source photo into an encoded
// JPEG held in memory: the copy gets exactly the photo's profile, or none when it has none. The
// JPEG's pixels are upright and may have another size, so the orientation becomes 1, the pixel
// dimensions are those of the JPEG, and the source's thumbnail and picture-structure tags are left
// behind. When nothing can be written the JPEG stays as it was.
MetadataCopy copyMetadataInto(QByteArray& jpeg, int width, int height, const std::string& sourcePathUtf8);

} // namespace imaging
