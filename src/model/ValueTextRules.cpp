#include "model/ValueTextRules.h"

#include "model/FormatText.h"
#include "model/GpsText.h"
#include "model/ValueTextCode.h"

#include "imaging/PropertyBlock.h"

namespace {

// --- names of enumerated codes ------------------------------------------------------------------

constexpr CodeName kOrientations[] = {
    {1, "Normal"},
    {2, "Top row Right col"},
    {3, "Bottom row Right col"},
    {4, "Bottom row Left col"},
    {5, "Left row Top col"},
    {6, "Right row Top col"},
    {7, "Right row Bottom col"},
    {8, "Left row Bottom col"},
};

constexpr CodeName kResolutionUnits[] = {{2, "per inch"}, {3, "per cm"}};

constexpr CodeName kYCbCrPositions[] = {{1, "Centered"}, {2, "Co-sited"}};

constexpr CodeName kExposurePrograms[] = {
    {1, "Manual"},
    {2, "Normal"},
    {3, "Aperture priority"},
    {4, "Shutter priority"},
    {5, "Creative (more depth of field)"},
    {6, "Action program"},
    {7, "Portrait"},
    {8, "Landscape"},
};

// The trailing blank of "Center Weighted Average " is the text users have always seen.
constexpr CodeName kMeteringModes[] = {
    {1, "Average"}, {2, "Center Weighted Average "}, {3, "Spot"}, {4, "Multi Spot"}, {5, "Pattern"},
    {6, "Partial"},
};

constexpr CodeName kLightSources[] = {
    {1, "Daylight"},
    {2, "Fluorescent"},
    {3, "Tungsten (incandescent light)"},
    {4, "Flash"},
    {9, "Fine weather"},
    {10, "Cloudy weather"},
    {11, "Shade"},
    {12, "Daylight fluorescent (D 5700 \u2013 7100K)"},
    {13, "Day white fluorescent (N 4600 \u2013 5400K)"},
    {14, "Cool white fluorescent (W 3900 \u2013 4500K)"},
    {15, "White fluorescent (WW 3200 \u2013 3700K)"},
    {17, "Standard light A"},
    {18, "Standard light B"},
    {19, "Standard light C"},
    {20, "D55"},
    {21, "D65"},
    {22, "D75"},
    {23, "D50"},
    {24, "ISO studio tungsten"},
    {255, "Other light source"},
};

constexpr CodeName kColorSpaces[] = {{0xFFFF, "Uncalibrated"}, {1, "sRGB"}};

constexpr CodeName kSensingMethods[] = {
    {2, "One chip color area sensor"},
    {3, "Two chip color area sensor"},
    {4, "Three chip color area sensor"},
    {5, "Color sequential area sensor"},
    {7, "Trilinear sensor"},
    {8, "Color sequential linear sensor"},
};

constexpr CodeName kFileSources[] = {{3, "Digital Still Camera"}};
constexpr CodeName kSceneTypes[] = {{1, "Directly photographed image"}};
constexpr CodeName kCustomRendered[] = {{0, "Normal process"}, {1, "Custom process"}};
constexpr CodeName kExposureModes[] = {{0, "Auto exposure"}, {1, "Manual exposure"}, {2, "Auto bracket"}};
constexpr CodeName kWhiteBalances[] = {{0, "Auto white balance"}, {1, "Manual white balance"}};
constexpr CodeName kSceneCaptureTypes[] = {
    {0, "Standard"}, {1, "Landscape"}, {2, "Portrait"}, {3, "Night scene"}};
constexpr CodeName kGainControls[] = {
    {0, "None"}, {1, "Low gain up"}, {2, "High gain up"}, {3, "Low gain down"}, {4, "High gain down"},
};
constexpr CodeName kContrastOrSharpness[] = {{0, "Normal"}, {1, "Soft"}, {2, "Hard"}};
constexpr CodeName kSaturations[] = {{0, "Normal"}, {1, "Low saturation"}, {2, "High saturation"}};
constexpr CodeName kSubjectDistanceRanges[] = {{1, "Macro"}};
constexpr CodeName kAltitudeReferences[] = {{0, "Above sea level"}, {1, "Below sea level"}};

// --- kinds of rule --------------------------------------------------------------------------------

using Kind = TextRule::Kind;
using Unknown = TextRule::Unknown;

constexpr TextRule keep() {
    return {};
}

// The name of the code; the number stays for a code without one.
constexpr TextRule named(std::span<const CodeName> names, CodeSource key = CodeSource::First) {
    return {.kind = Kind::Name, .names = names, .key = key};
}

// The name of the code, or `unknown` printed with the code read from `shown`.
constexpr TextRule namedOr(std::span<const CodeName> names, const char* unknown,
                           CodeSource key = CodeSource::First, CodeSource shown = CodeSource::First) {
    return {.kind = Kind::Name,
            .names = names,
            .whenUnknown = Unknown::Print,
            .unknown = unknown,
            .key = key,
            .shown = shown};
}

// The name of the code, or the number followed by `unknown`.
constexpr TextRule namedOrAppended(std::span<const CodeName> names, const char* unknown) {
    return {.kind = Kind::Name, .names = names, .whenUnknown = Unknown::Append, .unknown = unknown};
}

// The number followed by the name of its code, or by `unknown` (nothing when null).
constexpr TextRule appended(std::span<const CodeName> names, const char* unknown = nullptr) {
    return {.kind = Kind::AppendName,
            .names = names,
            .whenUnknown = unknown ? Unknown::Append : Unknown::Keep,
            .unknown = unknown};
}

constexpr TextRule oneDecimal() {
    return {.kind = Kind::OneDecimal};
}

constexpr TextRule code(TextRule::Function function, std::uint32_t reference = TextRule::kNoReference) {
    return {.kind = Kind::Code, .function = function, .reference = reference};
}

// --- the rules, by tag ----------------------------------------------------------------------------

using enum Listing;
using enum CodeSource;

constexpr ValueTextRule kRules[] = {
    {0x0100, AsRead, keep()},
    {0x0101, AsRead, keep()},
    {0x0112, AsRead, named(kOrientations)},
    {0x011a, AsRead, oneDecimal()},
    {0x011b, AsRead, oneDecimal()},
    {0x0128, AsRead, namedOr(kResolutionUnits, "Unknown unit (%d)")},
    {0x0132, Always, keep()},
    {0x0213, AsRead, namedOr(kYCbCrPositions, "Other (code %d)", First, RawS16)},
    {0x8298, AsRead, code(copyrightText)},
    {0x829a, AsRead, code(exposureTimeText)},
    {0x829d, AsRead, oneDecimal()},
    {0x8822, AsRead, named(kExposurePrograms)},
    {0x8827, Always, keep()},
    {0x9000, AsRead, code(versionText)},
    {0x9101, AsRead, code(componentsText)},
    {0x9102, AsRead, oneDecimal()},
    {0x9201, Always, code(shutterSpeedText)},
    {0x9202, Always, code(apertureText)},
    {0x9203, AsRead, code(brightnessText)},
    {0x9204, AsRead, code(exposureBiasText)},
    {0x9205, AsRead, code(apertureText)},
    {0x9206, AsRead, code(subjectDistanceText)},
    {0x9207, AsRead, namedOr(kMeteringModes, "Unknown")},
    {0x9208, AsRead, namedOr(kLightSources, "Unknown (%d)")},
    {0x9209, AsRead, code(flashText)},
    {0x920a, AsRead, oneDecimal()},
    {0x927c, AsRead, code(makerNoteText)},
    {0x9286, Always, code(userCommentText)},
    {0x9c9b, Always, code(windowsXpText)},
    {0x9c9c, Always, code(windowsXpText)},
    {0x9c9d, Always, code(windowsXpText)},
    {0x9c9e, Always, code(windowsXpText)},
    {0x9c9f, Always, code(windowsXpText)},
    {0xa000, AsRead, code(versionText)},
    {0xa001, AsRead, namedOrAppended(kColorSpaces, "Unknown")},
    {0xa20b, AsRead, code(flashEnergyText)},
    {0xa20e, AsRead, oneDecimal()},
    {0xa20f, AsRead, oneDecimal()},
    {0xa210, AsRead, namedOr(kResolutionUnits, "Unknown unit (%d)")},
    {0xa214, AsRead, code(subjectLocationText)},
    {0xa217, AsRead, namedOr(kSensingMethods, "Not defined, code %d", Raw16, RawS16)},
    {0xa300, AsRead, namedOr(kFileSources, "Undefined code %d", FirstByte, FirstByte)},
    {0xa301, AsRead, namedOr(kSceneTypes, "Undefined code %d", FirstByte, FirstByte)},
    {0xa302, AsRead, code(colorFilterPatternText)},
    {0xa401, AsRead, appended(kCustomRendered, "Unknown code")},
    {0xa402, AsRead, appended(kExposureModes, "Unknown code")},
    {0xa403, AsRead, appended(kWhiteBalances, "Unknown code")},
    {0xa406, AsRead, appended(kSceneCaptureTypes, "Unknown code")},
    {0xa407, AsRead, appended(kGainControls, "Unknown code")},
    {0xa408, AsRead, appended(kContrastOrSharpness, "Unknown code")},
    {0xa409, AsRead, appended(kSaturations, "Unknown code")},
    {0xa40a, AsRead, appended(kContrastOrSharpness, "Unknown code")},
    {0xa40b, AsRead, code(deviceSettingsText)},
    {0xa40c, AsRead, appended(kSubjectDistanceRanges)},
    {kTagImagePath, Always, keep()},
    {kTagImageName, Always, keep()},
    {kTagWatermark, Always, keep()},
    // GPS: texts of their own, but never offered by default.
    {0x0001, Never, code(gpsReferenceText)},
    {0x0002, Never, code(gpsLatitudeText, 0x0001)},
    {0x0003, Never, code(gpsReferenceText)},
    {0x0004, Never, code(gpsLongitudeText, 0x0003)},
    {0x0005, Never, namedOr(kAltitudeReferences, "%d", FirstByte, FirstByte)},
    {0x0006, Never, code(gpsAltitudeText, 0x0005)},
    {0x0007, Never, code(gpsTimeText)},
    {0x000c, Never, code(gpsReferenceText)},
    {0x000e, Never, code(gpsReferenceText)},
    {0x0010, Never, code(gpsReferenceText)},
    {0x0013, Never, code(gpsReferenceText)},
    {0x0014, Never, code(gpsLatitudeText, 0x0013)},
    {0x0015, Never, code(gpsReferenceText)},
    {0x0016, Never, code(gpsLongitudeText, 0x0015)},
    {0x0017, Never, code(gpsReferenceText)},
    {0x0019, Never, code(gpsReferenceText)},
};

struct TagRange {
    std::uint32_t first;
    std::uint32_t last;
};

// The thumbnail's tags and the directory pointers (Exif IFD, Gps IFD).
constexpr TagRange kDroppedTags[] = {
    {0x5012, 0x5019}, {0x501b, 0x501b}, {0x5020, 0x503b}, {0x8769, 0x8769}, {0x8825, 0x8825}};

std::int64_t codeFrom(CodeSource source, const ImprintItem& it, const ValueReader& v) {
    switch (source) {
    case CodeSource::First:
        return firstNumber(it, v);
    case CodeSource::Raw16:
        return v.u16(0);
    case CodeSource::RawS16:
        return v.s16(0);
    case CodeSource::FirstByte:
        return v.u8(0);
    }
    return 0;
}

const char* nameOf(std::span<const CodeName> names, std::int64_t code) {
    for (const CodeName& name : names)
        if (name.code == code) return name.name;
    return nullptr;
}

} // namespace

