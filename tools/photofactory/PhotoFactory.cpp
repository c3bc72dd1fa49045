#include "photofactory/PhotoFactory.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>

#include <exiv2/exiv2.hpp>
#include <zlib.h>

#include <cstdio> // jpeglib.h uses FILE without including it
#include <cstdlib>
extern "C" {
#include <jpeglib.h>
}

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace photofactory {
namespace {

QImage plainImage(const Photo& photo) {
    QImage image(photo.width, photo.height, QImage::Format_RGB32);
    image.fill(photo.color);
    // A darker top-left quarter makes orientation visible in tests.
    for (int y = 0; y < photo.height / 2; ++y)
        for (int x = 0; x < photo.width / 2; ++x)
            image.setPixel(x, y, qRgb(20, 20, 20));
    return image;
}

// Broad soft gradients, different across and down, under sensor-like noise: mostly in brightness,
// some in colour. At quality 92 a 24-megapixel picture makes a file of several megabytes, as a
// camera's does. The same size always gives the same pixels.
QImage texturedImage(const Photo& photo) {
    QImage image(photo.width, photo.height, QImage::Format_RGB32);
    if (image.isNull()) return image;
    const double w = photo.width, h = photo.height;
    constexpr double kTurn = 6.283185307179586;
    // Per channel, a profile across plus a profile down: a sky-like fall and a few slow waves.
    std::vector<std::array<int, 3>> across(static_cast<std::size_t>(photo.width));
    std::vector<std::array<int, 3>> down(static_cast<std::size_t>(photo.height));
    for (int x = 0; x < photo.width; ++x) {
        const double u = x / w;
        across[static_cast<std::size_t>(x)] = {
            static_cast<int>(40 * std::sin(kTurn * 1.3 * u) + 15 * std::sin(kTurn * 7.1 * u)),
            static_cast<int>(30 * std::sin(kTurn * 0.9 * u + 1) + 12 * std::sin(kTurn * 5.3 * u)),
            static_cast<int>(35 * std::cos(kTurn * 1.7 * u) + 10 * std::sin(kTurn * 9.7 * u))};
    }
    for (int y = 0; y < photo.height; ++y) {
        const double v = y / h;
        down[static_cast<std::size_t>(y)] = {
            static_cast<int>(110 - 60 * v + 20 * std::sin(kTurn * 2.3 * v)),
            static_cast<int>(130 - 30 * v + 25 * std::sin(kTurn * 1.1 * v + 2)),
            static_cast<int>(170 - 90 * v + 15 * std::cos(kTurn * 3.7 * v))};
    }
    std::uint32_t state = 0x9E3779B9u ^ static_cast<std::uint32_t>(photo.width * 7919 + photo.height);
    const auto next = [&state]() { // xorshift32
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    for (int y = 0; y < photo.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto& d = down[static_cast<std::size_t>(y)];
        for (int x = 0; x < photo.width; ++x) {
            const auto& a = across[static_cast<std::size_t>(x)];
            const std::uint32_t r = next();
            // Triangular noise: brightness about +-12, colour about +-4.
            const int luma = static_cast<int>(r & 0x0F) + static_cast<int>((r >> 4) & 0x0F) - 15;
            const auto chroma = [r](int shift) { return static_cast<int>((r >> shift) & 0x07) - 3; };
            line[x] = qRgb(clamp(d[0] + a[0] + luma + chroma(8)), clamp(d[1] + a[1] + luma + chroma(12)),
                           clamp(d[2] + a[2] + luma + chroma(16)));
        }
    }
    return image;
}

// Windows' XP tags hold little-endian UTF-16 in byte values: "84 0 105 0 ... 0 0".
std::string utf16Bytes(const std::string& utf8) {
    std::string out;
    const QString text = QString::fromUtf8(utf8.c_str());
    for (const QChar c : text)
        out += std::to_string(c.unicode() & 0xFF) + " " + std::to_string(c.unicode() >> 8) + " ";
    return out + "0 0";
}

std::string addTags(Exiv2::ExifData& exif, const std::vector<Tag>& tags) {
    for (const Tag& tag : tags) {
        try {
            const Exiv2::ExifKey key(tag.key);
            const auto type = tag.type != 0 ? static_cast<Exiv2::TypeId>(tag.type) : key.defaultTypeId();
            auto value = Exiv2::Value::create(type);
            std::string text = tag.value;
            if (tag.type == 0 && tag.key.find(".XP") != std::string::npos) text = utf16Bytes(text);
            if (value->read(text) != 0) return "cannot read the value of " + tag.key;
            exif.add(key, value.get());
        } catch (const std::exception& e) {
            return tag.key + ": " + e.what();
        }
    }
    return {};
}

QByteArray encode(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// The image encoded by libjpeg as the layout asks; libjpeg's errors end the test program, which is
// what a photo the tests cannot make deserves.
QByteArray encodeLaidOut(const QImage& source, const JpegLayout& layout, int quality) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    using S = JpegLayout::Sampling;
    const bool cmyk = layout.sampling == S::Cmyk;
    info.input_components = cmyk ? 4 : 3;
    info.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (layout.sampling == S::Grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (layout.sampling == S::YCbCr444) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (layout.sampling == S::YCbCr422) info.comp_info[0].v_samp_factor = 1;
    info.restart_in_rows = layout.restartRows;
    info.arith_code = layout.arithmetic ? TRUE : FALSE;
    if (layout.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> cmykRow(cmyk ? static_cast<std::size_t>(image.width()) * 4 : 0);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(info.next_scanline)));
        if (cmyk) {
            for (int x = 0; x < image.width(); ++x) {
                const JSAMPLE* rgb = row + 3 * x;
                JSAMPLE* out = cmykRow.data() + 4 * x;
                std::copy(rgb, rgb + 3, out);
                out[3] = static_cast<JSAMPLE>(255 - std::min({rgb[0], rgb[1], rgb[2]}) / 2);
            }
            row = cmykRow.data();
        }
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return out;
}

std::string writeFile(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return "cannot write " + path;
    return {};
}

void putBe32(QByteArray& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}

QByteArray pngChunk(const std::string& type, const std::vector<std::uint8_t>& data) {
    QByteArray chunk;
    putBe32(chunk, static_cast<std::uint32_t>(data.size()));
    QByteArray body(type.c_str(), 4);
    body.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    chunk.append(body);
    putBe32(chunk, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.constData()),
                                                    static_cast<uInt>(body.size()))));
    return chunk;
}

