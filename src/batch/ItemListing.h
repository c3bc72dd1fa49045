#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

struct ImprintItem;

// Writes a text field of the listing (or a name in a message) as valid UTF-8 with tab, line breaks
// and backslash escaped as \t, \n, \r and \\, so every item stays on one line of tab-separated
// fields, and any other control character as \xNN, so none reaches the terminal.
std::string escapeListingField(std::string_view text);

// One item as a line: tag in hex, display name, label, type name, value text, listed (0 or 1).
std::string formatItemLine(const ImprintItem& item);

// Lists the items of every photo: a header line naming the photo, then a line per item, on `out`;
// with `json`, one JSON object a line per photo (path, width, height, items with tag, name, label,
// type, value and listed). A photo that cannot be read gets one line on `err` and makes the result 1;
// otherwise 0.
int listPhotoItems(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err,
                   bool json = false);
