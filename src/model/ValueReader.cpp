#include "model/ValueReader.h"

#include "imaging/TextCodec.h"

#include <cstring>

std::string ValueReader::cString(std::size_t offset, std::size_t maxLength) const {
    if (offset >= size_) return {};
    const std::size_t available = std::min(size_ - offset, maxLength);
    const void* nul = std::memchr(data_ + offset, 0, available);
    const std::size_t n = nul ? static_cast<const std::uint8_t*>(nul) - (data_ + offset) : available;
    return std::string(reinterpret_cast<const char*>(data_ + offset), n);
}

std::size_t ValueReader::utf16Bytes(std::size_t offset) const {
    std::size_t n = 0;
    while (fits(offset + n, 2) && u16(offset + n) != 0)
        n += 2;
    return n;
}

std::string ValueReader::utf16(std::size_t offset) const {
    if (offset >= size_) return {};
    return imaging::utf16LeToUtf8(data_ + offset, size_ - offset);
}
