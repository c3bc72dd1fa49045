#include "imaging/Bitmap.h"

#include "imaging/ImageDecoder.h"
#include "imaging/ImageLimits.h"
#include "imaging/PixelMemory.h"

namespace imaging {

std::unique_ptr<Bitmap> Bitmap::fromFile(const std::string& pathUtf8, Status& status, std::string* reason,
                                         Accept accept) {
    DecodedImage decoded = decodeImageFile(pathUtf8, accept);
    status = decoded.status;
    if (reason) *reason = decoded.reason;
    if (decoded.status != Status::Ok) return nullptr;
    return std::make_unique<Bitmap>(std::move(decoded.image));
}

std::unique_ptr<Bitmap> Bitmap::create(int width, int height, QImage::Format format, Status& status) {
    if (width <= 0 || height <= 0 || format == QImage::Format_Invalid) {
        status = Status::InvalidParameter;
        return nullptr;
    }
    if (!sizeAllowed(width, height)) {
        status = Status::OutOfMemory;
        return nullptr;
    }
    // Large pictures on memory of their own (huge pages where the system has them).
    QImage image = newPicture(QSize(width, height), format);
    if (image.isNull()) image = QImage(width, height, format); // a format newPicture does not make
    if (image.isNull()) {                                      // QImage reports a failed allocation this way
        status = Status::OutOfMemory;
        return nullptr;
    }
    status = Status::Ok;
    return std::make_unique<Bitmap>(std::move(image));
}

std::unique_ptr<Bitmap> Bitmap::clone() const {
    if (image_.isNull()) return nullptr;
    return std::make_unique<Bitmap>(image_);
}

std::unique_ptr<Bitmap> Bitmap::cloneArea(const QRect& area) const {
    const QRect clipped = area.intersected(image_.rect());
    if (clipped.isEmpty()) return nullptr;
    QImage copy = image_.copy(clipped);
    if (copy.isNull()) return nullptr;
    return std::make_unique<Bitmap>(std::move(copy));
}

QRgb Bitmap::pixel(int x, int y) {
    if (!image_.valid(x, y)) {
        record(Status::InvalidParameter);
        return 0;
    }
    return image_.pixel(x, y);
}

} // namespace imaging
