#include "imaging/PixelMemory.h"

#include <QColorSpace>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace imaging {
namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Smaller pictures come from the allocator: a huge page would be mostly empty.
constexpr std::size_t kMappedFrom = 2 * kHugePage;

// One picture's pixel memory: mapped (aligned to a huge page) for large pictures, else allocated.
struct Block {
    unsigned char* pixels = nullptr;
    std::size_t bytes = 0;  // of pixels
    std::size_t mapped = 0; // bytes mapped at `pixels`, 0 when allocated
};

Block* makeBlock(std::size_t bytes) {
    auto* block = new (std::nothrow) Block;
    if (!block) return nullptr;
    block->bytes = bytes;
    if (bytes < kMappedFrom) {
        block->pixels = static_cast<unsigned char*>(std::malloc(bytes));
        if (block->pixels) return block;
        delete block;
        return nullptr;
    }
    // Mapped one huge page larger, then trimmed to whole huge pages aligned on one.
    const std::size_t length = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* at =
        ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (at == MAP_FAILED) {
        delete block;
        return nullptr;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(at);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    if (aligned > start) ::munmap(at, aligned - start);
    if (const std::uintptr_t tail = start + length + kHugePage - (aligned + length); tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + length), tail);
    block->pixels = reinterpret_cast<unsigned char*>(aligned);
    block->mapped = length;
    ::madvise(block->pixels, length, MADV_HUGEPAGE); // advice only: refused where huge pages are off
    return block;
}

void freeBlock(Block* block) {
    if (block->mapped)
        ::munmap(block->pixels, block->mapped);
    else
        std::free(block->pixels);
    delete block;
}

// Blocks of released pictures, kept for the next ones (keepDecodedPixelsForReuse).
class KeptBlocks {
public:
    // Never destroyed: a picture may be released after static objects are gone.
    static KeptBlocks& instance() {
        static auto* kept = new KeptBlocks;
        return *kept;
    }

    void setLimit(int pictures) {
        std::lock_guard lock(mutex_);
        limit_ = static_cast<std::size_t>(std::max(0, pictures));
        while (free_.size() > limit_) {
            freeBlock(free_.back());
            free_.pop_back();
        }
    }

    Block* take(std::size_t bytes) {
        {
            std::lock_guard lock(mutex_);
            for (auto it = free_.begin(); it != free_.end(); ++it) {
                if ((*it)->bytes != bytes) continue;
                Block* block = *it;
                free_.erase(it);
                return block;
            }
        }
        return makeBlock(bytes);
    }

    static void giveBack(void* info) {
        auto* block = static_cast<Block*>(info);
        KeptBlocks& kept = instance();
        {
            std::lock_guard lock(kept.mutex_);
            if (kept.free_.size() < kept.limit_) {
                kept.free_.push_back(block);
                return;
            }
        }
        freeBlock(block);
    }

private:
    std::mutex mutex_;
    std::vector<Block*> free_;
    std::size_t limit_ = 0;
};

// Memory mapped for a picture of zeros (zeroPicture).
struct Mapping {
    std::size_t bytes;
    void* at;
    static void release(void* info) {
        auto* mapping = static_cast<Mapping*>(info);
        ::munmap(mapping->at, mapping->bytes);
        delete mapping;
    }
};

} // namespace

QImage newPicture(QSize size, QImage::Format format) {
    if (size.isEmpty() || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
                           format != QImage::Format_ARGB32_Premultiplied))
        return {};
    const qsizetype bytesPerLine = static_cast<qsizetype>(size.width()) * 4;
    Block* block = KeptBlocks::instance().take(static_cast<std::size_t>(bytesPerLine) * size.height());
    if (!block) return {};
    QImage picture(block->pixels, size.width(), size.height(), bytesPerLine, format, &KeptBlocks::giveBack,
                   block);
    if (picture.isNull()) freeBlock(block); // Qt calls no clean-up for a picture it could not make
    return picture;
}

QImage ownCopy(const QImage& picture) {
    QImage copy = newPicture(picture.size(), picture.format());
    if (copy.isNull()) return picture.copy();
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(copy.scanLine(y), picture.constScanLine(y),
                    static_cast<std::size_t>(copy.bytesPerLine()));
    copy.setDotsPerMeterX(picture.dotsPerMeterX());
    copy.setDotsPerMeterY(picture.dotsPerMeterY());
    copy.setDevicePixelRatio(picture.devicePixelRatio());
    copy.setOffset(picture.offset());
    copy.setColorSpace(picture.colorSpace());
    for (const QString& key : picture.textKeys())
        copy.setText(key, picture.text(key));
    return copy;
}

QImage zeroPicture(QSize size) {
    if (size.isEmpty()) return {};
    // Mapped straight from the system, whatever the allocator keeps: pages are zero until touched.
    const qsizetype bytesPerLine = static_cast<qsizetype>(size.width()) * 4;
    auto* mapping =
        new (std::nothrow) Mapping{static_cast<std::size_t>(bytesPerLine) * size.height(), nullptr};
    if (!mapping) return {};
    mapping->at = ::mmap(nullptr, mapping->bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping->at == MAP_FAILED) {
        delete mapping;
        return {};
    }
    QImage picture(static_cast<uchar*>(mapping->at), size.width(), size.height(), bytesPerLine,
                   QImage::Format_RGB32, &Mapping::release, mapping);
    if (picture.isNull()) Mapping::release(mapping);
    return picture;
}

void keepDecodedPixelsForReuse(int pictures) {
    KeptBlocks::instance().setLimit(pictures);
}

} // namespace imaging
