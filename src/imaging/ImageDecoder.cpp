#include "imaging/ImageDecoder.h"
#include "imaging/HeifFile.h"

#include "imaging/ImageLimits.h"
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
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <vector>

namespace imaging {
namespace {

// Pixel memory of released pictures, kept for the next ones (keepDecodedPixelsForReuse).
class KeptPixels {
public:
    // Never destroyed: a picture may be released after static objects are gone.
    static KeptPixels& instance() {
        static auto* kept = new KeptPixels;
        return *kept;
    }

    void setLimit(int pictures) {
        std::lock_guard lock(mutex_);
        limit_ = std::max(0, pictures);
        while (free_.size() > static_cast<std::size_t>(limit_)) {
            std::free(free_.back());
            free_.pop_back();
        }
    }

    // A picture of the size and format on kept memory of the same length when there is some, else on
    // new memory that is kept once the picture is released; null when nothing is kept or memory is
    // short (the reader then allocates as usual).
    QImage take(QSize size, QImage::Format format) {
        const qsizetype bytesPerLine = static_cast<qsizetype>(size.width()) * 4; // 4-byte formats only
        const qsizetype bytes = bytesPerLine * size.height();
        Block* block = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (limit_ == 0) return {};
            for (auto it = free_.begin(); it != free_.end(); ++it) {
                if ((*it)->bytes != bytes) continue;
                block = *it;
                free_.erase(it);
                break;
            }
        }
        if (!block) {
            block = static_cast<Block*>(std::malloc(kPixelsAt + static_cast<std::size_t>(bytes)));
            if (!block) return {};
            block->bytes = bytes;
        }
        unsigned char* pixels = reinterpret_cast<unsigned char*>(block) + kPixelsAt;
        return QImage(pixels, size.width(), size.height(), bytesPerLine, format, &KeptPixels::giveBack,
                      block);
    }

private:
    // One allocation: this header, then the pixels from kPixelsAt on, as aligned as malloc's memory.
    struct Block {
        qsizetype bytes;
    };
    static constexpr std::size_t kPixelsAt = 64;

    static void giveBack(void* info) {
        auto* block = static_cast<Block*>(info);
        KeptPixels& kept = instance();
        std::lock_guard lock(kept.mutex_);
        if (kept.free_.size() < static_cast<std::size_t>(kept.limit_))
            kept.free_.push_back(block);
        else
            std::free(block);
    }

    std::mutex mutex_;
    std::vector<Block*> free_;
    int limit_ = 0;
};

DecodedImage failure(Status status, const QString& reason) {
    DecodedImage d;
    d.status = status;
    d.reason = toUtf8(reason);
    return d;
}

// Qt's readers fail with one error whatever the cause. Memory was it when the picture they decode into,
// of the header's size and format, passes Qt's allocation limit or cannot be had now.
bool memoryRanOut(QSize size, QImage::Format format) {
    if (!size.isValid() || format == QImage::Format_Invalid) return false;
    const qint64 bits = qint64(size.width()) * size.height() * QImage::toPixelFormat(format).bitsPerPixel();
    if (bits / 8 > qint64(QImageReader::allocationLimit()) << 20) return true;
    return QImage(size, format).isNull();
}

// Memory mapped for a picture whose pixels are not decoded (undecodedJpegFile).
struct Mapping {
    std::size_t bytes;
    void* at;
    static void release(void* info) {
        auto* mapping = static_cast<Mapping*>(info);
        ::munmap(mapping->at, mapping->bytes);
        delete mapping;
    }
};

bool refuse(DecodedImage& refused, DecodedImage why) {
    refused = std::move(why);
    return false;
}

// The checks before a picture's pixels are decoded: the file, its format, its structure and its size.
// Returns false with `refused` set when the picture is refused.
// A HEIF or AVIF photo is decoded here already, by libheif: `refused` then holds it, and `heif` is set.
bool checkBeforeDecoding(const std::string& pathUtf8, QFile& file, QImageReader& reader,
                         DecodedImage& refused, Accept accept, bool& heif) {
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
    const PhotoContent content =
        photoContentOf(head, headBytes > 0 ? static_cast<std::size_t>(headBytes) : 0);
    if (content == PhotoContent::Heif || content == PhotoContent::Avif) {
        heif = true;
        refused = decodeHeifFile(pathUtf8);
        return false;
    }
    if (content == PhotoContent::None && accept == Accept::PhotosOnly)
        return refuse(refused, failure(Status::UnknownImageFormat, QString::fromLatin1(kNotAPicture)));

    reader.setDevice(&file);
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

    if (!reader.canRead()) {
        return refuse(
            refused, failure(Status::UnknownImageFormat,
                             QStringLiteral("not a picture Imprix can read (%1)").arg(reader.errorString())));
    }
    // libtiff reads every tag value of the first directory into memory as soon as the size is asked
    // for: a TIFF whose entries share one large stretch of bytes would take gigabytes.
    if (reader.format() == "tiff") {
        routeTiffMessagesToQt();
        const TiffClaims claims = tiffClaims(pathUtf8);
        if (claims.excessive())
            return refuse(refused, failure(Status::OutOfMemory, QString::fromStdString(claims.refusal())));
    }
    // libjpeg decodes every scan over the whole picture and keeps every marker it reads in a list.
    if (reader.format() == "jpeg") {
        const std::string tooMany = jpegStructure(pathUtf8).refusal();
        if (!tooMany.empty())
            return refuse(refused, failure(Status::OutOfMemory, QString::fromStdString(tooMany)));
    }

    const QSize size = reader.size();
    if (size.isValid() && !sizeAllowed(size.width(), size.height())) {
        return refuse(refused,
                      failure(Status::OutOfMemory,
                              QStringLiteral("picture too large: %1 x %2 pixels (at most %3 megapixels)")
                                  .arg(size.width())
                                  .arg(size.height())
                                  .arg(kMaxPixels / 1'000'000)));
    }

    return true;
}

} // namespace

