// Where a date item finds its date: its own tag, then the sources it names, in their order.

#include "model/DateSources.h"
#include "model/DatedPicture.h"

namespace {

constexpr std::uint32_t kTagOffsetTime = 0x9010;
constexpr std::uint32_t kTagOffsetTimeOriginal = 0x9011;
constexpr std::uint32_t kTagOffsetTimeDigitized = 0x9012;
constexpr std::uint32_t kTagGpsTimeStamp = 0x0007;
constexpr std::uint32_t kTagGpsDateStamp = 0x001d;

std::optional<DateSource> sourceOfTag(std::uint32_t tag) {
    switch (tag) {
    case kTagDateTimeOriginal:
        return DateSource::DateTimeOriginal;
    case kTagDateTimeDigitized:
        return DateSource::DateTimeDigitized;
    case kTagDateTime:
        return DateSource::DateTime;
    default:
        return std::nullopt;
    }
}

std::uint32_t tagOfSource(DateSource source) {
    switch (source) {
    case DateSource::DateTimeOriginal:
        return kTagDateTimeOriginal;
    case DateSource::DateTimeDigitized:
        return kTagDateTimeDigitized;
    case DateSource::DateTime:
        return kTagDateTime;
    default:
        return 0;
    }
}

} // namespace

std::string CDatedPicture::DateFrom(DateSource source) const {
    const auto textOf = [this](std::uint32_t tag) -> std::string {
        for (int i = 0; i < itemCount; ++i)
            if (item(i).tag == tag) return item(i).valueText;
        return {};
    };
    switch (source) {
    case DateSource::DateTimeOriginal:
    case DateSource::DateTimeDigitized:
    case DateSource::DateTime:
        return textOf(tagOfSource(source));
    case DateSource::GpsDateTime: {
        // "2018:07:25" and the time's text, "16:34:23 UTC".
        const std::string day = textOf(kTagGpsDateStamp), time = textOf(kTagGpsTimeStamp);
        if (day.size() != 10 || time.size() < 8) return {};
        return day + " " + time.substr(0, 8);
    }
    case DateSource::FileName:
        return DateInFileName(textOf(kTagImageName));
    case DateSource::FileTime:
        return fileTime;
    }
    return {};
}

void CDatedPicture::ResolveDate(ImprintItem& it) const {
    it.resolvedDate.clear();
    if (!isDateTag(it.tag) || it.dateSources.empty() || IsShowableDate(it.valueText)) return;
    const std::optional<DateSource> own = sourceOfTag(it.tag);
    for (const DateSource source : it.dateSources) {
        if (source == own) continue; // its own value was no date
        std::string date = DateFrom(source);
        if (!IsShowableDate(date)) continue;
        it.resolvedDate = std::move(date);
        it.resolvedFrom = source;
        return;
    }
}

const std::string& CDatedPicture::DateTextOf(const ImprintItem& it) {
    return it.resolvedDate.empty() ? it.valueText : it.resolvedDate;
}

DateShowing CDatedPicture::ShowingOf(const ImprintItem& it) const {
    DateShowing showing;
    showing.shiftSeconds = clockShiftSeconds;
    showing.localeNames = localeNames != 0;
    const std::optional<DateSource> source = it.resolvedDate.empty() ? sourceOfTag(it.tag) : it.resolvedFrom;
    const auto offsetTag = [](DateSource s) -> std::uint32_t {
        switch (s) {
        case DateSource::DateTimeOriginal:
            return kTagOffsetTimeOriginal;
        case DateSource::DateTimeDigitized:
            return kTagOffsetTimeDigitized;
        case DateSource::DateTime:
            return kTagOffsetTime;
        default:
            return 0;
        }
    };
    if (!source) return showing;
    if (*source == DateSource::GpsDateTime) {
        showing.zone = "+00:00";
    } else if (*source == DateSource::FileTime) {
        showing.zone = fileTimeZone;
    } else if (const std::uint32_t tag = offsetTag(*source)) {
        for (int i = 0; i < itemCount; ++i)
            if (item(i).tag == tag) {
                showing.zone = item(i).valueText;
                break;
            }
    }
    return showing;
}
