#pragma once

#include "model/ImprintItem.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

// Reads numbers and texts from an item's raw value, never past its valueLength: a read that does
// not fit gives 0 or an empty text. Numbers are little-endian, as property values are stored.
class ValueReader {
public:
    explicit ValueReader(const ImprintItem& item)
        : data_(item.value.data()), size_(std::min<std::size_t>(item.valueLength, item.value.size())) {}

    std::size_t size() const { return size_; }
    std::uint8_t u8(std::size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    std::uint16_t u16(std::size_t offset) const {
        return fits(offset, 2) ? static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8)) : 0;
    }
    std::int16_t s16(std::size_t offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(std::size_t offset) const {
        if (!fits(offset, 4)) return 0;
        return std::uint32_t(data_[offset]) | (std::uint32_t(data_[offset + 1]) << 8) |
               (std::uint32_t(data_[offset + 2]) << 16) | (std::uint32_t(data_[offset + 3]) << 24);
    }
    std::int32_t s32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

    // The bytes from offset up to the first NUL, or to the end of the value.
    std::string cString(std::size_t offset, std::size_t maxLength = std::string::npos) const;
    // Little-endian UTF-16 from offset up to the first NUL character or the end, as UTF-8.
    std::string utf16(std::size_t offset) const;
    // Byte length of the UTF-16 string at offset up to, not including, its NUL character.
    std::size_t utf16Bytes(std::size_t offset) const;

private:
    bool fits(std::size_t offset, std::size_t n) const { return offset <= size_ && n <= size_ - offset; }

    const std::uint8_t* data_;
    std::size_t size_;
};
