// The dated copy of a photo decoded for its save only: the photo is decoded straight into the work
// picture on a thread of its own from the moment that picture is made, beside the placing of the
// items; at the save, the rows above everything the template paints are encoded on another thread as
// they are decoded, and the rest once it is painted.

#include "model/DatedPicture.h"

#include "compose/PrintFrame.h"
#include "imaging/Graphics.h"
#include "imaging/ImageDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/JpegWriter.h"
#include "imaging/RowGate.h"

#include <thread>

// One photo decoding into its place in a work picture, on a thread of its own. Let go, it stops the
// decoding and waits for the thread.
class PhotoDecoding {
public:
    PhotoDecoding(std::shared_ptr<imaging::JpegDecoder> decoder, QImage& target, QPoint at)
        : decoder_(std::move(decoder)), rows_(target.height()), at_(at) {
        thread_ = std::thread(
            [this, &target] { result_ = imaging::decodeJpegInto(*decoder_, target, at_, &rows_); });
    }
    ~PhotoDecoding() {
        if (!thread_.joinable()) return;
        rows_.abandon();
        thread_.join();
    }
    PhotoDecoding(const PhotoDecoding&) = delete;
    PhotoDecoding& operator=(const PhotoDecoding&) = delete;

    imaging::RowGate& rows() { return rows_; }
    QPoint at() const { return at_; }
    QSize size() const { return decoder_->size(); }

    // Waits for the decoding to end: the result's status and reason are decodeImageFile's.
    const imaging::DecodedImage& finish() {
        if (thread_.joinable()) thread_.join();
        return result_;
    }

private:
    std::shared_ptr<imaging::JpegDecoder> decoder_;
    imaging::RowGate rows_;
    QPoint at_;
    imaging::DecodedImage result_;
    std::thread thread_;
};

namespace {

// Ends the encoding thread however the save leaves: the rows it waits for are given up.
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

void CDatedPicture::StartDecoding() {
    if (!pendingPhoto_ || decoding_ || !workPicture || workPicture->isNull()) return;
    QImage& work = workPicture->image();
    // The decoder and, later, the encoder use the rows where they lie now: they must be the work
    // picture's own, so that nothing ever moves them to a copy.
    work.detach();
    if (work.isNull()) return;
    decoding_ = std::make_shared<PhotoDecoding>(pendingPhoto_, work,
                                                QPoint(truncToInt(whiteOffsetX), truncToInt(whiteOffsetY)));
}

void CDatedPicture::StopDecoding() {
    if (!decoding_) return;
    decoding_.reset();
    pendingPhoto_.reset();
}

imaging::EncodeResult CDatedPicture::EncodeWhileDecoding(QByteArray& jpeg, bool optimizeHuffman) {
    jpeg.clear();
    StartDecoding();
    if (!decoding_) return {imaging::Status::InvalidParameter, "there is no photo to decode"};
    const std::shared_ptr<PhotoDecoding> decoding = std::move(decoding_);
    pendingPhoto_.reset();
    QImage& work = workPicture->image();
    const int firstPainted = FirstPaintedRow();

    imaging::RowGate& rows = decoding->rows();
    rows.holdFrom(firstPainted);
    imaging::JpegWriter writer(work, {jpegQuality, optimizeHuffman, &rows});
    imaging::EncodeResult encoded;
    EncodingThread encoding{rows, std::thread([&] { encoded = writer.encode(jpeg); })};

    const imaging::DecodedImage& decoded = decoding->finish();
    if (decoded.status != imaging::Status::Ok) {
        rows.abandon();
        encoding.finish();
        jpeg.clear();
        return {decoded.status, decoded.reason};
    }

    // Automatic colours stand out from the photo as decoded; read in place, beside the encoder.
    const QPoint at = decoding->at();
    const QSize size = decoding->size();
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
