#pragma once

#include "imaging/PropertyBlock.h"

#include <string>

namespace imaging {

// Limits that keep hostile metadata from exhausting memory; what lies beyond them is left out.
inline constexpr std::size_t kMaxPropertyCount = 4096;
inline constexpr std::uint32_t kMaxPropertyValueBytes = 16u << 20;
inline constexpr std::size_t kMaxPropertyBlockBytes = 64u << 20;

// Reads the property items of a JPEG, TIFF, PNG, WebP, HEIF or AVIF file: the tags of the main image
// directory, the Exif and GPS directories by their ids, the thumbnail directory under the 0x50xx thumbnail
// ids, and for PNG files the chunks that have a tag (tIME, tEXt, gAMA, cHRM, pHYs, sRGB, iCCP). Metadata that
// cannot be read gives an empty block; `problem`, when given, then says why.
PropertyBlock readProperties(const std::string& pathUtf8, std::string* problem = nullptr);

} // namespace imaging
