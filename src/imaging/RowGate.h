#pragma once

#include <QtGlobal>

#include <condition_variable>
#include <mutex>

namespace imaging {

// Rows of a picture that nothing is painted on need not be held whole: rows from `streamFrom` up to
// `ownFrom` pass from the decoder to the encoder through a few rows of memory taken in turn (the reader
// tells the gate what it has consumed, and the maker waits before it writes over a row not yet read);
// the others are held in the picture itself.
//
// Where the painting starts is known only once the items are placed, which may be after the decoding
// started: the painter arms the gate with `ownFrom` (RowGate::armRing), and the decoder, at its next
// rows, settles the ring: it passes rows through it from there on (RowGate::settleRing). A reader
// waits for that (RowGate::waitRingSettled) before it reads any row.
struct RowRing {
    unsigned char* memory = nullptr; // `slotCount` rows of `bytesPerLine`
    int slotCount = 0;
    qsizetype bytesPerLine = 0;
    int streamFrom = 0; // the first row passing through the ring
    int ownFrom = 0;    // the first row held in the picture again
    bool settled = false;

    bool streams(int row) const { return settled && row >= streamFrom && row < ownFrom; }
    unsigned char* slot(int row) const { return memory + qsizetype(row % slotCount) * bytesPerLine; }
};

// The rows of a picture handed from the thread that makes them (a decoder, then a painter) to one that
// reads them as they are made (an encoder), top to bottom. Rows are readable once made and below the
// hold, the first row something is still to be painted on; the maker releases every row at its end.
class RowGate {
public:
    explicit RowGate(int rows) : rows_(rows), hold_(rows) {}

    // Rows from `row` on stay closed, made or not, until release(): something will still be painted there.
    void holdFrom(int row);
    // The first `rows` rows are made.
    void made(int rows);
    // Every row is final and readable.
    void release();
    // The reader has consumed the first `rows` rows (it will not read them again).
    void consumed(int rows);
    // Waits until the reader has consumed at least `rows` rows; false once either side gave up.
    bool waitUntilConsumed(int rows);
    // The first row the painter paints on, for a ring the decoder settles at its next rows; the first
    // call counts. armedRing() gives it to the decoder, -1 before it is armed.
    void armRing(int ownFrom);
    int armedRing() const;
    // The decoder settled the ring (or will never use it); waits for that and returns false once either
    // side gave up.
    void settleRing();
    bool waitRingSettled();
    // The rows will not all be made: a reader waiting or coming gives up, and a maker that looks stops.
    void abandon();
    bool abandoned() const;

    // Waits until at least `rows` rows (at most all of them) are readable and returns how many are, or
    // -1 once the maker gave up.
    int waitFor(int rows);

private:
    int readable() const { return made_ < hold_ ? made_ : hold_; }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    const int rows_;
    int hold_;
    int made_ = 0;
    int consumed_ = 0;
    int armedOwnFrom_ = -1;
    bool ringSettled_ = false;
    bool abandoned_ = false;
};

} // namespace imaging
