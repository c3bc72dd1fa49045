#include "imaging/JpegStructure.h"

#include "imaging/LocalFile.h"
#include "imaging/TextCodec.h"

#include <QFile>

#include <array>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace imaging {
namespace {

constexpr qint64 kChunkBytes = 256 << 10;

// The file read front to back in chunks, once; segment bodies are skipped by seeking past them.
class ChunkedBytes {
public:
    explicit ChunkedBytes(QFile& file) : file_(file), chunk_(kChunkBytes) {}

    // The next byte, or -1 at the end of the file.
    int next() {
        if (at_ == end_ && !fill()) return -1;
        return chunk_[at_++];
    }

    void skip(std::uint64_t n) {
        if (n <= end_ - at_) {
            at_ += static_cast<std::size_t>(n);
            return;
        }
        n -= end_ - at_;
        at_ = end_ = 0;
        const qint64 to = file_.pos() + static_cast<qint64>(n);
        if (to < 0 || to > file_.size() || !file_.seek(to)) ended_ = true;
    }

    // Moves to the next 0xFF byte: past a scan's data or bytes between segments. False at the end.
    bool findMarkerPrefix() {
        for (;;) {
            const void* ff = std::memchr(chunk_.data() + at_, 0xFF, end_ - at_);
            if (ff) {
                at_ = static_cast<std::size_t>(static_cast<const std::uint8_t*>(ff) - chunk_.data());
                return true;
            }
            at_ = end_;
            if (!fill()) return false;
        }
    }

private:
    bool fill() {
        if (ended_) return false;
        const qint64 n = file_.read(reinterpret_cast<char*>(chunk_.data()), kChunkBytes);
        at_ = 0;
        end_ = n > 0 ? static_cast<std::size_t>(n) : 0;
        ended_ = n <= 0;
        return end_ > 0;
    }

    QFile& file_;
    std::vector<std::uint8_t> chunk_;
    std::size_t at_ = 0, end_ = 0;
    bool ended_ = false;
};

constexpr int kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kTem = 0x01;

// Codes after a 0xFF that carry no segment: a stuffed zero or a restart marker inside a scan's data,
// TEM; none is counted.
bool withoutSegment(int code) {
    return code == 0x00 || code == kTem || (code >= 0xD0 && code <= 0xD7);
}

// What identifies a file's content for as long as it is not written: changing it changes its times.
struct FileIdentity {
    dev_t device;
    ino_t inode;
    off_t size;
    time_t modified;
    long modifiedNs;
    time_t changed;
    long changedNs;
    bool operator==(const FileIdentity&) const = default;
};

// The last files walked, and what the walk found.
class WalkedFiles {
public:
    static WalkedFiles& instance() {
        static auto* walked = new WalkedFiles; // never destroyed: jobs may still ask at exit
        return *walked;
    }
    std::optional<JpegStructure> find(const FileIdentity& file) {
        std::lock_guard lock(mutex_);
        for (const auto& [identity, structure] : kept_)
            if (identity == file) return structure;
        return std::nullopt;
    }
    void keep(const FileIdentity& file, const JpegStructure& structure) {
        std::lock_guard lock(mutex_);
        kept_[next_++ % kept_.size()] = {file, structure};
    }

private:
    std::mutex mutex_;
    std::array<std::pair<FileIdentity, JpegStructure>, 16> kept_{}; // a few photos per job
    std::size_t next_ = 0;
};

JpegStructure walk(QFile& file) {
    JpegStructure s;
    ChunkedBytes bytes(file);
    if (bytes.next() != 0xFF || bytes.next() != kSoi) return s;
    s.jpeg = true;
    s.markers = 1;
    while (bytes.findMarkerPrefix()) {
        int code = bytes.next();
        while (code == 0xFF) // fill bytes before a marker
            code = bytes.next();
        if (code < 0) break;
        if (withoutSegment(code)) continue; // a stuffed 0xFF in a scan's data, a restart marker
        ++s.markers;
        if (code == kEoi) break;
        if (code == kSoi) continue;
        const int high = bytes.next(), low = bytes.next();
        if (low < 0) break;
        const int length = (high << 8) | low; // counts its own two bytes
        if (length < 2) break;
        bytes.skip(static_cast<std::uint64_t>(length - 2));
        if (code == kSos) ++s.scans;
    }
    return s;
}

} // namespace

std::string JpegStructure::refusal() const {
    if (scans > kMaxJpegScans)
        return "too many scans: " + std::to_string(scans) + " (at most " + std::to_string(kMaxJpegScans) +
               ")";
    if (markers > kMaxJpegMarkers)
        return "too many markers: " + std::to_string(markers) + " (at most " +
               std::to_string(kMaxJpegMarkers) + ")";
    return {};
}

JpegStructure jpegStructure(const std::string& pathUtf8) {
    JpegStructure s;
    QFile file;
    if (!openLocalFile(file, pathUtf8, QIODevice::ReadOnly | QIODevice::Unbuffered).empty()) return s;
    // A photo is walked by its decoder, its property reader and its copy's metadata writer in turn:
    // once is enough while the file stays as it was.
    struct stat st {};
    const bool known = ::fstat(file.handle(), &st) == 0;
    const FileIdentity identity{st.st_dev,          st.st_ino,         st.st_size,        st.st_mtim.tv_sec,
                                st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    if (known) {
        if (const std::optional<JpegStructure> walked = WalkedFiles::instance().find(identity))
            return *walked;
    }
    s = walk(file);
    if (known) WalkedFiles::instance().keep(identity, s);
    return s;
}

} // namespace imaging
