#include "imaging/PngChunks.h"

#include "imaging/LocalFile.h"
#include "imaging/PropertyReader.h"
#include "imaging/TextCodec.h"

#include <QFile>

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace imaging {
namespace {

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Text and colour chunks are small; anything larger than this is not read.
constexpr std::uint32_t kMaxChunkRead = 4u << 20;

std::uint32_t be32(const unsigned char* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void addOnce(PropertyBlock& block, std::uint32_t id, std::uint16_t type, const void* data,
             std::size_t length) {
    if (block.contains(id) || block.count() >= kMaxPropertyCount) return;
    block.add(id, type, data, static_cast<std::uint32_t>(length));
}

void addText(PropertyBlock& block, std::uint32_t id, const std::string& text) {
    addOnce(block, id, kTypeAscii, text.c_str(), text.size() + 1);
}

// Inflates a zlib stream, giving up past `limit` bytes of output.
bool inflateBounded(const unsigned char* data, std::size_t size, std::size_t limit,
                    std::vector<std::uint8_t>& out) {
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return false;
    zs.next_in = const_cast<Bytef*>(data);
    zs.avail_in = static_cast<uInt>(size);
    std::array<unsigned char, 16384> chunk{};
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = chunk.data();
        zs.avail_out = chunk.size();
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) break;
        out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - zs.avail_out));
        if (out.size() > limit) {
            rc = Z_MEM_ERROR;
            break;
        }
        if (zs.avail_in == 0 && rc == Z_OK && zs.avail_out != 0) break;
    }
    inflateEnd(&zs);
    return rc == Z_STREAM_END;
}

void addTextChunk(PropertyBlock& block, std::string_view key, const std::string& text) {
    if (key == "Title")
        addText(block, 0x0320, text);
    else if (key == "Author")
        addText(block, 0x013b, text);
    else if (key == "Description")
        addText(block, 0x010e, text);
    else if (key == "Copyright")
        addText(block, 0x8298, text);
    else if (key == "Software")
        addText(block, 0x0131, text);
}

void readChunk(const char type[4], const std::vector<unsigned char>& d, PropertyBlock& block) {
    const std::string_view t(type, 4);
    const std::size_t n = d.size();
    if (t == "tIME" && n >= 7) {
        char text[32];
        std::snprintf(text, sizeof text, "%04u:%02u:%02u %02u:%02u:%02u", (d[0] << 8) | d[1], d[2], d[3],
                      d[4], d[5], d[6]);
        addText(block, 0x0132, text);
    } else if (t == "tEXt") {
        const auto* nul = static_cast<const unsigned char*>(std::memchr(d.data(), 0, n));
        if (!nul) return;
        const std::string_view key(reinterpret_cast<const char*>(d.data()), nul - d.data());
        // tEXt is Latin-1.
        std::string latin1(reinterpret_cast<const char*>(nul + 1), d.data() + n - (nul + 1));
        addTextChunk(block, key, toUtf8(QString::fromLatin1(latin1.data(), qsizetype(latin1.size()))));
    } else if (t == "iTXt") {
        // keyword NUL flag method language NUL translated NUL text (UTF-8, perhaps compressed)
        const auto* end = d.data() + n;
        const auto* p = static_cast<const unsigned char*>(std::memchr(d.data(), 0, n));
        if (!p || end - p < 3) return;
        const std::string_view key(reinterpret_cast<const char*>(d.data()), p - d.data());
        const bool compressed = p[1] != 0;
        p += 3;
        for (int skip = 0; skip < 2 && p; ++skip) {
            p = static_cast<const unsigned char*>(std::memchr(p, 0, end - p));
            if (p) ++p;
        }
        if (!p) return;
        if (compressed) {
            std::vector<std::uint8_t> out;
            if (!inflateBounded(p, end - p, kMaxChunkRead, out)) return;
            addTextChunk(block, key, normalizeToUtf8(std::string(out.begin(), out.end())));
        } else {
            addTextChunk(block, key, normalizeToUtf8(std::string(p, end)));
        }
    } else if (t == "gAMA" && n >= 4) {
        // The chunk holds 100000 / gamma; the tag holds the gamma itself, 2.2 as 100000 / 45455.
        std::vector<std::uint8_t> v;
        putLe32(v, 100000);
        putLe32(v, be32(d.data()));
        addOnce(block, 0x0301, kTypeRational, v.data(), v.size());
    } else if (t == "cHRM" && n >= 32) {
        std::vector<std::uint8_t> white, primaries;
        for (int i = 0; i < 2; ++i)
            putLe32(white, be32(&d[4 * i])), putLe32(white, 100000);
        for (int i = 2; i < 8; ++i)
            putLe32(primaries, be32(&d[4 * i])), putLe32(primaries, 100000);
        addOnce(block, 0x013e, kTypeRational, white.data(), white.size());
        addOnce(block, 0x013f, kTypeRational, primaries.data(), primaries.size());
    } else if (t == "pHYs" && n >= 9) {
        std::vector<std::uint8_t> x, y;
        putLe32(x, be32(&d[0]));
        putLe32(y, be32(&d[4]));
        addOnce(block, 0x5110, kTypeByte, &d[8], 1);
        addOnce(block, 0x5111, kTypeLong, x.data(), x.size());
        addOnce(block, 0x5112, kTypeLong, y.data(), y.size());
    } else if (t == "sRGB" && n >= 1) {
        addOnce(block, 0x0303, kTypeByte, &d[0], 1);
    } else if (t == "iCCP") {
        const auto* nul =
            static_cast<const unsigned char*>(std::memchr(d.data(), 0, std::min<std::size_t>(n, 80)));
        if (!nul || d.data() + n - nul < 2) return;
        addText(block, 0x0302, std::string(reinterpret_cast<const char*>(d.data()), nul - d.data()));
        std::vector<std::uint8_t> profile;
        if (inflateBounded(nul + 2, d.data() + n - (nul + 2), kMaxPropertyValueBytes, profile))
            addOnce(block, 0x8773, kTypeUndefined, profile.data(), profile.size());
    }
}

bool interesting(const char type[4]) {
    static constexpr std::array<const char*, 8> kTypes = {"tIME", "tEXt", "iTXt", "gAMA",
                                                          "cHRM", "pHYs", "sRGB", "iCCP"};
    for (const char* k : kTypes)
        if (std::memcmp(k, type, 4) == 0) return true;
    return false;
}

} // namespace

void addPngChunkProperties(const std::string& pathUtf8, PropertyBlock& block) {
    QFile file;
    if (!openLocalFile(file, pathUtf8, QIODevice::ReadOnly).empty()) return;
    unsigned char signature[8];
    if (file.read(reinterpret_cast<char*>(signature), 8) != 8 ||
        std::memcmp(signature, kSignature.data(), 8) != 0)
        return;
    const qint64 fileSize = file.size();
    qint64 pos = 8;
    while (pos + 12 <= fileSize) {
        unsigned char header[8];
        if (!file.seek(pos) || file.read(reinterpret_cast<char*>(header), 8) != 8) return;
        const std::uint32_t length = be32(header);
        char type[4];
        std::memcpy(type, header + 4, 4);
        if (length > 0x7FFFFFFFu || pos + 12 + qint64(length) > fileSize) return;
        if (std::memcmp(type, "IEND", 4) == 0) return;
        if (interesting(type) && length <= kMaxChunkRead) {
            std::vector<unsigned char> data(length);
            if (length > 0 && file.read(reinterpret_cast<char*>(data.data()), length) != qint64(length))
                return;
            readChunk(type, data, block);
        }
        pos += 12 + qint64(length);
    }
}

} // namespace imaging
