// Turning one property record into an item: names from the catalogue, the value's text by the
// rules of its tag, and whether the item is offered in the item list by default.

#include "model/DatedPicture.h"
#include "model/TagCatalogue.h"
#include "model/ValueReader.h"

#include "imaging/TextCodec.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string format(const char* fmt, ...) {
    char buffer[256];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    if (n < 0) return {};
    return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

bool isDiscarded(std::uint32_t tag) {
    return (tag >= 0x5012 && tag <= 0x5019) || tag == 0x501b || (tag >= 0x5020 && tag <= 0x503b) ||
           tag == 0x8769 || tag == 0x8825;
}

bool alwaysListed(std::uint32_t tag) {
    switch (tag) {
    case 0x0132: case 0x8827: case 0x9201: case 0x9202: case 0x9286:
    case 0x9c9b: case 0x9c9c: case 0x9c9d: case 0x9c9e: case 0x9c9f:
    case kTagImagePath: case kTagImageName: case kTagWatermark:
        return true;
    default:
        return false;
    }
}

// The first number of the value as step 5 read it, whatever its type.
std::int64_t firstNumber(const ImprintItem& it, const ValueReader& v) {
    switch (it.valueType) {
    case 3: return it.shortValue;
    case 4: return it.longValue;
    case 9: return it.slongValue;
    case 1: case 7: return v.u8(0);
    default: return it.shortValue;
    }
}

double ratio(double num, double den) {
    return num / den;
}

const char* lightSourceName(std::int64_t code) {
    switch (code) {
    case 1: return "Daylight";
    case 2: return "Fluorescent";
    case 3: return "Tungsten (incandescent light)";
    case 4: return "Flash";
    case 9: return "Fine weather";
    case 10: return "Cloudy weather";
    case 11: return "Shade";
    case 12: return "Daylight fluorescent (D 5700 \u2013 7100K)";
    case 13: return "Day white fluorescent (N 4600 \u2013 5400K)";
    case 14: return "Cool white fluorescent (W 3900 \u2013 4500K)";
    case 15: return "White fluorescent (WW 3200 \u2013 3700K)";
    case 17: return "Standard light A";
    case 18: return "Standard light B";
    case 19: return "Standard light C";
    case 20: return "D55";
    case 21: return "D65";
    case 22: return "D75";
    case 23: return "D50";
    case 24: return "ISO studio tungsten";
    case 255: return "Other light source";
    default: return nullptr;
    }
}

std::string flashText(std::int64_t value) {
    const unsigned flash = static_cast<unsigned>(value) & 0xFF;
    std::string text = (flash & 1) ? "Flash fired. " : "No flash. ";
    switch (flash & 6) {
    case 4: text += "Strobe return light not detected. "; break;
    case 6: text += "Strobe return light detected. "; break;
    }
    switch (flash & 0x18) {
    case 8: text += "Compulsory flash. "; break;
    case 16: text += "Flash off. "; break;
    case 24: text += "Auto flash. "; break;
    }
    if (flash & 0x40) text += "Red eye mode. ";
    return text;
}

std::string userCommentText(const ValueReader& v) {
    const std::string code = v.cString(0, 8);
    if (imaging::equalsIgnoringCase(code, "ASCII")) return v.cString(8);
    const bool zeroCode = v.u8(0) == 0 && v.u8(1) == 0 && v.u8(2) == 0 && v.u8(3) == 0;
    if (imaging::equalsIgnoringCase(code, "UNICODE") ||
        (!imaging::equalsIgnoringCase(code, "JIS") && zeroCode))
        return v.utf16(8);
    if (imaging::equalsIgnoringCase(code, "JIS")) return "JIS text";
    const std::string whole = v.cString(0);
    if (whole.size() > 8) return whole;
    if (whole.size() <= 1) return {};
    const std::string text = v.cString(8);
    return text.size() > 1 ? text : std::string();
}

std::string deviceSettingsText(const ValueReader& v) {
    const int columns = v.s16(0);
    const int rows = v.s16(2);
    std::string text = format("Cols:%d Rows:%d ", columns, rows);
    const std::int64_t count = std::int64_t(columns) * rows;
    std::size_t offset = 4;
    for (std::int64_t i = 0; i < count && offset < v.size(); ++i) {
        text += v.utf16(offset);
        text += " | ";
        offset += v.utf16Bytes(offset) + 2;
    }
    return text;
}

std::string colorFilterPatternText(const ValueReader& v) {
    std::string text = format("h %d v %d ", v.s16(0), v.s16(2));
    static constexpr const char* kColours[] = {"R ", "G ", "B ", "C ", "M ", "Y ", "W "};
    for (std::size_t i = 4; i < v.size(); ++i) {
        const std::uint8_t c = v.u8(i);
        text += c < std::size(kColours) ? std::string(kColours[c]) : format("%u ", c);
    }
    return text;
}

