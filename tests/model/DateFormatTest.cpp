#include "model/DateFormat.h"

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
        if (old_.empty()) unsetenv("TZ");
        else setenv("TZ", old_.c_str(), 1);
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
    EXPECT_EQ(FormatDate(kSample, "100%% %#B"), "100% June");                         // flag ignored
    EXPECT_EQ(FormatDate(kSample, "ends in %"), "ends in %");
}

TEST(FormattingADate, normalisesFieldsAndKeepsTheLocalClockTime) {
    ScopedTimeZone tz("CET-1CEST,M3.5.0,M10.5.0/3");
    EXPECT_EQ(FormatDate("2001:13:21 14:38:56", "%Y-%m-%d"), "2002-01-21");
    EXPECT_EQ(FormatDate("2001:06:21 14:38:56", "%H:%M:%S"), "14:38:56"); // summer time decided by the zone
    EXPECT_EQ(FormatDate("2001:01:21 14:38:56", "%H:%M:%S"), "14:38:56");
    EXPECT_EQ(FormatDate("2001:06:21", "%Y %m %d %S"), "2001 05 31 21"); // no blank: day 0, "21" is the second
}

TEST(FormattingADate, givesNothingForShortDatesEmptyFormatsAndOverlongOutput) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate("", "%c"), "");
    EXPECT_EQ(FormatDate("2", "%c"), ""); // one character: no error either
    EXPECT_EQ(FormatDate(kSample, ""), "");
    const std::string longFormat(64, 'x');
    EXPECT_EQ(FormatDate(kSample, longFormat + longFormat), "");           // 128 characters of output
    EXPECT_EQ(FormatDate(kSample, longFormat + longFormat.substr(1)), longFormat + longFormat.substr(1));
}

TEST(FormattingADate, acceptsTheYears1900To3000AndRefusesTheRest) {
    ScopedTimeZone tz("UTC0");
    EXPECT_EQ(FormatDate("1965:08:01 10:00:00", "%c"), "08/01/65 10:00:00"); // a scanned old photo
    EXPECT_EQ(FormatDate("1900:01:01 00:00:00", "%Y"), "1900");
    EXPECT_EQ(FormatDate("3000:12:31 23:59:59", "%Y"), "3000");

    EXPECT_THROW(FormatDate("0000:00:00 00:00:00", "%c"), DateConversionError); // some cameras' blank date
    EXPECT_THROW(FormatDate("    :  :     :  :  ", "%c"), DateConversionError);
    EXPECT_THROW(FormatDate("21.6.2001 14:38", "%c"), DateConversionError);   // no ":" before the day: year 0
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
