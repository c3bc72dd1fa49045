#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace imaging {

// The product keeps its texts as 8-bit strings in UTF-8. Texts that came from elsewhere (templates
// and Exif fields written on Windows) may hold Windows-1252 bytes instead: every byte that does not
// start a valid UTF-8 sequence is read as Windows-1252, so both kinds read right.
QString toQString(std::string_view bytes);

// UTF-16 to the product's 8-bit texts (UTF-8).
std::string toUtf8(const QString& text);

// Reads little-endian UTF-16 from at most byteCount bytes, up to the first NUL character, and
// returns it as UTF-8. An odd last byte is ignored.
std::string utf16LeToUtf8(const std::uint8_t* data, std::size_t byteCount);

// Re-encodes 8-bit text (UTF-8 or Windows-1252 bytes) as valid UTF-8.
std::string normalizeToUtf8(std::string_view bytes);

// Case-insensitive comparison for the ASCII letters of two 8-bit texts.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace imaging
