#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace imaging {

// What a photo file holds, told by its first bytes rather than by its name.
enum class PhotoContent { None, Jpeg, Tiff, Png, WebP, Heif, Avif };

// How many first bytes photoContentOf looks at.
inline constexpr std::size_t kContentHeadBytes = 64;

// The refusal of a file that holds none of them.
inline constexpr const char* kNotAPicture =
    "not a picture: its content is none of JPEG, TIFF, PNG, WebP, HEIF or AVIF";

// JPEG by its start-of-image marker, TIFF (and BigTIFF) by "II*\0" or "MM\0*", PNG by its signature,
// WebP by "RIFF....WEBP", HEIF and AVIF by the brands of their leading ISO-BMFF "ftyp" box: AVIF when
// its major brand is avif or avis, or a general one (mif1, msf1) lists avif; HEIF for the HEVC brands
// and for the general ones otherwise.
PhotoContent photoContentOf(const std::uint8_t* head, std::size_t size);

// The same for a file's first bytes; None when the file cannot be read.
PhotoContent photoContentOf(const std::string& pathUtf8);

// "JPEG", "TIFF", "PNG", "WebP", "HEIF", "AVIF"; empty for None.
const char* contentName(PhotoContent content);

} // namespace imaging
