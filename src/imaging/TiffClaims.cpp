#include "imaging/TiffClaims.h"

#include "imaging/LocalFile.h"
#include "imaging/TextCodec.h"

#include <QBuffer>
#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace imaging {
namespace {

// Room for values that writers share a little (one colour profile for a few pages): a structure
// may claim four times what it holds and 16 MB more before it counts as excessive.
constexpr std::uint64_t kSharedFactor = 4;
constexpr std::uint64_t kSharedSlack = 16u << 20;
constexpr int kMaxDirectories = 64;
constexpr std::uint64_t kMaxEntries = 65535;
// Directories nested in maker notes: the sample photos' point at five at most, and Olympus's six are
// the most Exiv2 follows in one note.
constexpr int kMaxNestedDirectories = 64;
constexpr std::uint64_t kMaxSubDirectoriesAnEntry = 9;
constexpr std::uint64_t kTypeLong = 4, kTypeSignedLong = 9, kTypeIfd = 13;
// Exiv2 skips an entry of 0x10000000 values or more.
constexpr std::uint64_t kMaxExiv2Count = 0x10000000;

// The tags of the maker notes' directories that Exiv2 reads as sub-directories: Nikon's preview,
// Samsung's, Olympus's equipment, camera settings, raw development, image processing, focus, the
// FE directories and the raw information.
constexpr std::uint16_t kMakerSubDirectoryTags[] = {0x0011, 0x0035, 0x2010, 0x2020, 0x2030, 0x2031,
                                                    0x2040, 0x2050, 0x2100, 0x2200, 0x2300, 0x2400,
                                                    0x2500, 0x2600, 0x2700, 0x2800, 0x2900, 0x3000};

// How Exiv2 reads the maker notes it knows by the header they start with: where the directory starts
// from the note, where its offsets count from (the note plus `base`, or the structure), and its byte
// order (where "II" or "MM" stands in the note, else as given). A note of no known header is read as a
// directory from its first byte, its offsets from the structure (Canon, Minolta, Sony...) or from the
// note (Samsung), in the structure's byte order.
constexpr std::int8_t kFromStructure = -1;
constexpr std::int8_t kOrderOfStructure = -1, kLittle = -2, kBig = -3;
constexpr std::uint8_t kStartInHeader = 0xFF; // Fujifilm: the directory's offset stands at 8
struct MakerHeader {
    std::string_view signature;
    std::uint8_t start;
    std::int8_t base;
    std::int8_t order;
};
constexpr MakerHeader kMakerHeaders[] = {
    {{"OLYMPUS\0II", 10}, 12, 0, 8},
    {{"OLYMPUS\0MM", 10}, 12, 0, 8},
    {{"OM SYSTEM\0\0\0", 12}, 16, 0, 12},
    {{"OLYMP\0", 6}, 8, kFromStructure, kOrderOfStructure},
    {{"Nikon\0\x02", 7}, 18, 10, 10},
    {{"Nikon\0\x01", 7}, 8, kFromStructure, kOrderOfStructure},
    {{"FUJIFILM", 8}, kStartInHeader, 0, kLittle},
    {{"Panasonic\0\0\0", 12}, 12, kFromStructure, kOrderOfStructure},
    {{"SIGMA\0\0\0", 8}, 10, kFromStructure, kOrderOfStructure},
    {{"FOVEON\0\0", 8}, 10, kFromStructure, kOrderOfStructure},
    {{"SONY DSC \0\0\0", 12}, 12, kFromStructure, kOrderOfStructure},
    {{"SONY CAM \0\0\0", 12}, 12, kFromStructure, kOrderOfStructure},
    {{"AOC\0", 4}, 6, kFromStructure, 4},
    {{"PENTAX \0", 8}, 10, 0, 8},
    {{"QVC\0\0\0", 6}, 6, kFromStructure, kBig},
};
constexpr std::size_t kMakerHeaderBytes = 16;

// One TIFF structure: `size` bytes of the file from `base`; offsets inside it count from `base`.
class Structure {
public:
    Structure(QIODevice& file, std::uint64_t base, std::uint64_t size)
        : file_(file), base_(base), size_(size) {}

    std::uint64_t size() const { return size_; }

