#include "imaging/PhotoMetadata.h"

#include "imaging/Exiv2Setup.h"
#include "imaging/JpegStructure.h"
#include "imaging/TiffClaims.h"

namespace imaging {

Exiv2::Image::AutoPtr openPhotoMetadata(const std::string& pathUtf8, std::string& problem) {
    silenceExiv2Log();
    // Exiv2 parses some twenty formats by their content, and videos; a photo of this product is one
    // of three, and no other parser should see what a file named .jpg holds.
    Exiv2::BasicIo::AutoPtr io(new Exiv2::FileIo(pathUtf8));
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(std::move(io));
    if (image.get() == nullptr) {
        problem = "unknown file type";
        return Exiv2::Image::AutoPtr();
    }
    const int type = image->imageType();
    if (type != Exiv2::ImageType::jpeg && type != Exiv2::ImageType::tiff && type != Exiv2::ImageType::png) {
        problem = "not a JPEG, TIFF or PNG file";
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