// Appends the name of a code from a short list, or " Unknown code".
void appendCode(std::string& text, std::int64_t code, std::initializer_list<const char*> names) {
    if (code >= 0 && code < static_cast<std::int64_t>(names.size())) text += names.begin()[code];
    else text += " Unknown code";
}

struct XpTag {
    std::uint32_t tag;
    const char* displayName;
    const char* label;
};

constexpr XpTag kXpTags[] = {
    {0x9c9b, "MS Title", "Title: "},       {0x9c9c, "MS Comments", "Comments: "},
    {0x9c9d, "MS Author", "Author: "},     {0x9c9e, "MS Keywords", "Keywords: "},
    {0x9c9f, "MS Subject", "Subject: "},
};

// Applies the text rule of the item's tag. Returns false for tags without a rule.
bool applyTextRule(ImprintItem& it, const ValueReader& v) {
    std::string& text = it.valueText;
    const std::int64_t n = firstNumber(it, v);
    switch (it.tag) {
    case 0x0100: case 0x0101: case 0x8827:
        return true;
    case 0x0112: {
        static constexpr const char* kNames[] = {"Normal", "Top row Right col", "Bottom row Right col",
                                                 "Bottom row Left col", "Left row Top col", "Right row Top col",
                                                 "Right row Bottom col", "Left row Bottom col"};
        if (n >= 1 && n <= 8) text = kNames[n - 1];
        return true;
    }
    case 0x011a: case 0x011b: case 0x829d: case 0x9102: case 0x9205: case 0x920a: case 0xa20e: case 0xa20f:
        text = format("%.1f", ratio(it.rationalNum, it.rationalDen));
        return true;
    case 0x0128: case 0xa210:
        text = n == 2 ? "per inch" : n == 3 ? "per cm" : format("Unknown unit (%d)", static_cast<int>(n));
        return true;
    case 0x0213:
        text = n == 1 ? "Centered" : n == 2 ? "Co-sited" : format("Other (code %d)", v.s16(0));
        return true;
    case 0x8298: {
        const std::string first = v.cString(0);
        if (first.size() + 1 < it.valueLength) text = first + ", " + v.cString(first.size() + 1);
        return true;
    }
    case 0x829a:
        if (it.rationalNum == 10) text = format("%u/%u sec", 1u, it.rationalDen / 10);
        return true;
    case 0x8822: {
        static constexpr const char* kNames[] = {"Manual", "Normal", "Aperture priority", "Shutter priority",
                                                 "Creative (more depth of field)", "Action program", "Portrait",
                                                 "Landscape"};
        if (n >= 1 && n <= 8) text = kNames[n - 1];
        return true;
    }
    case 0x9000: case 0xa000:
        text = v.cString(0, 4);
        return true;
    case 0x9101: {
        text.clear();
        static constexpr const char* kParts[] = {"", "Y ", "Cb ", "Cr ", "R ", "G ", "B "};
        for (std::size_t i = 0; i < 3; ++i) {
            const std::uint8_t c = v.u8(i);
            if (c == 0) {
                text = "Default";
                break;
            }
            if (c < std::size(kParts)) text += kParts[c];
        }
        return true;
    }
    case 0x9201:
        text = format("1/%.0f", std::floor(std::pow(2.0, ratio(it.srationalNum, it.srationalDen)) + 0.5));
        return true;
    case 0x9202:
        text = format("%.1f",
                      std::floor(10.0 * std::pow(2.0, ratio(it.rationalNum, it.rationalDen) / 2.0) + 0.5) * 0.1);
        return true;
    case 0x9203:
        text = format("%.2f", std::floor(double(it.srationalNum) * 100.0 / it.srationalDen + 0.5) * 0.01);
        return true;
    case 0x9204:
        text = format("%.2f", ratio(it.srationalNum, it.srationalDen));
        return true;
    case 0x9206:
        if (it.rationalNum == 0) text = "Distance unknown";
        else if (it.rationalNum == 0xFFFFFFFFu) text = "Infinity";
        else text = format("%.2f m", ratio(it.rationalNum, it.rationalDen));
        return true;
    case 0x9207: {
        static constexpr const char* kNames[] = {"Average", "Center Weighted Average ", "Spot", "Multi Spot",
                                                 "Pattern", "Partial"};
        text = (n >= 1 && n <= 6) ? kNames[n - 1] : "Unknown";
        return true;
    }
    case 0x9208: {
        const char* name = lightSourceName(n);
        text = name ? name : format("Unknown (%d)", static_cast<int>(n));
        return true;
    }
    case 0x9209:
        text = flashText(n);
        return true;
    case 0x927c:
        text = v.cString(0);
        return true;
    case 0x9286:
        text = userCommentText(v);
        return true;
    case 0x9c9b: case 0x9c9c: case 0x9c9d: case 0x9c9e: case 0x9c9f:
        for (const XpTag& xp : kXpTags) {
            if (xp.tag != it.tag) continue;
            it.displayName = xp.displayName;
            it.label = xp.label;
        }
        text = v.utf16(0);
        return true;
    case 0xa001:
        if (n == 0xFFFF) text = "Uncalibrated";
        else if (n == 1) text = "sRGB";
        else text += " Unknown";
        return true;
    case 0xa20b:
        text = format("%.2f Beam Candle Power Seconds", ratio(it.rationalNum, it.rationalDen));
        return true;
    case 0xa214:
        text = format("x %d, y %d", v.s16(0), v.s16(2));
        return true;
    case 0xa217: {
        const std::uint16_t code = v.u16(0);
        static constexpr const char* kNames[] = {nullptr, nullptr, "One chip color area sensor",
                                                 "Two chip color area sensor", "Three chip color area sensor",
                                                 "Color sequential area sensor", nullptr, "Trilinear sensor",
                                                 "Color sequential linear sensor"};
        text = (code < std::size(kNames) && kNames[code]) ? kNames[code] : format("Not defined, code %d", v.s16(0));
        return true;
    }
    case 0xa300:
        text = v.u8(0) == 3 ? "Digital Still Camera" : format("Undefined code %d", v.u8(0));
        return true;
    case 0xa301:
        text = v.u8(0) == 1 ? "Directly photographed image" : format("Undefined code %d", v.u8(0));
        return true;
    case 0xa302:
        text = colorFilterPatternText(v);
        return true;
    case 0xa401: appendCode(text, n, {" Normal process", " Custom process"}); return true;
    case 0xa402: appendCode(text, n, {" Auto exposure", " Manual exposure", " Auto bracket"}); return true;
    case 0xa403: appendCode(text, n, {" Auto white balance", " Manual white balance"}); return true;
    case 0xa406: appendCode(text, n, {" Standard", " Landscape", " Portrait", " Night scene"}); return true;
    case 0xa407:
        appendCode(text, n, {" None", " Low gain up", " High gain up", " Low gain down", " High gain down"});
        return true;
    case 0xa408: case 0xa40a: appendCode(text, n, {" Normal", " Soft", " Hard"}); return true;
    case 0xa409: appendCode(text, n, {" Normal", " Low saturation", " High saturation"}); return true;
    case 0xa40b:
        text = deviceSettingsText(v);
        return true;
    case 0xa40c:
        if (n == 1) text += " Macro";
        return true;
    default:
        return false;
    }
}

