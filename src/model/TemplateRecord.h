#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Little-endian fields of a template record: 32-bit integers, 16-bit integers, 32-bit floats and
// NUL-terminated texts, one after another without padding.
class RecordWriter {
public:
    RecordWriter() { bytes_.reserve(16384); }

    void int32(std::int32_t v) { put(static_cast<std::uint32_t>(v), 4); }
    void uint32(std::uint32_t v) { put(v, 4); }
    void uint16(std::uint16_t v) { put(v, 2); }
    void uint8(std::uint8_t v) { bytes_.push_back(v); }
    void int64(std::int64_t v) {
        put(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v)), 4);
        put(static_cast<std::uint32_t>(static_cast<std::uint64_t>(v) >> 32), 4);
    }
    void float32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        put(bits, 4);
    }
    // A text ends at its first NUL: a reader could not tell a NUL inside it from its end.
    void text(const std::string& s) {
        bytes_.insert(bytes_.end(), s.begin(), std::find(s.begin(), s.end(), '\0'));
        bytes_.push_back(0);
    }
    void raw(const std::uint8_t* data, std::size_t n) { bytes_.insert(bytes_.end(), data, data + n); }

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    void put(std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }

    std::vector<std::uint8_t> bytes_;
};

// Reads the fields back. A number lying wholly or partly beyond the end reads as 0; a text without
// a NUL before the end takes the rest of the data and marks the record as ended.
class RecordReader {
public:
    RecordReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(data ? size : 0) {}

    std::int32_t int32() { return static_cast<std::int32_t>(get(4)); }
    std::uint32_t uint32() { return get(4); }
    std::uint16_t uint16() { return static_cast<std::uint16_t>(get(2)); }
    std::uint8_t uint8() { return static_cast<std::uint8_t>(get(1)); }
    std::int64_t int64() {
        const std::uint64_t low = get(4);
        const std::uint64_t high = get(4);
        return static_cast<std::int64_t>(low | (high << 32));
    }
    // The next bytes when they are exactly `expected`: then read past them; else nothing is read.
    bool skipIf(const char* expected, std::size_t n) {
        if (pos_ + n > size_ || std::memcmp(data_ + pos_, expected, n) != 0) return false;
        pos_ += n;
        return true;
    }
    std::size_t remaining() const { return size_ - pos_; }
    float float32() {
        const std::uint32_t bits = get(4);
        float v;
        std::memcpy(&v, &bits, 4);
        return v;
    }
    std::string text() {
        if (pos_ >= size_) {
            ended_ = true;
            return {};
        }
        const void* nul = std::memchr(data_ + pos_, 0, size_ - pos_);
        if (!nul) {
            std::string rest(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
            pos_ = size_;
            ended_ = true;
            return rest;
        }
        const std::size_t n = static_cast<const std::uint8_t*>(nul) - (data_ + pos_);
        std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n + 1;
        return s;
    }

    std::size_t position() const { return pos_; }
    // Moves forward to a position (never back), at most to the end of the data.
    void skipTo(std::size_t position) { pos_ = std::max(pos_, std::min(position, size_)); }

    // True once a text ran into the end of the data: nothing after it can be trusted.
    bool ended() const { return ended_; }
    bool atEnd() const { return pos_ >= size_; }

private:
    std::uint32_t get(int n) {
        if (pos_ + static_cast<std::size_t>(n) > size_) {
            pos_ = size_;
            return 0;
        }
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= std::uint32_t(data_[pos_ + i]) << (8 * i);
        pos_ += static_cast<std::size_t>(n);
        return v;
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};
