#pragma once

#include "imaging/PropertyBlock.h"

#include <string>

namespace imaging {

// Adds the property records of a PNG file's ancillary chunks that have a tag of their own and are
// not already in the block. Reads chunk by chunk, bounded by the file's size; stops quietly at the
// first damaged chunk header.
void addPngChunkProperties(const std::string& pathUtf8, PropertyBlock& block);

} // namespace imaging
