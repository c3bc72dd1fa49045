#pragma once

#include "model/ItemExtras.h"

#include <optional>
#include <string>

// Where dates come from when a photo's Exif has none: its file name and a clock shift typed by hand.

// The date and time a file name carries, as an Exif date text ("2018:07:25 16:34:23"), or empty.
// Reads the names cameras, phones and messengers give: IMG_20180725_163423, PXL_20230101_123456789,
// 2018-07-25 16.34.23, Screenshot_2023-01-01-12-00-00, WhatsApp Image 2023-01-01 at 12.00.00, and a
// date alone (IMG-20230101-WA0001) as midnight. Only real dates of the years 1900 to 2099 count.
std::string DateInFileName(const std::string& name);

// How a source is named where a copy says what dated it: "the file name".
std::string DateSourceName(DateSource source);

// A clock shift as typed and printed: "[-]D:HH:MM:SS" ("0:01:00:00" is one hour, "-1:00:00:00" a day
// back). Nothing for any other text or a shift longer than `longest` seconds.
std::optional<long long> ParseClockShift(const std::string& text, long long longest);
std::string ClockShiftText(long long seconds);