    bool read(std::uint64_t offset, std::size_t n, std::uint8_t* out) const {
        if (offset > size_ || n > size_ - offset) return false;
        return file_.seek(static_cast<qint64>(base_ + offset)) &&
               file_.read(reinterpret_cast<char*>(out), static_cast<qint64>(n)) == static_cast<qint64>(n);
    }

private:
    QIODevice& file_;
    std::uint64_t base_;
    std::uint64_t size_;
};

class Walker {
public:
    explicit Walker(const Structure& s) : s_(s) {}

    // The value bytes the structure claims, or 0 when it is no TIFF structure.
    std::uint64_t claims() {
        std::array<std::uint8_t, 16> header{};
        if (!s_.read(0, 8, header.data())) return 0;
        if (header[0] != header[1] || (header[0] != 'I' && header[0] != 'M')) return 0;
        little_ = header[0] == 'I';
        const std::uint64_t magic = number(header.data() + 2, 2);
        if (magic == 43) { // BigTIFF: 8-byte counts and offsets
            if (!s_.read(0, 16, header.data()) || number(header.data() + 4, 2) != 8) return 0;
            big_ = true;
            queue(number(header.data() + 8, 8));
        } else if (magic == 42) {
            queue(number(header.data() + 4, 4));
        } else {
            return 0;
        }
        while (!pending_.empty() && visited_.size() < kMaxDirectories) {
            const std::uint64_t at = pending_.back();
            pending_.pop_back();
            if (!visited_.insert(at).second) continue;
            walkDirectory(at);
        }
        return total_;
    }

    // True when maker notes nest more directories than the claims were counted for.
    bool tooManyNested() const { return nestedDirectories_ > kMaxNestedDirectories; }

private:
    std::uint64_t number(const std::uint8_t* p, int n) const { return number(p, n, little_); }
    static std::uint64_t number(const std::uint8_t* p, int n, bool little) {
        std::uint64_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= std::uint64_t(p[little ? i : n - 1 - i]) << (8 * i);
        return v;
    }

    void queue(std::uint64_t offset) {
        if (offset != 0 && pending_.size() < 4 * kMaxDirectories) pending_.push_back(offset);
    }

    // Bytes of one value of each field type, BigTIFF's 16 to 18 included; 0 for a type no reader
    // knows, which none reads.
    static std::uint64_t typeSize(std::uint64_t type) {
        static constexpr std::uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
        return type < std::size(kSizes) ? kSizes[type] : 0;
    }

