#include "imaging/ImageDecoder.h"
#include "imaging/HeifFile.h"

#include "imaging/ImageLimits.h"
#include "imaging/JpegDecoder.h"
#include "imaging/JpegStructure.h"
#include "imaging/LocalFile.h"
#include "imaging/PhotoContent.h"
#include "imaging/TextCodec.h"
#include "imaging/TiffClaims.h"
#include "imaging/TiffMessages.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace imaging {
namespace {

DecodedImage failure(Status status, const QString& reason) {
    DecodedImage d;
    d.status = status;
    d.reason = toUtf8(reason);
    return d;
}

DecodedImage outOfMemory() {
    return failure(Status::OutOfMemory, QStringLiteral("out of memory"));
}

// Why the JPEG decoder gave up, said as for every other decoder.
DecodedImage jpegFailure(const JpegDecoder& decoder) {
    if (decoder.ranOutOfMemory()) return outOfMemory();
    return failure(
        Status::UnknownImageFormat,
        QStringLiteral("cannot decode the picture (%1)").arg(QString::fromStdString(decoder.reason())));
}

DecodedImage tooLarge(QSize size) {
    return failure(Status::OutOfMemory,
                   QStringLiteral("picture too large: %1 x %2 pixels (at most %3 megapixels)")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(kMaxPixels / 1'000'000));
}

// Qt's readers fail with one error whatever the cause. Memory was it when the picture they decode into,
// of the header's size and format, passes Qt's allocation limit or cannot be had now.
bool memoryRanOut(QSize size, QImage::Format format) {
    if (!size.isValid() || format == QImage::Format_Invalid) return false;
    const qint64 bits = qint64(size.width()) * size.height() * QImage::toPixelFormat(format).bitsPerPixel();
    if (bits / 8 > qint64(QImageReader::allocationLimit()) << 20) return true;
    return QImage(size, format).isNull();
}

bool refuse(DecodedImage& refused, DecodedImage why) {
    refused = std::move(why);
    return false;
}

// The checks before anything of a picture file is read but its first bytes: that it is a file that
// can be opened, and what it holds. Returns false with `refused` set when the file is refused.
bool openPictureFile(const std::string& pathUtf8, QFile& file, PhotoContent& content, DecodedImage& refused) {
    // The path's own bytes throughout, also for a name that is not valid UTF-8.
    struct stat st {};
    if (::stat(pathUtf8.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return refuse(refused, failure(Status::FileNotFound, QStringLiteral("file not found")));
        if (errno == EACCES)
            return refuse(refused, failure(Status::AccessDenied, QStringLiteral("permission denied")));
        return refuse(refused, failure(Status::FileNotFound,
                                       QString::fromLocal8Bit(std::strerror(errno)))); // "File name too long"
    }
    if (!S_ISREG(st.st_mode))
        return refuse(refused, failure(Status::InvalidParameter, QStringLiteral("not a file")));
    if (const std::string problem = openLocalFile(file, pathUtf8); !problem.empty())
        return refuse(refused,
                      failure(Status::AccessDenied, errno == EACCES ? QStringLiteral("permission denied")
                                                                    : QString::fromStdString(problem)));

    // The content decides, not the name: a PNG named .jpg is read as the PNG it is.
    std::uint8_t head[kContentHeadBytes] = {};
    const qint64 headBytes = file.peek(reinterpret_cast<char*>(head), sizeof head);
    content = photoContentOf(head, headBytes > 0 ? static_cast<std::size_t>(headBytes) : 0);
    return true;
}

// A JPEG photo's checks past its first bytes, then its header: null with `refused` set when refused.
std::unique_ptr<JpegDecoder> openJpeg(const std::string& pathUtf8, DecodedImage& refused) {
    // libjpeg decodes every scan over the whole picture and keeps every marker it reads in a list.
    if (const std::string tooMany = jpegStructure(pathUtf8).refusal(); !tooMany.empty()) {
        refused = failure(Status::OutOfMemory, QString::fromStdString(tooMany));
        return nullptr;
    }
    auto decoder = std::make_unique<JpegDecoder>();
    if (!decoder->open(pathUtf8)) {
        refused = jpegFailure(*decoder);
        return nullptr;
    }
    if (!sizeAllowed(decoder->storedSize().width(), decoder->storedSize().height())) {
        refused = tooLarge(decoder->storedSize());
        return nullptr;
    }
    return decoder;
}

DecodedImage decodeJpeg(const std::string& pathUtf8) {
    DecodedImage d;
    const std::unique_ptr<JpegDecoder> decoder = openJpeg(pathUtf8, d);
    if (!decoder) return d;
    QImage image = newPicture(decoder->size(), QImage::Format_RGB32);
    if (image.isNull()) return outOfMemory();
    decoder->describe(image);
    DecodedImage decoded = decodeJpegInto(*decoder, image, QPoint(0, 0));
    if (decoded.status == Status::Ok) decoded.image = std::move(image);
    return decoded;
}

// Every other format through Qt's reader of its content (any format Qt reads for a picture that need
// not be a photo), with the checks of its header first.
DecodedImage decodeWithQt(const std::string& pathUtf8, QFile& file, PhotoContent content) {
    QImageReader reader(&file);
    // Qt refuses images over 128 MB by default, that is a 36-megapixel photo; the product's own
    // limit is checked against the header below.
    QImageReader::setAllocationLimit(kMaxDecodeMegabytes);
    reader.setAutoTransform(true);
    if (content == PhotoContent::None) {
        reader.setDecideFormatFromContent(true);
    } else {
        // A photo is given to the reader of its content only; no other of Qt's readers sees it.
        reader.setFormat(QByteArray(contentName(content)).toLower());
        reader.setAutoDetectImageFormat(false);
    }
    if (!reader.canRead())
        return failure(Status::UnknownImageFormat,
                       QStringLiteral("not a picture Imprix can read (%1)").arg(reader.errorString()));
    // libtiff reads every tag value of the first directory into memory as soon as the size is asked
    // for: a TIFF whose entries share one large stretch of bytes would take gigabytes.
    if (reader.format() == "tiff") {
        routeTiffMessagesToQt();
        const TiffClaims claims = tiffClaims(pathUtf8);
        if (claims.excessive()) return failure(Status::OutOfMemory, QString::fromStdString(claims.refusal()));
    }
    const QSize size = reader.size();
    if (size.isValid() && !sizeAllowed(size.width(), size.height())) return tooLarge(size);

    const QImage::Format format = reader.imageFormat(); // no longer known once a read failed
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        if (memoryRanOut(size, format)) return outOfMemory();
        return failure(Status::UnknownImageFormat,
                       QStringLiteral("cannot decode the picture (%1)").arg(reader.errorString()));
    }
    const QImage::Format wanted =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != wanted) {
        image.convertTo(wanted);
        if (image.isNull()) return outOfMemory();
    }
    DecodedImage d;
    d.image = std::move(image);
    d.status = Status::Ok;
    return d;
}

} // namespace

