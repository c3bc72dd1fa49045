#include "imaging/TiffClaims.h"

#include "imaging/TextCodec.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <set>
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

// One TIFF structure: `size` bytes of the file from `base`; offsets inside it count from `base`.
class Structure {
public:
    Structure(QFile& file, std::uint64_t base, std::uint64_t size) : file_(file), base_(base), size_(size) {}

    std::uint64_t size() const { return size_; }

    bool read(std::uint64_t offset, std::size_t n, std::uint8_t* out) const {
        if (offset > size_ || n > size_ - offset) return false;
        return file_.seek(static_cast<qint64>(base_ + offset)) &&
               file_.read(reinterpret_cast<char*>(out), static_cast<qint64>(n)) == static_cast<qint64>(n);
    }

private:
    QFile& file_;
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
            const std::uint64_t size = typeSize(type);
            const std::uint8_t* field = e + 4 + fieldBytes;
            const std::uint64_t bytes = size != 0 && n <= s_.size() / size ? n * size : ~std::uint64_t(0);
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
    // sub-directories some of them point at (Olympus camera settings, Nikon preview...). The likeliest
    // reading of it counts.
    void walkMakerNote(std::uint64_t at, std::uint64_t size) {
        static constexpr std::uint64_t kStarts[] = {0, 6, 8, 10, 12, 14, 18, 20};
        std::uint64_t most = 0;
        for (const std::uint64_t start : kStarts) {
            if (start + 2 > size) break;
            for (const bool little : {little_, !little_})
                most = std::max(most, makerNoteClaims(at, at + start, little));
        }
        total_ += most;
    }

    // The maker's directory at `dirAt` read in one byte order, with the directories it points at. Their
    // offsets count from the start of the structure, of the note, or of a TIFF header in the note just
    // before the directory, by maker: every place that holds a directory counts, each place once.
    std::uint64_t makerNoteClaims(std::uint64_t noteAt, std::uint64_t dirAt, bool little) {
        std::vector<std::uint64_t> pointers;
        const std::optional<std::uint64_t> top = makerDirectory(dirAt, little, &pointers);
        if (!top) return 0;
        std::uint64_t claimed = *top;
        const std::uint64_t bases[] = {0, noteAt, dirAt - std::min<std::uint64_t>(dirAt, 8)};
        std::set<std::uint64_t> places = {dirAt};
        for (const std::uint64_t pointer : pointers) {
            for (const std::uint64_t base : bases) {
                if (!places.insert(base + pointer).second) continue;
                const std::optional<std::uint64_t> nested = makerDirectory(base + pointer, little, nullptr);
                if (!nested) continue;
                claimed += *nested;
                if (++nestedDirectories_ > kMaxNestedDirectories) return claimed;
            }
        }
        return claimed;
    }

    // The values a maker's directory claims: at most 256 entries (Exiv2 reads no more), every one of a
    // known type, or it is no directory. `pointers`, when asked, gets the offsets its long and
    // directory entries hold, at most 9 an entry as Exiv2 follows them.
    std::optional<std::uint64_t> makerDirectory(std::uint64_t at, bool little,
                                                std::vector<std::uint64_t>* pointers) const {
        std::uint8_t countField[2];
        if (!s_.read(at, 2, countField)) return std::nullopt;
        const std::uint64_t count = number(countField, 2, little);
        if (count == 0 || count > 256) return std::nullopt;
        std::vector<std::uint8_t> entries(static_cast<std::size_t>(count) * 12);
        if (!s_.read(at + 2, entries.size(), entries.data())) return std::nullopt;
        std::uint64_t claimed = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* e = entries.data() + i * 12;
            const std::uint64_t type = number(e + 2, 2, little);
            const std::uint64_t size = typeSize(type);
            if (size == 0) return std::nullopt;
            const std::uint64_t n = number(e + 4, 4, little);
            if (n <= s_.size() / size && n * size > 4) claimed += n * size;
            const bool offsets = type == kTypeLong || type == kTypeSignedLong || type == kTypeIfd;
            if (pointers && offsets && n >= 1) addPointers(e + 8, n, little, *pointers);
        }
        return claimed;
    }

    void addPointers(const std::uint8_t* field, std::uint64_t n, bool little,
                     std::vector<std::uint64_t>& pointers) const {
        if (n == 1) {
            pointers.push_back(number(field, 4, little));
            return;
        }
        std::uint8_t list[4 * kMaxSubDirectoriesAnEntry];
        const std::uint64_t wanted = std::min<std::uint64_t>(n, kMaxSubDirectoriesAnEntry);
        if (!s_.read(number(field, 4, little), wanted * 4, list)) return;
        for (std::uint64_t k = 0; k < wanted; ++k)
            pointers.push_back(number(list + 4 * k, 4, little));
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

void add(TiffClaims& claims, QFile& file, std::uint64_t base, std::uint64_t size) {
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
    QFile file(toQString(pathUtf8));
    if (!file.open(QIODevice::ReadOnly)) return claims;
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
    }
    return claims;
}

} // namespace imaging