    void walkDirectory(std::uint64_t at) {
        const int countBytes = big_ ? 8 : 2, entryBytes = big_ ? 20 : 12, fieldBytes = big_ ? 8 : 4;
        std::uint8_t countField[8];
        if (!s_.read(at, countBytes, countField)) return;
        const std::uint64_t count = number(countField, countBytes);
        if (count == 0 || count > kMaxEntries) return;
        std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * entryBytes + fieldBytes);
        if (!s_.read(at + countBytes, entries.size(), entries.data())) return;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* e = entries.data() + i * entryBytes;
            const std::uint64_t tag = number(e, 2), type = number(e + 2, 2);
            const std::uint64_t n = number(e + 4, fieldBytes);
            // Exiv2 reads the values of a type it does not know as bytes.
            const std::uint64_t size = std::max<std::uint64_t>(typeSize(type), 1);
            const std::uint8_t* field = e + 4 + fieldBytes;
            const std::uint64_t bytes = n <= s_.size() / size ? n * size : ~std::uint64_t(0);
            if (bytes > std::uint64_t(fieldBytes)) {
                const std::uint64_t offset = number(field, fieldBytes);
                // Values past the end are skipped by the readers, and cost nothing.
                if (bytes <= s_.size() && offset <= s_.size() - bytes) {
                    total_ += bytes;
                    if (tag == 0x927c && !big_) walkMakerNote(offset, bytes);
                }
            }
            followPointers(tag, type, n, field, fieldBytes);
        }
        queue(number(entries.data() + count * entryBytes, fieldBytes)); // the next directory
    }

    // A maker note is most often a directory of the camera maker's, after a header of a few bytes and
    // perhaps in the other byte order; Exiv2 reads the values of those it knows, and of the
    // sub-directories some of them point at (Olympus camera settings, Nikon preview...). The most any
    // reading of it claims counts: the likeliest ones, whose entries are all of known types, and the
    // one Exiv2 takes for its header, whatever its entries are.
    void walkMakerNote(std::uint64_t at, std::uint64_t size) {
        static constexpr std::uint64_t kStarts[] = {0, 6, 8, 10, 12, 14, 18, 20};
        std::uint64_t most = 0;
        for (const std::uint64_t start : kStarts) {
            if (start + 2 > size) break;
            const std::uint64_t dirAt = at + start;
            const std::vector<std::uint64_t> bases = {0, at, dirAt - std::min<std::uint64_t>(dirAt, 8)};
            for (const bool little : {little_, !little_})
                most = std::max(most, makerNoteClaims({dirAt, little, false}, bases));
        }
        most = std::max(most, makerNoteClaims({at, little_, true}, {0, at}));
        std::uint8_t header[kMakerHeaderBytes] = {};
        s_.read(at, static_cast<std::size_t>(std::min<std::uint64_t>(size, sizeof header)), header);
        for (const MakerHeader& h : kMakerHeaders) {
            if (size < h.signature.size() + 2 ||
                std::memcmp(header, h.signature.data(), h.signature.size()) != 0)
                continue;
            const std::uint64_t start = h.start == kStartInHeader ? number(header + 8, 4, true) : h.start;
            bool little = little_;
            if (h.order == kLittle || h.order == kBig)
                little = h.order == kLittle;
            else if (h.order >= 0 && header[h.order] == header[h.order + 1] &&
                     (header[h.order] == 'I' || header[h.order] == 'M'))
                little = header[h.order] == 'I';
            const std::uint64_t base = h.base == kFromStructure ? 0 : at + static_cast<std::uint64_t>(h.base);
            most = std::max(most, makerNoteClaims({at + start, little, true}, {base}));
            break;
        }
        total_ += most;
    }

    // One reading of a maker's directory: where it is, in which byte order, and whether it is read as
    // Exiv2 reads it (entries of unknown types as bytes, only its sub-directory tags followed) or must
    // look like a directory (every entry of a known type, every long a possible offset).
    struct Reading {
        std::uint64_t at;
        bool little;
        bool asExiv2;
    };

    // The directory's claims with those of the directories it points at, each place once, their
    // offsets counted from every one of the bases.
    std::uint64_t makerNoteClaims(const Reading& r, const std::vector<std::uint64_t>& bases) {
        std::vector<Pointer> pointers;
        const std::optional<std::uint64_t> top = makerDirectory(r, r.at, &pointers);
        if (!top) return 0;
        std::uint64_t claimed = *top;
        std::set<std::uint64_t> places = {r.at};
        for (const std::uint64_t base : bases) {
            for (const std::uint64_t place : resolve(pointers, base, r.little)) {
                if (!places.insert(place).second) continue;
                const std::optional<std::uint64_t> nested = makerDirectory(r, place, nullptr);
                if (!nested) continue;
                claimed += *nested;
                if (++nestedDirectories_ > kMaxNestedDirectories) return claimed;
            }
        }
        return claimed;
    }

    // An entry that may point at directories: its count and its value field.
    struct Pointer {
        std::uint64_t count;
        std::uint64_t field;
    };

    // The values a maker's directory claims: at most 256 entries (Exiv2 reads no more). `pointers`,
    // when asked, gets its entries that may point at directories.
    std::optional<std::uint64_t> makerDirectory(const Reading& r, std::uint64_t at,
                                                std::vector<Pointer>* pointers) const {
        std::uint8_t countField[2];
        if (!s_.read(at, 2, countField)) return std::nullopt;
        const std::uint64_t count = number(countField, 2, r.little);
        if (count == 0 || count > 256) return std::nullopt;
        std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * 12);
        if (!s_.read(at + 2, entries.size(), entries.data())) return std::nullopt;
        std::uint64_t claimed = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* e = entries.data() + i * 12;
            const std::uint64_t tag = number(e, 2, r.little), type = number(e + 2, 2, r.little);
            std::uint64_t size = typeSize(type);
            if (size == 0 && !r.asExiv2) return std::nullopt;
            if (size == 0) size = 1;
            const std::uint64_t n = number(e + 4, 4, r.little);
            if (n < kMaxExiv2Count && n <= s_.size() / size && n * size > 4) claimed += n * size;
            const bool offsets = type == kTypeLong || type == kTypeSignedLong || type == kTypeIfd;
            const bool followed =
                !r.asExiv2 || std::find(std::begin(kMakerSubDirectoryTags), std::end(kMakerSubDirectoryTags),
                                        tag) != std::end(kMakerSubDirectoryTags);
            if (pointers && offsets && followed && n >= 1)
                pointers->push_back({n, number(e + 8, 4, r.little)});
        }
        return claimed;
    }

    // Where the entries point from `base`: one offset in the field, or a list of them (Exiv2 follows 9)
    // at the offset the field holds.
    std::vector<std::uint64_t> resolve(const std::vector<Pointer>& pointers, std::uint64_t base,
                                       bool little) const {
        std::vector<std::uint64_t> places;
        for (const Pointer& p : pointers) {
            if (p.count == 1) {
                places.push_back(base + p.field);
                continue;
            }
            std::uint8_t list[4 * kMaxSubDirectoriesAnEntry];
            const std::uint64_t wanted = std::min<std::uint64_t>(p.count, kMaxSubDirectoriesAnEntry);
            if (!s_.read(base + p.field, static_cast<std::size_t>(wanted * 4), list)) continue;
            for (std::uint64_t k = 0; k < wanted; ++k)
                places.push_back(base + number(list + 4 * k, 4, little));
        }
        return places;
    }

    // The Exif, GPS and interoperability directories, and the sub-images (inline or in a list).
    void followPointers(std::uint64_t tag, std::uint64_t type, std::uint64_t n, const std::uint8_t* field,
                        int fieldBytes) {
        const bool pointer = tag == 0x8769 || tag == 0x8825 || tag == 0xa005 || tag == 0x014a;
        const std::uint64_t size = typeSize(type);
        if (!pointer || n == 0 || (size != 4 && size != 8)) return;
        const std::uint64_t wanted = std::min<std::uint64_t>(n, kMaxDirectories);
        if (wanted * size <= std::uint64_t(fieldBytes)) {
            for (std::uint64_t k = 0; k < wanted; ++k)
                queue(number(field + k * size, int(size)));
            return;
        }
        std::vector<std::uint8_t> list(static_cast<std::size_t>(wanted * size));
        if (!s_.read(number(field, fieldBytes), list.size(), list.data())) return;
        for (std::uint64_t k = 0; k < wanted; ++k)
            queue(number(list.data() + k * size, int(size)));
    }

    const Structure& s_;
    bool little_ = true;
    bool big_ = false;
    std::vector<std::uint64_t> pending_;
    std::set<std::uint64_t> visited_;
    std::uint64_t total_ = 0;
    int nestedDirectories_ = 0;
};

