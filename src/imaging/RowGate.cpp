#include "imaging/RowGate.h"

#include <algorithm>

namespace imaging {

void RowGate::holdFrom(int row) {
    std::lock_guard lock(mutex_);
    hold_ = std::clamp(row, 0, rows_);
}

void RowGate::made(int rows) {
    {
        std::lock_guard lock(mutex_);
        const int before = readable();
        made_ = std::clamp(rows, made_, rows_);
        if (readable() == before) return;
    }
    changed_.notify_all();
}

void RowGate::release() {
    {
        std::lock_guard lock(mutex_);
        made_ = hold_ = rows_;
    }
    changed_.notify_all();
}

void RowGate::abandon() {
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    changed_.notify_all();
}

void RowGate::consumed(int rows) {
    {
        std::lock_guard lock(mutex_);
        if (rows <= consumed_) return;
        consumed_ = std::min(rows, rows_);
    }
    changed_.notify_all();
}

bool RowGate::waitUntilConsumed(int rows) {
    std::unique_lock lock(mutex_);
    const int wanted = std::min(rows, rows_);
    changed_.wait(lock, [&] { return abandoned_ || consumed_ >= wanted; });
    return !abandoned_;
}

void RowGate::armRing(int ownFrom) {
    std::lock_guard lock(mutex_);
    if (armedOwnFrom_ < 0) armedOwnFrom_ = std::clamp(ownFrom, 0, rows_);
}

int RowGate::armedRing() const {
    std::lock_guard lock(mutex_);
    return armedOwnFrom_;
}

void RowGate::settleRing() {
    {
        std::lock_guard lock(mutex_);
        ringSettled_ = true;
    }
    changed_.notify_all();
}

bool RowGate::waitRingSettled() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return abandoned_ || ringSettled_; });
    return !abandoned_;
}

bool RowGate::abandoned() const {
    std::lock_guard lock(mutex_);
    return abandoned_;
}

int RowGate::waitFor(int rows) {
    std::unique_lock lock(mutex_);
    const int wanted = std::min(rows, rows_);
    changed_.wait(lock, [&] { return abandoned_ || readable() >= wanted; });
    return abandoned_ ? -1 : readable();
}

} // namespace imaging
