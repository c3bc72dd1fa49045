#include "imaging/MetadataCopy.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/PhotoMetadata.h"

#include <exiv2/exiv2.hpp>

#include <array>
#include <cstring>
#include <string_view>

namespace imaging {
namespace {

// Tags of the main directory that describe how a TIFF stores its pixels; in a JPEG they would
// describe pixels that are not there.
constexpr std::array<std::uint16_t, 20> kStructureTags = {
    0x00fe, 0x00ff, 0x0100, 0x0101, 0x0102, 0x0103, 0x0106, 0x0111, 0x0115, 0x0116,
    0x0117, 0x011c, 0x0140, 0x0142, 0x0143, 0x0144, 0x0145, 0x014a, 0x0201, 0x0202,
};

constexpr std::uint16_t kIccProfileTag = 0x8773;
// The most XMP one APP1 segment holds: its length field counts itself and the 29-byte XMP header.
constexpr std::size_t kMaxXmpPacket = 0xffff - 2 - 29;

bool keepExif(const Exiv2::Exifdatum& d) {
    const std::string group = d.groupName();
    // A TIFF's colour profile is a tag of its main directory; a JPEG carries it in APP2 markers.
    if (group == "Image" && d.tag() == kIccProfileTag) return false;
    if (group == "Thumbnail" || group.rfind("SubImage", 0) == 0 || group.rfind("SubThumb", 0) == 0 ||
        (group.rfind("Image", 0) == 0 && group != "Image"))
        return false;
    if (group == "Image") {
        for (std::uint16_t t : kStructureTags)
            if (d.tag() == t) return false;
    }
    return true;
}

// Where the marker of a JPEG's first scan lies, from its start-of-image marker on; -1 when the
// markers before it cannot be walked.
qsizetype firstScanAt(const QByteArray& jpeg) {
    const auto* p = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const qsizetype n = jpeg.size();
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8) return -1;
    for (qsizetype at = 2; at + 4 <= n;) {
        if (p[at] != 0xFF) return -1;
        const unsigned char marker = p[at + 1];
        if (marker == 0xFF) { // a fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA) return at;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            return -1;
        const int length = (p[at + 2] << 8) | p[at + 3];
        if (length < 2) return -1;
        at += 2 + length;
    }
    return -1;
}

} // namespace

MetadataCopy copyMetadataInto(QByteArray& jpeg, int width, int height, const std::string& sourcePathUtf8) {
    silenceExiv2Log();
    MetadataCopy result;
    Exiv2::Image::AutoPtr source;
    try {
        std::string refused;
        source = openPhotoMetadata(sourcePathUtf8, refused);
        if (source.get() == nullptr) {
            result.leftOut = "the photo's metadata cannot be read: " + refused;
            return result;
        }
    } catch (const std::exception& e) {
        result.leftOut = std::string("the photo's metadata cannot be read: ") + e.what();
        return result;
    }
    try {

        Exiv2::ExifData exif;
        for (const Exiv2::Exifdatum& d : source->exifData())
            if (keepExif(d)) exif.add(d);
        if (!exif.empty()) {
            if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
                exif["Exif.Image.Orientation"] = static_cast<std::uint16_t>(1);
            exif["Exif.Photo.PixelXDimension"] = static_cast<std::uint32_t>(width);
            exif["Exif.Photo.PixelYDimension"] = static_cast<std::uint32_t>(height);
        }
        Exiv2::XmpData xmp = source->xmpData();
        if (xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")) != xmp.end())
            xmp["Xmp.tiff.Orientation"] = "1";
        for (const char* key : {"Xmp.exif.PixelXDimension", "Xmp.exif.PixelYDimension"}) {
            auto at = xmp.findKey(Exiv2::XmpKey(key));
            if (at != xmp.end()) xmp.erase(at);
        }
        if (!xmp.empty()) {
            xmp["Xmp.exif.PixelXDimension"] = std::to_string(width);
            xmp["Xmp.exif.PixelYDimension"] = std::to_string(height);
        }
        const Exiv2::IptcData iptc = source->iptcData();
        // A JPEG holds XMP in one segment of at most 64 KB (and Exiv2 gives up the whole write for a
        // larger packet): a larger one is left out, the rest of the metadata kept.
        if (!xmp.empty()) {
            std::string packet;
            Exiv2::XmpParser::encode(
                packet, xmp, Exiv2::XmpParser::useCompactFormat | Exiv2::XmpParser::omitAllFormatting);
            if (packet.size() > kMaxXmpPacket) {
                result.leftOut = "its XMP metadata (" + std::to_string(packet.size() / 1024) +
                                 " KB) is larger than a JPEG segment holds and was left out";
                xmp.clear();
            }
        }

        // Always rewritten, also for a photo without metadata: Exiv2 writes the JPEG's colour profile
        // from what it is given, so the copy has exactly the photo's profile (read from a JPEG's APP2
        // markers, a PNG's iCCP chunk or a TIFF's tag 0x8773), or none when the photo has none.
        // Exiv2 rewrites the markers before the first scan and copies the rest byte for byte: it is
        // given the markers and the scan's own marker only, and what it writes is put in front of the
        // rest of the JPEG. The file is the one it writes from the whole JPEG, without three copies of
        // megabytes of picture data.
        const qsizetype scan = firstScanAt(jpeg);
        const qsizetype given = scan > 0 ? scan + 2 : jpeg.size();
        auto target = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()),
                                                static_cast<long>(given));
        if (source->iccProfileDefined()) {
            Exiv2::DataBuf profile(source->iccProfile()->pData_, source->iccProfile()->size_);
            target->setIccProfile(profile, false);
        }
        target->setExifData(exif);
        target->setXmpData(xmp);
        target->setIptcData(iptc);
        target->setByteOrder(source->byteOrder() == Exiv2::bigEndian ? Exiv2::bigEndian
                                                                     : Exiv2::littleEndian);
        target->writeMetadata();

        Exiv2::BasicIo& io = target->io();
        io.open();
        const long size = io.size();
        QByteArray out(static_cast<qsizetype>(size), Qt::Uninitialized);
        io.seek(0, Exiv2::BasicIo::beg);
        const long read = io.read(reinterpret_cast<Exiv2::byte*>(out.data()), size);
        io.close();
        if (read != size || size <= 0) {
            result.failure = "the metadata could not be written";
            return result;
        }
        if (scan <= 0) {
            jpeg = std::move(out);
        } else if (out.endsWith(QByteArray("\xFF\xDA", 2))) {
            jpeg.replace(qsizetype(0), scan, out.constData(), out.size() - 2); // in place: the JPEG has room
        } else {
            result.failure = "the metadata could not be written";
        }
    } catch (const std::exception& e) {
        result.failure = e.what();
    } catch (...) {
        result.failure = "the metadata could not be written";
    }
    return result;
}

} // namespace imaging
