#include "imaging/ImageEncoder.h"

#include "imaging/JpegWriter.h"
#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"

#include <QBuffer>
#include <QImageWriter>

namespace imaging {

namespace {

// JPEG is written by the product's own writer on libjpeg (JpegWriter.h): it is there without asking Qt,
// which would load every image plugin it has (the TIFF, WebP and MNG libraries with them) to answer.
const EncoderInfo& jpegEncoder() {
    static const EncoderInfo jpeg{"image/jpeg", "jpeg", "*.jpg;*.jpeg;*.jpe;*.jfif"};
    return jpeg;
}

} // namespace

const std::vector<EncoderInfo>& imageEncoders() {
    static const std::vector<EncoderInfo> encoders = [] {
        const std::vector<EncoderInfo> others = {
            {"image/png", "png", "*.png"},
            {"image/tiff", "tiff", "*.tif;*.tiff"},
            {"image/bmp", "bmp", "*.bmp"},
        };
        const auto supported = QImageWriter::supportedImageFormats();
        std::vector<EncoderInfo> list{jpegEncoder()};
        for (const EncoderInfo& e : others)
            if (supported.contains(QByteArray::fromStdString(e.formatName))) list.push_back(e);
        return list;
    }();
    return encoders;
}

const EncoderInfo* findEncoder(const std::string& mimeType) {
    if (mimeType == jpegEncoder().mimeType) return &jpegEncoder();
    for (const EncoderInfo& e : imageEncoders())
        if (e.mimeType == mimeType) return &e;
    return nullptr;
}

EncodeResult encodeImage(const QImage& image, const EncoderInfo& encoder, int quality, QByteArray& out,
                         bool optimizeHuffman) {
    if (image.isNull()) return {Status::InvalidParameter, "there is no picture to write"};
    // The same file as Qt's writer below makes, without its copy of every pixel.
    if (encoder.formatName == "jpeg" && jpegWriterTakes(image.format()))
        return JpegWriter(image, {quality, optimizeHuffman, nullptr}).encode(out);
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(encoder.formatName));
    writer.setQuality(qBound(0, quality, 100));
    // Unless asked for, the standard Huffman tables, as cameras use: fitted ones cost a second pass
    // over a buffer of every coefficient (see JpegEncoding).
    writer.setOptimizedWrite(optimizeHuffman);
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