std::uint64_t be32(const std::uint8_t* p) {
    return (std::uint64_t(p[0]) << 24) | (std::uint64_t(p[1]) << 16) | (std::uint64_t(p[2]) << 8) | p[3];
}

void add(TiffClaims& claims, QIODevice& file, std::uint64_t base, std::uint64_t size) {
    const Structure s(file, base, size);
    Walker walker(s);
    claims.valueBytes += walker.claims();
    claims.heldBytes += size;
    claims.tooManyNested = claims.tooManyNested || walker.tooManyNested();
}

// The Exif segments ("Exif\0\0" and a TIFF structure) before the picture's scan.
void addJpegSegments(TiffClaims& claims, QFile& file) {
    qint64 pos = 2;
    std::uint8_t marker[10];
    while (file.seek(pos) && file.read(reinterpret_cast<char*>(marker), 4) == 4 && marker[0] == 0xFF) {
        const int type = marker[1];
        if (type == 0xD8 || type == 0x01 || (type >= 0xD0 && type <= 0xD7) || type == 0xFF) {
            pos += (type == 0xFF) ? 1 : 2;
            continue;
        }
        if (type == 0xDA || type == 0xD9) return; // the scan: no metadata after it is read
        const qint64 length = (qint64(marker[2]) << 8) | marker[3];
        if (length < 2) return;
        if (type == 0xE1 && length > 8 && file.read(reinterpret_cast<char*>(marker + 4), 6) == 6 &&
            std::memcmp(marker + 4, "Exif\0\0", 6) == 0)
            add(claims, file, static_cast<std::uint64_t>(pos + 10), static_cast<std::uint64_t>(length - 8));
        pos += 2 + length;
    }
}

