#include "imaging/ImageDecoder.h"

#include "imaging/ImageLimits.h"
#include "imaging/TextCodec.h"

#include <QFileInfo>
#include <QImageReader>

namespace imaging {
namespace {

DecodedImage failure(Status status, const QString& reason) {
    DecodedImage d;
    d.status = status;
    d.reason = toUtf8(reason);
    return d;
}

} // namespace

DecodedImage decodeImageFile(const std::string& pathUtf8) {
    const QString path = toQString(pathUtf8);
    const QFileInfo info(path);
    if (!info.exists()) return failure(Status::FileNotFound, QStringLiteral("file not found"));
    if (!info.isFile()) return failure(Status::InvalidParameter, QStringLiteral("not a file"));
    if (!info.isReadable()) return failure(Status::AccessDenied, QStringLiteral("permission denied"));

    QImageReader reader(path);
    // Qt refuses images over 128 MB by default, that is a 36-megapixel photo; the product's own
    // limit is checked against the header below.
    QImageReader::setAllocationLimit(kMaxDecodeMegabytes);
    reader.setAutoTransform(true);
    reader.setDecideFormatFromContent(true);

    if (!reader.canRead()) {
        return failure(Status::UnknownImageFormat, QStringLiteral("not a picture Imprix can read (%1)")
                                                       .arg(reader.errorString()));
    }
    const QSize size = reader.size();
    if (size.isValid() && !sizeAllowed(size.width(), size.height())) {
        return failure(Status::OutOfMemory,
                       QStringLiteral("picture too large: %1 x %2 pixels (at most %3 megapixels)")
                           .arg(size.width())
                           .arg(size.height())
                           .arg(kMaxPixels / 1'000'000));
    }

    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return failure(Status::UnknownImageFormat,
                       QStringLiteral("cannot decode the picture (%1)").arg(reader.errorString()));
    }

    const QImage::Format wanted =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != wanted) {
        image.convertTo(wanted);
        if (image.isNull()) return failure(Status::OutOfMemory, QStringLiteral("out of memory"));
    }

    DecodedImage d;
    d.image = std::move(image);
    d.status = Status::Ok;
    return d;
}

} // namespace imaging
