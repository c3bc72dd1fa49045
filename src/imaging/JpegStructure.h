#pragma once

#include <string>

namespace imaging {

// The most scans and markers a JPEG may have before the decoder or Exiv2 sees it. The sample photos
// have at most 1 scan and 16 markers as the cameras wrote them, and 10 scans and 30 markers written
// again progressively (libjpeg's standard script, as jpegtran -progressive writes them); ten times
// that. libjpeg decodes every scan over the whole picture (10000 scans of a 3-megapixel picture take
// 10 s), and reading segments grows with the square of their count: libjpeg, under Qt's reader, walks
// its list of saved markers to the end for every new one (100000 comments take 13 s).
inline constexpr int kMaxJpegScans = 100;
inline constexpr int kMaxJpegMarkers = 300;

// The marker structure of a JPEG file from its SOI to its EOI: every marker outside the scans' data
// counts (SOI, APPn, COM, tables, frame, SOS, EOI), the restart markers inside the scans do not.
struct JpegStructure {
    bool jpeg = false; // the file starts with SOI
    int markers = 0;
    int scans = 0;

    // For the user, when a limit is passed: "too many scans: 10000 (at most 100)"; else empty.
    std::string refusal() const;
};

// Walks the markers of a file, reading it once and skipping the scans' data without decoding it. A
// file that cannot be read or is no JPEG has no structure.
JpegStructure jpegStructure(const std::string& pathUtf8);

} // namespace imaging
