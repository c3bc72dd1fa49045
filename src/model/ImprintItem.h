#pragma once

#include "model/ItemExtras.h"

#include <cstdint>
#include <string>
#include <vector>

// Tags of the items the product makes itself.
inline constexpr std::uint32_t kTagImagePath = 0xf701;
inline constexpr std::uint32_t kTagImageName = 0xf702;
inline constexpr std::uint32_t kTagImageStamp = 0xf703;
inline constexpr std::uint32_t kTagWatermark = 0xf704;
inline constexpr std::uint32_t kTagLabel = 0xf705;

// Tags whose values are Exif dates, drawn through the template's date format.
inline constexpr std::uint32_t kTagDateTime = 0x0132;
inline constexpr std::uint32_t kTagDateTimeOriginal = 0x9003;
inline constexpr std::uint32_t kTagDateTimeDigitized = 0x9004;

inline bool isDateTag(std::uint32_t tag) {
    return tag == kTagDateTime || tag == kTagDateTimeOriginal || tag == kTagDateTimeDigitized;
}

// A rectangle of whole pixels: x (or left), y (or top), width, height.
struct ItemRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ItemRect&) const = default;
};

// One imprintable item: what is shown (a property value and its texts) and how it is shown.
// Texts are 8-bit UTF-8 strings. Copies are deep: the value and extra-data blocks are copied too.
struct ImprintItem {
    int visible = 0;
    int listed = 0;
    int anchor = 0;        // 0..7, see the anchor list of the format bar
    int offsetY = 24;      // print points from the anchor's top or bottom side
    int offsetX = 42;      // print points from the anchor's left or right side
    int anchorAngle = 0;   // degrees relative to the anchor's orientation
    int textHeightPt = 12; // print points
    int textWidthPt = 100; // print points
    int textHeightPx = 0;  // work-picture pixels
    int textWidthPx = 0;   // work-picture pixels
    int posX = 72;         // origin in the work picture, pixels
    int posY = 72;
    std::string fontName = "Arial"; // the watermark item keeps its image's file name here
    int fontSize = 12;              // print points; the watermark item keeps its opacity here
    int fontStyle = 400;            // weight, plus kItalicFlag
    int color = 240;                // Windows colour value, red in the low byte
    int reserved1 = 0;
    int angle = 0;     // degrees clockwise about the origin
    int opacity = 255; // alpha of the text colour
    int extraLength = 0;
    std::vector<std::uint8_t> extraData;
    int reserved2 = 0;
    int reserved3 = 0;
    int reserved4 = 0;
    int reserved5 = 0;
    ItemRect bounds;     // rotated text box relative to (posX, posY), work-picture pixels
    ItemRect viewRect;   // view pixels
    ItemRect handleRect; // view pixels
    std::uint32_t tag = 0;
    std::uint32_t valueLength = 0;
    std::uint16_t valueType = 0;
    std::vector<std::uint8_t> value; // the raw property value, valueLength bytes
    std::uint16_t shortValue = 0;
    std::uint32_t longValue = 0;
    std::int32_t slongValue = 0;
    std::uint32_t rationalNum = 0;
    std::uint32_t rationalDen = 1;
    std::int32_t srationalNum = 0;
    std::int32_t srationalDen = 1;
    std::string valueText;
    std::string typeName;
    std::string displayName;
    std::string label;
    std::string unit;

    // Beyond the classic fields (kept in a template file's extension block).
    TextEffects effects;
    DateSources dateSources; // a date item's fallback, in order; empty: its own tag only

    // Working values, never stored: set when the item is placed on a photo.
    int autoColor = -1;       // with effects.autoColor: the text colour chosen for this photo
    std::string resolvedDate; // a date item's date from its sources ("2018:07:25 16:34:23"), or empty
    DateSource resolvedFrom = DateSource::DateTimeOriginal; // the step that gave resolvedDate

    static constexpr int kItalicFlag = 0x10000000;

    bool isItalic() const { return (fontStyle & kItalicFlag) != 0; }
    int weight() const { return fontStyle & ~kItalicFlag; }
};
