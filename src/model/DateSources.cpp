#include "model/DateSources.h"

#include "model/TagCatalogue.h"

#include <QRegularExpression>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

} // namespace

std::string DateInFileName(const std::string& name) {
    // Eight digits of a date (with or without dashes, dots or underscores between its parts), then
    // perhaps six of a time: after a blank, an underscore, a dash, a "T" or " at " (what follows, such
    // as milliseconds, does not matter). Digits before the date would make it part of a longer number.
    static const QRegularExpression pattern(
        QStringLiteral("(?<![0-9])((?:19|20)[0-9]{2})([-_.]?)([0-9]{2})\\2([0-9]{2})"
                       "(?:(?:[ _T-]| at |_at_)?([0-9]{2})([-_.:]?)([0-9]{2})\\6([0-9]{2}))?"));
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    auto matches = pattern.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch m = matches.next();
        const int y = m.captured(1).toInt(), mo = m.captured(3).toInt(), d = m.captured(4).toInt();
        if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo)) continue;
        int h = 0, mi = 0, s = 0;
        if (m.hasCaptured(5)) {
            h = m.captured(5).toInt();
            mi = m.captured(7).toInt();
            s = m.captured(8).toInt();
            if (h > 23 || mi > 59 || s > 59) h = mi = s = 0; // a counter, not a time: the date alone
        }
        char out[32];
        std::snprintf(out, sizeof out, "%04d:%02d:%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
        return out;
    }
    return {};
}

std::string DateSourceName(DateSource source) {
    const auto tagName = [](std::uint32_t tag) {
        const TagRow* row = findTag(tag);
        return std::string(row ? row->displayName : "the Exif date");
    };
    switch (source) {
    case DateSource::DateTimeOriginal:
        return tagName(0x9003);
    case DateSource::DateTimeDigitized:
        return tagName(0x9004);
    case DateSource::DateTime:
        return tagName(0x0132);
    case DateSource::GpsDateTime:
        return "the GPS time";
    case DateSource::FileName:
        return "the file name";
    case DateSource::FileTime:
        return "the file's time";
    }
    return "an unknown source";
}

std::optional<long long> ParseClockShift(const std::string& text, long long longest) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*([-+]?)([0-9]{1,6}):([0-9]{1,2}):([0-9]{1,2}):([0-9]{1,2})\\s*$"));
    const QRegularExpressionMatch m = form.match(QString::fromStdString(text));
    if (!m.hasMatch()) return std::nullopt;
    const long long h = m.captured(3).toLongLong(), mi = m.captured(4).toLongLong(),
                    s = m.captured(5).toLongLong();
    if (h > 23 || mi > 59 || s > 59) return std::nullopt;
    const long long seconds = m.captured(2).toLongLong() * 86400 + h * 3600 + mi * 60 + s;
    if (seconds > longest) return std::nullopt;
    return m.captured(1) == QLatin1String("-") ? -seconds : seconds;
}

std::string ClockShiftText(long long seconds) {
    const long long a = std::llabs(seconds);
    char out[48];
    std::snprintf(out, sizeof out, "%s%lld:%02lld:%02lld:%02lld", seconds < 0 ? "-" : "", a / 86400,
                  a / 3600 % 24, a / 60 % 60, a % 60);
    return out;
}
