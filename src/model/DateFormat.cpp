#include "model/DateFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <locale.h>

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

bool fitsInt(long long v) {
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
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
        case 'c': out += alternate ? "%A, %B %d, %Y %H:%M:%S" : "%m/%d/%y %H:%M:%S"; break;
        case 'x': out += alternate ? "%A, %B %d, %Y" : "%m/%d/%y"; break;
        case 'X': out += "%H:%M:%S"; break;
        case 'd': case 'H': case 'I': case 'j': case 'm': case 'M':
        case 'S': case 'U': case 'w': case 'W': case 'y': case 'Y':
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
    if (dateText.size() < 2) return {};

    std::string rest = dateText;
    const std::string year = takeField(rest, ':');
    const std::string month = takeField(rest, ':');
    const std::string day = takeField(rest, ' ');
    const std::string hour = takeField(rest, ':');
    const std::string minute = takeField(rest, ':');
    const std::string second = rest;

    // A year or month at the very end of the int range (a hostile "-2147483648") would overflow as a
    // calendar field; no month count brings such a year near the years allowed.
    const long long tmYear = readField(year) - 1900;
    const long long tmMonth = readField(month) - 1;
    if (!fitsInt(tmYear) || !fitsInt(tmMonth)) throw notADate(dateText);
    std::tm tm{};
    tm.tm_year = static_cast<int>(tmYear);
    tm.tm_mon = static_cast<int>(tmMonth);
    tm.tm_mday = static_cast<int>(readField(day));
    tm.tm_hour = static_cast<int>(readField(hour));
    tm.tm_min = static_cast<int>(readField(minute));
    tm.tm_sec = static_cast<int>(readField(second));
    tm.tm_isdst = -1;
    tm.tm_wday = -1; // mktime sets it when it succeeds; -1 is also a valid time

    const std::time_t time = std::mktime(&tm);
    const long long normalizedYear = static_cast<long long>(tm.tm_year) + 1900;
    if (tm.tm_wday < 0 || normalizedYear < kFirstDateYear || normalizedYear > kLastDateYear)
        throw notADate(dateText);

    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) return {};
    char buffer[128];
    const std::string translated = TranslateDateFormat(format);
    const std::size_t n = strftime_l(buffer, sizeof buffer, translated.c_str(), &local, cLocale());
    return std::string(buffer, n);
}
