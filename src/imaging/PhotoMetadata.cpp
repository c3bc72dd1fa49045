#include "imaging/PhotoMetadata.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/HeifFile.h"
#include "imaging/JpegStructure.h"
#include "imaging/PhotoContent.h"
#include "imaging/TiffClaims.h"

#include <exiv2/webpimage.hpp>

namespace imaging {
namespace {

// Exiv2 is not given HEIF files (its ISO-BMFF parser stays off): libheif, which decodes them, finds
// their Exif, XMP and colour profile, and Exiv2 parses those blocks into an image held in memory, so
// that readers take it as any other photo's metadata.
Exiv2::Image::AutoPtr heifPhotoMetadata(const std::string& pathUtf8, std::string& problem) {
    const HeifMetadata heif = readHeifMetadata(pathUtf8);
    if (!heif.problem.empty() && heif.exif.isEmpty() && heif.xmp.isEmpty() && heif.icc.isEmpty()) {
        problem = heif.problem;
        return Exiv2::Image::AutoPtr();
    }
    if (!heif.exif.isEmpty()) {
        const TiffClaims claims = tiffClaimsOfStructure(heif.exif);
        if (claims.excessive()) {
            problem = claims.refusal();
            return Exiv2::Image::AutoPtr();
        }
    }
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg);
    if (!heif.exif.isEmpty()) {
        Exiv2::ExifData exif;
        const Exiv2::ByteOrder order =
            Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(heif.exif.constData()),
                                      static_cast<long>(heif.exif.size()));
        image->setExifData(exif);
        image->setByteOrder(order);
    }
    if (!heif.xmp.isEmpty()) {
        Exiv2::XmpData xmp;
        if (Exiv2::XmpParser::decode(xmp, heif.xmp.toStdString()) == 0) image->setXmpData(xmp);
    }
    if (!heif.icc.isEmpty()) {
        Exiv2::DataBuf profile(reinterpret_cast<const Exiv2::byte*>(heif.icc.constData()),
                               static_cast<long>(heif.icc.size()));
        image->setIccProfile(profile, false);
    }
    return image;
}

} // namespace

Exiv2::Image::AutoPtr openPhotoMetadata(const std::string& pathUtf8, std::string& problem) {
    silenceExiv2Log();
    const PhotoContent content = photoContentOf(pathUtf8);
    if (content == PhotoContent::Heif || content == PhotoContent::Avif)
        return heifPhotoMetadata(pathUtf8, problem);
    // Exiv2 parses some twenty formats by their content, and videos; a photo of this product is one
    // of a few, and no other parser should see what a file named .jpg holds.
    Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(pathUtf8));
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(std::move(io));
    if (image.get() == nullptr) {
        problem = "unknown file type";
        return Exiv2::Image::AutoPtr();
    }
    const int type = image->imageType();
    if (type != Exiv2::ImageType::jpeg && type != Exiv2::ImageType::tiff && type != Exiv2::ImageType::png &&
        type != Exiv2::ImageType::webp) {
        problem = "not a JPEG, TIFF, PNG, WebP, HEIF or AVIF file";
        return Exiv2::Image::AutoPtr();
    }
    // Exiv2 copies every value of every directory it visits, twice: entries that share one large
    // stretch of bytes would make it take gigabytes before anything here could count them.
    const TiffClaims claims = tiffClaims(pathUtf8);
    if (claims.excessive()) {
        problem = claims.refusal();
        return Exiv2::Image::AutoPtr();
    }
    // What the decoder refuses for its structure Exiv2 is not given either: the item listing, the
    // property reader and the metadata copy give the decoder's reason.
    if (type == Exiv2::ImageType::jpeg) {
        problem = jpegStructure(pathUtf8).refusal();
        if (!problem.empty()) return Exiv2::Image::AutoPtr();
    }
    image->readMetadata();
    return image;
}

} // namespace imaging
