#include "model/DateFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Runs the test body in a fixed time zone, restoring the machine's afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* tz) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (old_.empty())
            unsetenv("TZ");
        else
            setenv("TZ", old_.c_str(), 1);
        tzset();
    }

private:
    std::string old_;
};

constexpr const char* kSample = "2001:6:21 14:38:56";

} // namespace

TEST(FormattingADate, givesTheFormsOfTheFormatPresets) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate(kSample, "%c"), "06/21/01 14:38:56");
    EXPECT_EQ(FormatDate(kSample, "%x"), "06/21/01");
    EXPECT_EQ(FormatDate(kSample, "%A, %B %d, %Y : %I:%M:%S %p"), "Thursday, June 21, 2001 : 02:38:56 PM");
    EXPECT_EQ(FormatDate(kSample, "%B %d, %Y   %I:%M %p"), "June 21, 2001   02:38 PM");
    EXPECT_EQ(FormatDate(kSample, "%Y:%m:%d %H:%M:%S"), "2001:06:21 14:38:56");
    EXPECT_EQ(FormatDate("2001:06:21 14:38:56", "%c"), "06/21/01 14:38:56"); // a leading zero reads alike
}

TEST(FormattingADate, readsTemplatesWrittenForTheOldRuntime) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate(kSample, "%X"), "14:38:56");
    EXPECT_EQ(FormatDate(kSample, "%#c"), "Thursday, June 21, 2001 14:38:56");
    EXPECT_EQ(FormatDate(kSample, "%#x"), "Thursday, June 21, 2001");
    EXPECT_EQ(FormatDate("2001:06:05 04:08:09", "%#d.%#m.%Y %#H:%M"), "5.6.2001 4:08"); // no leading zeros
    EXPECT_EQ(FormatDate(kSample, "100%% %#B"), "100% June");                           // flag ignored
    EXPECT_EQ(FormatDate(kSample, "ends in %"), "ends in %");
}

TEST(FormattingADate, normalisesFieldsAndKeepsTheLocalClockTime) {
    ScopedTimeZone tz("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(FormatDate("2001:13:21 14:38:56", "%Y-%m-%d"), "2002-01-21");
    EXPECT_EQ(FormatDate("2001:06:21 14:38:56", "%H:%M:%S"), "14:38:56"); // summer time decided by the zone
    EXPECT_EQ(FormatDate("2001:01:21 14:38:56", "%H:%M:%S"), "14:38:56");
    EXPECT_EQ(FormatDate("2001:06:21", "%Y %m %d %S"),
              "2001 05 31 21"); // no blank: day 0, "21" is the second
}

TEST(FormattingADate, givesTheCamerasClockTimeWhateverTheMachinesTimeZone) {
    const struct {
        const char* date;
        const char* text;
    } rows[] = {
        {"2021:03:28 02:30:00", "Sun 28 Mar 2021 02:30:00 087 13 12"}, // the hour Berlin skips in spring
        {"2021:03:14 02:30:00", "Sun 14 Mar 2021 02:30:00 073 11 10"}, // the hour New York skips
        {"2021:10:31 02:30:00", "Sun 31 Oct 2021 02:30:00 304 44 43"}, // the hour Berlin repeats in autumn
        {"2001:06:21 14:38:56", "Thu 21 Jun 2001 14:38:56 172 24 25"},
        {"1969:12:31 23:59:60", "Thu 01 Jan 1970 00:00:00 001 00 00"}, // second 60 carries over
        {"1904:02:29 12:00:00", "Mon 29 Feb 1904 12:00:00 060 09 09"},
    };
    for (const char* zone : {"Europe/Berlin", "America/New_York", "UTC0", "Asia/Kathmandu"}) {
        ScopedTimeZone tz(zone);
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(zone) + " " + row.date);
            EXPECT_EQ(FormatDate(row.date, "%a %d %b %Y %H:%M:%S %j %U %W"), row.text);
            EXPECT_EQ(FormatDate(row.date, "[%z%Z]"), "[]"); // an Exif date names no zone
        }
        EXPECT_EQ(FormatDate("2001:06:21 14:38:56", "%s"), "993134336");
    }
}

TEST(FormattingADate, givesNothingForShortDatesEmptyFormatsAndOverlongOutput) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate("", "%c"), "");
    EXPECT_EQ(FormatDate("2", "%c"), ""); // one character: no error either
    EXPECT_EQ(FormatDate(kSample, ""), "");
    const std::string longFormat(64, 'x');
    EXPECT_EQ(FormatDate(kSample, longFormat + longFormat), ""); // 128 characters of output
    EXPECT_EQ(FormatDate(kSample, longFormat + longFormat.substr(1)), longFormat + longFormat.substr(1));
}

