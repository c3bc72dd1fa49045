#pragma once

#include "imaging/Status.h"

#include <QImage>

#include <string>
#include <vector>

namespace imaging {

struct EncoderInfo {
    std::string mimeType;   // "image/jpeg"
    std::string formatName; // Qt's name of the format: "jpeg"
    std::string extensions; // "*.jpg;*.jpeg"
};

// The encoders the product can write with: "image/jpeg" (always), then those of the other formats Qt offers.
const std::vector<EncoderInfo>& imageEncoders();

// The encoder for a MIME type, or null. The JPEG encoder is found without asking Qt for its list.
const EncoderInfo* findEncoder(const std::string& mimeType);

struct EncodeResult {
    Status status = Status::GenericError;
    std::string reason; // the system's reason when status is not Ok
};

// Writes the image with the encoder and a quality of 0 to 100. The file is written to a temporary
// file beside the target and renamed over it only when complete, so a failed write leaves an
// earlier file of the same name as it was.
EncodeResult saveImage(const QImage& image, const std::string& pathUtf8, const EncoderInfo& encoder,
                       int quality);

// Encodes into memory, for callers that add metadata before writing; a JPEG with Huffman tables fitted
// to the picture when asked (see JpegEncoding).
EncodeResult encodeImage(const QImage& image, const EncoderInfo& encoder, int quality, QByteArray& out,
                         bool optimizeHuffman = false);

} // namespace imaging
