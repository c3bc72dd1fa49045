#include "model/GpsText.h"

#include "model/FormatText.h"

#include "imaging/PropertyBlock.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>

namespace {

// A value of up to three rationals that count its unit, 1/60 and 1/3600 of it (degrees, minutes and
// seconds; or hours, minutes and seconds), in 3600ths of the unit. Writers also store degrees with
// decimal minutes, or decimal degrees, and 0 for the rest. A signed value is negative when any part
// is. Nothing when the first part has no denominator or a later one divides a number by zero; a
// later 0/0 is a part left unused.
std::optional<double> sexagesimal(const ImprintItem& it, const ValueReader& v) {
    const bool isSigned = it.valueType == imaging::kTypeSRational;
    if (!isSigned && it.valueType != imaging::kTypeRational) return std::nullopt;
    static constexpr double kWeights[] = {3600.0, 60.0, 1.0};
    const std::size_t parts = std::min<std::size_t>(std::size(kWeights), v.size() / 8);
    if (parts == 0) return std::nullopt;
    double magnitude = 0.0;
    bool negative = false;
    for (std::size_t i = 0; i < parts; ++i) {
        const double num = isSigned ? double(v.s32(8 * i)) : double(v.u32(8 * i));
        const double den = isSigned ? double(v.s32(8 * i + 4)) : double(v.u32(8 * i + 4));
        if (den == 0.0) {
            if (i == 0 || num != 0.0) return std::nullopt;
            continue;
        }
        const double part = num / den;
        negative = negative || part < 0.0;
        magnitude += std::fabs(part) * kWeights[i];
    }
    return negative ? -magnitude : magnitude;
}

// The reference's letter when it is one of `letters`, else 0.
char referenceLetter(const ImprintItem* reference, std::string_view letters) {
    if (reference == nullptr) return 0;
    char c = static_cast<char>(ValueReader(*reference).u8(0));
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return c != 0 && letters.find(c) != std::string_view::npos ? c : 0;
}

void coordinateText(ImprintItem& it, const ValueReader& v, const ImprintItem* reference,
                    std::string_view letters) {
    const std::optional<double> arcSeconds = sexagesimal(it, v);
    if (!arcSeconds) return;
    // Split once the angle is rounded, so 59.999″ carries into the minutes rather than reading 60.00″.
    const long long hundredths = std::llround(std::fabs(*arcSeconds) * 100.0);
    const char letter = referenceLetter(reference, letters);
    std::string text = *arcSeconds < 0.0 && hundredths != 0 && letter == 0 ? "-" : "";
    text += formatText("%lld\u00b0 %lld\u2032 %lld.%02lld\u2033", hundredths / 360000, hundredths / 6000 % 60,
                       hundredths / 100 % 60, hundredths % 100);
    if (letter != 0) text += std::string(" ") + letter;
    it.valueText = text;
}

} // namespace

void gpsLatitudeText(ImprintItem& it, const ValueReader& v, const ImprintItem* reference) {
    coordinateText(it, v, reference, "NS");
}

void gpsLongitudeText(ImprintItem& it, const ValueReader& v, const ImprintItem* reference) {
    coordinateText(it, v, reference, "EW");
}

void gpsAltitudeText(ImprintItem& it, const ValueReader&, const ImprintItem* reference) {
    double metres = 0.0;
    if (it.valueType == imaging::kTypeRational && it.rationalDen != 0)
        metres = double(it.rationalNum) / it.rationalDen;
    else if (it.valueType == imaging::kTypeSRational && it.srationalDen != 0)
        metres = double(it.srationalNum) / it.srationalDen;
    else
        return;
    it.valueText = formatText("%.1f m", metres);
    if (reference != nullptr && ValueReader(*reference).u8(0) == 1) it.valueText += " below sea level";
}

void gpsTimeText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    const std::optional<double> seconds = sexagesimal(it, v);
    if (!seconds || *seconds < 0.0) return;
    const auto whole = static_cast<long long>(*seconds);
    it.valueText = formatText("%02lld:%02lld:%02lld UTC", whole / 3600, whole / 60 % 60, whole % 60);
}

void gpsReferenceText(ImprintItem& it, const ValueReader& v, const ImprintItem*) {
    if (it.valueType != imaging::kTypeByte && it.valueType != imaging::kTypeUndefined) return;
    const auto c = static_cast<char>(v.u8(0));
    if (c > ' ' && c < 0x7f) it.valueText = std::string(1, c);
}
