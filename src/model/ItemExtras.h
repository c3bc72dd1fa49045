#pragma once

#include <cstdint>
#include <vector>

// What an item has beyond the classic template fields: effects that keep its text readable on any
// photo, and where a date item finds its date. Template files keep them in their extension block;
// every default here draws and dates exactly as an item without them.

// Outline, shadow and background box of an item's text. Sizes are print points, like font sizes;
// colours are Windows colour values (red in the low byte).
struct TextEffects {
    bool outline = false;
    int outlineColor = 0x000000;
    float outlineWidthPt = 0.75f; // the outline's width outside the glyphs

    bool shadow = false;
    int shadowColor = 0x000000;
    float shadowOffsetPt = 1.0f;   // down and to the right, in the text's own direction
    float shadowSoftnessPt = 1.0f; // blur radius; 0 for a sharp shadow

    bool box = false;
    int boxColor = 0x000000;
    int boxOpacity = 128; // 0..255
    float boxPaddingPt = 2.0f;
    bool boxRounded = false;

    // The text in white or black (its outline in the other), whichever stands out more from the photo
    // under it; decided for each photo when the item is placed.
    bool autoColor = false;

    bool any() const { return outline || shadow || box || autoColor; }
    bool operator==(const TextEffects&) const = default;
};

// The two colours an automatic colour chooses between.
inline constexpr int kAutoWhite = 0xFFFFFF;
inline constexpr int kAutoBlack = 0x000000;

// One place a date item may take its date from. The stored form is the number.
enum class DateSource : std::uint8_t {
    DateTimeOriginal = 1,
    DateTimeDigitized = 2,
    DateTime = 3,
    GpsDateTime = 4, // GPS date stamp and time stamp, UTC
    FileName = 5,    // IMG_20180725_163423, 2018-07-25 16.34.23, WhatsApp Image 2023-01-01 at 12.00.00 ...
    FileTime = 6,    // the file's modification time
};
inline constexpr int kDateSourceCount = 6;

// The steps a date item tries in order; empty is its own tag only, as classic templates date.
using DateSources = std::vector<DateSource>;