std::int64_t firstNumber(const ImprintItem& it, const ValueReader& v) {
    switch (it.valueType) {
    case imaging::kTypeShort:
        return it.shortValue;
    case imaging::kTypeLong:
        return it.longValue;
    case imaging::kTypeSLong:
        return it.slongValue;
    case imaging::kTypeByte:
    case imaging::kTypeUndefined:
        return v.u8(0);
    default:
        return it.shortValue;
    }
}

const ValueTextRule* findValueTextRule(std::uint32_t tag) {
    for (const ValueTextRule& rule : kRules)
        if (rule.tag == tag) return &rule;
    return nullptr;
}

const ValueTextRule* findRuleReferencing(std::uint32_t referenceTag) {
    for (const ValueTextRule& rule : kRules)
        if (rule.text.reference == referenceTag) return &rule;
    return nullptr;
}

bool isDroppedTag(std::uint32_t tag) {
    for (const TagRange& range : kDroppedTags)
        if (tag >= range.first && tag <= range.last) return true;
    return false;
}

void applyTextRule(const TextRule& rule, ImprintItem& it, const ImprintItem* reference) {
    const ValueReader v(it);
    switch (rule.kind) {
    case Kind::Keep:
        return;
    case Kind::OneDecimal:
        it.valueText = formatText("%.1f", double(it.rationalNum) / it.rationalDen);
        return;
    case Kind::Code:
        rule.function(it, v, reference);
        return;
    case Kind::Name:
    case Kind::AppendName:
        break;
    }
    if (const char* name = nameOf(rule.names, codeFrom(rule.key, it, v))) {
        if (rule.kind == Kind::Name)
            it.valueText = name;
        else
            it.valueText += std::string(" ") + name;
        return;
    }
    switch (rule.whenUnknown) {
    case Unknown::Keep:
        break;
    case Unknown::Print:
        it.valueText = formatText(rule.unknown, static_cast<int>(codeFrom(rule.shown, it, v)));
        break;
    case Unknown::Append:
        it.valueText += std::string(" ") + rule.unknown;
        break;
    }
}
