#pragma once

#include "model/ImprintItem.h"
#include "model/ValueReader.h"

#include <optional>
#include <string>

// The value-text rules that need code, bound to their tags in the rule table. Each writes the item's
// text from its value, or leaves the plain text where the value cannot be read as the tag means it.
// The reference item is unused here; the signature is the table's.

void copyrightText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void exposureTimeText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void versionText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void componentsText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void shutterSpeedText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void apertureText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void brightnessText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void exposureBiasText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void subjectDistanceText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void flashText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void makerNoteText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void userCommentText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void windowsXpText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void flashEnergyText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void subjectLocationText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void colorFilterPatternText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
void deviceSettingsText(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);

// An exposure of so many seconds as photographers write it: "1/250 sec", "0.8 sec", "2 sec",
// "1.3 sec". Nothing for a time that is not positive or that no 32-bit rational could hold.
std::optional<std::string> exposureSecondsText(double seconds);
