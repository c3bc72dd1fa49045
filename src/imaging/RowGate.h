#pragma once

#include <condition_variable>
#include <mutex>

namespace imaging {

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
    bool abandoned_ = false;
};

} // namespace imaging
