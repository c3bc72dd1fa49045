#pragma once

#include <cstdint>

namespace imaging {

// The largest picture the product decodes or creates, in pixels. A 100-megapixel photo fits with
// room to spare; a header that claims more is refused before anything is allocated.
inline constexpr std::int64_t kMaxPixels = 300'000'000;

// The same limit as Qt's image reader allocation limit, in megabytes of 4-byte pixels.
inline constexpr int kMaxDecodeMegabytes = static_cast<int>(kMaxPixels * 4 / (1024 * 1024)) + 1;

// Longest side of any picture, in pixels: Qt's raster engine works in 32-bit coordinates.
inline constexpr int kMaxSide = 65'000;

inline bool sizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

} // namespace imaging