// Step 5: the first value in the field of its type, and the plain text of it.
void readFirstValue(ImprintItem& it, const ValueReader& v) {
    // A reused slot must not show the numbers of its earlier occupant.
    it.shortValue = 0;
    it.longValue = 0;
    it.slongValue = 0;
    it.rationalNum = 0;
    it.rationalDen = 1;
    it.srationalNum = 0;
    it.srationalDen = 1;
    switch (it.valueType) {
    case 2:
        it.listed = 1;
        it.valueText = v.cString(0);
        break;
    case 3:
        it.shortValue = v.u16(0);
        it.valueText = format("%u", it.shortValue);
        break;
    case 4:
        it.longValue = v.u32(0);
        it.valueText = format("%u", it.longValue);
        break;
    case 9:
        it.slongValue = v.s32(0);
        it.valueText = format("%d", it.slongValue);
        break;
    case 5:
        // A pair cut short reads as 0 as a whole, not as a numerator over 0.
        if (v.size() >= 8) {
            it.rationalNum = v.u32(0);
            it.rationalDen = v.u32(4);
        }
        it.valueText = format("%u/%u", it.rationalNum, it.rationalDen);
        break;
    case 10:
        if (v.size() >= 8) {
            it.srationalNum = v.s32(0);
            it.srationalDen = v.s32(4);
        }
        it.valueText = format("%d/%d", it.srationalNum, it.srationalDen);
        break;
    default:
        it.valueText.clear();
        break;
    }
}

} // namespace

int CDatedPicture::AddItemFromProperty(const imaging::PropertyItem& property) {
    if (AddPropertyItem(property) == 0) return 1;
    ImprintItem& it = items[static_cast<std::size_t>(itemCount - 1)];
    it.visible = 0;
    it.listed = 0;
    it.typeName = propertyTypeName(it.valueType);
    if (const TagRow* row = findTag(it.tag)) {
        it.displayName = row->displayName;
        if (row->shortLabel[0] != '\0') it.label = std::string(row->shortLabel) + ": ";
    } else {
        it.displayName = format("Special %d)", static_cast<int>(it.tag));
        it.label.clear();
    }

    const ValueReader reader(it);
    readFirstValue(it, reader);

    if (isDiscarded(it.tag)) {
        DropLastItem();
        return 1;
    }
    const bool hasRule = applyTextRule(it, reader);
    if (alwaysListed(it.tag)) it.listed = 1;
    else if (!hasRule) it.listed = 0;
    return 0;
}