TEST(FormattingADate, acceptsTheYears1900To3000AndRefusesTheRest) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate("1965:08:01 10:00:00", "%c"), "08/01/65 10:00:00"); // a scanned old photo
    EXPECT_EQ(FormatDate("1900:01:01 00:00:00", "%Y"), "1900");
    EXPECT_EQ(FormatDate("3000:12:31 23:59:59", "%Y"), "3000");

    EXPECT_THROW(FormatDate("0000:00:00 00:00:00", "%c"), DateConversionError); // some cameras' blank date
    EXPECT_THROW(FormatDate("    :  :     :  :  ", "%c"), DateConversionError);
    EXPECT_THROW(FormatDate("21.6.2001 14:38", "%c"), DateConversionError); // no ":" before the day: year 0
    EXPECT_THROW(FormatDate("3001:01:01 00:00:00", "%c"), DateConversionError);
    EXPECT_THROW(FormatDate("1899:12:31 23:59:59", "%c"), DateConversionError);
    EXPECT_THROW(FormatDate("-2147483648:1:1 0:0:0", "%c"), DateConversionError); // no overflow on the way
    EXPECT_THROW(FormatDate("2001:-2147483648:1 0:0:0", "%c"), DateConversionError);
    EXPECT_THROW(FormatDate("99999999999:1:1 0:0:0", "%c"), DateConversionError);
    try {
        FormatDate("0000:00:00 00:00:00", "%c");
    } catch (const DateConversionError& e) {
        EXPECT_EQ(e.code(), 0x80070057u);
        EXPECT_EQ(e.dateText(), "0000:00:00 00:00:00");
    }
}

TEST(ShowingADate, shiftsTheClockAcrossDaysMonthsAndYearsAndShowsTheZoneThePhotoNames) {
    const struct {
        const char* date;
        long long shift;
        const char* shown;
    } rows[] = {
        {"2021:03:31 23:30:00", 3600, "2021-04-01 00:30:00 Thu"},         // midnight and a month end
        {"2021:01:01 00:10:00", -900, "2020-12-31 23:55:00 Thu"},         // back over a year end
        {"2024:02:28 22:00:00", 86400 + 7200, "2024-03-01 00:00:00 Fri"}, // a leap day passed over
        {"2001:06:21 14:38:56", -(365LL * 86400), "2000-06-21 14:38:56 Wed"},
    };
    for (const auto& row : rows) {
        DateShowing showing;
        showing.shiftSeconds = row.shift;
        EXPECT_EQ(FormatDate(row.date, "%Y-%m-%d %H:%M:%S %a", showing), row.shown) << row.date;
    }
    DateShowing far;
    far.shiftSeconds = -200LL * 366 * 86400;
    EXPECT_THROW(FormatDate("2001:06:21 14:38:56", "%Y", far), DateConversionError); // shifted before 1900

    DateShowing zoned;
    for (const auto& [zone, shown] :
         std::initializer_list<std::pair<const char*, const char*>>{{"+02:00", "[+0200]"},
                                                                    {"-05:30", "[-0530]"},
                                                                    {"Z", "[+0000]"},
                                                                    {"", "[]"},
                                                                    {"+2:00", "[]"},
                                                                    {"+25:00", "[]"}}) {
        zoned.zone = zone;
        EXPECT_EQ(FormatDate(kSample, "[%z%Z]", zoned), shown) << zone;
    }
}

TEST(ShowingADate, takesTheDesktopsNamesAndDateFormsOnlyWhenAsked) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    DateShowing german;
    german.localeNames = true;
    EXPECT_EQ(FormatDate("2001:12:06 14:38:56", "%A %d %B %Y", german), "Donnerstag 06 Dezember 2001");
    EXPECT_EQ(FormatDate("2001:03:04 09:05:00", "%a, %b %d %H:%M", german), "So., März 04 09:05");
    EXPECT_EQ(FormatDate("2001:12:06 14:38:56", "%x", german), "06.12.01");
    EXPECT_EQ(FormatDate("2001:12:06 14:38:56", "%c", german), "06.12.01 14:38");
    EXPECT_EQ(FormatDate("2001:12:06 14:38:56", "100%% %#x", german), "100% Donnerstag, 6. Dezember 2001");
    EXPECT_EQ(FormatDate("2001:12:06 14:38:56", "%A %B %c"),
              "Thursday December 12/06/01 14:38:56"); // C names stay
    QLocale::setDefault(before);
}
