#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Photos with known metadata, written through Exiv2, for tests, benchmarks and the demo.
namespace photofactory {

// One Exif tag by its Exiv2 key ("Exif.Photo.DateTimeOriginal") and value in Exiv2's text form
// ("2001:06:21 14:38:56", "10/600", "1 2 3 0" for bytes). `type` is a TIFF type code; 0 keeps the
// tag's usual type.
struct Tag {
    std::string key;
    std::string value;
    int type = 0;
};

struct PngTime {
    int year, month, day, hour, minute, second;
};

// How a JPEG photo is encoded: by Qt's writer (4:2:0, baseline), or by libjpeg with the sampling asked
// for, restart markers every `restartRows` MCU rows and a progressive scan script when asked. Cmyk
// writes the red, green and blue samples as cyan, magenta and yellow, and a black made from them.
struct JpegLayout {
    enum class Sampling { Qt, YCbCr420, YCbCr422, YCbCr444, Grey, Cmyk };
    Sampling sampling = Sampling::Qt;
    int restartRows = 0;
    bool progressive = false;
    bool arithmetic = false;
};

struct Photo {
    int width = 120;
    int height = 80;
    QColor color = QColor(90, 140, 200);
    // Smooth gradients under per-pixel noise, as a camera's picture has, instead of the plain colour:
    // a plain colour compresses to almost nothing and decodes unrealistically fast.
    bool textured = false;
    bool bigEndian = false;
    std::vector<Tag> tags;
    bool thumbnail = false;         // a small JPEG thumbnail in the thumbnail directory
    std::optional<PngTime> pngTime; // PNG only: a tIME chunk
    std::vector<std::pair<std::string, std::string>> pngTexts; // PNG only: tEXt chunks
    int quality = 90;
    JpegLayout layout;
    QImage picture; // when set, these pixels (and their size) instead of the colour or the texture
    // An ICC colour profile: in APP2 markers of a JPEG, an iCCP chunk of a PNG, tag 0x8773 of a TIFF.
    QByteArray iccProfile;
    // HEIF and AVIF only: the turn and mirror a reader applies (irot, imir boxes), in the values of
    // the Exif orientation; the pixels are stored as drawn.
    int heifOrientation = 1;
};

// The Exif of the tags as a TIFF structure (what follows "Exif\0\0" in a JPEG), or empty.
std::vector<std::uint8_t> encodeExif(const std::vector<Tag>& tags, bool bigEndian);

// Writes a .jpg (.jpeg), .tif (.tiff), .png, .webp, .heic (.heif) or .avif photo (by the path's
// extension) of a plain colour (or textured) with the tags. TIFF photos are uncompressed RGB, written
// whole by Exiv2 so the byte order and every tag are as asked. PNG files carry the Exif in an eXIf
// chunk, WebP files in an EXIF chunk, HEIF and AVIF files in an Exif item. Returns an empty text, or
// what went wrong.
std::string writePhoto(const std::string& path, const Photo& photo);

// Writes the picture as HEIF (HEVC) or, with `av1`, AVIF through libheif, with the photo's tags,
// quality and HEIF orientation.
std::string writeHeif(const std::string& path, const QImage& picture, bool av1, const Photo& photo);

// Writes a JPEG of the image whose only metadata is an Exif segment holding exactly `tiff`, for
// damaged and hostile metadata.
std::string writeJpegWithRawExif(const std::string& path, const QImage& image,
                                 const std::vector<std::uint8_t>& tiff);

// Writes a PNG of the image with extra chunks (type, data) inserted after the header chunk.
std::string writePngWithChunks(const std::string& path, const QImage& image,
                               const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& chunks);

} // namespace photofactory
