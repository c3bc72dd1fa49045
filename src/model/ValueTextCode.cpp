#include "model/ValueTextCode.h"

#include "model/FormatText.h"
#include "model/ValueTextRules.h"

#include "imaging/TextCodec.h"

#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

double ratio(double num, double den) {
    return num / den;
}

// The largest number a 32-bit rational can hold, and so the longest and, inverted, the shortest
// exposure a file can state.
constexpr double kLargestRational = 4294967295.0;

std::string commentText(const ValueReader& v) {
    const std::string code = v.cString(0, 8);
    if (imaging::equalsIgnoringCase(code, "ASCII")) return v.cString(8);
    if (imaging::equalsIgnoringCase(code, "UNICODE")) return v.utf16(8);
    if (imaging::equalsIgnoringCase(code, "JIS")) return "JIS text";
    // The undefined code: cameras write 8-bit text after it, UTF-8 or a Windows code page.
    if (v.u8(0) == 0 && v.u8(1) == 0 && v.u8(2) == 0 && v.u8(3) == 0)
        return imaging::normalizeToUtf8(v.cString(8));
    const std::string whole = v.cString(0);
    if (whole.size() > 8) return whole;
    if (whole.size() <= 1) return {};
    const std::string text = v.cString(8);
    return text.size() > 1 ? text : std::string();
}

struct XpTag {
    std::uint32_t tag;
    const char* displayName;
    const char* label;
};

constexpr XpTag kXpTags[] = {
    {0x9c9b, "MS Title", "Title: "},     {0x9c9c, "MS Comments", "Comments: "},
    {0x9c9d, "MS Author", "Author: "},   {0x9c9e, "MS Keywords", "Keywords: "},
    {0x9c9f, "MS Subject", "Subject: "},
};

} // namespace

std::optional<std::string> exposureSecondsText(double seconds) {
    if (!(seconds >= 1.0 / kLargestRational && seconds <= kLargestRational)) return std::nullopt;
    const double tenths = std::floor(seconds * 10.0 + 0.5);
    if (tenths >= 10.0) {
        if (std::fmod(tenths, 10.0) == 0.0) return formatText("%.0f sec", tenths / 10.0);
        return formatText("%.1f sec", tenths / 10.0);
    }
    // Between half a second and one no 1/N is near: 0.6 s is neither 1/1 nor 1/2.
    if (seconds > 0.5) return formatText("%.1f sec", tenths / 10.0);
    return formatText("1/%.0f sec", std::floor(1.0 / seconds + 0.5));
}

void copyrightText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    // Photographer and editor, each ending in its NUL.
    const std::string first = v.cString(0);
    if (first.size() + 1 < it.valueLength) it.valueText = first + ", " + v.cString(first.size() + 1);
}

void exposureTimeText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    if (it.rationalNum == 0 || it.rationalDen == 0) return;
    if (auto text = exposureSecondsText(ratio(it.rationalNum, it.rationalDen))) it.valueText = *text;
}

void versionText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    it.valueText = v.cString(0, 4);
}

void componentsText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    static constexpr const char* kParts[] = {"", "Y ", "Cb ", "Cr ", "R ", "G ", "B "};
    it.valueText.clear();
    for (std::size_t i = 0; i < 3; ++i) {
        const std::uint8_t c = v.u8(i);
        if (c == 0) {
            it.valueText = "Default";
            return;
        }
        if (c < std::size(kParts)) it.valueText += kParts[c];
    }
}

void shutterSpeedText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    // An APEX value v: the shutter is open for 2^-v seconds.
    if (it.srationalDen == 0) return;
    if (auto text = exposureSecondsText(std::pow(2.0, -ratio(it.srationalNum, it.srationalDen))))
        it.valueText = *text;
}

void apertureText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    // An APEX value v: the f-number is 2^(v/2).
    const double fNumber = std::pow(2.0, ratio(it.rationalNum, it.rationalDen) / 2.0);
    it.valueText = formatText("%.1f", std::floor(10.0 * fNumber + 0.5) * 0.1);
}

void brightnessText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    it.valueText =
        formatText("%.2f", std::floor(double(it.srationalNum) * 100.0 / it.srationalDen + 0.5) * 0.01);
}

void exposureBiasText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    it.valueText = formatText("%.2f", ratio(it.srationalNum, it.srationalDen));
}

void subjectDistanceText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    if (it.rationalNum == 0)
        it.valueText = "Distance unknown";
    else if (it.rationalNum == 0xFFFFFFFFu)
        it.valueText = "Infinity";
    else
        it.valueText = formatText("%.2f m", ratio(it.rationalNum, it.rationalDen));
}

void flashText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    const unsigned flash = static_cast<unsigned>(firstNumber(it, v)) & 0xFF;
    std::string text = (flash & 1) ? "Flash fired. " : "No flash. ";
    if ((flash & 6) == 4) text += "Strobe return light not detected. ";
    if ((flash & 6) == 6) text += "Strobe return light detected. ";
    static constexpr const char* kModes[] = {"", "Compulsory flash. ", "Flash off. ", "Auto flash. "};
    text += kModes[(flash >> 3) & 3];
    if (flash & 0x40) text += "Red eye mode. ";
    it.valueText = text;
}

void makerNoteText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    it.valueText = v.cString(0);
}

void userCommentText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    it.valueText = commentText(v);
}

void windowsXpText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    for (const XpTag& xp : kXpTags) {
        if (xp.tag != it.tag) continue;
        it.displayName = xp.displayName;
        it.label = xp.label;
    }
    it.valueText = v.utf16(0);
}

void flashEnergyText(ImprintItem& it, const ValueReader&, const ImprintItem*) {
    it.valueText = formatText("%.2f Beam Candle Power Seconds", ratio(it.rationalNum, it.rationalDen));
}

void subjectLocationText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    it.valueText = formatText("x %d, y %d", v.s16(0), v.s16(2));
}

void colorFilterPatternText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    std::string text = formatText("h %d v %d ", v.s16(0), v.s16(2));
    static constexpr const char* kColours[] = {"R ", "G ", "B ", "C ", "M ", "Y ", "W "};
    for (std::size_t i = 4; i < v.size(); ++i) {
        const std::uint8_t c = v.u8(i);
        text += c < std::size(kColours) ? std::string(kColours[c]) : formatText("%u ", c);
    }
    it.valueText = text;
}

void deviceSettingsText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    const int columns = v.s16(0);
    const int rows = v.s16(2);
    std::string text = formatText("Cols:%d Rows:%d ", columns, rows);
    const std::int64_t count = std::int64_t(columns) * rows;
    std::size_t offset = 4;
    for (std::int64_t i = 0; i < count && offset < v.size(); ++i) {
        text += v.utf16(offset);
        text += " | ";
        offset += v.utf16Bytes(offset) + 2;
    }
    it.valueText = text;
}
