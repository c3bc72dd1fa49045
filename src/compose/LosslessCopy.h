#pragma once

#include <QByteArray>

#include <string>

class CDatedPicture;

// The dated copy of a JPEG photo made from the photo's own JPEG data: only the MCUs whose pixels the
// items change are decoded, drawn on and encoded again, with the photo's quantisation tables and
// sampling; every other block stays the camera's own, so the copy loses nothing outside the items.

// Why the dated picture differs from the photo by more than its items, so that the whole picture must
// be encoded ("white space", "border", "watermark"); empty when only the items differ. For a template
// without a photo, what it adds to every photo (white space whatever the photo's shape).
std::string wholePictureReason(const CDatedPicture& model);

// Makes the copy of the model's photo (the JPEG file at `photoPath`, which the model was loaded from)
// into `jpeg`, without its metadata (see copyMetadataInto). Returns an empty text, or why the copy
// cannot be made so, for the user ("white space", "CMYK colours", "orientation 6 on a picture that is
// not whole MCUs", "damaged JPEG data (...)"); `jpeg` is then empty.
std::string makeLosslessCopy(const CDatedPicture& model, const std::string& photoPath, QByteArray& jpeg);
