#pragma once

#include <stdexcept>
#include <string>

// The one error the product raises as an exception: an Exif date that cannot be turned into a
// calendar time. It carries the invalid-argument code of the platform the templates come from.
class DateConversionError : public std::runtime_error {
public:
    static constexpr unsigned kInvalidArgument = 0x80070057u;

    DateConversionError(const std::string& dateText, const std::string& message)
        : std::runtime_error(message), dateText_(dateText) {}

    unsigned code() const { return kInvalidArgument; }
    const std::string& dateText() const { return dateText_; }

private:
    std::string dateText_;
};

// The earliest and latest years a date may fall in.
inline constexpr int kFirstDateYear = 1900;
inline constexpr int kLastDateYear = 3000;

// How a date is shown beyond its format.
struct DateShowing {
    long long shiftSeconds = 0; // added to the camera's clock time: a clock set wrong, or another zone
    std::string zone;           // the time's offset from UTC ("+02:00"), shown by "%z"; empty: unknown
    bool localeNames = false;   // the desktop's month and day names and date forms, not the C ones
};

// Formats an Exif date text ("2001:06:21 14:38:56") with a strftime format in the "C" locale, as the
// calendar date and clock time the camera wrote, whatever the machine's time zone. Gives an empty text for a
// date shorter than two characters, or when the output is empty or longer than 127 characters. Throws
// DateConversionError for a date that is not in the years 1900 to 3000 (all-zero dates, texts that are not
// dates).
std::string FormatDate(const std::string& dateText, const std::string& format);
// The same, shifted, with its zone, and in the desktop's names when asked: "%a %A %b %B %p" name the
// day, month and half of the day in the desktop's language, "%x" and "%c" (and "%#x", "%#c") take its
// short (long) date and date-time forms, "%z" the zone as "+0200".
std::string FormatDate(const std::string& dateText, const std::string& format, const DateShowing& showing);

// True when FormatDate shows the text as a date: a date of the years 1900 to 3000.
bool IsShowableDate(const std::string& dateText);

// The format with the specifiers whose "C" locale forms differ from the product's own rewritten:
// "%c" as "%m/%d/%y %H:%M:%S", "%x" as "%m/%d/%y", "%X" as "%H:%M:%S", "%#c" and "%#x" as long
// dates, and the "#" flag on numbers (no leading zeros) as "-".
std::string TranslateDateFormat(const std::string& format);
