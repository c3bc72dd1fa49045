#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>

namespace imaging {

// What the TIFF structures of a photo claim: a TIFF file is one, a JPEG's Exif segments, a PNG's
// eXIf chunks and a WebP's EXIF chunk hold one each. The metadata readers (Exiv2, and libtiff under Qt's TIFF
// decoder) copy every tag value of the directories they visit, so a structure whose entries all point at one
// large stretch of bytes makes a small file need gigabytes; no writer shares bytes that way.
struct TiffClaims {
    bool tiffFile = false;        // the file itself is a TIFF (classic or BigTIFF)
    std::uint64_t heldBytes = 0;  // bytes of the structures
    std::uint64_t valueBytes = 0; // bytes their tag values claim outside the entries, inside the structures
    bool tooManyNested = false;   // maker notes point at more directories than were counted

    // True when the values claim far more than the structures hold.
    bool excessive() const;
    // For the user: what the file claims, when it is excessive.
    std::string refusal() const;
};

// Walks the TIFF structures of a file: the first directory, the directories chained after it and the
// Exif, GPS, interoperability and sub-image directories they point at, each once, at most 64 in all,
// and the maker notes' directories.
// Values lying beyond their structure are left out, as the readers skip them. A file that cannot be
// read or has no TIFF structure claims nothing.
TiffClaims tiffClaims(const std::string& pathUtf8);

// The same for one TIFF structure in memory: the Exif block of a HEIF or AVIF file.
TiffClaims tiffClaimsOfStructure(const QByteArray& tiff);

} // namespace imaging