DecodedImage decodeImageFile(const std::string& pathUtf8, Accept accept) {
    QFile file;
    QImageReader reader;
    DecodedImage refused;
    bool heif = false;
    if (!checkBeforeDecoding(pathUtf8, file, reader, refused, accept, heif)) return refused;
    const QSize size = reader.size();

    const QImage::Format format = reader.imageFormat(); // no longer known once a read failed
    // A colour JPEG decodes into RGB32 of its header's size; the reader decodes into a picture of
    // that size and format as it is.
    QImage image;
    if (size.isValid() && reader.format() == "jpeg")
        image = KeptPixels::instance().take(size, QImage::Format_RGB32);
    if (!reader.read(&image) || image.isNull()) {
        if (memoryRanOut(size, format)) return failure(Status::OutOfMemory, QStringLiteral("out of memory"));
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

DecodedImage undecodedJpegFile(const std::string& pathUtf8) {
    QFile file;
    QImageReader reader;
    DecodedImage refused;
    bool heif = false;
    if (!checkBeforeDecoding(pathUtf8, file, reader, refused, Accept::PhotosOnly, heif)) {
        if (heif) return failure(Status::UnknownImageFormat, QStringLiteral("not a JPEG photo"));
        return refused;
    }
    if (reader.format() != "jpeg")
        return failure(Status::UnknownImageFormat, QStringLiteral("not a JPEG photo"));
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return failure(Status::UnknownImageFormat, QStringLiteral("cannot read the picture's size"));
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    // Mapped straight from the system, whatever the allocator keeps: pages are zero, and are only
    // provided where the pixels are written or read.
    const qsizetype bytesPerLine = static_cast<qsizetype>(size.width()) * 4;
    auto* mapping =
        new (std::nothrow) Mapping{static_cast<std::size_t>(bytesPerLine) * size.height(), nullptr};
    if (mapping)
        mapping->at =
            ::mmap(nullptr, mapping->bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (!mapping || mapping->at == MAP_FAILED) {
        delete mapping;
        return failure(Status::OutOfMemory, QStringLiteral("out of memory"));
    }
    DecodedImage d;
    d.image = QImage(static_cast<uchar*>(mapping->at), size.width(), size.height(), bytesPerLine,
                     QImage::Format_RGB32, &Mapping::release, mapping);
    d.status = Status::Ok;
    return d;
}

int jpegOrientation(const QByteArray& file) {
    QBuffer buffer;
    buffer.setData(file);
    if (!buffer.open(QIODevice::ReadOnly)) return 1;
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    // Qt's transformations by Exif orientation: mirror, flip, then a quarter turn clockwise.
    using T = QImageIOHandler::Transformation;
    static constexpr std::pair<int, int> kOrientations[] = {
        {T::TransformationNone, 1},
        {T::TransformationMirror, 2},
        {T::TransformationRotate180, 3},
        {T::TransformationFlip, 4},
        {T::TransformationFlipAndRotate90, 5},
        {T::TransformationRotate90, 6},
        {T::TransformationMirrorAndRotate90, 7},
        {T::TransformationRotate270, 8},
    };
    const int transformation = static_cast<int>(reader.transformation());
    for (const auto& [t, orientation] : kOrientations)
        if (t == transformation) return orientation;
    return 1;
}

void keepDecodedPixelsForReuse(int pictures) {
    KeptPixels::instance().setLimit(pictures);
}

} // namespace imaging