void addPngChunks(TiffClaims& claims, QFile& file) {
    const std::uint64_t fileSize = static_cast<std::uint64_t>(file.size());
    std::uint64_t pos = 8;
    std::uint8_t header[8];
    while (pos + 12 <= fileSize && file.seek(static_cast<qint64>(pos)) &&
           file.read(reinterpret_cast<char*>(header), 8) == 8) {
        const std::uint64_t length = be32(header);
        if (length > fileSize - pos - 12) return;
        if (std::memcmp(header + 4, "IEND", 4) == 0) return;
        if (std::memcmp(header + 4, "eXIf", 4) == 0) add(claims, file, pos + 8, length);
        pos += 12 + length;
    }
}

std::uint64_t le32(const std::uint8_t* p) {
    return (std::uint64_t(p[3]) << 24) | (std::uint64_t(p[2]) << 16) | (std::uint64_t(p[1]) << 8) | p[0];
}

// The EXIF chunk of a WebP's RIFF chunks, a TIFF structure, after "Exif\0\0" with some writers.
void addWebpChunks(TiffClaims& claims, QFile& file) {
    const std::uint64_t fileSize = static_cast<std::uint64_t>(file.size());
    std::uint64_t pos = 12;
    std::uint8_t header[14];
    while (pos + 8 <= fileSize && file.seek(static_cast<qint64>(pos)) &&
           file.read(reinterpret_cast<char*>(header), 8) == 8) {
        const std::uint64_t length = le32(header + 4);
        if (length > fileSize - pos - 8) return;
        if (std::memcmp(header, "EXIF", 4) == 0) {
            const bool prefixed = length >= 6 && file.read(reinterpret_cast<char*>(header + 8), 6) == 6 &&
                                  std::memcmp(header + 8, "Exif\0\0", 6) == 0;
            add(claims, file, pos + 8 + (prefixed ? 6 : 0), length - (prefixed ? 6 : 0));
        }
        pos += 8 + length + (length & 1);
    }
}

} // namespace

bool TiffClaims::excessive() const {
    if (tooManyNested) return true;
    const std::uint64_t allowed = heldBytes > (~std::uint64_t(0) - kSharedSlack) / kSharedFactor
                                      ? ~std::uint64_t(0)
                                      : heldBytes * kSharedFactor + kSharedSlack;
    return valueBytes > allowed;
}

std::string TiffClaims::refusal() const {
    if (!excessive()) return {};
    if (tooManyNested)
        return "damaged metadata: its maker note points at more directories than a camera writes";
    const auto mb = [](std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20); };
    return "damaged metadata: its tags claim " + mb(valueBytes) + " MB of values in " + mb(heldBytes) +
           " MB of file";
}

TiffClaims tiffClaims(const std::string& pathUtf8) {
    TiffClaims claims;
    QFile file;
    if (!openLocalFile(file, pathUtf8, QIODevice::ReadOnly).empty()) return claims;
    std::uint8_t magic[8] = {};
    if (file.read(reinterpret_cast<char*>(magic), 8) < 4) return claims;
    const bool tiff =
        (magic[0] == 'I' && magic[1] == 'I' && (magic[2] == 42 || magic[2] == 43) && magic[3] == 0) ||
        (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && (magic[3] == 42 || magic[3] == 43));
    if (tiff) {
        claims.tiffFile = true;
        add(claims, file, 0, static_cast<std::uint64_t>(file.size()));
    } else if (magic[0] == 0xFF && magic[1] == 0xD8) {
        addJpegSegments(claims, file);
    } else if (std::memcmp(magic, "\x89PNG\r\n\x1A\n", 8) == 0) {
        addPngChunks(claims, file);
    } else if (std::memcmp(magic, "RIFF", 4) == 0 && file.read(reinterpret_cast<char*>(magic), 4) == 4 &&
               std::memcmp(magic, "WEBP", 4) == 0) {
        addWebpChunks(claims, file);
    }
    return claims;
}

TiffClaims tiffClaimsOfStructure(const QByteArray& tiff) {
    TiffClaims claims;
    QBuffer buffer;
    buffer.setData(tiff);
    if (!buffer.open(QIODevice::ReadOnly)) return claims;
    add(claims, buffer, 0, static_cast<std::uint64_t>(tiff.size()));
    return claims;
}

} // namespace imaging
