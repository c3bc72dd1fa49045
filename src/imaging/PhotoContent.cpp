#include "imaging/PhotoContent.h"

#include "imaging/LocalFile.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace imaging {
namespace {

constexpr std::array<std::string_view, 8> kHevcBrands = {"heic", "heix", "hevc", "hevx",
                                                         "heim", "heis", "hevm", "hevs"};

bool isOneOf(std::string_view brand, const auto& brands) {
    for (std::string_view b : brands)
        if (b == brand) return true;
    return false;
}

std::uint64_t be32(const std::uint8_t* p) {
    return (std::uint64_t(p[0]) << 24) | (std::uint64_t(p[1]) << 16) | (std::uint64_t(p[2]) << 8) | p[3];
}

// The brands of a leading "ftyp" box: the major one at 8, the compatible ones from 16 to the box's end.
PhotoContent isoMediaContent(const std::uint8_t* head, std::size_t size) {
    if (size < 16 || std::memcmp(head + 4, "ftyp", 4) != 0) return PhotoContent::None;
    const std::uint64_t boxSize = be32(head);
    if (boxSize < 16) return PhotoContent::None; // 0 (to the end) and 1 (64-bit size) are no ftyp a photo has
    const auto brand = [head](std::size_t at) {
        return std::string_view(reinterpret_cast<const char*>(head + at), 4);
    };
    const std::string_view major = brand(8);
    if (major == "avif" || major == "avis") return PhotoContent::Avif;
    if (isOneOf(major, kHevcBrands)) return PhotoContent::Heif;
    const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(boxSize, size));
    bool general = major == "mif1" || major == "msf1";
    bool hevc = false;
    for (std::size_t at = 16; at + 4 <= end; at += 4) {
        const std::string_view compatible = brand(at);
        if (compatible == "avif" || compatible == "avis") return PhotoContent::Avif;
        hevc = hevc || isOneOf(compatible, kHevcBrands);
        general = general || compatible == "mif1" || compatible == "msf1";
    }
    return hevc || general ? PhotoContent::Heif : PhotoContent::None;
}

} // namespace

PhotoContent photoContentOf(const std::uint8_t* head, std::size_t size) {
    if (size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return PhotoContent::Jpeg;
    if (size >= 4 &&
        ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0) ||
         (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43))))
        return PhotoContent::Tiff;
    if (size >= 8 && std::memcmp(head, "\x89PNG\r\n\x1A\n", 8) == 0) return PhotoContent::Png;
    if (size >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return PhotoContent::WebP;
    return isoMediaContent(head, size);
}

PhotoContent photoContentOf(const std::string& pathUtf8) {
    QFile file;
    if (!openLocalFile(file, pathUtf8, QIODevice::ReadOnly).empty()) return PhotoContent::None;
    std::array<std::uint8_t, kContentHeadBytes> head{};
    const qint64 n = file.read(reinterpret_cast<char*>(head.data()), static_cast<qint64>(head.size()));
    return n > 0 ? photoContentOf(head.data(), static_cast<std::size_t>(n)) : PhotoContent::None;
}

const char* contentName(PhotoContent content) {
    switch (content) {
    case PhotoContent::Jpeg:
        return "JPEG";
    case PhotoContent::Tiff:
        return "TIFF";
    case PhotoContent::Png:
        return "PNG";
    case PhotoContent::WebP:
        return "WebP";
    case PhotoContent::Heif:
        return "HEIF";
    case PhotoContent::Avif:
        return "AVIF";
    case PhotoContent::None:
        break;
    }
    return "";
}

} // namespace imaging
