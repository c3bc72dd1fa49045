// The dated copy of a photo decoded for its save only: once the template is applied, the photo is
// decoded on a thread of its own; at the save, another thread encodes the rows above everything the
// template paints as they are decoded, and the rest once it is painted. Those upper rows pass through a
// few rows of memory and never touch the work picture, so a photo dated in a corner takes little more
// memory than the rows its date covers.

#include "model/DatedPicture.h"

#include "compose/PrintFrame.h"
#include "imaging/Graphics.h"
#include "imaging/ImageDecoder.h"
#include "imaging/JpegDecoder.h"
#include "imaging/JpegWriter.h"
#include "imaging/RowGate.h"

#include <memory>
#include <thread>

// One photo decoding into its place in a work picture, on a thread of its own. A photo decoded top
// down into a work picture of its size streams the rows above the painting through a ring of a few
// rows once the gate is armed with where the painting starts. Let go, it stops the decoding and waits
// for the thread.
class PhotoDecoding {
public:
    PhotoDecoding(std::shared_ptr<imaging::JpegDecoder> decoder, QImage& target, QPoint at)
        : decoder_(std::move(decoder)), rows_(target.height()), at_(at) {
        imaging::RowRing* ring = nullptr;
        if (at == QPoint(0, 0) && decoder_->decodesTopDown()) {
            constexpr int kSlots = 64; // four block rows of 4:2:0 either side of the one being coded
            // Not cleared: each row is written before it is read, and untouched memory costs nothing.
            slots_.reset(
                new unsigned char[std::size_t(kSlots) * static_cast<std::size_t>(target.bytesPerLine())]);
            ring_.memory = slots_.get();
            ring_.slotCount = kSlots;
            ring_.bytesPerLine = target.bytesPerLine();
            ring = &ring_;
        }
        thread_ = std::thread([this, &target, ring] {
            result_ = imaging::decodeJpegInto(*decoder_, target, at_, &rows_, ring);
        });
    }
    ~PhotoDecoding() {
        if (!thread_.joinable()) return;
        rows_.abandon();
        thread_.join();
    }
    PhotoDecoding(const PhotoDecoding&) = delete;
    PhotoDecoding& operator=(const PhotoDecoding&) = delete;

    imaging::RowGate& rows() { return rows_; }
    // Rows from `ownFrom` on are painted on: the rows above them, from the decoder's next ones on,
    // may pass straight to the encoder. The first call counts.
    void arm(int ownFrom) { rows_.armRing(ownFrom); }
    // The ring once the decoder settled it; null when no row passes through it.
    const imaging::RowRing* settledRing() {
        if (!slots_ || !rows_.waitRingSettled()) return nullptr;
        return ring_.streamFrom < ring_.ownFrom ? &ring_ : nullptr;
    }
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
    std::unique_ptr<unsigned char[]> slots_;
    imaging::RowRing ring_;
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

void CDatedPicture::ArmDecoding() {
    // Only the rows the template paints on need to be held; above them, rows go on to the encoder.
    if (decoding_) decoding_->arm(FirstPaintedRow());
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
    decoding->arm(firstPainted);
    const imaging::RowRing* ring = decoding->settledRing();
    if (ring && firstPainted < ring->ownFrom)
        return {imaging::Status::InvalidParameter, "the items moved after the photo was opened for its save"};

    imaging::RowGate& rows = decoding->rows();
    rows.holdFrom(firstPainted);
    imaging::JpegWriter writer(work, {jpegQuality, optimizeHuffman, &rows, ring});
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
    workPicture.reset();
    return encoded;
}
