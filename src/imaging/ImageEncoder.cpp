#include "imaging/ImageEncoder.h"

#include "imaging/JpegWriter.h"
#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"

#include <QBuffer>
#include <QImageWriter>

namespace imaging {

const std::vector<EncoderInfo>& imageEncoders() {
    static const std::vector<EncoderInfo> encoders = [] {
        const std::vector<EncoderInfo> known = {
            {"image/jpeg", "jpeg", "*.jpg;*.jpeg;*.jpe;*.jfif"},
            {"image/png", "png", "*.png"},
            {"image/tiff", "tiff", "*.tif;*.tiff"},
            {"image/bmp", "bmp", "*.bmp"},
        };
        const auto supported = QImageWriter::supportedImageFormats();
        std::vector<EncoderInfo> list;
        for (const EncoderInfo& e : known)
            if (supported.contains(QByteArray::fromStdString(e.formatName))) list.push_back(e);
        return list;
    }();
    return encoders;
}

const EncoderInfo* findEncoder(const std::string& mimeType) {
    for (const EncoderInfo& e : imageEncoders())
        if (e.mimeType == mimeType) return &e;
    return nullptr;
}

EncodeResult encodeImage(const QImage& image, const EncoderInfo& encoder, int quality, QByteArray& out) {
    if (image.isNull()) return {Status::InvalidParameter, "there is no picture to write"};
    // The same file as Qt's writer below makes, without its copy of every pixel.
    if (encoder.formatName == "jpeg" && jpegWriterTakes(image.format()))
        return writeJpeg(image, quality, out);
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(encoder.formatName));
    writer.setQuality(qBound(0, quality, 100));
    // Huffman tables fitted to the picture would make a JPEG about a fifth smaller at quality 60
    // (a tenth at 85), but cost libjpeg a second pass over a buffer of every coefficient: 70 MB and
    // more than the whole encoding otherwise takes. The standard tables, as cameras use.
    writer.setOptimizedWrite(false);
    if (!writer.write(image)) return {Status::GenericError, toUtf8(writer.errorString())};
    return {Status::Ok, {}};
}

EncodeResult saveImage(const QImage& image, const std::string& pathUtf8, const EncoderInfo& encoder,
                       int quality) {
    QByteArray bytes;
    EncodeResult result = encodeImage(image, encoder, quality, bytes);
    if (result.status != Status::Ok) return result;
    const std::string problem = writeFileWhole(pathUtf8, bytes);
    if (!problem.empty()) return {Status::Win32Error, problem};
    return {Status::Ok, {}};
}

} // namespace imaging
