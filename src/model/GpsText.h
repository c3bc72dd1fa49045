#pragma once

#include "model/ImprintItem.h"
#include "model/ValueReader.h"

// The value-text rules of the GPS tags that need code, bound to their tags in the rule table. A
// position or altitude takes its hemisphere or sea side from the item of its reference tag; without
// one the text goes without it.

// 51° 28′ 58.78″ N (whole degrees and minutes, seconds to two decimals), from degrees, minutes and
// seconds, degrees and decimal minutes, or decimal degrees. N or S from the reference; a negative
// (signed) value without one reads with a minus.
void gpsLatitudeText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
// The same with E or W.
void gpsLongitudeText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
// "166.3 m", and "166.3 m below sea level" when the reference is 1.
void gpsAltitudeText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
// "14:38:56 UTC": hours, minutes and seconds, the seconds truncated.
void gpsTimeText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
// A reference stored as a byte rather than a string ('N' as 0x4E) shows its letter.
void gpsReferenceText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
