#include "model/DateFormat.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <locale.h>
#include <string>

namespace {

// Takes the text up to the first separator and moves past it. Without a separator, or with nothing
// left, the field is empty and the rest stays whole for the next field.
std::string takeField(std::string& rest, char separator) {
    if (rest.empty()) return {};
    const auto at = rest.find(separator);
    if (at == std::string::npos) return {};
    std::string field = rest.substr(0, at);
    rest.erase(0, at + 1);
    return field;
}

// Reads a field like the C library's atoi (leading blanks, a sign, the digits up to the first other
// character, nothing gives 0), but keeps within the int range where atoi's result is undefined.
long long readField(const std::string& field) {
    const long long v = std::strtoll(field.c_str(), nullptr, 10);
    return std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

long long floorMod(long long a, long long b) {
    return a - floorDiv(a, b) * b;
}

// Days since 1970-01-01 of the first day of a month in the proleptic Gregorian calendar, and back
// (the civil-date algorithms of H. Hinnant, exact for every year the int64 range allows).
long long daysFromCivil(long long year, int month) {
    year -= month <= 2;
    const long long era = floorDiv(year, 400);
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    long long year;
    int month;
    int day;
};

CivilDate civilFromDays(long long days) {
    days += 719468;
    const long long era = floorDiv(days, 146097);
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return CivilDate{yoe + era * 400 + (month <= 2), month, day};
}

// "+02:00", "-0530" or "Z" as strftime's "%z" writes an offset ("+0200"); empty for anything else.
std::string zoneText(const std::string& offset) {
    if (offset == "Z") return "+0000";
    if (offset.size() != 6 && offset.size() != 5) return {};
    if (offset[0] != '+' && offset[0] != '-') return {};
    std::string digits;
    for (std::size_t i = 1; i < offset.size(); ++i) {
        if (offset[i] >= '0' && offset[i] <= '9')
            digits += offset[i];
        else if (offset[i] != ':' || i != 3)
            return {};
    }
    if (digits.size() != 4 || digits.substr(0, 2) > "23" || digits.substr(2) > "59") return {};
    return offset[0] + digits;
}

// An Exif date names no time zone: "%z" gives the offset the photo names beside it or nothing, "%Z"
// nothing, as for a zone that is not known, and "%s" counts the seconds of the clock time as if it
// were UTC. strftime would take all three from the machine's zone.
std::string withoutZone(const std::string& format, long long secondsSinceEpoch, const std::string& zone) {
    std::string out;
    out.reserve(format.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        // glibc's flags and width may stand between the percent sign and the conversion.
        std::size_t j = i + 1;
        while (j < format.size() && std::strchr("_-0^#", format[j]) != nullptr)
            ++j;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9')
            ++j;
        if (j < format.size() && format[j] == 'z') {
            out += zone;
            i = j;
        } else if (j < format.size() && format[j] == 'Z') {
            i = j;
        } else if (j < format.size() && format[j] == 's') {
            out += std::to_string(secondsSinceEpoch);
            i = j;
        } else {
            out.append(format, i, j - i + 1);
            i = j;
        }
    }
    return out;
}

// Text that strftime copies as it is.
std::string literal(const QString& text) {
    std::string out;
    for (const char c : text.toStdString()) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

// The names and date forms of the desktop's language written into the format as literal text, so
// that strftime only fills in numbers.
std::string withDesktopNames(const std::string& format, const std::tm& tm) {
    const QLocale locale;
    const QDate date(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const QTime time(tm.tm_hour, tm.tm_min, tm.tm_sec);
    const int weekday = tm.tm_wday == 0 ? 7 : tm.tm_wday;
    std::string out;
    out.reserve(format.size() + 32);
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        const bool alternate = format[i + 1] == '#' && i + 2 < format.size();
        const char c = format[i + (alternate ? 2 : 1)];
        const QLocale::FormatType form = alternate ? QLocale::LongFormat : QLocale::ShortFormat;
        std::string text;
        switch (c) {
        case 'a':
            text = literal(locale.dayName(weekday, QLocale::ShortFormat));
            break;
        case 'A':
            text = literal(locale.dayName(weekday, QLocale::LongFormat));
            break;
        case 'b':
            text = literal(locale.monthName(tm.tm_mon + 1, QLocale::ShortFormat));
            break;
        case 'B':
            text = literal(locale.monthName(tm.tm_mon + 1, QLocale::LongFormat));
            break;
        case 'p':
            text = literal(tm.tm_hour < 12 ? locale.amText() : locale.pmText());
            break;
        case 'x':
            text = literal(locale.toString(date, form));
            break;
        // The date-time form without a zone: the clock time of the photo names none.
        case 'c':
            text = literal(locale.toString(date, form) + ' ' + locale.toString(time, QLocale::ShortFormat));
            break;
        default:
            // Everything else, "%%" too, is left to strftime.
            out.append(format, i, alternate ? 3 : 2);
            i += alternate ? 2 : 1;
            continue;
        }
        out += text;
        i += alternate ? 2 : 1;
    }
    return out;
}
DateConversionError notADate(const std::string& dateText) {
    return DateConversionError(dateText, "\"" + dateText + "\" is not a date between the years " +
                                             std::to_string(kFirstDateYear) + " and " +
                                             std::to_string(kLastDateYear) + ".");
}

locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

std::string TranslateDateFormat(const std::string& format) {
    std::string out;
    out.reserve(format.size() + 16);
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        char c = format[i + 1];
        bool alternate = false;
        if (c == '#' && i + 2 < format.size()) {
            alternate = true;
            c = format[i + 2];
        }
        const std::size_t used = alternate ? 3 : 2;
        switch (c) {
        case 'c':
            out += alternate ? "%A, %B %d, %Y %H:%M:%S" : "%m/%d/%y %H:%M:%S";
            break;
        case 'x':
            out += alternate ? "%A, %B %d, %Y" : "%m/%d/%y";
            break;
        case 'X':
            out += "%H:%M:%S";
            break;
        case 'd':
        case 'H':
        case 'I':
        case 'j':
        case 'm':
        case 'M':
        case 'S':
        case 'U':
        case 'w':
        case 'W':
        case 'y':
        case 'Y':
            out += alternate ? std::string("%-") + c : std::string("%") + c;
            break;
        default:
            out += '%';
            out += c; // "%%" stays a percent sign; the "#" flag means nothing for the others
            break;
        }
        i += used - 1;
    }
    return out;
}

std::string FormatDate(const std::string& dateText, const std::string& format) {
    return FormatDate(dateText, format, DateShowing{});
}

bool IsShowableDate(const std::string& dateText) {
    if (dateText.size() < 2) return false;
    try {
        return !FormatDate(dateText, "%Y").empty();
    } catch (const DateConversionError&) {
        return false;
    }
}

std::string FormatDate(const std::string& dateText, const std::string& format, const DateShowing& showing) {
    if (dateText.size() < 2) return {};

    std::string rest = dateText;
    const std::string year = takeField(rest, ':');
    const std::string month = takeField(rest, ':');
    const std::string day = takeField(rest, ' ');
    const std::string hour = takeField(rest, ':');
    const std::string minute = takeField(rest, ':');
    const std::string second = rest;

    // The camera's clock time, as a calendar date and time of day: no time zone takes part, so the
    // hour a zone skips or repeats for summer time stays the hour the camera wrote. Fields out of
    // range carry into the next larger one as a calendar does (month 13 is January of the next year,
    // second 60 the next minute). Every field lies within the int range, so none of this overflows.
    const long long months = readField(month) - 1;
    const long long y = readField(year) + floorDiv(months, 12);
    // A shift of the clock carries into the days alike.
    const long long secondsOfDay = readField(hour) * 3600 + readField(minute) * 60 + readField(second) +
                                   std::clamp<long long>(showing.shiftSeconds, -(1LL << 40), 1LL << 40);
    const long long days = daysFromCivil(y, static_cast<int>(floorMod(months, 12)) + 1) + readField(day) - 1 +
                           floorDiv(secondsOfDay, 86400);
    const CivilDate date = civilFromDays(days);
    if (date.year < kFirstDateYear || date.year > kLastDateYear) throw notADate(dateText);

    std::tm tm{};
    tm.tm_year = static_cast<int>(date.year - 1900);
    tm.tm_mon = date.month - 1;
    tm.tm_mday = date.day;
    const long long s = floorMod(secondsOfDay, 86400);
    tm.tm_hour = static_cast<int>(s / 3600);
    tm.tm_min = static_cast<int>(s / 60 % 60);
    tm.tm_sec = static_cast<int>(s % 60);
    tm.tm_wday = static_cast<int>(floorMod(days + 4, 7)); // 1970-01-01 was a Thursday
    tm.tm_yday = static_cast<int>(days - daysFromCivil(date.year, 1));
    tm.tm_isdst = 0;

    char buffer[128];
    const std::string named = showing.localeNames ? withDesktopNames(format, tm) : format;
    const std::string translated =
        withoutZone(TranslateDateFormat(named), days * 86400 + s, zoneText(showing.zone));
    const std::size_t n = strftime_l(buffer, sizeof buffer, translated.c_str(), &tm, cLocale());
    return std::string(buffer, n);
}