// Puts the picture's own tags of an uncompressed RGB TIFF, with the pixels as the strip's data, into
// the Exif, so Exiv2 writes the whole file: in the byte order asked for and with every tag as given.
// (Exiv2 keeps the byte order and the image tags of a TIFF it updates, such as one Qt wrote.)
void addTiffImageTags(Exiv2::ExifData& exif, const QImage& image, std::vector<Exiv2::byte>& pixels) {
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    pixels.clear();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y);
            pixels.insert(pixels.end(),
                          {static_cast<Exiv2::byte>(qRed(rgb)), static_cast<Exiv2::byte>(qGreen(rgb)),
                           static_cast<Exiv2::byte>(qBlue(rgb))});
        }
    }
    const auto setIfAbsent = [&exif](const char* key, const Exiv2::Value& value) {
        if (exif.findKey(Exiv2::ExifKey(key)) == exif.end()) exif[key] = value;
    };
    exif["Exif.Image.ImageWidth"] = width;
    exif["Exif.Image.ImageLength"] = height;
    Exiv2::UShortValue bitsPerSample;
    bitsPerSample.read("8 8 8");
    exif["Exif.Image.BitsPerSample"] = bitsPerSample;
    exif["Exif.Image.Compression"] = std::uint16_t(1);
    exif["Exif.Image.PhotometricInterpretation"] = std::uint16_t(2);
    exif["Exif.Image.SamplesPerPixel"] = std::uint16_t(3);
    exif["Exif.Image.RowsPerStrip"] = height;
    exif["Exif.Image.StripByteCounts"] = static_cast<std::uint32_t>(pixels.size());
    exif["Exif.Image.PlanarConfiguration"] = std::uint16_t(1);
    setIfAbsent("Exif.Image.XResolution", Exiv2::URationalValue(Exiv2::URational(72, 1)));
    setIfAbsent("Exif.Image.YResolution", Exiv2::URationalValue(Exiv2::URational(72, 1)));
    setIfAbsent("Exif.Image.ResolutionUnit", Exiv2::UShortValue(2));
    Exiv2::ULongValue stripOffsets(std::uint32_t(0));
    stripOffsets.setDataArea(pixels.data(), static_cast<long>(pixels.size()));
    exif["Exif.Image.StripOffsets"] = stripOffsets;
}

bool extensionIs(const std::string& path, const char* ext) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    std::string e = path.substr(dot + 1);
    for (char& c : e)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e == ext;
}

} // namespace

std::vector<std::uint8_t> encodeExif(const std::vector<Tag>& tags, bool bigEndian) {
    Exiv2::ExifData exif;
    if (!addTags(exif, tags).empty()) return {};
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, bigEndian ? Exiv2::bigEndian : Exiv2::littleEndian, exif);
    return blob;
}

