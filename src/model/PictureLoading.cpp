// Decoding a picture file into the model and making its items.

#include "model/DatedPicture.h"

#include "imaging/ImageDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PhotoContent.h"
#include "imaging/PropertyReader.h"
#include "imaging/TextCodec.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace {

imaging::PropertyItem textProperty(std::uint32_t tag, const std::string& text) {
    return imaging::PropertyItem{tag, static_cast<std::uint32_t>(text.size() + 1), imaging::kTypeAscii,
                                 reinterpret_cast<const std::uint8_t*>(text.c_str())};
}

// A photo is printed on white paper, and its copy is a JPEG, which cannot be transparent: transparent
// and half-transparent parts of a PNG or TIFF are laid on white at once, so the view shows what the
// copy gets. Premultiplied channels over white are c + (255 - alpha).
void layOnWhite(QImage& image) {
    if (image.format() != QImage::Format_ARGB32_Premultiplied) return;
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            const int under = 255 - qAlpha(p);
            row[x] = qRgb(qRed(p) + under, qGreen(p) + under, qBlue(p) + under);
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

// When the file was last changed, in the machine's time (a file's time is a moment, not a clock
// reading), as an Exif date text, and the machine's offset from UTC then ("+01:00"); empty when it
// cannot be read.
std::pair<std::string, std::string> fileTimeOf(const std::string& path) {
    struct stat st {};
    std::tm local{};
    if (::stat(path.c_str(), &st) != 0 || localtime_r(&st.st_mtime, &local) == nullptr) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local) == 0) return {};
    const long offset = local.tm_gmtoff;
    char zone[16];
    std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', std::labs(offset) / 3600,
                  std::labs(offset) / 60 % 60);
    return {text, zone};
}

} // namespace

bool CDatedPicture::HasPictureExtension(const std::string& path) {
    const auto dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? path : path.substr(dot);
    for (const char* photo :
         {".jpg", ".jpeg", ".jpe", ".tif", ".tiff", ".png", ".webp", ".heic", ".heif", ".avif"})
        if (imaging::equalsIgnoringCase(extension, photo)) return true;
    return false;
}

int CDatedPicture::LoadPicture(const std::string& path, const CDatedPicture& templ, Dialogs& dialogs,
                               std::string* whyNot, PhotoPixels pixels) {
    if (!ReadPicture(path, whyNot, pixels)) return 0;
    ApplyTemplate(templ, dialogs);
    return 1;
}

int CDatedPicture::ReadPicture(const std::string& path, std::string* whyNot, PhotoPixels pixels) {
    if (!HasPictureExtension(path)) {
        if (whyNot) *whyNot = "not a .jpg, .jpeg, .jpe, .tif, .tiff, .png, .webp, .heic, .heif or .avif file";
        return 0;
    }
    StopDecoding();
    pendingPhoto_.reset();
    workPicture.reset();
    picture.reset();

    imaging::Status status = imaging::Status::Ok;
    std::string reason;
    const bool streamed =
        pixels == PhotoPixels::Streamed && imaging::photoContentOf(path) == imaging::PhotoContent::Jpeg;
    pixelsUnread = pixels == PhotoPixels::SizeOnly || streamed;
    if (pixelsUnread) {
        // A streamed photo is opened now and decoded at the save: the picture of zeros stands in for
        // its size and is never touched.
        std::unique_ptr<imaging::JpegDecoder> opened;
        imaging::DecodedImage sized = imaging::undecodedJpegFile(path, streamed ? &opened : nullptr);
        status = sized.status;
        reason = sized.reason;
        if (status == imaging::Status::Ok) {
            picture = std::make_unique<imaging::Bitmap>(std::move(sized.image));
            pendingPhoto_ = std::move(opened);
        }
    } else {
        // Decoded by its content: a PNG named .jpg opens as the PNG it is, a file that holds no photo
        // is refused with that reason.
        picture = imaging::Bitmap::fromFile(path, status, &reason, imaging::Accept::PhotosOnly);
    }
    if (status != imaging::Status::Ok || !picture) {
        picture.reset();
        pendingPhoto_.reset();
        if (whyNot) *whyNot = reason;
        return 0;
    }
    layOnWhite(picture->image());
    bounds = picture->bounds();
    std::tie(fileTime, fileTimeZone) = fileTimeOf(path);
    ++pictureSerial;

    const imaging::PropertyBlock properties = imaging::readProperties(path);
    itemCount = 0;
    for (const imaging::PropertyItem& property : properties.items())
        AddItemFromProperty(property);

    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The full path, also for a photo named relative to the current folder (on a command line), of
    // the path's own bytes.
    std::string fullPath = path;
    if (path.empty() || path[0] != '/') {
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd) != nullptr) fullPath = std::string(cwd) + "/" + path;
    }
    AddItemFromProperty(textProperty(kTagImagePath, fullPath));
    AddItemFromProperty(textProperty(kTagImageName, name));
    return 1;
}
