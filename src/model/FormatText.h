#pragma once

#include <string>

// printf into a string of at most 255 bytes, the most any value text of a property needs.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
