#pragma once

#include <string>
#include <string_view>
#include <vector>

// True when `a` comes before `b` as a person reads names: letters ignoring case, and runs of digits
// by their value, so "IMG_2" comes before "IMG_10". Names equal that way keep the order of their bytes.
bool naturalLess(std::string_view a, std::string_view b);

// The photos of a folder (regular files with a photo's extension), as full paths in natural order of
// their names. Names are taken as the system gives them, byte for byte, also when they are not valid
// UTF-8. A folder that cannot be read gives none and, when asked, the system's reason.
std::vector<std::string> photosInFolder(const std::string& folder, std::string* problem = nullptr);
