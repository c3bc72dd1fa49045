#include "model/DateFormat.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
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

    std::tm tm{};
    tm.tm_year = std::atoi(year.c_str()) - 1900;
    tm.tm_mon = std::atoi(month.c_str()) - 1;
    tm.tm_mday = std::atoi(day.c_str());
    tm.tm_hour = std::atoi(hour.c_str());
    tm.tm_min = std::atoi(minute.c_str());
    tm.tm_sec = std::atoi(second.c_str());
    tm.tm_isdst = -1;
    tm.tm_wday = -1; // mktime sets it when it succeeds; -1 is also a valid time

    const std::time_t time = std::mktime(&tm);
    const int normalizedYear = tm.tm_year + 1900;
    if (tm.tm_wday < 0 || normalizedYear < kFirstDateYear || normalizedYear > kLastDateYear) {
        throw DateConversionError(dateText, "\"" + dateText + "\" is not a date between the years " +
                                                std::to_string(kFirstDateYear) + " and " +
                                                std::to_string(kLastDateYear) + ".");
    }

    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) return {};
    char buffer[128];
    const std::string translated = TranslateDateFormat(format);
    const std::size_t n = strftime_l(buffer, sizeof buffer, translated.c_str(), &local, cLocale());
    return std::string(buffer, n);
}
