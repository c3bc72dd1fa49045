// The dated copy of a photo decoded at the save: the rows above everything the template paints are
// encoded on a second thread while the photo is still being decoded below them.

#include "model/DatedPicture.h"

#include "compose/PrintFrame.h"
#include "imaging/Graphics.h"
#include "imaging/ImageDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/JpegWriter.h"
#include "imaging/RowGate.h"

#include <thread>

namespace {

// Ends the encoding thread however the decoding thread leaves: the rows it waits for are given up.
struct EncodingThread {
    imaging::RowGate& rows;
    std::thread thread;
    ~EncodingThread() {
        if (!thread.joinable()) return;
        rows.abandon();
        thread.join();
    }
    void finish() { thread.join(); }
};

} // namespace

imaging::EncodeResult CDatedPicture::EncodeWhileDecoding(QByteArray& jpeg, bool optimizeHuffman) {
    jpeg.clear();
    if (!pendingPhoto_ || !workPicture || workPicture->isNull())
        return {imaging::Status::InvalidParameter, "there is no photo to decode"};
    const std::shared_ptr<imaging::JpegDecoder> decoder = std::move(pendingPhoto_);
    QImage& work = workPicture->image();
    // The encoder reads the rows where they lie now: they must be the work picture's own, so that
    // painting never moves them to a copy.
    work.detach();
    if (work.isNull()) return {imaging::Status::OutOfMemory, "out of memory"};
    const QPoint at(truncToInt(whiteOffsetX), truncToInt(whiteOffsetY));
    const int firstPainted = FirstPaintedRow();

    imaging::RowGate rows(work.height());
    rows.holdFrom(firstPainted);
    imaging::JpegWriter writer(work, {jpegQuality, optimizeHuffman, &rows});
    imaging::EncodeResult encoded;
    EncodingThread encoding{rows, std::thread([&] { encoded = writer.encode(jpeg); })};

    const imaging::DecodedImage decoded = imaging::decodeJpegInto(*decoder, work, at, &rows);
    if (decoded.status != imaging::Status::Ok) {
        rows.abandon();
        encoding.finish();
        jpeg.clear();
        return {decoded.status, decoded.reason};
    }

    // Automatic colours stand out from the photo as decoded; read in place, beside the encoder.
    const QSize size = decoder->size();
    const QImage photo(work.constScanLine(at.y()) + qsizetype(at.x()) * 4, size.width(), size.height(),
                       work.bytesPerLine(), work.format());
    for (int i = 0; i < itemCount; ++i)
        if (item(i).visible) ChooseAutoColor(i, photo, at);
    picture.reset();
    pixelsUnread = false;
    if (needsRedraw) {
        // Only below the rows the encoder may be reading.
        const QRect below(0, firstPainted, work.width(), work.height() - firstPainted);
        imaging::Graphics graphics(*workPicture);
        graphics.setClip(QRectF(below));
        RenderRect(graphics, below, true, false);
    }
    rows.release();
    encoding.finish();
    return encoded;
}
