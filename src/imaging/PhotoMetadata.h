#pragma once

#include <exiv2/exiv2.hpp>

#include <string>

namespace imaging {

// Opens a photo's metadata with Exiv2 and reads it: only JPEG, TIFF, PNG and WebP files, from the
// local file (a path is never taken for a URL), and HEIF and AVIF files by the blocks libheif finds in
// them; only when the file's TIFF structures claim no more than they hold (see TiffClaims). Returns null and
// the reason otherwise. Exiv2's exceptions are left to the caller, which catches them once.
Exiv2::Image::AutoPtr openPhotoMetadata(const std::string& pathUtf8, std::string& problem);

} // namespace imaging