DecodedImage decodeImageFile(const std::string& pathUtf8, Accept accept) {
    QFile file;
    PhotoContent content = PhotoContent::None;
    DecodedImage refused;
    if (!openPictureFile(pathUtf8, file, content, refused)) return refused;
    if (content == PhotoContent::Heif || content == PhotoContent::Avif) return decodeHeifFile(pathUtf8);
    if (content == PhotoContent::Jpeg) return decodeJpeg(pathUtf8);
    if (content == PhotoContent::None && accept == Accept::PhotosOnly)
        return failure(Status::UnknownImageFormat, QString::fromLatin1(kNotAPicture));
    return decodeWithQt(pathUtf8, file, content);
}

std::unique_ptr<JpegDecoder> openJpegPhoto(const std::string& pathUtf8, DecodedImage& refused) {
    QFile file;
    PhotoContent content = PhotoContent::None;
    if (!openPictureFile(pathUtf8, file, content, refused)) return nullptr;
    if (content != PhotoContent::Jpeg) {
        refused = failure(Status::UnknownImageFormat, content == PhotoContent::None
                                                          ? QString::fromLatin1(kNotAPicture)
                                                          : QStringLiteral("not a JPEG photo"));
        return nullptr;
    }
    return openJpeg(pathUtf8, refused);
}

DecodedImage decodeJpegInto(JpegDecoder& decoder, QImage& target, QPoint at, RowGate* rows, RowRing* ring) {
    if (!decoder.decodeInto(target, at, rows, ring)) return jpegFailure(decoder);
    // Said as Qt's reader says it, for a program that shows the decoders' warnings.
    if (!decoder.warning().empty()) qWarning("%s", decoder.warning().c_str());
    DecodedImage d;
    d.status = Status::Ok;
    return d;
}

DecodedImage undecodedJpegFile(const std::string& pathUtf8, std::unique_ptr<JpegDecoder>* opened) {
    DecodedImage refused;
    std::unique_ptr<JpegDecoder> decoder = openJpegPhoto(pathUtf8, refused);
    if (!decoder) return refused;
    DecodedImage d;
    d.image = zeroPicture(decoder->size());
    if (d.image.isNull()) return outOfMemory();
    d.status = Status::Ok;
    if (opened) *opened = std::move(decoder);
    return d;
}

int jpegOrientation(const QByteArray& file) {
    JpegDecoder decoder;
    return decoder.open(file) ? decoder.orientation() : 1;
}

} // namespace imaging