std::string writePhoto(const std::string& path, const Photo& photo) {
    QImage image = !photo.picture.isNull() ? photo.picture.convertToFormat(QImage::Format_RGB32)
                   : photo.textured        ? texturedImage(photo)
                                           : plainImage(photo);
    // Qt's JPEG and PNG writers embed the profile of the image's colour space as it was read.
    image.setColorSpace(photo.iccProfile.isEmpty() ? QColorSpace()
                                                   : QColorSpace::fromIccProfile(photo.iccProfile));
    if (extensionIs(path, "heic") || extensionIs(path, "heif") || extensionIs(path, "avif"))
        return writeHeif(path, image, extensionIs(path, "avif"), photo);
    if (extensionIs(path, "png")) {
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> chunks;
        if (!photo.tags.empty()) {
            auto tiff = encodeExif(photo.tags, photo.bigEndian);
            if (tiff.empty()) return "cannot encode the Exif";
            chunks.emplace_back("eXIf", std::move(tiff));
        }
        if (photo.pngTime) {
            const PngTime& t = *photo.pngTime;
            chunks.emplace_back("tIME",
                                std::vector<std::uint8_t>{
                                    static_cast<std::uint8_t>(t.year >> 8), static_cast<std::uint8_t>(t.year),
                                    static_cast<std::uint8_t>(t.month), static_cast<std::uint8_t>(t.day),
                                    static_cast<std::uint8_t>(t.hour), static_cast<std::uint8_t>(t.minute),
                                    static_cast<std::uint8_t>(t.second)});
        }
        for (const auto& [key, text] : photo.pngTexts) {
            std::vector<std::uint8_t> data(key.begin(), key.end());
            data.push_back(0);
            data.insert(data.end(), text.begin(), text.end());
            chunks.emplace_back("tEXt", std::move(data));
        }
        return writePngWithChunks(path, image, chunks);
    }

    const bool tiff = extensionIs(path, "tif") || extensionIs(path, "tiff");
    if (!tiff) {
        const bool webp = extensionIs(path, "webp");
        const bool qtWrites =
            webp || (photo.layout.sampling == JpegLayout::Sampling::Qt && !photo.layout.progressive &&
                     !photo.layout.arithmetic && photo.layout.restartRows == 0);
        const QByteArray encoded = qtWrites ? encode(image, webp ? "webp" : "jpeg", photo.quality)
                                            : encodeLaidOut(image, photo.layout, photo.quality);
        if (std::string error = writeFile(path, encoded); !error.empty()) return error;
        if (photo.tags.empty() && !photo.thumbnail) return {};
    }
    Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte*>(photo.iccProfile.constData()),
                           static_cast<long>(photo.iccProfile.size()));
    try {
        Exiv2::ExifData exif;
        if (std::string error = addTags(exif, photo.tags); !error.empty()) return error;
        if (photo.thumbnail) {
            const QByteArray thumb = encode(image.scaled(32, 24), "jpeg", 80);
            Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.constData()),
                                                    static_cast<long>(thumb.size()));
        }
        std::vector<Exiv2::byte> pixels;
        Exiv2::Image::AutoPtr file;
        if (tiff) {
            addTiffImageTags(exif, image, pixels);
            QFile::remove(QString::fromStdString(path)); // an absent file makes Exiv2 write a new TIFF
            file.reset(new Exiv2::TiffImage(Exiv2::BasicIo::AutoPtr(new Exiv2::FileIo(path)), true));
        } else {
            file = Exiv2::ImageFactory::open(path);
        }
        for (const Exiv2::Exifdatum& d : exif)
            file->exifData()[d.key()] = d.value();
        // Exiv2 writes a JPEG's profile from what it holds, dropping the one in the file; in a TIFF the
        // profile is tag 0x8773.
        if (profile.size_ > 0) file->setIccProfile(profile, false);
        file->setByteOrder(photo.bigEndian ? Exiv2::bigEndian : Exiv2::littleEndian);
        file->writeMetadata();
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string writeJpegWithRawExif(const std::string& path, const QImage& image,
                                 const std::vector<std::uint8_t>& tiff) {
    const QByteArray jpeg = encode(image, "jpeg", 90);
    if (jpeg.size() < 2 || tiff.size() > 65000) return "cannot make the JPEG";
    QByteArray out = jpeg.left(2);
    const auto length = static_cast<std::uint32_t>(2 + 6 + tiff.size());
    out.append('\xFF').append('\xE1');
    out.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
    out.append("Exif\0\0", 6);
    out.append(reinterpret_cast<const char*>(tiff.data()), static_cast<qsizetype>(tiff.size()));
    out.append(jpeg.mid(2));
    return writeFile(path, out);
}

std::string writePngWithChunks(const std::string& path, const QImage& image,
                               const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& chunks) {
    const QByteArray png = encode(image, "png", 90);
    constexpr int kHeaderEnd = 8 + 25; // signature, then the 13-byte IHDR chunk with its frame
    if (png.size() < kHeaderEnd) return "cannot make the PNG";
    QByteArray out = png.left(kHeaderEnd);
    for (const auto& [type, data] : chunks)
        out.append(pngChunk(type, data));
    out.append(png.mid(kHeaderEnd));
    return writeFile(path, out);
}

} // namespace photofactory
